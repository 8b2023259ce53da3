// Feeds arbitrary bytes to the task file reader and checks what it promises:
// no crash, a fault only with a line inside the file, and a complete result
// that the writer turns into bytes reading back to the same lists.
#include "storage/codepage.h"
#include "storage/taskfile.h"

#include <cstdint>
#include <iterator>
#include <cstdlib>

using namespace listora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const QByteArrayView bytes(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    // The first byte picks the code page, so both kinds of page are fuzzed.
    static const int pages[] = {1252, 1251, 1255, 932, 936, 949, 950, 1258};
    const CodePage page(pages[data[0] % std::size(pages)]);
    const ReadResult result = readTaskFile(bytes, page);

    if (result.complete != (result.fault == ReadFault::None))
        std::abort();
    if (!result.complete && (result.faultLine < 1 || result.faultLine > qsizetype(size) + 1))
        std::abort();
    if (result.lists.first.size() > 32767 || result.lists.second.size() > 32767)
        std::abort();

    if (result.complete) {
        // An entry that cannot be written as it stands is named; all others read back the same.
        ChangedEntry changed;
        const QByteArray written = writeTaskFile(result.lists, page, &changed);
        const ReadResult again = readTaskFile(written, page);
        if (!again.complete)
            std::abort();
        if (!changed && !(again.lists == result.lists))
            std::abort();
        if (!changed && writeTaskFile(again.lists, page) != written)
            std::abort();
        // With the lines kept as read, no entry is changed and the file reads back the same.
        ChangedEntry changedKept;
        const QByteArray asRead = writeTaskFile(result.lists, page, &changedKept, &result.kept);
        if (changedKept || !(readTaskFile(asRead, page).lists == result.lists))
            std::abort();
    }

    // Reading tells rightly whether a line's bytes come back from its text.
    {
        QByteArray line = bytes.toByteArray();
        line.replace('\r', ' ').replace('\n', ' ');
        bool faithful = false;
        const QString text = page.decode(line, &faithful);
        if (faithful != (page.encode(text) == line))
            std::abort();
    }

    // Single-byte pages read and write every line's bytes back unchanged.
    if (!page.doubleByte()) {
        QByteArray line = bytes.toByteArray();
        line.replace('\r', ' ').replace('\n', ' ');
        if (page.encode(page.decode(line)) != line)
            std::abort();
    }
    return 0;
}
