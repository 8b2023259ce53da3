// Reading a task file: its lines split, its counts checked and its entries
// decoded, and where each line lies kept for the next save to copy.
#include "storage/taskfile.h"

#include "storage/linereuse.h"

#include <algorithm>
#include <bit>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace listora {

namespace {

// The first CR or LF from begin, or end.
const char *lineEnd(const char *p, const char *end)
{
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    for (; end - p >= 16; p += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
        const int hits = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, lf)));
        if (hits)
            return p + std::countr_zero(unsigned(hits));
    }
#endif
    while (p != end && *p != '\r' && *p != '\n')
        ++p;
    return p;
}

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
        const char *p = lineEnd(begin, end);
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

using Line = EncodedLines::Line;
using Stretch = EncodedLines::Stretch;

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

namespace {

// Reads a task file; with owner, which holds bytes, also where each line lies
// that a save would write as it stands.
ReadResult readLines(QByteArrayView bytes, const CodePage &page, const QByteArray *owner)
{
    ReadResult result;
    LineReader reader(bytes);
    for (int listIndex = 0; listIndex < 2; ++listIndex) {
        QStringList *list = listIndex == 0 ? &result.lists.first : &result.lists.second;
        QList<Line> *lines = &result.encoded.lines[size_t(listIndex)];
        QList<Stretch> *stretches = &result.encoded.stretches[size_t(listIndex)];
        bool &allKnown = result.encoded.allKnown[size_t(listIndex)];
        allKnown = true;
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
        if (count > 0) {
            list->reserve(std::min<qsizetype>(count, reader.remaining() + 1));
            if (owner)
                lines->reserve(list->capacity());
        }
        for (int i = 0; i < count; ++i) {
            if (!reader.next(&line)) {
                result.fault = ReadFault::Truncated;
                result.faultLine = reader.lineNumber() + 1;
                return result;
            }
            bool faithful = true;
            list->append(page.decode(line, &faithful));
            if (!faithful)
                result.kept.keep(list->constLast(), line, page.number());
            if (owner) {
                // Only a line that ends in CR LF is the very line a save writes.
                const qsizetype at = line.data() - bytes.data();
                const bool crLf = bytes.size() - (at + line.size()) >= 2 && bytes[at + line.size()] == '\r'
                    && bytes[at + line.size() + 1] == '\n';
                if (faithful && crLf) {
                    lines->append(Line{0, qint32(line.size() + 2), at});
                    extendStretches(*stretches, 0, at, at + line.size() + 2);
                } else {
                    lines->append(Line{});
                    allKnown = false;
                }
            }
        }
    }
    result.complete = true;
    if (owner) {
        result.encoded.codePage = page.number();
        result.encoded.entries = result.lists;
        result.encoded.buffers.push_back(*owner);
    }
    return result;
}

} // namespace

ReadResult readTaskFile(QByteArrayView bytes, const CodePage &page)
{
    return readLines(bytes, page, nullptr);
}

ReadResult readTaskFile(const QByteArray &bytes, const CodePage &page)
{
    ReadResult result = readLines(bytes, page, &bytes);
    if (!result.complete)
        result.encoded = EncodedLines();
    return result;
}

} // namespace listora
