#include "app/mainwindow.h"
#include "widgets/windows.h"
#include "calendar/calendartest.h"
#include "calendar/calendarwindow.h"
#include "calendar/clockwindow.h"
#include "calendar/calendarpreferences.h"
#include "calendar/monthview.h"
#include "fakeplatform.h"
#include "mainwindowrig.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

using namespace listora;
using namespace listora::test;

namespace {

// Differs from the design in every setting, so that a change shows.
const CalendarSettings kBaseline{3, 2, true, false, false, 10, true};

enum class Row { Vertical, Horizontal, FontSize, WeekNumbers, ThreeD, Today };

} // namespace

Q_DECLARE_METATYPE(Row)

class TestCalendarPreferences : public QObject, private listora::test::MainWindowRig {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void design();
    void comboItemSetsExactlyItsSetting_data();
    void comboItemSetsExactlyItsSetting();
    void textMatchingNoItemChangesNothing_data();
    void textMatchingNoItemChangesNothing();
    void typingAloneChangesNothing();
    void wheelOverComboChangesNothing();
    void checkBoxBothWays_data();
    void checkBoxBothWays();
    void resetSequence();
    void writeWhileCalendarUnloaded_data();
    void writeWhileCalendarUnloaded();
    void writeAfterCalendarClosedStartsFromDesign();
    void reopenedPreferencesStartEmpty();

private:
    CalendarPreferences &openPreferences();
    MonthView &calendar() { return *windows->get<CalendarWindow>().monthView; }
    QComboBox *combo(Row row) const;
    QCheckBox *check(Row row) const;

    CalendarPreferences *prefs = nullptr;
};

void TestCalendarPreferences::init()
{
    buildRig();
    prefs = nullptr;
}

void TestCalendarPreferences::cleanup()
{
    tearDownRig();
}

CalendarPreferences &TestCalendarPreferences::openPreferences()
{
    prefs = &openWindow<CalendarPreferences>(*windows);
    return *prefs;
}

QComboBox *TestCalendarPreferences::combo(Row row) const
{
    switch (row) {
    case Row::Vertical: return prefs->verticalMonths;
    case Row::Horizontal: return prefs->horizontalMonths;
    case Row::FontSize: return prefs->fontSize;
    default: return nullptr;
    }
}

QCheckBox *TestCalendarPreferences::check(Row row) const
{
    switch (row) {
    case Row::WeekNumbers: return prefs->weekNumbers;
    case Row::ThreeD: return prefs->threeD;
    case Row::Today: return prefs->showToday;
    default: return nullptr;
    }
}

