#include "storage/taskfile.h"

#include "storage/folderaccess.h"
#include "storage/replace.h"
#include "tasks/capacity.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace listora {

namespace {

// Splits bytes into lines at CR LF, LF or CR, counting them from 1.
class LineReader {
public:
    explicit LineReader(QByteArrayView bytes) : bytes_(bytes) {}

    bool next(QByteArrayView *line)
    {
        if (pos_ >= bytes_.size())
            return false; // reading past the end
        ++lineNumber_;
        const char *begin = bytes_.data() + pos_;
        const char *end = bytes_.data() + bytes_.size();
        const char *p = begin;
        while (p != end && *p != '\r' && *p != '\n')
            ++p;
        *line = QByteArrayView(begin, p - begin);
        if (p != end && *p == '\r' && p + 1 != end && p[1] == '\n')
            ++p;
        pos_ = (p == end ? end : p + 1) - bytes_.data();
        return true;
    }

    int lineNumber() const { return lineNumber_; }
    qsizetype remaining() const { return bytes_.size() - pos_; }

private:
    QByteArrayView bytes_;
    qsizetype pos_ = 0;
    int lineNumber_ = 0;
};

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// The system's texts end in a full stop, and the warnings that quote them go on after it.
QString reason(QString error)
{
    while (error.endsWith(QLatin1Char('.')) || error.endsWith(QLatin1Char(' ')))
        error.chop(1);
    return error;
}

SaveResult failure(const QString &error)
{
    const QString why = reason(error);
    return {false, why.isEmpty() ? QStringLiteral("unknown error") : why, {}};
}

SaveDeviceFactory &deviceFactory()
{
    static SaveDeviceFactory factory;
    return factory;
}

std::chrono::milliseconds &retryWindow()
{
    static std::chrono::milliseconds window = kDefaultSaveRetryWindow;
    return window;
}

// Copies n units to dst when each is its own byte in every page that uses
// this path, and says whether they were: printable ASCII, or for Windows-1252
// printable Latin-1 too (the common cases). Sixteen units at a time where the
// processor allows.
bool copyPlainUnits(const char16_t *src, qsizetype n, char *dst, bool latin1)
{
    qsizetype i = 0;
    bool plain = true;
    const char16_t last = latin1 ? 0xFF : 0x7F;
#if defined(__SSE2__)
    const __m128i highBits = _mm_set1_epi16(short(latin1 ? 0xFF00 : 0xFF80));
    const __m128i firstPrintable = _mm_set1_epi16(0x20);
    const __m128i block = _mm_set1_epi16(short(0xFFE0));
    const __m128i c1 = _mm_set1_epi16(0x80); // 0x80 to 0x9F differ from Latin-1
    __m128i odd = _mm_setzero_si128();
    for (; i + 16 <= n; i += 16) {
        for (const qsizetype at : {i, i + 8}) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(src + at));
            // Units from 0x8000 compare as negative, but the high bits catch them anyway.
            odd = _mm_or_si128(odd, _mm_and_si128(v, highBits));
            odd = _mm_or_si128(odd, _mm_cmplt_epi16(v, firstPrintable));
            odd = _mm_or_si128(odd, _mm_cmpeq_epi16(_mm_and_si128(v, block), c1));
        }
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i *>(src + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i *>(src + i + 8));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(dst + i), _mm_packus_epi16(a, b));
    }
    plain = _mm_movemask_epi8(_mm_cmpeq_epi8(odd, _mm_setzero_si128())) == 0xFFFF;
#endif
    for (; i < n; ++i) {
        const char16_t u = src[i];
        plain = plain && u >= 0x20 && u <= last && (u < 0x80 || u >= 0xA0);
        dst[i] = char(u);
    }
    return plain;
}

