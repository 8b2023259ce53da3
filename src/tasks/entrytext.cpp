#include "tasks/entrytext.h"

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
        out += c;
    }
    return out;
}

} // namespace listora
