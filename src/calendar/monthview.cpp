#include "calendar/monthview.h"

#include "texts/texts.h"
#include "calendar/monthviewaccessible.h"

#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <qdrawutil.h>

#include <algorithm>

namespace listora {

namespace {

constexpr int kWeeks = 6;

QDate firstOfMonth(QDate date)
{
    return QDate(date.year(), date.month(), 1);
}

int monthsBetween(QDate from, QDate to)
{
    return (to.year() - from.year()) * 12 + (to.month() - from.month());
}

QFont headerFont(const QFont &font)
{
    QFont small = font;
    small.setPointSizeF(std::max<qreal>(6.0, font.pointSizeF() * 0.7));
    return small;
}

} // namespace


MonthView::MonthView(std::function<QDate()> today, QWidget *parent)
    : QWidget(parent)
    , today_(std::move(today))
{
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Before anything asks a screen reader's question of this view.
    installMonthViewAccessibility();
    setAccessibleName(tr("Calendar"));
    selected_ = today_();
    first_ = firstOfMonth(selected_);
    keepInRange();
}

void MonthView::setSelectedDate(QDate date)
{
    if (!date.isValid())
        return;
    selectAndShow(date);
}

void MonthView::setDateRange(QDate min, QDate max)
{
    if (!min.isValid() || !max.isValid() || max < min)
        return;
    min_ = min;
    max_ = max;
    selectAndShow(selected_);
}

void MonthView::setMonthRows(int rows)
{
    rows_ = std::clamp(rows, 1, 4);
    settingsChanged();
}

void MonthView::setMonthColumns(int columns)
{
    columns_ = std::clamp(columns, 1, 4);
    settingsChanged();
}

void MonthView::setShowWeekNumbers(bool on)
{
    weekNumbers_ = on;
    settingsChanged();
}

void MonthView::setShowToday(bool on)
{
    showToday_ = on;
    settingsChanged();
}

void MonthView::setAppearance3D(bool on)
{
    threeD_ = on;
    settingsChanged();
}

void MonthView::setFontSize(qreal points)
{
    if (points <= 0)
        return;
    QFont f = font();
    f.setPointSizeF(points);
    setFont(f);
}

void MonthView::setFontBold(bool bold)
{
    QFont f = font();
    f.setBold(bold);
    setFont(f);
}

void MonthView::setSizeLimit(QSize limit)
{
    if (limit == limit_)
        return;
    limit_ = limit;
    fitFont();
    updateGeometry();
    update();
}

QFont MonthView::drawnFont() const
{
    QFont f = font();
    if (drawnPoints_ > 0)
        f.setPointSizeF(drawnPoints_);
    return f;
}

void MonthView::fitFont()
{
    // Small enough for sixteen months on a small laptop screen, still legible.
    constexpr qreal kSmallest = 6;
    // A quarter point is about a third of a pixel at 96 dpi: the months end up
    // within a pixel or so of the room they have.
    constexpr qreal kStep = 0.25;

    drawnPoints_ = 0;
    const qreal chosen = font().pointSizeF();
    if (!limit_.isValid() || chosen <= kSmallest)
        return;
    const auto fits = [this](qreal points) {
        QFont f = font();
        f.setPointSizeF(points);
        const QSize need = sizeFor(metrics(f));
        return need.width() <= limit_.width() && need.height() <= limit_.height();
    };
    if (fits(chosen))
        return;
    // Text metrics round to whole pixels, so the need is not strictly
    // proportional to the size: step down rather than scale.
    qreal points = chosen;
    while (points - kStep >= kSmallest && !fits(points))
        points -= kStep;
    drawnPoints_ = points;
}

void MonthView::settingsChanged()
{
    keepInRange();
    fitFont();
    updateGeometry();
    update();
    emit layoutChanged();
}

void MonthView::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange)
        settingsChanged();
    QWidget::changeEvent(event);
}