// Appends one list; changed names the first entry that cannot be written as it stands.
void appendList(QByteArray &out, const QStringList &entries, const CodePage &page, int listIndex, ChangedEntry *changed)
{
    out += ' ';
    out += QByteArray::number(entries.size());
    out += " \r\n";
    // Sized once for the whole list: no UTF-16 unit gives more than two bytes.
    const qsizetype perUnit = page.doubleByte() ? 2 : 1;
    qsizetype room = 0;
    for (const QString &entry : entries)
        room += perUnit * entry.size() + 2;
    const qsizetype start = out.size();
    out.resize(start + room);
    char *dst = out.data() + start;
    const char16_t limit = page.plainLimit();
    const bool latin1 = limit == 0xFF;
    for (qsizetype row = 0; row < entries.size(); ++row) {
        const QString &entry = entries[row];
        const auto *src = reinterpret_cast<const char16_t *>(entry.constData());
        if (limit && copyPlainUnits(src, entry.size(), dst, latin1)) {
            dst += entry.size();
        } else {
            bool exact = true;
            dst = page.encode(entry, dst, &exact);
            if (!exact && changed && !*changed)
                *changed = ChangedEntry{listIndex, row, page.firstUnstorable(entry)};
        }
        *dst++ = '\r';
        *dst++ = '\n';
    }
    out.resize(dst - out.constData());
}

} // namespace

bool parseCountLine(QByteArrayView line, int *value)
{
    qsizetype b = 0;
    qsizetype e = line.size();
    while (b < e && isBlank(line[b]))
        ++b;
    while (e > b && isBlank(line[e - 1]))
        --e;
    bool negative = false;
    if (b < e && (line[b] == '-' || line[b] == '+')) {
        negative = line[b] == '-';
        ++b;
    }
    if (b == e)
        return false;
    long long n = 0;
    for (qsizetype i = b; i < e; ++i) {
        const char c = line[i];
        if (c < '0' || c > '9')
            return false;
        n = n * 10 + (c - '0');
        if (n > 32768)
            return false; // stops long runs of digits from overflowing
    }
    if (negative)
        n = -n;
    if (n < -32768 || n > 32767)
        return false;
    *value = int(n);
    return true;
}

ReadResult readTaskFile(QByteArrayView bytes, const CodePage &page)
{
    ReadResult result;
    LineReader reader(bytes);
    for (QStringList *list : {&result.lists.first, &result.lists.second}) {
        QByteArrayView line;
        if (!reader.next(&line)) {
            result.fault = ReadFault::Truncated;
            result.faultLine = reader.lineNumber() + 1;
            return result;
        }
        int count = 0;
        if (!parseCountLine(line, &count)) {
            result.fault = ReadFault::BadCount;
            result.faultLine = reader.lineNumber();
            return result;
        }
        // Every line but the last takes at least one byte, so a damaged count
        // cannot make this reserve far more than the file holds.
        if (count > 0)
            list->reserve(std::min<qsizetype>(count, reader.remaining() + 1));
        for (int i = 0; i < count; ++i) {
            if (!reader.next(&line)) {
                result.fault = ReadFault::Truncated;
                result.faultLine = reader.lineNumber() + 1;
                return result;
            }
            list->append(page.decode(line));
        }
    }
    result.complete = true;
    return result;
}

QByteArray writeTaskFile(const QStringList &first, const QStringList &second, const CodePage &page,
                         ChangedEntry *changed)
{
    const qsizetype perUnit = page.doubleByte() ? 2 : 1;
    qsizetype size = 16;
    for (const QStringList *list : {&first, &second})
        for (const QString &entry : *list)
            size += perUnit * entry.size() + 2;
    QByteArray out;
    out.reserve(size);
    appendList(out, first, page, 0, changed);
    appendList(out, second, page, 1, changed);
    return out;
}

void setSaveDeviceFactory(SaveDeviceFactory factory)
{
    deviceFactory() = std::move(factory);
}

void setSaveRetryWindow(std::chrono::milliseconds window)
{
    retryWindow() = window;
}

