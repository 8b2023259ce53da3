#include "storage/codepage.h"

#include "storage/codepagebackend.h"

#include <QHash>
#include <QLocale>
#include <QMutex>

#include <algorithm>
#include <array>
#include <bit>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace listora {

namespace {

constexpr char16_t kNone = 0xFFFF;      // a noncharacter: no byte decodes to it
constexpr char16_t kUndefined = 0xF700; // + byte: a single byte the page leaves undefined
constexpr uint16_t kSingle = 0xFF00;    // | byte: no page has 0xFF as a lead byte

QByteArray twoBytes(int first, int second)
{
    const char bytes[2] = {char(first), char(second)};
    return QByteArray(bytes, 2);
}

bool plainDecoding(const QString &s, char32_t *c)
{
    if (s.size() != 1 || s.at(0) == QChar::ReplacementCharacter || s.at(0).unicode() == kNone
        || s.at(0).isSurrogate())
        return false;
    *c = s.at(0).unicode();
    return true;
}

} // namespace

struct CodePage::Tables {
    int number = 1252;
    bool dbcs = false;
    char16_t plainLimit = 0;
    std::array<char16_t, 256> single{}; // kNone for lead bytes
    std::array<bool, 256> lead{};
    std::vector<char16_t> pair;   // lead << 8 | trail; 0: no character
    std::vector<uint16_t> encode; // per UTF-16 unit; 0: none, kSingle | byte, or lead << 8 | trail
    // Bytes and pairs that read as a character whose own bytes differ, a bit each.
    std::array<bool, 256> singleAway{};
    std::vector<uint64_t> pairAway;
};

namespace {

// Asks the platform's converter about every byte and every double-byte
// sequence once; a mapping is used for writing only where the converter
// writes it back to the same bytes.
std::shared_ptr<CodePage::Tables> buildTables(int number)
{
    auto t = std::make_shared<CodePage::Tables>();
    t->number = number;
    t->dbcs = codepagebackend::doubleByte(number);
    t->encode.assign(0x10000, 0);
    t->single.fill(kNone);

    QList<QByteArray> pieces;
    QStringList chars;
    QList<uint16_t> codes;
    const auto keep = [&](uint16_t code, char32_t c) {
        chars.append(QString(QChar(char16_t(c))));
        codes.append(code);
    };

    for (int b = 0; b < 256; ++b)
        pieces.append(QByteArray(1, char(b)));
    const QStringList decoded = codepagebackend::decodeEach(number, pieces);
    std::array<char32_t, 256> alone{};
    std::array<bool, 256> plain{};
    for (int b = 0; b < 256; ++b)
        plain[b] = plainDecoding(decoded.value(b), &alone[b]) && (alone[b] >= 0x80 || alone[b] == char32_t(b));

    if (t->dbcs) {
        // Only a byte that is nothing on its own can lead a pair.
        t->pair.assign(0x10000, 0);
        pieces.clear();
        for (int lead = 0x81; lead <= 0xFE; ++lead)
            if (!plain[lead])
                for (int trail = 0x40; trail <= 0xFE; ++trail)
                    pieces.append(twoBytes(lead, trail));
        const QStringList pairs = codepagebackend::decodeEach(number, pieces);
        for (qsizetype i = 0; i < pieces.size(); ++i) {
            char32_t c = 0;
            // An ASCII result is a stand-in for a broken sequence, not a character of it.
            if (!plainDecoding(pairs.value(i), &c) || c < 0x80)
                continue;
            const auto lead = uchar(pieces[i][0]);
            const auto code = uint16_t(lead << 8 | uchar(pieces[i][1]));
            t->pair[code] = char16_t(c);
            t->lead[lead] = true;
            keep(code, c);
        }
    }
    for (int b = 0; b < 256; ++b) {
        if (plain[b] && !t->lead[b]) {
            t->single[b] = char16_t(alone[b]);
            keep(uint16_t(kSingle | b), alone[b]);
        }
    }

    const QList<QByteArray> encoded = codepagebackend::encodeEach(number, chars);
    for (qsizetype i = 0; i < chars.size(); ++i) {
        const uint16_t code = codes[i];
        const QByteArray want = code >= kSingle ? QByteArray(1, char(code & 0xFF))
                                                : twoBytes(code >> 8, code & 0xFF);
        if (encoded.value(i) == want)
            t->encode[chars[i].at(0).unicode()] = code;
    }
    for (int b = 0; b < 256; ++b) {
        if (t->lead[b] || t->single[b] != kNone)
            continue;
        const char16_t stand = kUndefined + b;
        if (t->encode[stand] == 0) {
            t->single[b] = stand;
            t->encode[stand] = uint16_t(kSingle | b);
        }
    }
    const auto identical = [&](char16_t from, char16_t to) {
        for (char16_t u = from; u <= to; ++u)
            if (t->encode[u] != (kSingle | u) || t->single[u] != u)
                return false;
        return true;
    };
    t->plainLimit = !identical(0x20, 0x7F) ? 0 : identical(0xA0, 0xFF) ? 0xFF : 0x7F;

    for (int b = 0; b < 256; ++b)
        t->singleAway[b] = t->single[b] != kNone && t->encode[t->single[b]] != (kSingle | b);
    if (t->dbcs) {
        t->pairAway.assign(0x10000 / 64, 0);
        for (unsigned code = 0; code < 0x10000; ++code)
            if (const char16_t c = t->pair[code]; c && t->encode[c] != code)
                t->pairAway[code / 64] |= uint64_t(1) << (code % 64);
    }
    return t;
}

std::shared_ptr<const CodePage::Tables> tablesFor(int number)
{
    static QMutex mutex;
    static QHash<int, std::shared_ptr<const CodePage::Tables>> cache;
    const QMutexLocker lock(&mutex);
    if (const auto found = cache.constFind(number); found != cache.constEnd())
        return *found;
    if (!codepagebackend::available(number))
        number = 1252;
    if (const auto found = cache.constFind(number); found != cache.constEnd())
        return *found;
    std::shared_ptr<const CodePage::Tables> tables = buildTables(number);
    cache.insert(number, tables);
    return tables;
}

} // namespace

