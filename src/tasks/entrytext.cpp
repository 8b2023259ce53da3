#include "tasks/entrytext.h"

#include "storage/cp1252.h"

namespace listora {

QString storableEntryText(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            // CR LF from a paste is one break, not two.
            if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            out += QLatin1Char(' ');
            continue;
        }
        char32_t code = c.unicode();
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            code = QChar::surrogateToUcs4(c, text.at(++i));
        // Anything the file cannot store would come back as '?'.
        if (cp1252::canEncode(code))
            out += c;
    }
    return out;
}

} // namespace listora
