#include "calendar/monthviewaccessible.h"

#include "calendar/monthview.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QEvent>
#include <QHash>
#include <QPointer>
#include <QTimer>

#include <optional>

namespace listora {

namespace {

// The pieces of the calendar a screen reader can stand on. Each is an
// interface of its own, found again by its place.
enum class Part : quint8 { Previous, Next, Month, Header, Cell, Today };

struct Key {
    Part part = Part::Previous;
    int month = 0;  // block index, 0 = top left
    int row = 0;    // week row; unused by headers
    int column = 0; // 0 is the week number while those are shown

    quint64 packed() const
    {
        return quint64(part) << 48 | quint64(quint16(month)) << 32 | quint64(quint16(row)) << 16
            | quint64(quint16(column));
    }
};

int monthsBetween(QDate from, QDate to)
{
    return (to.year() - from.year()) * 12 + (to.month() - from.month());
}

int monthCount(const MonthView *view)
{
    return view->monthRows() * view->monthColumns();
}

int weekColumns(const MonthView *view)
{
    return view->showWeekNumbers() ? 1 : 0;
}

int columnCount(const MonthView *view)
{
    return 7 + weekColumns(view);
}

QDate monthOf(const MonthView *view, int index)
{
    return view->firstMonth().addMonths(index);
}

// The date drawn in a day cell, or none for the blanks around a month and the week numbers.
QDate cellDate(const MonthView *view, const Key &key)
{
    const int day = key.column - weekColumns(view);
    if (day < 0)
        return {};
    const QDate date = view->gridStartOf(key.month).addDays(key.row * 7 + day);
    return date.month() == monthOf(view, key.month).month() ? date : QDate();
}

// ISO weeks are named by their Thursday, as the calendar draws them.
int weekNumber(const MonthView *view, int month, int row)
{
    const int firstDay = int(view->locale().firstDayOfWeek());
    return view->gridStartOf(month).addDays(row * 7 + (4 - firstDay + 7) % 7).weekNumber();
}

QString monthTitle(const MonthView *view, int index)
{
    const QDate month = monthOf(view, index);
    return view->locale().standaloneMonthName(month.month()) + QLatin1Char(' ') + QString::number(month.year());
}

QString weekName(int number)
{
    return MonthView::tr("Week %1").arg(number);
}

QRect toGlobal(const MonthView *view, QRect local)
{
    return local.isEmpty() ? QRect() : QRect(view->mapToGlobal(local.topLeft()), local.size());
}

void send(QAccessibleInterface *iface, QAccessible::Event type)
{
    if (!iface)
        return;
    QAccessibleEvent event(iface, type);
    QAccessible::updateAccessibility(&event);
}

class CalendarAccessible;

CalendarAccessible *rootOf(MonthView *view);

// What every piece shares: it lives as long as the calendar and reads it afresh
// on every question, so paging never leaves it stale.
class CalendarPart : public QAccessibleInterface {
public:
    CalendarPart(MonthView *view, Key key)
        : view_(view)
        , key_(key)
    {
    }

    const Key &key() const { return key_; }

    bool isValid() const override;
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return view_ ? view_->window()->windowHandle() : nullptr; }
    QAccessibleInterface *parent() const override;
    int childCount() const override { return 0; }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override { return isValid() ? toGlobal(view_, localRect()) : QRect(); }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.invisible = !view_ || !view_->isVisible();
        return state;
    }

protected:
    virtual QRect localRect() const = 0;

    QPointer<MonthView> view_;
    Key key_;
};

class CalendarAccessible final : public QAccessibleWidget {
public:
    explicit CalendarAccessible(MonthView *view);
    ~CalendarAccessible() override
    {
        for (QAccessible::Id id : std::as_const(parts_))
            QAccessible::deleteAccessibleInterface(id);
    }

