#include "widgets/icons.h"

#include <QFontMetricsF>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPixmapCache>

#include <array>

#include <cmath>

namespace listora::icons {
namespace {

const QColor kInk(0x1f, 0x2a, 0x44);
const QColor kPaper(0xfb, 0xf8, 0xef);
const QColor kAccent(0x2e, 0x7d, 0x32);
const QColor kBlue(0x1e, 0x5a, 0xa8);
const QColor kRed(0xc6, 0x28, 0x28);
const QColor kGold(0xf2, 0xb7, 0x05);

void drawNotepad(QPainter &p, const QRectF &r, const QColor &band)
{
    p.setPen(QPen(kInk, r.width() / 24.0));
    p.setBrush(kPaper);
    p.drawRoundedRect(r, r.width() / 10, r.width() / 10);
    p.setBrush(band);
    p.drawRect(QRectF(r.left(), r.top(), r.width(), r.height() * 0.2));
    const qreal step = r.height() / 6.0;
    for (int i = 0; i < 3; ++i) {
        const qreal y = r.top() + r.height() * 0.38 + i * step;
        p.setPen(QPen(kAccent, r.width() / 14.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        QPainterPath tick;
        tick.moveTo(r.left() + r.width() * 0.14, y);
        tick.lineTo(r.left() + r.width() * 0.22, y + step * 0.3);
        tick.lineTo(r.left() + r.width() * 0.34, y - step * 0.3);
        p.setBrush(Qt::NoBrush);
        p.drawPath(tick);
        p.setPen(QPen(kInk, r.width() / 24.0, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(r.left() + r.width() * 0.44, y), QPointF(r.right() - r.width() * 0.14, y));
    }
}

void drawClockFace(QPainter &p, const QRectF &r)
{
    p.setPen(QPen(kInk, r.width() / 16.0));
    p.setBrush(kPaper);
    p.drawEllipse(r);
    const QPointF c = r.center();
    p.setPen(QPen(kInk, r.width() / 12.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c, c + QPointF(0, -r.height() * 0.32));
    p.drawLine(c, c + QPointF(r.width() * 0.24, 0));
}

void drawPlus(QPainter &p, const QPointF &c, qreal size, const QColor &color)
{
    p.setPen(QPen(color, size / 3.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c - QPointF(size / 2, 0), c + QPointF(size / 2, 0));
    p.drawLine(c - QPointF(0, size / 2), c + QPointF(0, size / 2));
}

void drawCalendarSheet(QPainter &p, const QRectF &r)
{
    p.setPen(QPen(kInk, r.width() / 20.0));
    p.setBrush(kPaper);
    p.drawRoundedRect(r, r.width() / 12, r.width() / 12);
    p.setBrush(kRed);
    p.drawRect(QRectF(r.left(), r.top(), r.width(), r.height() * 0.28));
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    const qreal cw = r.width() / 5.0, ch = r.height() * 0.72 / 4.0;
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 4; ++col)
            p.drawRect(QRectF(r.left() + cw * (0.6 + col), r.top() + r.height() * 0.36 + row * ch, cw * 0.5, ch * 0.5));
}

void paintGlyph(QPainter &p, Glyph glyph, const QRectF &box)
{
    const qreal s = std::min(box.width(), box.height());
    const QRectF r(box.center().x() - s / 2, box.center().y() - s / 2, s, s);
    const QRectF inner = r.adjusted(s * 0.08, s * 0.08, -s * 0.08, -s * 0.08);
    p.setRenderHint(QPainter::Antialiasing);
    switch (glyph) {
    case Glyph::Application:
        drawNotepad(p, inner, kBlue);
        break;
    case Glyph::About: {
        p.setPen(QPen(kInk, s / 20));
        p.setBrush(kBlue);
        p.drawEllipse(inner);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(r.center().x() - s * 0.06, r.top() + s * 0.24, s * 0.12, s * 0.12));
        p.drawRoundedRect(QRectF(r.center().x() - s * 0.06, r.top() + s * 0.42, s * 0.12, s * 0.34), s * 0.04, s * 0.04);
        break;
    }
    case Glyph::Programs: {
        p.setPen(QPen(kInk, s / 20));
        for (int i = 0; i < 3; ++i) {
            p.setBrush(i == 0 ? kGold : (i == 1 ? kAccent : kBlue));
            p.drawRoundedRect(QRectF(inner.left() + i * s * 0.12, inner.top() + i * s * 0.14, s * 0.55, s * 0.5), s * 0.06, s * 0.06);
        }
        break;
    }
    case Glyph::Calendar:
        drawCalendarSheet(p, inner);
        break;
    case Glyph::Clock:
        drawClockFace(p, inner);
        break;
    case Glyph::Open: {
        p.setPen(QPen(kInk, s / 20));
        p.setBrush(kGold);
        QPainterPath folder;
        folder.moveTo(inner.left(), inner.top() + s * 0.2);
        folder.lineTo(inner.left() + s * 0.3, inner.top() + s * 0.2);
        folder.lineTo(inner.left() + s * 0.38, inner.top() + s * 0.3);
        folder.lineTo(inner.right(), inner.top() + s * 0.3);
        folder.lineTo(inner.right(), inner.bottom() - s * 0.1);
        folder.lineTo(inner.left(), inner.bottom() - s * 0.1);
        folder.closeSubpath();
        p.drawPath(folder);
        break;
    }
    case Glyph::Save: {
        p.setPen(QPen(kInk, s / 20));
        p.setBrush(kBlue);
        p.drawRoundedRect(inner, s * 0.06, s * 0.06);
        p.setBrush(kPaper);
        p.drawRect(QRectF(inner.left() + s * 0.16, inner.top(), s * 0.5, s * 0.3));
        p.drawRect(QRectF(inner.left() + s * 0.12, inner.top() + s * 0.48, s * 0.6, s * 0.36));
        break;
    }
    case Glyph::Print: {
        p.setPen(QPen(kInk, s / 20));
        p.setBrush(kPaper);
        p.drawRect(QRectF(inner.left() + s * 0.18, inner.top(), s * 0.48, s * 0.3));
        p.setBrush(QColor(0x90, 0x9a, 0xa8));
        p.drawRoundedRect(QRectF(inner.left(), inner.top() + s * 0.28, inner.width(), s * 0.36), s * 0.05, s * 0.05);
        p.setBrush(kPaper);
        p.drawRect(QRectF(inner.left() + s * 0.18, inner.top() + s * 0.52, s * 0.48, s * 0.3));
        break;
    }
    case Glyph::AddTask:
        drawNotepad(p, inner.adjusted(0, 0, -s * 0.2, -s * 0.2), kAccent);
        drawPlus(p, QPointF(r.right() - s * 0.22, r.bottom() - s * 0.22), s * 0.34, kAccent);
        break;
    case Glyph::AddAppointment:
        drawCalendarSheet(p, inner.adjusted(0, 0, -s * 0.2, -s * 0.2));
        drawPlus(p, QPointF(r.right() - s * 0.22, r.bottom() - s * 0.22), s * 0.34, kAccent);
        break;
    case Glyph::Remove:
        drawNotepad(p, inner.adjusted(0, 0, -s * 0.2, -s * 0.2), kRed);
        p.setPen(QPen(kRed, s / 9, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(r.right() - s * 0.38, r.bottom() - s * 0.22), QPointF(r.right() - s * 0.06, r.bottom() - s * 0.22));
        break;
    case Glyph::Exit: {
        p.setPen(QPen(kInk, s / 20));
        p.setBrush(QColor(0x8d, 0x6e, 0x63));
        p.drawRect(QRectF(inner.left() + s * 0.1, inner.top(), s * 0.45, inner.height()));
        p.setPen(QPen(kRed, s / 10, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawLine(QPointF(inner.left() + s * 0.45, r.center().y()), QPointF(inner.right(), r.center().y()));
        p.drawLine(QPointF(inner.right() - s * 0.15, r.center().y() - s * 0.15), QPointF(inner.right(), r.center().y()));
        p.drawLine(QPointF(inner.right() - s * 0.15, r.center().y() + s * 0.15), QPointF(inner.right(), r.center().y()));
        break;
    }
    case Glyph::Report: {
        p.setPen(QPen(kInk, s / 20));
        p.setBrush(kPaper);
        p.drawRect(inner);
        p.setPen(Qt::NoPen);
        const QColor bars[] = {kBlue, kAccent, kGold};
        for (int i = 0; i < 3; ++i) {
            p.setBrush(bars[i]);
            const qreal h = s * (0.25 + 0.18 * i);
            p.drawRect(QRectF(inner.left() + s * (0.12 + 0.22 * i), inner.bottom() - s * 0.08 - h, s * 0.16, h));
        }
        break;
    }
    case Glyph::FileInfo: {
        p.setPen(QPen(kInk, s / 20));
        p.setBrush(kPaper);
        QPainterPath page;
        page.moveTo(inner.left() + s * 0.1, inner.top());
        page.lineTo(inner.right() - s * 0.25, inner.top());
        page.lineTo(inner.right() - s * 0.05, inner.top() + s * 0.2);
        page.lineTo(inner.right() - s * 0.05, inner.bottom());
        page.lineTo(inner.left() + s * 0.1, inner.bottom());
        page.closeSubpath();
        p.drawPath(page);
        p.setPen(QPen(kBlue, s / 12, Qt::SolidLine, Qt::RoundCap));
        for (int i = 0; i < 3; ++i)
            p.drawLine(QPointF(inner.left() + s * 0.25, inner.top() + s * (0.35 + 0.15 * i)),
                       QPointF(inner.right() - s * 0.2, inner.top() + s * (0.35 + 0.15 * i)));
        break;
    }
    case Glyph::Blank:
        p.setPen(QPen(kInk, s / 20));
        p.setBrush(kAccent);
        p.drawEllipse(inner.adjusted(s * 0.15, s * 0.15, -s * 0.15, -s * 0.15));
        break;
    case Glyph::Alarm:
        drawClockFace(p, inner.adjusted(s * 0.06, s * 0.12, -s * 0.06, 0));
        p.setPen(QPen(kRed, s / 12, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(inner.left(), inner.top() + s * 0.14), QPointF(inner.left() + s * 0.16, inner.top()));
        p.drawLine(QPointF(inner.right(), inner.top() + s * 0.14), QPointF(inner.right() - s * 0.16, inner.top()));
        break;
    case Glyph::Timer: {
        p.setPen(QPen(kInk, s / 20));
        p.setBrush(kPaper);
        QPainterPath glass;
        glass.moveTo(inner.left() + s * 0.15, inner.top());
        glass.lineTo(inner.right() - s * 0.15, inner.top());
        glass.lineTo(r.center().x(), r.center().y());
        glass.lineTo(inner.right() - s * 0.15, inner.bottom());
        glass.lineTo(inner.left() + s * 0.15, inner.bottom());
        glass.lineTo(r.center().x(), r.center().y());
        glass.closeSubpath();
        p.drawPath(glass);
        p.setBrush(kGold);
        p.setPen(Qt::NoPen);
        QPolygonF sand;
        sand << QPointF(r.center().x(), inner.bottom() - s * 0.25) << QPointF(inner.right() - s * 0.22, inner.bottom() - s * 0.05)
             << QPointF(inner.left() + s * 0.22, inner.bottom() - s * 0.05);
        p.drawPolygon(sand);
        break;
    }
    case Glyph::DonationBadge: {
        const QRectF b = box.adjusted(1, 1, -1, -1);
        p.setPen(QPen(kInk, b.height() / 22));
        p.setBrush(kGold);
        p.drawRoundedRect(b, b.height() / 4, b.height() / 4);
        QFont f = p.font();
        f.setBold(true);
        const QString text = QStringLiteral("Donate $3");
        int pixels = std::max(1, int(b.height() * 0.36));
        f.setPixelSize(pixels);
        while (pixels > 6 && QFontMetricsF(f).horizontalAdvance(text) > b.width() * 0.88)
            f.setPixelSize(--pixels);
        p.setFont(f);
        p.setPen(kInk);
        p.drawText(b, Qt::AlignCenter, text);
        return;
    }
    }
}

class GlyphEngine final : public QIconEngine {
public:
    explicit GlyphEngine(Glyph glyph) : glyph_(glyph) {}
    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State) override
    {
        painter->save();
        if (mode == QIcon::Disabled)
            painter->setOpacity(0.4);
        paintGlyph(*painter, glyph_, rect);
        painter->restore();
    }
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return scaledPixmap(size, mode, state, 1.0);
    }
    QPixmap scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State state, qreal scale) override
    {
        const QSize device = size * scale;
        // Each button asks again at every paint: the last few answers stay at hand.
        for (const Drawn &drawn : drawn_)
            if (drawn.size == device && drawn.mode == mode && drawn.scale == scale && !drawn.pixmap.isNull())
                return drawn.pixmap;
        const QString key = QStringLiteral("listora-glyph-%1-%2x%3-%4")
                                .arg(int(glyph_)).arg(device.width()).arg(device.height()).arg(int(mode));
        QPixmap pm;
        if (!QPixmapCache::find(key, &pm)) {
            pm = QPixmap(device);
            pm.fill(Qt::transparent);
            QPainter painter(&pm);
            paint(&painter, QRect(QPoint(0, 0), device), mode, state);
            painter.end();
            QPixmapCache::insert(key, pm);
        }
        pm.setDevicePixelRatio(scale);
        drawn_[next_] = {device, mode, scale, pm};
        next_ = (next_ + 1) % drawn_.size();
        return pm;
    }
    QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override { return size; }
    QIconEngine *clone() const override { return new GlyphEngine(glyph_); }
    QString key() const override { return QStringLiteral("listora-glyph"); }

private:
    struct Drawn {
        QSize size;
        QIcon::Mode mode = QIcon::Normal;
        qreal scale = 1;
        QPixmap pixmap;
    };
    Glyph glyph_;
    std::array<Drawn, 3> drawn_;
    size_t next_ = 0;
};

} // namespace

QIcon icon(Glyph glyph)
{
    // One icon a glyph, shared by every window that shows it, with what it has drawn.
    static std::array<QIcon, size_t(Glyph::DonationBadge) + 1> icons;
    QIcon &shared = icons[size_t(glyph)];
    if (shared.isNull())
        shared = QIcon(new GlyphEngine(glyph));
    return shared;
}

} // namespace listora::icons