CodePage::CodePage(int number) : t_(tablesFor(number)) {}

int CodePage::number() const
{
    return t_->number;
}

bool CodePage::doubleByte() const
{
    return t_->dbcs;
}

char16_t CodePage::plainLimit() const
{
    return t_->plainLimit;
}

namespace {

#if defined(__SSE2__)
// Widens 16 bytes at src to units at dst when all are printable ASCII, which
// every page with a plain limit keeps as they are.
bool widenPlainBlock(const uchar *src, char16_t *dst)
{
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(src));
    // Signed: bytes from 0x80 compare as negative, so one test catches both ends.
    if (_mm_movemask_epi8(_mm_cmplt_epi8(v, _mm_set1_epi8(0x20))) != 0)
        return false;
    const __m128i zero = _mm_setzero_si128();
    _mm_storeu_si128(reinterpret_cast<__m128i *>(dst), _mm_unpacklo_epi8(v, zero));
    _mm_storeu_si128(reinterpret_cast<__m128i *>(dst + 8), _mm_unpackhi_epi8(v, zero));
    return true;
}
#endif

} // namespace

QString CodePage::decode(QByteArrayView bytes, bool *faithful) const
{
    QString out(bytes.size(), Qt::Uninitialized);
    char16_t *const begin = reinterpret_cast<char16_t *>(out.data());
    char16_t *dst = begin;
    const auto *src = reinterpret_cast<const uchar *>(bytes.data());
    const qsizetype n = bytes.size();
    const Tables &t = *t_;
    bool away = false;
    qsizetype i = 0;
    while (i < n) {
        qsizetype stop = n;
#if defined(__SSE2__)
        // Plain text goes sixteen bytes at a time; anything else a block at a time below.
        if (t.plainLimit) {
            while (i + 16 <= n && widenPlainBlock(src + i, dst)) {
                i += 16;
                dst += 16;
            }
            // A single-byte page writes a unit per byte, so the last block may overlap the one before.
            if (!t.dbcs && i < n && i + 16 > n && n >= 16 && widenPlainBlock(src + n - 16, begin + n - 16)) {
                dst = begin + n;
                break;
            }
            stop = std::min(i + 16, n);
        }
#endif
        while (i < stop) {
            const uchar b = src[i];
            const char16_t c = t.single[b];
            if (c != kNone) {
                away |= t.singleAway[b];
                *dst++ = c;
                ++i;
                continue;
            }
            // A lead byte: its trail decides; a broken sequence loses only its lead.
            const bool paired = t.dbcs && i + 1 < n;
            const unsigned code = paired ? unsigned(b << 8 | src[i + 1]) : 0;
            const char16_t p = paired ? t.pair[code] : 0;
            if (p) {
                away |= (t.pairAway[code / 64] >> (code % 64)) & 1;
                *dst++ = p;
                i += 2;
            } else {
                away = true;
                *dst++ = QChar::ReplacementCharacter;
                ++i;
            }
        }
    }
    out.resize(dst - begin);
    if (faithful)
        *faithful = !away;
    return out;
}