    MonthView *view() const { return static_cast<MonthView *>(widget()); }
    QAccessibleInterface *part(const Key &key) const;
    // The cell that shows date, when its month is on display.
    std::optional<Key> keyOf(QDate date) const
    {
        const MonthView *v = view();
        const int index = monthsBetween(v->firstMonth(), date);
        if (!date.isValid() || index < 0 || index >= monthCount(v))
            return std::nullopt;
        const qint64 n = v->gridStartOf(index).daysTo(date);
        return Key{Part::Cell, index, int(n / 7), int(n % 7) + weekColumns(v)};
    }
    QAccessibleInterface *selectedCell() const
    {
        const std::optional<Key> key = keyOf(view()->selectedDate());
        return key ? part(*key) : nullptr;
    }

    int childCount() const override { return 2 + monthCount(view()) + (view()->showToday() ? 1 : 0); }
    QAccessibleInterface *child(int index) const override
    {
        if (index < 0 || index >= childCount())
            return nullptr;
        if (index < 2)
            return part({index == 0 ? Part::Previous : Part::Next});
        if (index - 2 < monthCount(view()))
            return part({Part::Month, index - 2});
        return part({Part::Today});
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        const auto *piece = dynamic_cast<const CalendarPart *>(child);
        if (!piece || !piece->isValid())
            return -1;
        switch (piece->key().part) {
        case Part::Previous: return 0;
        case Part::Next: return 1;
        case Part::Month: return 2 + piece->key().month;
        case Part::Today: return 2 + monthCount(view());
        default: return -1;
        }
    }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        for (int i = 0; i < childCount(); ++i)
            if (QAccessibleInterface *c = child(i); c && c->rect().contains(x, y))
                return c;
        return nullptr;
    }
    QAccessibleInterface *focusChild() const override
    {
        if (!view()->hasFocus())
            return nullptr;
        QAccessibleInterface *cell = selectedCell();
        return cell ? cell : const_cast<CalendarAccessible *>(this);
    }
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Description)
            return MonthView::tr("Selected date: %1")
                .arg(view()->locale().toString(view()->selectedDate(), QLocale::LongFormat));
        return QAccessibleWidget::text(t);
    }

private:
    mutable QHash<quint64, QAccessible::Id> parts_;
};

CalendarAccessible *rootOf(MonthView *view)
{
    return view ? dynamic_cast<CalendarAccessible *>(QAccessible::queryAccessibleInterface(view)) : nullptr;
}

bool CalendarPart::isValid() const
{
    if (!view_)
        return false;
    const int months = monthCount(view_);
    switch (key_.part) {
    case Part::Previous:
    case Part::Next: return true;
    case Part::Today: return view_->showToday();
    case Part::Month: return key_.month < months;
    case Part::Header: return key_.month < months && key_.column < columnCount(view_);
    case Part::Cell:
        return key_.month < months && key_.column < columnCount(view_) && key_.row < view_->weekRows(key_.month);
    }
    return false;
}

QAccessibleInterface *CalendarPart::parent() const
{
    CalendarAccessible *root = rootOf(view_);
    if (!root)
        return nullptr;
    if (key_.part == Part::Header || key_.part == Part::Cell)
        return root->part({Part::Month, key_.month});
    return root;
}

// A paging arrow.
class PageButton final : public CalendarPart, public QAccessibleActionInterface {
public:
    using CalendarPart::CalendarPart;

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface *>(this) : nullptr;
    }
    QAccessible::Role role() const override { return QAccessible::Button; }
    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Name || !view_)
            return {};
        const bool several = monthCount(view_) > 1;
        if (key_.part == Part::Previous)
            return several ? MonthView::tr("Previous months") : MonthView::tr("Previous month");
        return several ? MonthView::tr("Next months") : MonthView::tr("Next month");
    }
    QAccessible::State state() const override
    {
        QAccessible::State state = CalendarPart::state();
        if (!view_)
            return state;
        const QDate shownFirst = view_->firstMonth();
        const QDate shownLast = shownFirst.addMonths(monthCount(view_) - 1);
        const QDate min = view_->minimumDate(), max = view_->maximumDate();
        state.disabled = key_.part == Part::Previous ? monthsBetween(min, shownFirst) <= 0
                                                     : monthsBetween(shownLast, max) <= 0;
        return state;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString &name) override
    {
        if (name != pressAction() || !view_)
            return;
        if (key_.part == Part::Previous)
            view_->showPreviousMonths();
        else
            view_->showNextMonths();
    }
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

