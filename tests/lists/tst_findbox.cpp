#include "storage/codepage.h"
#include "tasks/capacity.h"
#include "lists/findbox.h"
#include "tasks/tasklistmodel.h"
#include "lists/tasklistview.h"

#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

using namespace listora;

class TestFindBox : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void find_data();
    void find();
    void chosenEntryScrolledIntoSight();
    void liesOverTheList();
};

namespace {

const QStringList kSix{"Buy bread", "Water the garden", " ---> 08/12/2026 Dentist at ten", "Regards to Anna",
                       "Call Jardín & Co", "Plant the GARDENIAS"};

// A window with a shown list and the box, as the main window holds them.
struct Rig {
    explicit Rig(const QStringList &entries) : model(kSecondListCapacity)
    {
        auto *layout = new QVBoxLayout(&window);
        entry = new QLineEdit(&window);
        list = new TaskListView(&window);
        layout->addWidget(entry);
        layout->addWidget(list);
        list->setTaskModel(&model);
        model.append(entries);
        box = new FindBox(&window);
        window.resize(320, 360);
        window.show();
        entry->setFocus();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTRY_VERIFY(entry->hasFocus());
    }
    QLineEdit *line() const { return box->findChild<QLineEdit *>(QStringLiteral("FindLine")); }
    // What the box shows, top to bottom.
    QStringList shown() const
    {
        const auto *matches = box->findChild<QAbstractItemView *>(QStringLiteral("FindMatches"));
        QStringList texts;
        for (int row = 0; row < matches->model()->rowCount(); ++row)
            texts << matches->model()->index(row, 0).data().toString();
        return texts;
    }

    QWidget window;
    TaskListModel model;
    QLineEdit *entry;
    TaskListView *list;
    FindBox *box;
};

} // namespace

void TestFindBox::initTestCase()
{
    setProgramCodePage(CodePage(1252));
}

void TestFindBox::find_data()
{
    QTest::addColumn<int>("selectedBefore");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QString>("keys"); // pressed after typing
    QTest::addColumn<int>("selectedAfter"); // in the whole list
    QTest::addColumn<QString>("hint"); // what the box says of a character left out
    using L = QStringList;
    const L gard{"Water the garden", "Regards to Anna", "Plant the GARDENIAS"};

    QTest::newRow("gard, Down, Enter") << -1 << "gard" << gard << "Down Enter" << 3 << "";
    QTest::newRow("Enter takes the first match") << -1 << "gard" << gard << "Enter" << 1 << "";
    QTest::newRow("Down stops at the last") << -1 << "gard" << gard << "Down Down Down Enter" << 5 << "";
    QTest::newRow("Up stops at the first") << -1 << "gard" << gard << "Up Enter" << 1 << "";
    QTest::newRow("Esc keeps the selection") << 4 << "gard" << gard << "Down Esc" << 4 << "";
    QTest::newRow("Esc keeps no selection") << -1 << "gard" << gard << "Esc" << -1 << "";
    QTest::newRow("case and accents ignored") << -1 << "JARDIN" << L{"Call Jardín & Co"} << "Enter" << 4 << "";
    QTest::newRow("accents typed, none in the list") << -1 << "régards" << L{"Regards to Anna"} << "Enter" << 3 << "";
    QTest::newRow("the words of an appointment") << -1 << "dentist" << L{kSix[2]} << "Enter" << 2 << "";
    QTest::newRow("a character the page cannot hold is left out")
        << -1 << "✓gard" << gard << "Down Enter" << 3 << "“✓” cannot be kept in a task file";
    QTest::newRow("a letter of another page never matches")
        << -1 << "Жgard" << gard << "Enter" << 1 << "“Ж” cannot be kept in a task file";
    QTest::newRow("nothing found: Enter keeps the selection") << 0 << "xyz" << L{} << "Enter" << 0 << "";
    QTest::newRow("nothing typed: Enter keeps the selected") << 2 << "" << kSix << "Enter" << 2 << "";
    QTest::newRow("nothing typed: Down goes on from it") << 2 << "" << kSix << "Down Enter" << 3 << "";
    QTest::newRow("typed and taken back: the list as it was") << 2 << "gard" << gard << "Backspace Backspace Backspace "
                                                                                       "Backspace Up Enter"
                                                            << 1 << "";
}

