#include "tasks/entrytext.h"

#include <QList>

namespace listora {

EntryText storableEntryText(const QString &text, const CodePage &page)
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
    if (page.firstUnstorable(unbroken) < 0)
        return {unbroken, {}};

    const QString equivalent = storableForm(unbroken, page);
    EntryText out;
    out.text.reserve(equivalent.size());
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
    return out;
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
