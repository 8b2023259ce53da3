#include "tasks/entrytext.h"

#include <QList>

namespace listora {

namespace {

// A task file stores one entry per line.
QString withoutBreaks(const QString &text)
{
    QString unbroken;
    unbroken.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            // CR LF from a paste is one break, not two.
            if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            unbroken += QLatin1Char(' ');
        } else {
            unbroken += c;
        }
    }
    return unbroken;
}

// Appends the characters of equivalent that the page holds, and names the first it does not.
void appendStorable(const QString &equivalent, const CodePage &page, EntryText &out)
{
    for (qsizetype i = 0; i < equivalent.size(); ++i) {
        const qsizetype units =
            equivalent.at(i).isHighSurrogate() && i + 1 < equivalent.size() && equivalent.at(i + 1).isLowSurrogate() ? 2 : 1;
        const QStringView character = QStringView(equivalent).mid(i, units);
        if (page.firstUnstorable(character) < 0)
            out.text += character;
        else if (out.refused.isEmpty())
            out.refused = character.toString();
        i += units - 1;
    }
}

} // namespace

EntryText storableEntryText(const QString &text, const CodePage &page)
{
    const QString unbroken = withoutBreaks(text);
    if (page.firstUnstorable(unbroken) < 0)
        return {unbroken, {}};
    EntryText out;
    out.text.reserve(unbroken.size() + 4);
    appendStorable(storableForm(unbroken, page), page, out);
    return out;
}

EntryText typedEntryText(const QString &text, const CodePage &page)
{
    const QString unbroken = withoutBreaks(text);
    if (page.firstUnstorable(unbroken) < 0)
        return {unbroken, {}};
    const QString swapped = pageLookAlikes(unbroken, page);
    EntryText out;
    out.text.reserve(swapped.size());
    for (qsizetype i = 0, end = 0; i < swapped.size(); i = end) {
        end = letterEnd(swapped, i);
        const QStringView letter = QStringView(swapped).mid(i, end - i);
        if (page.firstUnstorable(letter) < 0) {
            out.text += letter;
            continue;
        }
        // The page's parts are made when the entry is added.
        const QString composed = pageLookAlikes(letter.toString().normalized(QString::NormalizationForm_C), page);
        const QString stored = storableForm(composed, page);
        if (page.firstUnstorable(stored) < 0)
            out.text += composed;
        else
            appendStorable(stored, page, out);
    }
    return out;
}

QString editableEntryText(const QString &entry, const CodePage &page)
{
    const QString composed = entry.normalized(QString::NormalizationForm_C);
    return composed != entry && storableEntryText(composed, page).text == entry ? composed : entry;
}

QString refusedCharacterHint(const QString &character)
{
    // Blanks, joiners and lone marks would show as nothing between the quotes.
    const char32_t code = character.isEmpty() ? 0 : character.toUcs4().value(0);
    const bool visible = QChar::isPrint(code) && !QChar::isSpace(code) && !QChar::isMark(code);
    const QString name = visible ? QStringLiteral("“%1”").arg(character)
                                 : QStringLiteral("U+%1").arg(uint(code), 4, 16, QLatin1Char('0')).toUpper();
    return name + QStringLiteral(" cannot be kept in a task file");
}

} // namespace listora
