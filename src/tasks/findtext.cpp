#include "tasks/findtext.h"

#include <algorithm>

namespace listora {

namespace {

bool isAccent(char16_t c)
{
    return (c >= 0x0300 && c <= 0x036F)    // combining diacritical marks
        || (c >= 0x1AB0 && c <= 0x1AFF) || (c >= 0x1DC0 && c <= 0x1DFF) || (c >= 0xFE20 && c <= 0xFE2F)
        || (c >= 0x0591 && c <= 0x05BD) || c == 0x05BF || c == 0x05C1 || c == 0x05C2 || c == 0x05C4
        || c == 0x05C5 || c == 0x05C7      // Hebrew points and cantillation
        || (c >= 0x0610 && c <= 0x061A) || (c >= 0x064B && c <= 0x065F) || c == 0x0670; // Arabic vowel signs
}

} // namespace

QString findKey(QStringView text)
{
    // Most entries are plain ASCII: nothing to take apart, and lowered here, as Qt's
    // lowering of any text costs twenty times as much.
    if (std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; })) {
        QString lowered(text.size(), Qt::Uninitialized);
        char16_t *out = reinterpret_cast<char16_t *>(lowered.data());
        for (const QChar c : text)
            *out++ = c.unicode() >= u'A' && c.unicode() <= u'Z' ? char16_t(c.unicode() + 32) : c.unicode();
        return lowered;
    }
    // Compatibility forms too, so full-width letters from an input method find their plain ones.
    const QString apart = text.toString().normalized(QString::NormalizationForm_KD);
    QString kept;
    kept.reserve(apart.size());
    for (const QChar c : apart) {
        if (!isAccent(c.unicode()))
            kept += c;
    }
    // Whole letters again, so that a letter's part never matches it.
    return kept.normalized(QString::NormalizationForm_C).toCaseFolded();
}

} // namespace listora