protected:
    QRect localRect() const override
    {
        return key_.part == Part::Previous ? view_->previousRect() : view_->nextRect();
    }
};

// The "Today:" line under the months; a click on it selects today.
class TodayLine final : public CalendarPart, public QAccessibleActionInterface {
public:
    using CalendarPart::CalendarPart;

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface *>(this) : nullptr;
    }
    QAccessible::Role role() const override { return QAccessible::StaticText; }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name && view_ ? view_->todayText() : QString();
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString &name) override
    {
        if (name == pressAction() && view_)
            view_->setSelectedDate(view_->today());
    }
    QStringList keyBindingsForAction(const QString &) const override { return {QStringLiteral("Home")}; }

protected:
    QRect localRect() const override { return view_->todayRect(); }
};

// A day name above a month's days, or the empty corner above its week numbers.
class ColumnHeader final : public CalendarPart {
public:
    using CalendarPart::CalendarPart;

    QAccessible::Role role() const override { return QAccessible::ColumnHeader; }
    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Name || !isValid())
            return {};
        const int day = key_.column - weekColumns(view_);
        if (day < 0)
            return MonthView::tr("Week");
        const int weekday = (int(view_->locale().firstDayOfWeek()) - 1 + day) % 7 + 1;
        return view_->locale().dayName(weekday, QLocale::LongFormat);
    }

protected:
    QRect localRect() const override { return view_->cellRect(key_.month, -1, key_.column); }
};

// One day of a month, a blank beside it, or a week number.
class DayCell final : public CalendarPart, public QAccessibleTableCellInterface, public QAccessibleActionInterface {
public:
    using CalendarPart::CalendarPart;

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TableCellInterface)
            return static_cast<QAccessibleTableCellInterface *>(this);
        if (type == QAccessible::ActionInterface && date().isValid())
            return static_cast<QAccessibleActionInterface *>(this);
        return nullptr;
    }
    QAccessible::Role role() const override
    {
        return isWeekNumber() ? QAccessible::RowHeader : QAccessible::Cell;
    }
    QString text(QAccessible::Text t) const override
    {
        if (!isValid())
            return {};
        if (isWeekNumber())
            return t == QAccessible::Name ? weekName(weekNumber(view_, key_.month, key_.row)) : QString();
        const QDate day = date();
        if (!day.isValid())
            return {};
        if (t == QAccessible::Name)
            return view_->locale().toString(day, QLocale::LongFormat);
        if (t == QAccessible::Description && view_->showToday() && day == view_->today())
            return MonthView::tr("Today");
        return {};
    }
    QAccessible::State state() const override
    {
        QAccessible::State state = CalendarPart::state();
        const QDate day = isValid() ? date() : QDate();
        if (!day.isValid())
            return state;
        state.selectable = true;
        state.focusable = true;
        state.selected = day == view_->selectedDate();
        state.focused = state.selected && view_->hasFocus();
        state.disabled = day < view_->minimumDate() || day > view_->maximumDate();
        return state;
    }

    bool isSelected() const override { return state().selected; }
    QList<QAccessibleInterface *> columnHeaderCells() const override
    {
        CalendarAccessible *root = rootOf(view_);
        return root ? QList<QAccessibleInterface *>{root->part({Part::Header, key_.month, 0, key_.column})}
                    : QList<QAccessibleInterface *>{};
    }
    QList<QAccessibleInterface *> rowHeaderCells() const override
    {
        CalendarAccessible *root = rootOf(view_);
        if (!root || !view_->showWeekNumbers() || isWeekNumber())
            return {};
        return {root->part({Part::Cell, key_.month, key_.row, 0})};
    }
    int columnIndex() const override { return key_.column; }
    int rowIndex() const override { return key_.row; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface *table() const override { return parent(); }

    // Pressing a day does what clicking it does: it becomes the selected date.
    QStringList actionNames() const override { return {pressAction(), setFocusAction()}; }
    void doAction(const QString &name) override
    {
        const QDate day = isValid() ? date() : QDate();
        if (!day.isValid())
            return;
        if (name == setFocusAction())
            view_->setFocus(Qt::OtherFocusReason);
        if (name == pressAction() || name == setFocusAction())
            view_->setSelectedDate(day);
    }
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

protected:
    QRect localRect() const override { return view_->cellRect(key_.month, key_.row, key_.column); }

private:
    bool isWeekNumber() const { return view_ && key_.column < weekColumns(view_); }
    QDate date() const { return view_ ? cellDate(view_, key_) : QDate(); }
};