void TestCalendarPreferences::design()
{
    CalendarPreferences &p = openPreferences();
    QCOMPARE(p.windowTitle(), QStringLiteral("Preferences"));
    QCOMPARE(p.size(), QSize(312, 240));
    QVERIFY(!(p.windowFlags() & Qt::WindowMaximizeButtonHint));

    const QList<QLabel *> labels{p.verticalMonthsLabel, p.horizontalMonthsLabel, p.weekNumbersLabel, p.threeDLabel, p.fontSizeLabel, p.showTodayLabel, p.resetLabel};
    const QStringList captions{
        QStringLiteral("Nº of vertical months:"),     QStringLiteral("Nº of horizontal months:"),
        QStringLiteral("Show week number:"),          QStringLiteral("3D Calendar:"),
        QStringLiteral("Font Size of the Calendar:"), QStringLiteral("Show \" Today\""),
        QStringLiteral("Reset Preferences:"),
    };
    const QList<QWidget *> controls{p.verticalMonths, p.horizontalMonths, p.weekNumbers, p.threeD, p.fontSize, p.showToday, p.reset};
    for (int i = 0; i < labels.size(); ++i) {
        QCOMPARE(labels[i]->text(), captions[i]);
        QVERIFY(labels[i]->font().bold());
        QCOMPARE(controls[i]->y(), labels[i]->y());
        // The caption reads whole, left of its control.
        QVERIFY2(labels[i]->x() + labels[i]->fontMetrics().horizontalAdvance(captions[i]) <= controls[i]->x(),
                 qPrintable(captions[i]));
        QVERIFY(controls[i]->isVisible());
        QVERIFY(p.rect().contains(controls[i]->geometry()));
    }

    const QStringList months{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4")};
    const QStringList sizes{QStringLiteral("8"),  QStringLiteral("10"), QStringLiteral("12"),
                            QStringLiteral("14"), QStringLiteral("18"), QStringLiteral("24")};
    for (const auto &[box, items] : {std::pair{p.verticalMonths, months}, {p.horizontalMonths, months}, {p.fontSize, sizes}}) {
        QStringList listed;
        for (int i = 0; i < box->count(); ++i)
            listed << box->itemText(i);
        QCOMPARE(listed, items);
        QCOMPARE(box->currentText(), QString());
        QCOMPARE(box->currentIndex(), -1);
    }
    for (QCheckBox *box : {p.weekNumbers, p.threeD, p.showToday, p.reset}) {
        QVERIFY(!box->isChecked());
        QCOMPARE(box->text(), QString());
    }
}

void TestCalendarPreferences::comboItemSetsExactlyItsSetting_data()
{
    QTest::addColumn<Row>("row");
    QTest::addColumn<QString>("item");
    for (const char *item : {"1", "2", "3", "4"}) {
        QTest::addRow("vertical %s", item) << Row::Vertical << QString::fromLatin1(item);
        QTest::addRow("horizontal %s", item) << Row::Horizontal << QString::fromLatin1(item);
    }
    for (const char *item : {"8", "10", "12", "14", "18", "24"})
        QTest::addRow("font %s", item) << Row::FontSize << QString::fromLatin1(item);
}

void TestCalendarPreferences::comboItemSetsExactlyItsSetting()
{
    QFETCH(Row, row);
    QFETCH(QString, item);
    openPreferences();
    const int value = item.toInt();

    // Start from a value other than the item's, so its own change shows too.
    CalendarSettings before = kBaseline;
    if (row == Row::Vertical)
        before.rows = value == 1 ? 4 : 1;
    else if (row == Row::Horizontal)
        before.columns = value == 1 ? 4 : 1;
    else
        before.fontSize = value == 8 ? 24 : 8;
    apply(calendar(), before);

    QVERIFY(chooseItem(combo(row), item));
    QCOMPARE(combo(row)->currentText(), item);

    CalendarSettings expected = before;
    if (row == Row::Vertical)
        expected.rows = value;
    else if (row == Row::Horizontal)
        expected.columns = value;
    else
        expected.fontSize = value;
    QCOMPARE(settingsOf(calendar()), expected);
}

void TestCalendarPreferences::textMatchingNoItemChangesNothing_data()
{
    QTest::addColumn<Row>("row");
    QTest::addColumn<QString>("text");
    QTest::newRow("vertical 5") << Row::Vertical << QStringLiteral("5");
    QTest::newRow("vertical 0") << Row::Vertical << QStringLiteral("0");
    QTest::newRow("vertical leading zero") << Row::Vertical << QStringLiteral("02");
    QTest::newRow("vertical leading blank") << Row::Vertical << QStringLiteral(" 2");
    QTest::newRow("vertical empty") << Row::Vertical << QString();
    QTest::newRow("horizontal 5") << Row::Horizontal << QStringLiteral("5");
    QTest::newRow("horizontal word") << Row::Horizontal << QStringLiteral("two");
    QTest::newRow("horizontal trailing blank") << Row::Horizontal << QStringLiteral("3 ");
    QTest::newRow("font 9") << Row::FontSize << QStringLiteral("9");
    QTest::newRow("font 11") << Row::FontSize << QStringLiteral("11");
    QTest::newRow("font decimal") << Row::FontSize << QStringLiteral("12.0");
    QTest::newRow("font 240") << Row::FontSize << QStringLiteral("240");
    QTest::newRow("font empty") << Row::FontSize << QString();
}

void TestCalendarPreferences::textMatchingNoItemChangesNothing()
{
    QFETCH(Row, row);
    QFETCH(QString, text);
    openPreferences();
    apply(calendar(), kBaseline);

    // Typed, committed with Enter, then left.
    QComboBox *box = combo(row);
    box->setFocus();
    box->lineEdit()->selectAll();
    if (text.isEmpty())
        QTest::keyClick(box->lineEdit(), Qt::Key_Delete);
    else
        QTest::keyClicks(box->lineEdit(), text);
    QTest::keyClick(box->lineEdit(), Qt::Key_Return);
    prefs->reset->setFocus();
    QCOMPARE(settingsOf(calendar()), kBaseline);

    // The reaction itself, run with that text in the box, ignores it too.
    box->setEditText(text);
    switch (row) {
    case Row::Vertical: prefs->applyVerticalMonths(); break;
    case Row::Horizontal: prefs->applyHorizontalMonths(); break;
    default: prefs->applyFontSize(); break;
    }
    QCOMPARE(settingsOf(calendar()), kBaseline);
}

void TestCalendarPreferences::typingAloneChangesNothing()
{
    openPreferences();
    apply(calendar(), kBaseline);
    // An item's own text, typed, committed with Enter and left, is not a choice.
    const std::pair<QComboBox *, QString> typed[] = {
        {prefs->verticalMonths, QStringLiteral("4")}, {prefs->horizontalMonths, QStringLiteral("1")}, {prefs->fontSize, QStringLiteral("18")}};
    for (const auto &[box, text] : typed) {
        box->setFocus();
        QTest::keyClicks(box->lineEdit(), text);
        prefs->reset->setFocus();
        box->setFocus();
        box->lineEdit()->selectAll();
        QTest::keyClicks(box->lineEdit(), text);
        QTest::keyClick(box->lineEdit(), Qt::Key_Return);
        QCOMPARE(box->currentText(), text);
    }
    prefs->reset->setFocus();
    QCOMPARE(settingsOf(calendar()), kBaseline);

    // Stepping through the list with the arrow keys is choosing from it.
    prefs->fontSize->setFocus();
    QTest::keyClick(prefs->fontSize, Qt::Key_Down);
    QCOMPARE(prefs->fontSize->currentText(), QStringLiteral("8"));
    CalendarSettings expected = kBaseline;
    expected.fontSize = 8;
    QCOMPARE(settingsOf(calendar()), expected);
}

void TestCalendarPreferences::wheelOverComboChangesNothing()
{
    openPreferences();
    apply(calendar(), kBaseline);
    for (QComboBox *box : {prefs->verticalMonths, prefs->horizontalMonths, prefs->fontSize}) {
        for (const int delta : {-120, -120, 120}) {
            const QPointF at(box->width() / 2.0, box->height() / 2.0);
            QWheelEvent wheel(at, box->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                              Qt::NoScrollPhase, false);
            QApplication::sendEvent(box, &wheel);
        }
        QCOMPARE(box->currentIndex(), -1);
    }
    QCOMPARE(settingsOf(calendar()), kBaseline);
}

void TestCalendarPreferences::checkBoxBothWays_data()
{
    QTest::addColumn<Row>("row");
    QTest::newRow("week numbers") << Row::WeekNumbers;
    QTest::newRow("3D") << Row::ThreeD;
    QTest::newRow("today") << Row::Today;
}

void TestCalendarPreferences::checkBoxBothWays()
{
    QFETCH(Row, row);
    openPreferences();
    const auto with = [row](bool on) {
        CalendarSettings s = kBaseline;
        (row == Row::WeekNumbers ? s.weekNumbers : row == Row::ThreeD ? s.threeD : s.showToday) = on;
        return s;
    };
    apply(calendar(), with(false));
    QCheckBox *box = check(row);

    clickCheck(box);
    QVERIFY(box->isChecked());
    QCOMPARE(box->text(), QStringLiteral("Yes"));
    QCOMPARE(settingsOf(calendar()), with(true));

    clickCheck(box);
    QVERIFY(!box->isChecked());
    QCOMPARE(box->text(), QStringLiteral("No"));
    QCOMPARE(settingsOf(calendar()), with(false));

    // The caption reads whole beside its box.
    QVERIFY(box->sizeHint().width() <= box->width());
    QVERIFY(prefs->rect().contains(box->geometry()));
}

void TestCalendarPreferences::resetSequence()
{
    openPreferences();
    QVERIFY(chooseItem(prefs->verticalMonths, QStringLiteral("2")));
    QVERIFY(chooseItem(prefs->horizontalMonths, QStringLiteral("3")));
    QVERIFY(chooseItem(prefs->fontSize, QStringLiteral("12")));
    clickCheck(prefs->weekNumbers);
    clickCheck(prefs->threeD);
    clickCheck(prefs->threeD);
    clickCheck(prefs->showToday);
    clickCheck(prefs->showToday);
    // Nothing in the preferences makes the font light; a reset still makes it bold.
    calendar().setFontBold(false);
    const CalendarSettings changed{2, 3, true, false, false, 12, false};
    QCOMPARE(settingsOf(calendar()), changed);
    const QDate selected = calendar().selectedDate();

    const auto controls = [this] {
        return QStringList{prefs->verticalMonths->currentText(), prefs->horizontalMonths->currentText(), prefs->fontSize->currentText(),
                           prefs->weekNumbers->text(),        prefs->threeD->text(),        prefs->showToday->text(),
                           QString::number(prefs->weekNumbers->checkState()),
                           QString::number(prefs->threeD->checkState()),
                           QString::number(prefs->showToday->checkState())};
    };
    const QStringList shown = controls();

    clickCheck(prefs->reset);
    QVERIFY(prefs->reset->isChecked());
    QCOMPARE(prefs->reset->text(), QStringLiteral("No"));
    QCOMPARE(settingsOf(calendar()), changed);

    clickCheck(prefs->reset);
    QVERIFY(!prefs->reset->isChecked());
    QCOMPARE(prefs->reset->text(), QStringLiteral("Yes"));
    QCOMPARE(settingsOf(calendar()), CalendarSettings{});
    QCOMPARE(calendar().selectedDate(), selected);
    // The other controls are not brought back in line with the calendar.
    QCOMPARE(controls(), shown);

    // And round again: "No" and nothing, then "Yes" and the reset. The week
    // number box still shows "Yes", so it takes two clicks to turn them on.
    clickCheck(prefs->weekNumbers);
    clickCheck(prefs->weekNumbers);
    QVERIFY(calendar().showWeekNumbers());
    clickCheck(prefs->reset);
    QCOMPARE(prefs->reset->text(), QStringLiteral("No"));
    QVERIFY(calendar().showWeekNumbers());
    clickCheck(prefs->reset);
    QCOMPARE(prefs->reset->text(), QStringLiteral("Yes"));
    QCOMPARE(settingsOf(calendar()), CalendarSettings{});

    // The calendar window fits the one month again.
    QCOMPARE(windows->find<CalendarWindow>()->size(), QSize(555, 428));
}

void TestCalendarPreferences::writeWhileCalendarUnloaded_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<CalendarSettings>("expected");
    QTest::newRow("vertical 3") << QStringLiteral("verticalMonths 3") << CalendarSettings{3, 1, false, true, true, 24, true};
    QTest::newRow("horizontal 4") << QStringLiteral("horizontalMonths 4") << CalendarSettings{1, 4, false, true, true, 24, true};
    QTest::newRow("font 8") << QStringLiteral("fontSize 8") << CalendarSettings{1, 1, false, true, true, 8, true};
    QTest::newRow("week numbers") << QStringLiteral("weekNumbers") << CalendarSettings{1, 1, true, true, true, 24, true};
    QTest::newRow("3D twice") << QStringLiteral("threeD threeD")
                              << CalendarSettings{1, 1, false, true, false, 24, true};
    QTest::newRow("today twice") << QStringLiteral("showToday showToday")
                                 << CalendarSettings{1, 1, false, false, true, 24, true};
    QTest::newRow("reset ticked") << QStringLiteral("reset") << CalendarSettings{};
}