MonthView::Metrics MonthView::metrics(const QFont &font) const
{
    const QFontMetrics fm(font);
    const QFontMetrics hfm(headerFont(font));
    Metrics m{};
    m.pad = std::max(3, fm.height() / 6);
    m.frame = threeD_ ? 2 : 1;
    int nameW = 0;
    for (int d = 1; d <= 7; ++d)
        nameW = std::max(nameW, hfm.horizontalAdvance(locale().dayName(d, QLocale::ShortFormat)));
    m.cellW = std::max(fm.horizontalAdvance(QStringLiteral("88")), nameW) + m.pad * 2;
    m.cellH = fm.height() + m.pad / 2 + 2;
    m.titleH = fm.height() + m.pad * 2;
    m.headerH = hfm.height() + m.pad;
    m.blockW = (7 + (weekNumbers_ ? 1 : 0)) * m.cellW + 2 * m.pad;
    m.blockH = m.titleH + m.headerH + kWeeks * m.cellH + m.pad;
    m.todayH = showToday_ ? fm.height() + m.pad * 2 : 0;
    return m;
}

QSize MonthView::sizeHint() const
{
    return sizeFor(metrics());
}

QSize MonthView::sizeFor(const Metrics &m) const
{
    const int w = columns_ * m.blockW + (columns_ - 1) * m.pad;
    const int h = rows_ * m.blockH + (rows_ - 1) * m.pad + m.todayH;
    return QSize(w + 2 * (m.frame + m.pad), h + 2 * (m.frame + m.pad));
}

QPoint MonthView::gridOrigin() const
{
    const QSize need = sizeHint();
    const Metrics m = metrics();
    return QPoint(std::max(0, (width() - need.width()) / 2) + m.frame + m.pad,
                  std::max(0, (height() - need.height()) / 2) + m.frame + m.pad);
}

QRect MonthView::blockRect(int index) const
{
    const Metrics m = metrics();
    const QPoint o = gridOrigin();
    const int row = index / columns_;
    const int column = index % columns_;
    return QRect(o.x() + column * (m.blockW + m.pad), o.y() + row * (m.blockH + m.pad), m.blockW, m.blockH);
}

QDate MonthView::gridStart(QDate month) const
{
    const int offset = (month.dayOfWeek() - int(locale().firstDayOfWeek()) + 7) % 7;
    return month.addDays(-offset);
}

QRect MonthView::dateRect(QDate date) const
{
    const int index = monthsBetween(first_, date);
    if (!date.isValid() || index < 0 || index >= monthCount())
        return {};
    const Metrics m = metrics();
    const QRect block = blockRect(index);
    const qint64 n = gridStart(month(index)).daysTo(date);
    const int row = int(n / 7);
    const int column = int(n % 7) + (weekNumbers_ ? 1 : 0);
    return QRect(block.x() + m.pad + column * m.cellW, block.y() + m.titleH + m.headerH + row * m.cellH, m.cellW,
                 m.cellH);
}

QDate MonthView::dateAt(QPoint pos) const
{
    const Metrics m = metrics();
    for (int i = 0; i < monthCount(); ++i) {
        const QRect block = blockRect(i);
        const QRect days(block.x() + m.pad + (weekNumbers_ ? m.cellW : 0), block.y() + m.titleH + m.headerH,
                         7 * m.cellW, kWeeks * m.cellH);
        if (!days.contains(pos))
            continue;
        const int row = (pos.y() - days.y()) / m.cellH;
        const int column = (pos.x() - days.x()) / m.cellW;
        const QDate date = gridStart(month(i)).addDays(row * 7 + column);
        if (date.month() != month(i).month() || date < min_ || date > max_)
            return {};
        return date;
    }
    return {};
}

int MonthView::weekRows(int index) const
{
    const QDate first = month(index);
    return int((gridStart(first).daysTo(first) + first.daysInMonth() + 6) / 7);
}

QRect MonthView::cellRect(int index, int row, int column) const
{
    if (index < 0 || index >= monthCount())
        return {};
    const Metrics m = metrics();
    const QRect block = blockRect(index);
    const int x = block.x() + m.pad + column * m.cellW;
    if (row < 0)
        return QRect(x, block.y() + m.titleH, m.cellW, m.headerH);
    return QRect(x, block.y() + m.titleH + m.headerH + row * m.cellH, m.cellW, m.cellH);
}

QString MonthView::todayText() const
{
    return tr("Today:") + QLatin1Char(' ') + shortDateText(today_(), locale());
}

QRect MonthView::todayRect() const
{
    if (!showToday_)
        return {};
    const Metrics m = metrics();
    const QRect last = blockRect(monthCount() - 1);
    const QPoint o = gridOrigin();
    return QRect(o.x(), last.bottom() + 1, last.right() + 1 - o.x(), m.todayH);
}