// One month: a table of its weeks under its day names, as drawn.
class MonthTable final : public CalendarPart, public QAccessibleTableInterface {
public:
    using CalendarPart::CalendarPart;

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::TableInterface ? static_cast<QAccessibleTableInterface *>(this) : nullptr;
    }
    QAccessible::Role role() const override { return QAccessible::Table; }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name && isValid() ? monthTitle(view_, key_.month) : QString();
    }

    int childCount() const override { return isValid() ? (rowCount() + 1) * columnCount() : 0; }
    QAccessibleInterface *child(int index) const override
    {
        if (index < 0 || index >= childCount())
            return nullptr;
        const int columns = columnCount();
        if (index < columns)
            return piece({Part::Header, key_.month, 0, index});
        index -= columns;
        return piece({Part::Cell, key_.month, index / columns, index % columns});
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        const auto *p = dynamic_cast<const CalendarPart *>(child);
        if (!p || !p->isValid() || p->key().month != key_.month)
            return -1;
        if (p->key().part == Part::Header)
            return p->key().column;
        if (p->key().part == Part::Cell)
            return (p->key().row + 1) * columnCount() + p->key().column;
        return -1;
    }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        for (int i = 0; i < childCount(); ++i)
            if (QAccessibleInterface *c = child(i); c && c->rect().contains(x, y))
                return c;
        return nullptr;
    }

    QAccessibleInterface *caption() const override { return nullptr; }
    QAccessibleInterface *summary() const override { return nullptr; }
    QAccessibleInterface *cellAt(int row, int column) const override
    {
        if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
            return nullptr;
        return piece({Part::Cell, key_.month, row, column});
    }
    int selectedCellCount() const override { return int(selectedCells().size()); }
    QList<QAccessibleInterface *> selectedCells() const override
    {
        CalendarAccessible *root = rootOf(view_);
        if (!root || !isValid())
            return {};
        const std::optional<Key> key = root->keyOf(view_->selectedDate());
        if (!key || key->month != key_.month)
            return {};
        return {root->part(*key)};
    }
    QString columnDescription(int column) const override
    {
        QAccessibleInterface *header = piece({Part::Header, key_.month, 0, column});
        return header ? header->text(QAccessible::Name) : QString();
    }
    QString rowDescription(int row) const override
    {
        return isValid() && view_->showWeekNumbers() ? weekName(weekNumber(view_, key_.month, row)) : QString();
    }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    int columnCount() const override { return view_ ? listora::columnCount(view_) : 0; }
    int rowCount() const override { return isValid() ? view_->weekRows(key_.month) : 0; }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent *) override {}

protected:
    QRect localRect() const override { return view_->monthRect(key_.month); }

private:
    QAccessibleInterface *piece(const Key &key) const
    {
        CalendarAccessible *root = rootOf(view_);
        return root ? root->part(key) : nullptr;
    }
};