void TestFindBox::find()
{
    QFETCH(int, selectedBefore);
    QFETCH(QString, typed);
    QFETCH(QStringList, shown);
    QFETCH(QString, keys);
    QFETCH(int, selectedAfter);
    QFETCH(QString, hint);

    Rig rig(kSix);
    rig.list->selectRow(selectedBefore);
    rig.box->open(rig.list);
    QVERIFY(rig.box->isOpen());
    QTRY_VERIFY(rig.line()->hasFocus());
    QCOMPARE(rig.line()->accessibleName(), QStringLiteral("Find in the list"));
    for (const QChar c : typed) // as a keyboard of any language types
        QTest::sendKeyEvent(QTest::Click, rig.line(), Qt::Key_unknown, QString(c), Qt::NoModifier);
    QCOMPARE(rig.shown(), shown);
    if (!typed.isEmpty()) {
        // The first match is chosen, and a screen reader hears it.
        QCOMPARE(rig.line()->accessibleDescription(), shown.value(0, QStringLiteral("Not found")));
    }
    const auto *hintLabel = rig.box->findChild<QLabel *>(QStringLiteral("FindHint"));
    QCOMPARE(hintLabel->isVisibleTo(rig.box) ? hintLabel->text() : QString(), hint);
    // The list itself is untouched while the box is open.
    QCOMPARE(rig.list->selectedRow(), selectedBefore);
    QCOMPARE(rig.model.count(), kSix.size());

    QSignalSpy closed(rig.box, &FindBox::closed);
    for (const QString &key : keys.split(QLatin1Char(' '))) {
        const Qt::Key code = key == "Down"        ? Qt::Key_Down
                             : key == "Up"        ? Qt::Key_Up
                             : key == "Enter"     ? Qt::Key_Return
                             : key == "Backspace" ? Qt::Key_Backspace
                                                  : Qt::Key_Escape;
        QTest::keyClick(rig.line(), code);
    }
    QVERIFY(!rig.box->isOpen());
    QVERIFY(!rig.box->isVisible());
    QCOMPARE(closed.count(), 1);
    QCOMPARE(rig.list->selectedRow(), selectedAfter);
    // A chosen entry takes the focus to the list; otherwise it goes back where it was.
    const bool chosen = keys.endsWith(QLatin1String("Enter")) && selectedAfter >= 0 && !shown.isEmpty();
    QTRY_VERIFY((chosen ? static_cast<QWidget *>(rig.list) : rig.entry)->hasFocus());
}

void TestFindBox::chosenEntryScrolledIntoSight()
{
    QStringList entries;
    for (int i = 0; i < 300; ++i)
        entries << QStringLiteral("Entry %1").arg(i);
    entries[250] = QStringLiteral("The garden shed");
    Rig rig(entries);
    QSignalSpy chosen(rig.box, &FindBox::entryChosen);
    rig.box->open(rig.list);
    QTest::keyClicks(rig.line(), QStringLiteral("shed"));
    QTest::keyClick(rig.line(), Qt::Key_Return);
    QCOMPARE(rig.list->selectedRow(), 250);
    QCOMPARE(chosen.count(), 1);
    QCOMPARE(chosen.front().front().toInt(), 250);
    const QRect row = rig.list->visualRect(rig.model.index(250));
    QVERIFY(rig.list->viewport()->rect().contains(row));
}

void TestFindBox::liesOverTheList()
{
    Rig rig(kSix);
    rig.box->open(rig.list);
    QCOMPARE(rig.box->geometry(), rig.list->geometry());
    // The line to type in lies over the list's bottom edge, and follows it.
    QCOMPARE(rig.line()->mapTo(&rig.window, QPoint(0, rig.line()->height())),
             rig.list->mapTo(&rig.window, QPoint(0, rig.list->height())));
    rig.window.resize(400, 500);
    QTRY_COMPARE(rig.box->geometry(), rig.list->geometry());
    // A screen reader reaches the line from the window: each one up holds the one below.
    QAccessibleInterface *child = QAccessible::queryAccessibleInterface(rig.line());
    QCOMPARE(child->text(QAccessible::Name), QStringLiteral("Find in the list"));
    while (child->object() != &rig.window) {
        QAccessibleInterface *parent = child->parent();
        QVERIFY(parent);
        QVERIFY(parent->indexOfChild(child) >= 0);
        child = parent;
    }
    // Hidden with its list (the other list shown), it closes.
    rig.list->hide();
    QVERIFY(!rig.box->isOpen());
    QCOMPARE(rig.box->parentWidget(), &rig.window);
    rig.list->show();
    // Opened again, over the same list, nothing typed.
    rig.box->open(rig.list);
    QVERIFY(rig.box->isVisible());
    QCOMPARE(rig.line()->text(), QString());
    QCOMPARE(rig.box->close(), true);
    QVERIFY(!rig.box->isOpen());
}

QTEST_MAIN(TestFindBox)
#include "tst_findbox.moc"