QRect MonthView::previousRect() const
{
    const Metrics m = metrics();
    const QRect block = blockRect(0);
    const int a = m.titleH - 2 * m.pad;
    return QRect(block.x() + m.pad, block.y() + m.pad, a, a);
}

QRect MonthView::nextRect() const
{
    const Metrics m = metrics();
    const QRect block = blockRect(columns_ - 1);
    const int a = m.titleH - 2 * m.pad;
    return QRect(block.right() + 1 - m.pad - a, block.y() + m.pad, a, a);
}

void MonthView::keepInRange()
{
    selected_ = std::clamp(selected_, min_, max_);
    const QDate lowest = firstOfMonth(min_);
    const QDate highest = std::max(lowest, firstOfMonth(max_).addMonths(-(monthCount() - 1)));
    const int shown = monthsBetween(first_, selected_);
    if (!first_.isValid() || shown < 0 || shown >= monthCount())
        first_ = firstOfMonth(selected_);
    first_ = std::clamp(first_, lowest, highest);
}

void MonthView::selectAndShow(QDate date)
{
    const QDate before = selected_;
    selected_ = date;
    keepInRange();
    update();
    if (selected_ != before)
        emit selectionChanged();
}

void MonthView::scroll(int months)
{
    const QDate before = selected_;
    const QDate lowest = firstOfMonth(min_);
    const QDate highest = std::max(lowest, firstOfMonth(max_).addMonths(-(monthCount() - 1)));
    const QDate target = std::clamp(first_.addMonths(months), lowest, highest);
    // The selection moves with the pages, so it stays on display.
    selected_ = std::clamp(selected_.addMonths(monthsBetween(first_, target)), min_, max_);
    first_ = target;
    keepInRange();
    update();
    if (selected_ != before)
        emit selectionChanged();
}

