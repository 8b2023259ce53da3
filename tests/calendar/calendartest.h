#pragma once

#include "calendar/monthview.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>

#include <algorithm>

namespace listora::test {

// Everything the preferences can change, compared as one value so a test can
// tell that a control changed exactly its own setting.
struct CalendarSettings {
    int rows = 1;
    int columns = 1;
    bool weekNumbers = false;
    bool showToday = true;
    bool threeD = true;
    qreal fontSize = 24;
    bool bold = true;
    friend bool operator==(const CalendarSettings &, const CalendarSettings &) = default;
};

inline CalendarSettings settingsOf(const MonthView &view)
{
    return {view.monthRows(), view.monthColumns(), view.showWeekNumbers(), view.showToday(),
            view.appearance3D(), view.fontSize(),  view.fontBold()};
}

inline void apply(MonthView &view, const CalendarSettings &s)
{
    view.setMonthRows(s.rows);
    view.setMonthColumns(s.columns);
    view.setShowWeekNumbers(s.weekNumbers);
    view.setShowToday(s.showToday);
    view.setAppearance3D(s.threeD);
    view.setFontSize(s.fontSize);
    view.setFontBold(s.bold);
}

inline char *toString(const CalendarSettings &s)
{
    return QTest::toString(QStringLiteral("%1x%2 weeks=%3 today=%4 3D=%5 %6pt bold=%7")
                               .arg(s.rows)
                               .arg(s.columns)
                               .arg(s.weekNumbers)
                               .arg(s.showToday)
                               .arg(s.threeD)
                               .arg(s.fontSize)
                               .arg(s.bold));
}

template <class W> int topLevelCount()
{
    const QWidgetList tops = QApplication::topLevelWidgets();
    return int(std::count_if(tops.begin(), tops.end(), [](QWidget *w) {
        return qobject_cast<W *>(w) && w->testAttribute(Qt::WA_DeleteOnClose);
    }));
}

// The pointer may already rest on that spot, and a move to where it already is
// reaches no one: come from one pixel away.
inline void hoverOver(QWidget *widget, QPoint at)
{
    QTest::mouseMove(widget, at + QPoint(1, 1));
    QTest::mouseMove(widget, at);
}

// A captionless check box reacts only on its box, as for a person.
inline void clickCheck(QCheckBox *box)
{
    QStyleOptionButton option;
    option.initFrom(box);
    const QRect indicator = box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box);
    QTest::mouseClick(box, Qt::LeftButton, {}, indicator.center());
}

// Opens the combo's list and clicks the item with that text.
inline bool chooseItem(QComboBox *combo, const QString &text)
{
    const int index = combo->findText(text, Qt::MatchExactly);
    if (index < 0)
        return false;
    combo->showPopup();
    QAbstractItemView *list = combo->view();
    if (!QTest::qWaitForWindowExposed(list->window()))
        return false;
    // A release too soon after the list opened is taken as the end of the
    // opening click and ignored.
    QTest::qWait(QApplication::doubleClickInterval() + 50);
    const QPoint at = list->visualRect(list->model()->index(index, 0)).center();
    QTest::mouseMove(list->viewport(), at + QPoint(1, 1));
    QTest::mouseMove(list->viewport(), at);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    return !list->window()->isVisible();
}

} // namespace listora::test

Q_DECLARE_METATYPE(listora::test::CalendarSettings)