bool CodePage::canEncode(char32_t c) const
{
    return c < 0x10000 && t_->encode[c] != 0;
}

char *CodePage::encode(QStringView text, char *dst, bool *exact) const
{
    const uint16_t *table = t_->encode.data();
    const qsizetype n = text.size();
    const char16_t *src = text.utf16();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t u = src[i];
        const uint16_t code = table[u];
        if (code >= kSingle && u != u'\r' && u != u'\n') {
            *dst++ = char(code & 0xFF);
        } else if (code && code < kSingle) {
            *dst++ = char(code >> 8);
            *dst++ = char(code & 0xFF);
        } else {
            *exact = false;
            if (u == u'\r' || u == u'\n') {
                *dst++ = ' '; // a break inside an entry would shift every following line
            } else {
                *dst++ = '?';
                if (QChar::isHighSurrogate(u) && i + 1 < n && QChar::isLowSurrogate(src[i + 1]))
                    ++i; // one '?' per character
            }
        }
    }
    return dst;
}

QByteArray CodePage::encode(QStringView text) const
{
    QByteArray out(2 * text.size(), Qt::Uninitialized);
    bool exact = true;
    out.resize(encode(text, out.data(), &exact) - out.constData());
    return out;
}

qsizetype CodePage::firstUnstorable(QStringView text) const
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        if (u == u'\r' || u == u'\n' || t_->encode[u] == 0)
            return i;
    }
    return -1;
}

int codePageForLocale(QStringView localeName)
{
    // "ll_TT.codeset@modifier": the modifier names the script of Serbian and friends.
    QString name = localeName.toString();
    const qsizetype at = name.indexOf(QLatin1Char('@'));
    const QString modifier = at >= 0 ? name.mid(at + 1).toLower() : QString();
    if (at >= 0)
        name.truncate(at);
    if (const qsizetype dot = name.indexOf(QLatin1Char('.')); dot >= 0)
        name.truncate(dot);
    if (name.isEmpty() || name == QLatin1String("C") || name == QLatin1String("POSIX"))
        return 1252;
    const QLocale locale(name);
    if (locale.language() == QLocale::C)
        return 1252;
    QLocale::Script script = locale.script();
    if (modifier == QLatin1String("latin"))
        script = QLocale::LatinScript;
    else if (modifier == QLatin1String("cyrillic"))
        script = QLocale::CyrillicScript;
    const bool cyrillic = script == QLocale::CyrillicScript;

    switch (locale.language()) {
    case QLocale::Polish: case QLocale::Czech: case QLocale::Slovak: case QLocale::Hungarian:
    case QLocale::Romanian: case QLocale::Croatian: case QLocale::Slovenian: case QLocale::Albanian:
        return 1250;
    case QLocale::Serbian: case QLocale::Bosnian:
        return cyrillic ? 1251 : 1250;
    case QLocale::Russian: case QLocale::Ukrainian: case QLocale::Belarusian: case QLocale::Bulgarian:
    case QLocale::Macedonian: case QLocale::Kazakh: case QLocale::Kyrgyz: case QLocale::Mongolian:
    case QLocale::Tatar: case QLocale::Bashkir: case QLocale::Tajik:
        return 1251;
    case QLocale::Greek:
        return 1253;
    case QLocale::Turkish:
        return 1254;
    case QLocale::Azerbaijani: case QLocale::Uzbek:
        return cyrillic ? 1251 : 1254;
    case QLocale::Hebrew:
        return 1255;
    case QLocale::Arabic: case QLocale::Persian: case QLocale::Urdu: case QLocale::Pashto:
    case QLocale::Uyghur: case QLocale::CentralKurdish:
        return 1256;
    case QLocale::Lithuanian: case QLocale::Latvian: case QLocale::Estonian:
        return 1257;
    case QLocale::Vietnamese:
        return 1258;
    case QLocale::Thai:
        return 874;
    case QLocale::Japanese:
        return 932;
    case QLocale::Chinese:
        return script == QLocale::TraditionalChineseScript ? 950 : 936;
    case QLocale::Korean:
        return 949;
    default:
        return 1252;
    }
}

namespace {

CodePage &currentProgramCodePage()
{
    static CodePage page = [] {
        if (const int system = codepagebackend::systemCodePage())
            return CodePage(system);
        for (const char *variable : {"LC_ALL", "LC_CTYPE", "LANG"})
            if (const QString name = qEnvironmentVariable(variable); !name.isEmpty())
                return CodePage(codePageForLocale(name));
        return CodePage(1252);
    }();
    return page;
}

} // namespace