SaveResult writeThrough(QIODevice &device, const QByteArray &bytes)
{
    if (!device.open(QIODevice::WriteOnly))
        return failure(device.errorString());
    auto *saveFile = qobject_cast<QSaveFile *>(&device);
    auto *commitDevice = dynamic_cast<CommitDevice *>(&device);
    const auto cancel = [&] {
        if (saveFile)
            saveFile->cancelWriting(); // the old file stays; the temporary goes
        else if (commitDevice)
            commitDevice->cancelWriting();
        else
            device.close();
    };
    if (device.write(bytes) != bytes.size()) {
        const QString error = device.errorString();
        cancel();
        return failure(error);
    }
    if (saveFile) {
        // QSaveFile keeps a small file in its buffer and commits even when
        // writing that buffer out fails (disk full, file-size limit), which
        // would put a cut-off file in place of the old one.
        if (!saveFile->flush()) {
            const QString error = saveFile->errorString();
            cancel();
            return failure(error);
        }
        // Syncs and only then renames over the old file.
        if (!saveFile->commit())
            return failure(saveFile->errorString());
        return {true, {}, {}};
    }
    if (commitDevice) {
        if (!commitDevice->commit())
            return failure(commitDevice->errorString());
        return {true, {}, {}};
    }
    auto *fileDevice = qobject_cast<QFileDevice *>(&device);
    device.close();
    if (fileDevice && fileDevice->error() != QFileDevice::NoError)
        return failure(fileDevice->errorString());
    return {true, {}, {}};
}

SaveResult saveBytes(const QString &path, const QByteArray &bytes)
{
    // A fresh device for each try: a failed commit has already dropped what the last one wrote.
    return replaceWithRetry(
        path,
        [&]() -> SaveResult {
            std::unique_ptr<QIODevice> device;
            if (deviceFactory())
                device = deviceFactory()(path);
            else
                device = std::make_unique<QSaveFile>(path);
            if (!device)
                return failure({});
            return writeThrough(*device, bytes);
        },
        retryWindow());
}

SaveResult saveTaskFile(const QString &path, const TaskLists &lists, const CodePage &page)
{
    // A longer list would give a count line that no reader accepts.
    if (lists.first.size() > kMaxListEntries || lists.second.size() > kMaxListEntries)
        return failure(QStringLiteral("a list holds more than %1 entries").arg(kMaxListEntries));
    ChangedEntry changed;
    const QByteArray bytes = writeTaskFile(lists, page, &changed);
    if (changed) {
        // Writing would put '?' in the place of what the user sees, unnoticed until it is read back.
        SaveResult result = failure(QStringLiteral("an entry cannot be written as it stands"));
        result.changed = changed;
        return result;
    }
    return saveBytes(path, bytes);
}

} // namespace listora

namespace listora {

LoadResult loadFileBytes(const QString &path, qint64 limit)
{
    LoadResult result;
    const QFileInfo info(path);
    if (!info.exists()) {
        result.error = QStringLiteral("it does not exist");
        return result;
    }
    if (info.isDir()) {
        result.error = QStringLiteral("it is a folder");
        return result;
    }
    if (!info.isFile()) {
        result.error = QStringLiteral("it is not a regular file");
        return result;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = reason(file.errorString());
        return result;
    }
    const QString size = limit % (1024 * 1024) == 0 ? QStringLiteral("%1 MiB").arg(limit / (1024 * 1024))
                                                    : QStringLiteral("%1 bytes").arg(limit);
    const QString tooLarge = QStringLiteral("it is larger than %1, far more than a task file holds").arg(size);
    if (file.size() > limit) {
        result.error = tooLarge;
        return result;
    }
    // One byte more than the limit catches a file that grows while it is read.
    result.bytes = file.read(limit + 1);
    if (file.error() != QFileDevice::NoError) {
        result.error = reason(file.errorString());
        result.bytes.clear();
        return result;
    }
    if (result.bytes.size() > limit) {
        result.error = tooLarge;
        result.bytes.clear();
        return result;
    }
    result.ok = true;
    return result;
}

QString taskFileFolder(const QString &programFolder)
{
    if (!programFolder.isEmpty() && canCreateFilesIn(programFolder))
        return programFolder;
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

} // namespace listora