void TestCalendarPreferences::writeWhileCalendarUnloaded()
{
    QFETCH(QString, action);
    QFETCH(CalendarSettings, expected);
    platform->clock = QDateTime(QDate(2031, 5, 17), QTime(23, 59, 58));
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form));
    openPreferences();
    QVERIFY(!windows->find<CalendarWindow>());

    const QStringList steps = action.split(QLatin1Char(' '));
    if (QComboBox *box = prefs->findChild<QComboBox *>(steps.first())) {
        QVERIFY(chooseItem(box, steps.last()));
    } else {
        for (const QString &name : steps)
            clickCheck(prefs->findChild<QCheckBox *>(name));
    }

    // Nothing on screen, but loaded, with the setting and today's date.
    CalendarWindow *loaded = windows->find<CalendarWindow>();
    if (action == QStringLiteral("reset")) {
        // A first click on the reset box writes nothing.
        QVERIFY(!loaded);
        return;
    }
    QVERIFY(loaded);
    QVERIFY(!loaded->isVisible());
    QCOMPARE(settingsOf(*loaded->monthView), expected);
    QCOMPARE(loaded->monthView->selectedDate(), QDate(2031, 5, 17));

    // Opened from the main window, it is that same window with that setting.
    QTest::mouseClick(form->clockLabel, Qt::LeftButton);
    QCOMPARE(windows->find<CalendarWindow>(), loaded);
    QVERIFY(loaded->isVisible());
    QCOMPARE(settingsOf(*loaded->monthView), expected);
    QCOMPARE(topLevelCount<CalendarWindow>(), 1);
    const QRect view = loaded->monthView->geometry();
    QVERIFY(loaded->rect().contains(view));
}