void MonthView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QPalette &pal = palette();
    const Metrics m = metrics();
    const QDate today = today_();

    if (threeD_) {
        const QBrush base = pal.base();
        qDrawShadePanel(&p, rect(), pal, true, m.frame, &base);
    } else {
        p.fillRect(rect(), pal.base());
        p.setPen(pal.color(QPalette::WindowText));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }

    const QFont dayFont = drawnFont();
    const QFont smallFont = headerFont(dayFont);
    const int firstDay = int(locale().firstDayOfWeek());
    const int offset = weekNumbers_ ? 1 : 0;

    for (int i = 0; i < monthCount(); ++i) {
        const QDate mon = month(i);
        const QRect block = blockRect(i);

        const QRect title(block.x(), block.y(), block.width(), m.titleH - m.pad / 2);
        p.fillRect(title, pal.color(QPalette::Button));
        p.setPen(pal.color(QPalette::ButtonText));
        p.setFont(dayFont);
        p.drawText(title, Qt::AlignCenter, locale().standaloneMonthName(mon.month()) + QLatin1Char(' ')
                                               + QString::number(mon.year()));

        const int headerY = block.y() + m.titleH;
        p.setFont(smallFont);
        p.setPen(pal.color(QPalette::Highlight));
        for (int c = 0; c < 7; ++c) {
            const int day = (firstDay - 1 + c) % 7 + 1;
            p.drawText(QRect(block.x() + m.pad + (c + offset) * m.cellW, headerY, m.cellW, m.headerH),
                       Qt::AlignCenter, locale().dayName(day, QLocale::ShortFormat));
        }
        const int daysY = headerY + m.headerH;
        p.setPen(pal.color(QPalette::Mid));
        p.drawLine(block.x() + m.pad + offset * m.cellW, daysY - 1, block.right() - m.pad, daysY - 1);
        if (weekNumbers_)
            p.drawLine(block.x() + m.pad + m.cellW - 1, daysY, block.x() + m.pad + m.cellW - 1,
                       daysY + kWeeks * m.cellH);

        const QDate start = gridStart(mon);
        for (int r = 0; r < kWeeks; ++r) {
            const QDate rowStart = start.addDays(r * 7);
            if (rowStart > QDate(mon.year(), mon.month(), mon.daysInMonth()))
                break;
            if (weekNumbers_) {
                // ISO weeks are named by their Thursday.
                const QDate thursday = rowStart.addDays((4 - firstDay + 7) % 7);
                p.setFont(smallFont);
                p.setPen(pal.color(QPalette::PlaceholderText));
                p.drawText(QRect(block.x() + m.pad, daysY + r * m.cellH, m.cellW, m.cellH), Qt::AlignCenter,
                           QString::number(thursday.weekNumber()));
            }
            p.setFont(dayFont);
            for (int c = 0; c < 7; ++c) {
                const QDate date = rowStart.addDays(c);
                if (date.month() != mon.month())
                    continue;
                const QRect cell(block.x() + m.pad + (c + offset) * m.cellW, daysY + r * m.cellH, m.cellW, m.cellH);
                const bool inRange = date >= min_ && date <= max_;
                QColor ink = inRange ? pal.color(QPalette::Text) : pal.color(QPalette::PlaceholderText);
                if (date == selected_) {
                    p.fillRect(cell.adjusted(1, 1, -1, -1), pal.color(hasFocus() ? QPalette::Highlight : QPalette::Mid));
                    ink = pal.color(QPalette::HighlightedText);
                }
                if (showToday_ && date == today) {
                    p.setPen(QPen(QColor(200, 0, 0), std::max(2, m.pad / 2)));
                    p.setBrush(Qt::NoBrush);
                    p.drawRect(cell.adjusted(2, 2, -2, -2));
                }
                p.setPen(ink);
                p.drawText(cell, Qt::AlignCenter, QString::number(date.day()));
            }
        }
    }

    // Paging arrows in the outer title bands.
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    const auto arrow = [&](QRect r, bool left, bool enabled) {
        p.setBrush(pal.color(enabled ? QPalette::ButtonText : QPalette::Mid));
        QPainterPath path;
        const QRectF f = QRectF(r).adjusted(r.width() * 0.2, r.height() * 0.15, -r.width() * 0.2, -r.height() * 0.15);
        if (left) {
            path.moveTo(f.right(), f.top());
            path.lineTo(f.left(), f.center().y());
            path.lineTo(f.right(), f.bottom());
        } else {
            path.moveTo(f.left(), f.top());
            path.lineTo(f.right(), f.center().y());
            path.lineTo(f.left(), f.bottom());
        }
        path.closeSubpath();
        p.drawPath(path);
    };
    arrow(previousRect(), true, first_ > firstOfMonth(min_));
    arrow(nextRect(), false, month(monthCount() - 1) < firstOfMonth(max_));
    p.setRenderHint(QPainter::Antialiasing, false);

    if (showToday_) {
        const QRect line = todayRect();
        const int mark = m.todayH - 2 * m.pad;
        p.setPen(QPen(QColor(200, 0, 0), std::max(2, m.pad / 2)));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRect(line.x() + m.pad, line.y() + m.pad, mark * 3 / 2, mark));
        p.setPen(pal.color(QPalette::Text));
        p.setFont(dayFont);
        p.drawText(line.adjusted(m.pad * 2 + mark * 3 / 2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, todayText());
    }
}

void MonthView::mouseMoveEvent(QMouseEvent *event)
{
    emit hovered();
    event->accept();
}

void MonthView::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint pos = event->position().toPoint();
    if (previousRect().contains(pos))
        scroll(-monthCount());
    else if (nextRect().contains(pos))
        scroll(monthCount());
    else if (todayRect().contains(pos))
        selectAndShow(today_());
    else if (const QDate date = dateAt(pos); date.isValid())
        selectAndShow(date);
}

void MonthView::mouseDoubleClickEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    const QDate date = event->button() == Qt::LeftButton ? dateAt(pos) : QDate();
    if (date.isValid()) {
        event->accept();
        selectAndShow(date);
        emit dateDoubleClicked(date);
        return;
    }
    // Quick clicks on the arrows keep paging.
    mousePressEvent(event);
}

void MonthView::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Left: selectAndShow(selected_.addDays(-1)); break;
    case Qt::Key_Right: selectAndShow(selected_.addDays(1)); break;
    case Qt::Key_Up: selectAndShow(selected_.addDays(-7)); break;
    case Qt::Key_Down: selectAndShow(selected_.addDays(7)); break;
    case Qt::Key_PageUp: selectAndShow(selected_.addMonths(-1)); break;
    case Qt::Key_PageDown: selectAndShow(selected_.addMonths(1)); break;
    case Qt::Key_Home: selectAndShow(today_()); break;
    case Qt::Key_Return:
    case Qt::Key_Enter: emit dateDoubleClicked(selected_); break;
    default: QWidget::keyPressEvent(event); return;
    }
    event->accept();
}

} // namespace listora
