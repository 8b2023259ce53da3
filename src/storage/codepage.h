#pragma once

// The code page of the task file: the Windows "ANSI" code page of the user's
// system, one or two bytes a character. The mapping comes from the platform's
// converter (ICU by name, or Windows itself by number) and is kept as tables,
// so that saving tens of thousands of entries costs about as much as copying
// them.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <memory>

namespace listora {

class CodePage {
public:
    // A page the platform cannot convert stands in as 1252.
    explicit CodePage(int number = 1252);

    int number() const;
    bool doubleByte() const;
    // The highest unit up to which every printable unit (0x20 to 0x7F, 0xA0
    // up) is its own byte: 0xFF, 0x7F, or 0 when not even ASCII is.
    char16_t plainLimit() const;

    // Every byte string decodes. Single bytes the page leaves undefined become
    // private-use characters that encode back to the same byte, so a file from
    // another code page reads and saves back byte for byte; a broken
    // double-byte sequence becomes U+FFFD.
    QString decode(QByteArrayView bytes) const;

    // c has bytes of its own that decode back to c.
    bool canEncode(char32_t c) const;

    // Writes text's bytes at dst (at most two per UTF-16 unit) and returns
    // their end. Characters without bytes are written as '?', line breaks as
    // blanks; *exact is cleared then, since the line would read back otherwise.
    char *encode(QStringView text, char *dst, bool *exact) const;
    QByteArray encode(QStringView text) const;

    // Index in text of the first unit that cannot be stored as it stands (a
    // line break included), or -1.
    qsizetype firstUnstorable(QStringView text) const;

    struct Tables;

private:
    std::shared_ptr<const Tables> t_;
};

// The Windows code page a locale's programs write in, from a POSIX or Qt
// locale name: "ru_RU.UTF-8", "sr_RS@latin", "zh-Hant-HK". Unknown locales
// and C: 1252.
int codePageForLocale(QStringView localeName);

// The one code page of the whole program, chosen at first use: the system's
// ANSI code page on Windows, elsewhere the one of the locale of characters
// (LC_ALL, LC_CTYPE, LANG).
const CodePage &programCodePage();
// Tests and benchmarks only: what programCodePage() gives from now on.
void setProgramCodePage(const CodePage &page);

// The same text made storable where a canonically equivalent form can be: a
// page that keeps accents as combining marks (1258) gets them so, and
// combining marks typed separately are composed where the page holds the
// composed letter; Persian's FARSI YEH becomes the YEH of 1256, as Windows
// writes it. Anything else is left as it is.
QString storableForm(QStringView text, const CodePage &page);

} // namespace listora