void TestCalendarPreferences::writeAfterCalendarClosedStartsFromDesign()
{
    windows->show<CalendarWindow>();
    openPreferences();
    QVERIFY(chooseItem(prefs->horizontalMonths, QStringLiteral("2")));
    QCOMPARE(calendar().monthColumns(), 2);

    windows->find<CalendarWindow>()->close();
    QVERIFY(!windows->find<CalendarWindow>());
    QVERIFY(chooseItem(prefs->verticalMonths, QStringLiteral("4")));
    CalendarWindow *loaded = windows->find<CalendarWindow>();
    QVERIFY(loaded && !loaded->isVisible());
    QCOMPARE(settingsOf(*loaded->monthView), (CalendarSettings{4, 1, false, true, true, 24, true}));
}

void TestCalendarPreferences::reopenedPreferencesStartEmpty()
{
    openPreferences();
    QVERIFY(chooseItem(prefs->fontSize, QStringLiteral("14")));
    clickCheck(prefs->weekNumbers);
    prefs->close();
    QVERIFY(!windows->find<CalendarPreferences>());

    openPreferences();
    QCOMPARE(prefs->fontSize->currentText(), QString());
    QVERIFY(!prefs->weekNumbers->isChecked());
    QCOMPARE(prefs->weekNumbers->text(), QString());
    // The calendar keeps what was applied.
    QCOMPARE(calendar().fontSize(), 14.0);
    QVERIFY(calendar().showWeekNumbers());
}

QTEST_MAIN(TestCalendarPreferences)
#include "tst_calendarpreferences.moc"