QAccessibleInterface *CalendarAccessible::part(const Key &key) const
{
    const quint64 packed = key.packed();
    if (const auto found = parts_.constFind(packed); found != parts_.constEnd())
        return QAccessible::accessibleInterface(*found);
    QAccessibleInterface *made = nullptr;
    switch (key.part) {
    case Part::Previous:
    case Part::Next: made = new PageButton(view(), key); break;
    case Part::Today: made = new TodayLine(view(), key); break;
    case Part::Month: made = new MonthTable(view(), key); break;
    case Part::Header: made = new ColumnHeader(view(), key); break;
    case Part::Cell: made = new DayCell(view(), key); break;
    }
    parts_.insert(packed, QAccessible::registerAccessibleInterface(made));
    return made;
}

// Tells screen readers what the keyboard changed, with the focus and selection
// events an item view sends for its current cell.
class Announcer final : public QObject {
public:
    explicit Announcer(MonthView *view)
        : QObject(view)
        , view_(view)
        , selected_(view->selectedDate())
        , layout_(layoutOf())
    {
        setObjectName(QStringLiteral("listora_accessible_announcer"));
        view->installEventFilter(this);
        connect(view, &MonthView::selectionChanged, this, &Announcer::selectionChanged);
        connect(view, &MonthView::layoutChanged, this, &Announcer::layoutChanged);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        // The widget's own focus event comes after this one: answer it with the day.
        if (event->type() == QEvent::FocusIn)
            QTimer::singleShot(0, this, &Announcer::focusSelected);
        return false;
    }

private:
    struct Layout {
        QDate first;
        int months = 0;
        bool weekNumbers = false;
        bool today = false;
        friend bool operator==(const Layout &, const Layout &) = default;
    };
    Layout layoutOf() const
    {
        return {view_->firstMonth(), monthCount(view_), view_->showWeekNumbers(), view_->showToday()};
    }

    void selectionChanged()
    {
        const QDate before = selected_;
        selected_ = view_->selectedDate();
        layoutChanged();
        CalendarAccessible *root = QAccessible::isActive() ? rootOf(view_) : nullptr;
        if (!root)
            return;
        if (const std::optional<Key> old = root->keyOf(before))
            send(root->part(*old), QAccessible::SelectionRemove);
        if (QAccessibleInterface *cell = root->selectedCell()) {
            send(cell, QAccessible::SelectionAdd);
            if (view_->hasFocus())
                send(cell, QAccessible::Focus);
        }
        send(root, QAccessible::DescriptionChanged);
    }

    void layoutChanged()
    {
        const Layout now = layoutOf();
        if (now == layout_)
            return;
        const bool reshaped = now.months != layout_.months || now.weekNumbers != layout_.weekNumbers
            || now.today != layout_.today;
        layout_ = now;
        CalendarAccessible *root = QAccessible::isActive() ? rootOf(view_) : nullptr;
        if (!root)
            return;
        if (reshaped)
            send(root, QAccessible::ObjectReorder);
        for (int i = 0; i < now.months; ++i)
            send(root->part({Part::Month, i}), QAccessible::NameChanged);
    }

    void focusSelected()
    {
        CalendarAccessible *root = QAccessible::isActive() ? rootOf(view_) : nullptr;
        if (root && view_->hasFocus())
            send(root->selectedCell(), QAccessible::Focus);
    }

    MonthView *view_;
    QDate selected_;
    Layout layout_;
};

CalendarAccessible::CalendarAccessible(MonthView *view)
    : QAccessibleWidget(view, QAccessible::Grouping)
{
    if (!view->findChild<QObject *>(QStringLiteral("listora_accessible_announcer"), Qt::FindDirectChildrenOnly))
        new Announcer(view);
}

QAccessibleInterface *calendarFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String(MonthView::staticMetaObject.className()))
        if (auto *view = qobject_cast<MonthView *>(object))
            return new CalendarAccessible(view);
    return nullptr;
}

} // namespace

void installMonthViewAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(calendarFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace listora
