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
    // double-byte sequence becomes U+FFFD. *faithful, when given, says whether
    // encoding the text gives these very bytes back: it does not for a broken
    // sequence, nor for a second byte pair the page reads as the same
    // character as another (932's NEC and IBM duplicates).
    QString decode(QByteArrayView bytes, bool *faithful = nullptr) const;

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
// composed letter; look-alikes become the page's own letters first
// (pageLookAlikes). Anything else is left as it is.
QString storableForm(QStringView text, const CodePage &page);

// The letters that keyboards type as other code points than the ones the page
// holds for them, replaced by the page's own, as Windows writes them and as
// files in the page have always held them: Persian's FARSI YEH and its digits
// and the Arabic-Indic digits in 1256, Romanian's comma-below letters in 1250,
// the dashes and signs of Unix Japanese input in 932.
QString pageLookAlikes(QStringView text, const CodePage &page);

// Where the letter that starts at i ends: after the character and the
// combining marks that follow it.
qsizetype letterEnd(QStringView text, qsizetype i);

} // namespace listora