const CodePage &programCodePage()
{
    return currentProgramCodePage();
}

void setProgramCodePage(const CodePage &page)
{
    currentProgramCodePage() = page;
}

namespace {

// One character and the combining marks after it, made storable by composing
// it with as many of its marks as give a storable letter.
QString storableCluster(QStringView cluster, const CodePage &page)
{
    const QString decomposed = cluster.toString().normalized(QString::NormalizationForm_D);
    if (decomposed.isEmpty() || page.firstUnstorable(decomposed) < 0)
        return decomposed;
    const QChar base = decomposed.at(0);
    const QStringView marks = QStringView(decomposed).mid(1);
    const int n = int(marks.size());
    if (base.isSurrogate() || n > 4)
        return cluster.toString();
    // Largest set of marks first; only results canonically equivalent to the cluster count.
    for (int taken = n; taken >= 1; --taken) {
        for (unsigned set = 0; set < (1u << n); ++set) {
            if (std::popcount(set) != taken)
                continue;
            QString composed(base);
            QString rest;
            for (int i = 0; i < n; ++i)
                (set & (1u << i) ? composed : rest) += marks[i];
            composed = composed.normalized(QString::NormalizationForm_C);
            const QString candidate = composed + rest;
            if (composed.size() == 1 && page.firstUnstorable(candidate) < 0
                && candidate.normalized(QString::NormalizationForm_D) == decomposed)
                return candidate;
        }
    }
    return cluster.toString();
}

} // namespace

namespace {

// The page's own letter for what a keyboard types as a look-alike, or 0.
char16_t pageLetterFor(char16_t typed, int page)
{
    switch (page) {
    case 1250:
        // The Romanian keyboard types the comma-below letters, which 1250 lacks;
        // Romanian text in 1250 has always used the cedilla ones.
        switch (typed) {
        case 0x0218: return 0x015E;
        case 0x0219: return 0x015F;
        case 0x021A: return 0x0162;
        case 0x021B: return 0x0163;
        }
        break;
    case 1256:
        // Persian keyboards type FARSI YEH, which 1256 holds as the Arabic YEH
        // Persian files have always used. Neither the Persian nor the
        // Arabic-Indic digits are in 1256: Windows stores ASCII digits and
        // shows them in the user's digit shapes.
        if (typed == 0x06CC)
            return 0x064A;
        if (typed >= 0x06F0 && typed <= 0x06F9)
            return u'0' + (typed - 0x06F0);
        if (typed >= 0x0660 && typed <= 0x0669)
            return u'0' + (typed - 0x0660);
        break;
    case 932:
        // Unix Japanese input gives the JIS wave dash, dashes and signs whose
        // 932 forms are the full-width ones.
        switch (typed) {
        case 0x301C: return 0xFF5E;
        case 0x2016: return 0x2225;
        case 0x2212: return 0xFF0D;
        case 0x2014: return 0x2015;
        case 0x00A2: return 0xFFE0;
        case 0x00A3: return 0xFFE1;
        case 0x00AC: return 0xFFE2;
        }
        break;
    }
    return 0;
}

} // namespace

QString pageLookAlikes(QStringView text, const CodePage &page)
{
    QString out = text.toString();
    const int number = page.number();
    if (number != 1250 && number != 1256 && number != 932)
        return out;
    for (QChar &c : out)
        if (const char16_t own = pageLetterFor(c.unicode(), number))
            c = QChar(own);
    return out;
}

qsizetype letterEnd(QStringView text, qsizetype i)
{
    qsizetype end = i + (text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1);
    while (end < text.size() && QChar::isMark(text[end].unicode()))
        ++end;
    return end;
}

QString storableForm(QStringView text, const CodePage &page)
{
    if (page.firstUnstorable(text) < 0)
        return text.toString();
    const QString swapped = pageLookAlikes(text, page);
    if (page.firstUnstorable(swapped) < 0)
        return swapped;
    QString out;
    out.reserve(swapped.size() + 4);
    for (qsizetype i = 0, end = 0; i < swapped.size(); i = end) {
        end = letterEnd(swapped, i);
        const QStringView cluster = QStringView(swapped).mid(i, end - i);
        if (page.firstUnstorable(cluster) < 0) {
            out += cluster;
            continue;
        }
        // A letter typed as its parts may compose into a look-alike: s and a comma below.
        const QString own = pageLookAlikes(cluster.toString().normalized(QString::NormalizationForm_C), page);
        out += page.firstUnstorable(own) < 0 ? own : storableCluster(cluster, page);
    }
    return out;
}

} // namespace listora
