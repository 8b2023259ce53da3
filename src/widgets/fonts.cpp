#include "widgets/fonts.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QLabel>

namespace listora {

QFont designFont(const QStringList &families, qreal points, bool bold)
{
    QFont font;
    const QStringList installed = QFontDatabase::families();
    for (const QString &family : families) {
        if (installed.contains(family, Qt::CaseInsensitive)) {
            font.setFamily(family);
            break;
        }
    }
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

QFont msSansSerif(qreal points, bool bold)
{
    // Looked up once: a window asks for this face for almost every control. Windows still
    // ships "MS Sans Serif" as a bitmap face in a few pixel sizes, blurred or stepped when the
    // screen is scaled; its scalable successor with the same metrics comes first.
    static const QFont face = designFont(
        {QStringLiteral("Microsoft Sans Serif"), QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans")}, 9,
        false);
    QFont font = face;
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

void shrinkToFit(QLabel *label, qreal designPoints, qreal smallest, qreal step)
{
    QFont font = label->font();
    font.setPointSizeF(designPoints);
    const QString text = label->text();
    const int room = label->contentsRect().width();
    while (font.pointSizeF() - step >= smallest && QFontMetrics(font).horizontalAdvance(text) > room)
        font.setPointSizeF(font.pointSizeF() - step);
    if (font != label->font())
        label->setFont(font);
}

} // namespace listora
