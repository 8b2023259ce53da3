#include "texts/texts.h"
#include "tasks/capacity.h"
#include "lists/duemarks.h"
#include "tasks/tasklistmodel.h"
#include "lists/tasklistview.h"

#include <QStyledItemDelegate>
#include <QTest>

using namespace listora;

class TestDueMarks : public QObject {
    Q_OBJECT
private slots:
    void colour_data();
    void colour();
    void paint_data();
    void paint();
};

void TestDueMarks::colour_data()
{
    QTest::addColumn<QColor>("base");
    QTest::addColumn<bool>("red"); // still a red, not black or white

    QTest::newRow("light theme") << QColor(Qt::white) << true;
    QTest::newRow("light grey") << QColor(0xef, 0xf0, 0xf1) << true;
    QTest::newRow("dark theme") << QColor(0x2a, 0x2e, 0x32) << true;
    QTest::newRow("dark blue") << QColor(0x1e, 0x1e, 0x3f) << true;
    QTest::newRow("high contrast black") << QColor(Qt::black) << true;
    QTest::newRow("high contrast white") << QColor(Qt::white) << true;
    QTest::newRow("a red background") << QColor(0xc0, 0x00, 0x00) << false;
    QTest::newRow("mid grey") << QColor(0x77, 0x77, 0x77) << false;
}

void TestDueMarks::colour()
{
    QFETCH(QColor, base);
    QFETCH(bool, red);

    const QColor overdue = overdueColour(base);
    QVERIFY2(contrastRatio(overdue, base) >= 4.5,
             qPrintable(QStringLiteral("%1 on %2: %3").arg(overdue.name(), base.name()).arg(contrastRatio(overdue, base))));
    if (red) {
        QCOMPARE(overdue.hslHue(), 0);
        QVERIFY(overdue.red() > 2 * overdue.green());
    }
}

namespace {

// What the view hands the delegate for each row.
class Recorder final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        seen[index.row()] = option;
        QStyledItemDelegate::paint(painter, option, index);
    }
    mutable QHash<int, QStyleOptionViewItem> seen;
};

} // namespace

void TestDueMarks::paint_data()
{
    QTest::addColumn<int>("days"); // the appointment's day after today; 99: a task
    QTest::addColumn<bool>("selected");
    QTest::addColumn<bool>("dueToday"); // bold and underlined
    QTest::addColumn<QString>("colour"); // "text", "overdue" or "highlighted"

    QTest::newRow("due today: bold and underlined") << 0 << false << true << "text";
    QTest::newRow("overdue: red") << -3 << false << false << "overdue";
    QTest::newRow("next week: plain") << 7 << false << false << "text";
    QTest::newRow("a task: plain") << 99 << false << false << "text";
    QTest::newRow("overdue and selected: the highlighted text") << -3 << true << false << "highlighted";
    QTest::newRow("due today and selected: bold and underlined") << 0 << true << true << "highlighted";
}

void TestDueMarks::paint()
{
    QFETCH(int, days);
    QFETCH(bool, selected);
    QFETCH(bool, dueToday);
    QFETCH(QString, colour);

    const QDate today(2026, 12, 9);
    const auto entry = [&today](int after) {
        return after == 99 ? QStringLiteral("Buy bread")
                           : appointmentEntry(storedDateText(today.addDays(after)), QStringLiteral("Dentist"));
    };
    TaskListModel model(kSecondListCapacity);
    // The row painted after a marked one must not keep its mark: the rows around are each other kind.
    model.append(QStringList{entry(0), entry(days), entry(-3), entry(days), entry(99)});
    model.setToday(today);
    TaskListView view;
    auto *recorder = new Recorder(&view);
    view.setItemDelegate(recorder);
    view.setTaskModel(&model);
    view.resize(300, 200);
    if (selected)
        view.selectRow(3);
    view.grab();

    QCOMPARE(recorder->seen.size(), model.count());
    const QStyleOptionViewItem &option = recorder->seen.value(3);
    QCOMPARE(option.font.bold(), dueToday);
    QCOMPARE(option.font.underline(), dueToday);
    QCOMPARE(QFontMetrics(option.font).height(), option.fontMetrics.height());
    QCOMPARE(bool(option.state & QStyle::State_Selected), selected);
    const QPalette &palette = view.palette();
    // What the style writes the row's text in.
    const QColor written = option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text);
    const QColor expected = colour == "highlighted" ? palette.color(QPalette::Active, QPalette::HighlightedText)
                          : colour == "overdue"     ? overdueColour(palette.color(QPalette::Active, QPalette::Base))
                                                    : palette.color(QPalette::Active, QPalette::Text);
    QCOMPARE(written, expected);
    // The plain task at the end is painted plain again.
    QVERIFY(!recorder->seen.value(4).font.bold());
    QVERIFY(!recorder->seen.value(4).font.underline());
    QCOMPARE(recorder->seen.value(4).palette.color(QPalette::Text), palette.color(QPalette::Active, QPalette::Text));
}

QTEST_MAIN(TestDueMarks)
#include "tst_duemarks.moc"
