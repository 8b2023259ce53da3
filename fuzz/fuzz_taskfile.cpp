// Feeds arbitrary bytes to the task file reader and checks what it promises:
// no crash, a fault only with a line inside the file, and a complete result
// that the writer turns into bytes reading back to the same lists.
#include "storage/cp1252.h"
#include "storage/taskfile.h"

#include <cstdint>
#include <cstdlib>

using namespace listora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const ReadResult result = readTaskFile(bytes);

    if (result.complete != (result.fault == ReadFault::None))
        std::abort();
    if (!result.complete && (result.faultLine < 1 || result.faultLine > qsizetype(size) + 1))
        std::abort();
    if (result.lists.first.size() > 32767 || result.lists.second.size() > 32767)
        std::abort();

    if (result.complete) {
        const QByteArray written = writeTaskFile(result.lists);
        const ReadResult again = readTaskFile(written);
        if (!again.complete || !(again.lists == result.lists))
            std::abort();
        if (writeTaskFile(again.lists) != written)
            std::abort();
    }

    // The code page is a bijection on bytes.
    if (cp1252::encode(cp1252::decode(bytes)) != bytes)
        std::abort();
    return 0;
}
