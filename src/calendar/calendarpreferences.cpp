#include "calendar/calendarpreferences.h"

#include "widgets/fonts.h"
#include "widgets/windows.h"
#include "calendar/calendarwindow.h"
#include "widgets/icons.h"
#include "calendar/monthview.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>

#include <optional>

namespace listora {

namespace {

// The number of the first item of box equal to its text, compared as text in list order.
std::optional<int> matchItem(const QComboBox *box)
{
    for (int i = 0; i < box->count(); ++i)
        if (box->currentText() == box->itemText(i))
            return box->itemText(i).toInt();
    return std::nullopt;
}

// A wheel turned while the pointer passes over a closed combo would step it
// and apply a setting nobody chose from the list.
class WheelStop final : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject *, QEvent *event) override { return event->type() == QEvent::Wheel; }
};

} // namespace

CalendarPreferences::CalendarPreferences(Windows &windows)
    : QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint)
    , windows_(windows)
{
    setObjectName(QStringLiteral("CalendarPreferences"));
    setupUi(this);

    // The design's face comes from what is installed, and its size is no whole point.
    // The captions name their controls for the keyboard and for screen readers.
    const QFont captionFont = msSansSerif(9.75, true);
    for (QLabel *label : {verticalMonthsLabel, horizontalMonthsLabel, weekNumbersLabel, threeDLabel, fontSizeLabel, showTodayLabel, resetLabel}) {
        label->setFont(captionFont);
        label->buddy()->setAccessibleName(label->text());
    }

    auto *wheelStop = new WheelStop(this);
    for (QComboBox *box : {verticalMonths, horizontalMonths, fontSize}) {
        // Qt would take typed text that equals an item as a choice when the box
        // is left or Enter is pressed; only a choice from the list applies.
        QObject::disconnect(box->lineEdit(), &QLineEdit::editingFinished, box, nullptr);
        box->installEventFilter(wheelStop);
    }

    connect(verticalMonths, &QComboBox::activated, this, &CalendarPreferences::applyVerticalMonths);
    connect(horizontalMonths, &QComboBox::activated, this, &CalendarPreferences::applyHorizontalMonths);
    connect(fontSize, &QComboBox::activated, this, &CalendarPreferences::applyFontSize);
    connect(weekNumbers, &QCheckBox::clicked, this, &CalendarPreferences::applyWeekNumbers);
    connect(threeD, &QCheckBox::clicked, this, &CalendarPreferences::applyBorder);
    connect(showToday, &QCheckBox::clicked, this, &CalendarPreferences::applyShowToday);
    connect(reset, &QCheckBox::clicked, this, &CalendarPreferences::applyReset);

    // Load step: the clock's icon, which loads the clock.
    // The clock's picture, drawn here: nothing of the clock needs to be made for it.
    setWindowIcon(icons::icon(icons::Glyph::Clock));
}

MonthView &CalendarPreferences::calendar()
{
    return *windows_.get<CalendarWindow>().monthView;
}

void CalendarPreferences::applyVerticalMonths()
{
    if (const auto n = matchItem(verticalMonths))
        calendar().setMonthRows(*n);
}

void CalendarPreferences::applyHorizontalMonths()
{
    if (const auto n = matchItem(horizontalMonths))
        calendar().setMonthColumns(*n);
}

void CalendarPreferences::applyFontSize()
{
    if (const auto n = matchItem(fontSize))
        calendar().setFontSize(*n);
}

void CalendarPreferences::applyWeekNumbers()
{
    const bool on = weekNumbers->isChecked();
    weekNumbers->setText(on ? QStringLiteral("Yes") : QStringLiteral("No"));
    calendar().setShowWeekNumbers(on);
}

void CalendarPreferences::applyBorder()
{
    const bool on = threeD->isChecked();
    threeD->setText(on ? QStringLiteral("Yes") : QStringLiteral("No"));
    calendar().setAppearance3D(on);
}

void CalendarPreferences::applyShowToday()
{
    const bool on = showToday->isChecked();
    showToday->setText(on ? QStringLiteral("Yes") : QStringLiteral("No"));
    calendar().setShowToday(on);
}

void CalendarPreferences::applyReset()
{
    // Runs the other way from the boxes above: the unticked state resets.
    if (reset->isChecked()) {
        reset->setText(QStringLiteral("No"));
        return;
    }
    reset->setText(QStringLiteral("Yes"));
    MonthView &view = calendar();
    view.setShowToday(true);
    view.setAppearance3D(true);
    view.setFontSize(24);
    view.setFontBold(true);
    view.setShowWeekNumbers(false);
    view.setShowToday(true);
    view.setMonthRows(1);
    view.setMonthColumns(1);
}

} // namespace listora
