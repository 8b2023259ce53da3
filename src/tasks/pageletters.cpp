#include "tasks/pageletters.h"

#include <QChar>

namespace listora {

namespace {

// One glyph square each, drawn alike: a sample is enough.
bool inUniformBlock(char16_t c)
{
    return (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF)
        || (c >= 0xAC00 && c <= 0xD7A3);
}

bool isMark(QChar c)
{
    return c.category() == QChar::Mark_NonSpacing || c.category() == QChar::Mark_Enclosing;
}

bool isThaiConsonant(char16_t c)
{
    return c >= 0x0E01 && c <= 0x0E2E;
}

// Whether real text sets mark on letter: Vietnamese tones on vowels, Thai
// marks on consonants, Hebrew points on Hebrew letters (the shin and sin
// dots on shin alone), harakat on Arabic letters.
bool takes(QChar letter, QChar mark)
{
    const char16_t m = mark.unicode();
    if (m >= 0x0300 && m <= 0x036F) {
        const QString base = QString(letter).normalized(QString::NormalizationForm_D);
        return QStringLiteral("aeiouyAEIOUY").contains(base.at(0));
    }
    if (m >= 0x0E00 && m <= 0x0E7F)
        return isThaiConsonant(letter.unicode());
    if (m == 0x05C1 || m == 0x05C2)
        return letter.unicode() == 0x05E9;
    if (m >= 0x0591 && m <= 0x05C7)
        return letter.script() == QChar::Script_Hebrew;
    if (m >= 0x0610 && m <= 0x06FF)
        return letter.script() == QChar::Script_Arabic;
    return false;
}

// Whether real text sets top over first on one letter: a Thai tone or
// thanthakhat over a vowel above or below, the shadda with a haraka (on
// neither an alef nor a hamza), a dagesh or a shin dot with a vowel point.
bool stacks(QChar letter, QChar first, QChar top)
{
    const char16_t f = first.unicode(), t = top.unicode();
    if (t >= 0x0E48 && t <= 0x0E4C)
        return f == 0x0E31 || (f >= 0x0E34 && f <= 0x0E39);
    if (t == 0x0651)
        return f >= 0x064B && f <= 0x0650 && !(letter.unicode() >= 0x0621 && letter.unicode() <= 0x0627);
    if (t == 0x05BC || t == 0x05C1 || t == 0x05C2)
        return f >= 0x05B0 && f <= 0x05BB;
    return false;
}

} // namespace

QStringList lettersToMeasure(const CodePage &page)
{
    QString marks;
    QStringList letters;
    for (char32_t u = 0x20; u <= 0xFFFF; ++u) {
        const QChar c{char16_t(u)};
        if (c.isSurrogate() || !page.canEncode(u))
            continue;
        // The stand-ins for bytes of another page, and controls, show no letter of this one.
        const QChar::Category category = c.category();
        if (category == QChar::Other_PrivateUse || category == QChar::Other_Control || category == QChar::Other_Format)
            continue;
        if (isMark(c))
            marks += c;
        else if (!inUniformBlock(c.unicode()) || u % 32 == 0)
            letters << QString(c);
    }

    QStringList items = letters;
    const auto add = [&](const QString &cluster) {
        items << cluster;
        if (const QString composed = cluster.normalized(QString::NormalizationForm_C); composed != cluster)
            items << composed;
    };
    const bool saraAm = page.canEncode(0x0E33);
    for (const QString &letter : std::as_const(letters)) {
        const QChar base = letter.at(0);
        for (const QChar mark : std::as_const(marks)) {
            if (!takes(base, mark))
                continue;
            add(letter + mark);
            for (const QChar top : std::as_const(marks))
                if (takes(base, top) && stacks(base, mark, top))
                    add(letter + mark + top);
            // A tone mark rides on sara am's circle.
            if (saraAm && mark.unicode() >= 0x0E48 && mark.unicode() <= 0x0E4B)
                add(letter + mark + QChar(0x0E33));
        }
    }
    return items;
}

} // namespace listora
