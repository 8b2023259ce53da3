// Sequences of what a person does to the lists, through the window's own keys,
// buttons, menu, editor and drops, each step checked against a plain model:
// two lists of strings, a capacity rule and a linear history. Random rows come
// from a fixed seed; a failure names the seed and the steps that led to it.
#include "mainwindowrig.h"
#include "widgets/windows.h"
#include "fakeplatform.h"
#include "storage/codepage.h"
#include "storage/taskfile.h"
#include "tasks/capacity.h"
#include "tasks/entrytext.h"
#include "tasks/tasklistmodel.h"
#include "lists/tasklistview.h"

#include "texts/texts.h"

#include <QApplication>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <array>
#include <memory>

using namespace listora;

class TestEditingSequences : public QObject {
    Q_OBJECT
private slots:
    void sequences_data();
    void sequences();
};

namespace {

using Lists = std::array<QStringList, 2>;
constexpr std::array<int, 2> kCapacity{kFirstListCapacity, kSecondListCapacity};

// What the lists should be: each change is one step of a linear history.
struct Model {
    struct Step {
        Lists before, after;
        int undoShows, redoShows; // the list each way leaves on display
    };
    Lists lists;
    int shown = 0;
    QList<Step> done, undone;
    KeptLines kept; // lines of opened files, saved back as they were read

    // The open editor: the entry it started with, and what was typed after it.
    bool editing = false;
    int editList = 0, editRow = 0;
    QString editShown, typed;
    bool typedOn = false;

    void change(const Lists &after, int undoShows, int redoShows)
    {
        done.append({lists, after, undoShows, redoShows});
        undone.clear();
        lists = after;
    }
    void undo()
    {
        if (done.isEmpty())
            return;
        const Step step = done.takeLast();
        lists = step.before;
        shown = step.undoShows;
        undone.append(step);
    }
    void redo()
    {
        if (undone.isEmpty())
            return;
        const Step step = undone.takeLast();
        lists = step.after;
        shown = step.redoShows;
        done.append(step);
    }
    // Leaving the editor commits it; an edit nobody typed into is no change.
    void endEdit()
    {
        if (!editing)
            return;
        editing = false;
        const QString text = editShown + (typedOn ? typed : QString());
        if (text == editShown)
            return;
        Lists after = lists;
        QString &entry = after[editList][editRow];
        const QString stored = storableEntryText(text).text;
        if (entry == stored)
            return;
        entry = stored;
        change(after, editList, editList);
    }
};

QString describe(const Lists &lists, int shown)
{
    return lists[0].join(QLatin1Char(',')) + QStringLiteral(" | ") + lists[1].join(QLatin1Char(','))
         + QStringLiteral(" @") + QString::number(shown);
}

// One main window, driven the way a person drives it.
class Driver {
public:
    explicit Driver(int page) : page_(page)
    {
        previous_ = programCodePage();
        setProgramCodePage(CodePage(page));
        rig_ = std::make_unique<test::WindowRig>();
        rig_->form->show();
        rig_->form->activateWindow();
    }
    ~Driver()
    {
        rig_.reset();
        setProgramCodePage(previous_);
    }
    // Without QTest's pauses between looks: thousands of windows come and go here.
    bool ready()
    {
        QElapsedTimer waited;
        waited.start();
        while (!rig_->form->isActiveWindow() && waited.elapsed() < 5000)
            QCoreApplication::processEvents();
        return rig_->form->isActiveWindow();
    }

    template <class T> T *control(const char *name) const
    {
        return rig_->form->findChild<T *>(QLatin1String(name));
    }
    TaskListView *list(int i) const { return control<TaskListView>(i == 0 ? "firstList" : "secondList"); }
    int shown() const { return control<QWidget>("secondListPanel")->isHidden() ? 0 : 1; }
    Lists lists() const { return {list(0)->taskModel()->entries(), list(1)->taskModel()->entries()}; }
    QLineEdit *entryBox() const { return control<QLineEdit>("entryBox"); }
    QLineEdit *editor() const
    {
        for (int i : {0, 1})
            for (auto *editor : list(i)->findChildren<QLineEdit *>(QStringLiteral("EntryEditor")))
                if (editor->isVisible()) // a closed one only waits to be deleted
                    return editor;
        return nullptr;
    }

    // Performs one step on the window and on the model; a message when they part.
    QString step(const QString &line, Model &m);

private:
    void key(int combined)
    {
        const QKeyCombination k = QKeyCombination::fromCombined(combined);
        QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : rig_->form.get();
        QTest::keyClick(target, k.key(), k.keyboardModifiers());
    }
    // The row is chosen as a click on it chooses it, or nothing is selected.
    void select(int list, int row)
    {
        TaskListView *view = this->list(list);
        if (row < 0 || row >= view->taskModel()->count()) {
            view->clearSelection();
            return;
        }
        view->scrollTo(view->model()->index(row, 0));
        const QRect rect = view->visualRect(view->model()->index(row, 0));
        if (view->viewport()->rect().contains(rect.center()))
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rect.center());
        else
            view->selectRow(row);
    }
    QString writeFile(const QByteArray &bytes)
    {
        const QString path = dir_.filePath(QStringLiteral("f%1.dat").arg(files_++));
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        return path;
    }
    void open(const QByteArray &bytes, Model &m)
    {
        const QString path = writeFile(bytes);
        rig_->platform.paths.enqueue(path);
        key((Qt::CTRL | Qt::Key_O).toCombined());
        m.endEdit();
        const ReadResult read = readTaskFile(bytes, CodePage(page_));
        m.kept.add(read.kept);
        if (read.entriesRead() == 0)
            return;
        Lists after = m.lists;
        after[0] += read.lists.first;
        after[1] += read.lists.second;
        m.change(after, 0, 0);
    }
    void add(const QString &how, const QString &text, Model &m)
    {
        const int target = shown();
        QLineEdit *box = entryBox();
        if (how == QLatin1String("enter")) {
            if (!box->isEnabled())
                return; // a refusal left it disabled: the keys would go elsewhere
            box->setFocus(); // leaving an open editor commits it
            m.endEdit();
            box->selectAll();
            QTest::keyClicks(box, text);
            QTest::keyClick(box, Qt::Key_Return);
        } else {
            // As a screen reader presses a button: the focus stays where it is.
            box->setText(text);
            const bool appointment = how == QLatin1String("appt");
            control<QPushButton>(target == 0 ? (appointment ? "addAppointmentButton" : "addTaskButton")
                                             : (appointment ? "secondAddAppointmentButton" : "secondAddTaskButton"))
                ->click();
            m.endEdit();
        }
        const QString typed = storableEntryText(text).text;
        if (isBlankEntry(typed) || m.lists[target].size() >= kCapacity[target])
            return;
        const QString entry = how == QLatin1String("appt")
                                  ? appointmentEntry(storedDateText(rig_->platform.now().date()), typed)
                                  : typed;
        Lists after = m.lists;
        after[target].append(entry);
        m.change(after, target, target);
    }

    std::unique_ptr<test::WindowRig> rig_;
    CodePage previous_;
    int page_;
    int steps_ = 0;
    inline static QTemporaryDir dir_; // one for all the sequences: a folder each costs more than the steps
    inline static int files_ = 0;
};

QString Driver::step(const QString &line, Model &m)
{
    const QStringList w = line.split(QLatin1Char(' '));
    const QString &op = w[0];
    const int n = w.value(1).toInt();
    const int at = shown();

    if (op == "enter" || op == "task" || op == "appt") {
        add(op, w.mid(1).join(QLatin1Char(' ')), m);
    } else if (op == "remove" || op == "delete") {
        select(at, n);
        if (op == "delete") {
            list(at)->setFocus();
            key(Qt::Key_Delete);
        } else {
            control<QPushButton>(at == 0 ? "removeButton" : "secondRemoveButton")->click();
        }
        m.endEdit();
        if (n >= 0 && n < m.lists[at].size()) {
            Lists after = m.lists;
            after[at].removeAt(n);
            m.change(after, at, at);
        }
    } else if (op == "move") {
        select(at, n);
        list(at)->setFocus();
        key(Qt::Key_Return);
        m.endEdit();
        if (n >= 0 && n < m.lists[at].size()) {
            Lists after = m.lists;
            after[1 - at].append(after[at].takeAt(n));
            m.change(after, at, 1 - at);
        }
    } else if (op == "edit") {
        // "edit 1 text end|esc|open": F2, End, the text typed, then Enter, Esc or nothing.
        select(at, n);
        list(at)->setFocus();
        m.endEdit();
        key(Qt::Key_F2);
        QCoreApplication::processEvents(); // the editor takes the focus
        QLineEdit *box = editor();
        if (n < 0 || n >= m.lists[at].size())
            return box ? QStringLiteral("an editor opened with nothing selected") : QString();
        if (!box)
            return QStringLiteral("no editor opened");
        m.editing = true;
        m.editList = at;
        m.editRow = n;
        m.editShown = editableEntryText(m.lists[at][n]);
        m.typed = w.value(2) == QLatin1String("-") ? QString() : w.value(2);
        m.typedOn = true;
        QTest::keyClick(box, Qt::Key_End);
        QTest::keyClicks(box, m.typed);
        if (w.value(3) == QLatin1String("end")) {
            QTest::keyClick(box, Qt::Key_Return);
            QCoreApplication::processEvents(); // the delegate commits from the event loop
            m.endEdit();
        } else if (w.value(3) == QLatin1String("esc")) {
            QTest::keyClick(box, Qt::Key_Escape);
            QCoreApplication::processEvents();
            m.editing = false;
        }
    } else if (op == "up" || op == "down") {
        select(at, n);
        list(at)->setFocus();
        m.endEdit();
        key((Qt::ALT | (op == "up" ? Qt::Key_Up : Qt::Key_Down)).toCombined());
        const int to = n + (op == "up" ? -1 : 1);
        if (n >= 0 && n < m.lists[at].size() && to >= 0 && to < m.lists[at].size()) {
            Lists after = m.lists;
            after[at].move(n, to);
            m.change(after, at, at);
        }
    } else if (op == "drop") {
        // "drop 0 2": the entry of row 0 dropped on the upper half of row 2.
        const int onto = w.value(2).toInt();
        TaskListView *view = list(at);
        TaskListModel *model = view->taskModel();
        if (n >= model->count() || onto >= model->count())
            return {};
        view->setFocus(); // as the press that starts a drag does
        m.endEdit();
        std::unique_ptr<QMimeData> mime(model->mimeData({model->index(n)}));
        const QPoint point = view->visualRect(model->index(onto)).topLeft() + QPoint(4, 2);
        QDragEnterEvent enter(point, Qt::MoveAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view->viewport(), &enter);
        QDragMoveEvent move(point, Qt::MoveAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view->viewport(), &move);
        QDropEvent drop(point, Qt::MoveAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view->viewport(), &drop);
        m.endEdit();
        const int to = onto > n ? onto - 1 : onto;
        if (to != n) {
            Lists after = m.lists;
            after[at].move(n, to);
            m.change(after, at, at);
        }
    } else if (op == "undo" || op == "redo-y" || op == "redo-sz") {
        const int keys = op == "undo" ? (Qt::CTRL | Qt::Key_Z).toCombined()
                       : op == "redo-y" ? (Qt::CTRL | Qt::Key_Y).toCombined()
                                        : (Qt::CTRL | Qt::SHIFT | Qt::Key_Z).toCombined();
        if (QLineEdit *box = editor(); box && box->hasFocus()) {
            // In the editor they act on its own typing, nothing else.
            key(keys);
            m.typedOn = op != "undo";
        } else {
            QLineEdit *entry = entryBox();
            const bool ownTyping =
                entry->hasFocus() && (op == "undo" ? entry->isUndoAvailable() : entry->isRedoAvailable());
            key(keys);
            if (!ownTyping) // else the box takes back its own typing first
                op == "undo" ? m.undo() : m.redo();
        }
    } else if (op == "menu-undo" || op == "menu-redo") {
        // The menu of the list on display, opened without moving the focus.
        rig_->platform.menuPicks.enqueue(op == "menu-undo" ? QStringLiteral("Undo") : QStringLiteral("Redo"));
        QContextMenuEvent ask(QContextMenuEvent::Keyboard, QPoint(), QPoint());
        QApplication::sendEvent(list(at)->viewport(), &ask);
        rig_->platform.menuPicks.clear();
        m.endEdit();
        op == "menu-undo" ? m.undo() : m.redo();
    } else if (op == "switch") {
        key((Qt::CTRL | Qt::Key_Tab).toCombined());
        m.endEdit();
        m.shown = 1 - m.shown;
    } else if (op == "switch-button") {
        control<QPushButton>("switchListButton")->click();
        m.endEdit();
        m.shown = 1 - m.shown;
    } else if (op == "leave") {
        entryBox()->isEnabled() ? entryBox()->setFocus() : control<QWidget>("appointmentDate")->setFocus();
        m.endEdit();
    } else if (op == "open") {
        QStringList first, second;
        for (int i = 0; i < n; ++i)
            first << QStringLiteral("f%1.%2").arg(files_).arg(i);
        for (int i = 0; i < w.value(2).toInt(); ++i)
            second << QStringLiteral("s%1.%2").arg(files_).arg(i);
        open(writeTaskFile(first, second, CodePage(page_)), m);
    } else if (op == "open-bad") {
        open(QByteArrayLiteral("not a task file\r\n"), m);
        rig_->platform.messages.clear();
    } else if (op == "open-bytes") {
        open(" 1 \r\n" + QByteArray::fromHex(w.value(1).toLatin1()) + "\r\n 0 \r\n", m);
    } else if (op == "save") {
        const QString path = dir_.filePath(QStringLiteral("saved.dat"));
        QFile::remove(path);
        rig_->platform.answers.enqueue(MessageAnswer::Ok);
        rig_->platform.paths.enqueue(path);
        key((Qt::CTRL | Qt::Key_S).toCombined());
        m.endEdit();
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return QStringLiteral("nothing was saved");
        if (file.readAll() != writeTaskFile(m.lists[0], m.lists[1], CodePage(page_), nullptr, &m.kept))
            return QStringLiteral("the saved file is not the lists");
    } else if (op == "destroy") {
        // The window goes with an editor open, as at the end of a session.
        rig_->form.reset();
        return {};
    } else {
        return QStringLiteral("unknown step");
    }
    // Painting the window is most of a step's cost: it is painted after every fourth.
    if (++steps_ % 4 == 0)
        QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // closed editors
    if (lists() != m.lists || shown() != m.shown)
        return QStringLiteral("the window holds %1, the model %2").arg(describe(lists(), shown()), describe(m.lists, m.shown));
    if (!m.editing && editor())
        return QStringLiteral("an editor is still open");
    return {};
}

// A short sequence of steps a person might take, small enough to fit the lists on screen.
QStringList randomSteps(QRandomGenerator &random)
{
    // Typed as keys; the buttons also take what a keyboard would not type.
    static const char *const words[] = {"alpha", "bravo", "charlie", "delta", "echo", "fox", "x"};
    const auto word = [&] { return QString::fromUtf8(words[random.bounded(int(std::size(words)))]); };
    const auto row = [&] { return random.bounded(-1, 6); };
    QStringList steps;
    if (random.bounded(8) == 0)
        steps << QStringLiteral("open 49 0"); // near the first list's capacity
    const int length = random.bounded(4, 16);
    for (int i = 0; i < length; ++i) {
        switch (random.bounded(17)) {
        case 0: case 1: steps << QStringLiteral("enter ") + word(); break;
        case 2: steps << QStringLiteral("task ") + (random.bounded(3) ? word() : QStringLiteral("Grüße ✓")); break;
        case 3: steps << QStringLiteral("appt ") + word(); break;
        case 4: steps << QStringLiteral("remove %1").arg(row()); break;
        case 5: steps << QStringLiteral("delete %1").arg(row()); break;
        case 6: steps << QStringLiteral("move %1").arg(row()); break;
        case 7: case 8: {
            static const char *const ends[] = {"end", "esc", "open", "open"};
            steps << QStringLiteral("edit %1 %2 %3")
                         .arg(row())
                         .arg(random.bounded(3) == 0 ? QStringLiteral("-") : QLatin1Char('_') + word())
                         .arg(QLatin1String(ends[random.bounded(4)]));
            break;
        }
        case 9: steps << QStringLiteral("%1 %2").arg(random.bounded(2) ? "up" : "down").arg(row()); break;
        case 10: steps << QStringLiteral("drop %1 %2").arg(random.bounded(4)).arg(random.bounded(4)); break;
        case 11: steps << QStringLiteral("undo"); break;
        case 12: steps << QString::fromLatin1(random.bounded(2) ? "redo-y" : "redo-sz"); break;
        case 13: steps << QString::fromLatin1(random.bounded(2) ? "menu-undo" : "menu-redo"); break;
        case 14: steps << QString::fromLatin1(random.bounded(3) ? "switch" : "switch-button"); break;
        case 15:
            steps << (random.bounded(4) == 0 ? QStringLiteral("open-bad")
                                             : QStringLiteral("open %1 %2").arg(random.bounded(3)).arg(random.bounded(3)));
            break;
        case 16: steps << QString::fromLatin1(random.bounded(2) ? "leave" : "save"); break;
        }
    }
    if (random.bounded(10) == 0)
        steps << QStringLiteral("edit 0 _z open") << QStringLiteral("destroy");
    return steps;
}

} // namespace

void TestEditingSequences::sequences_data()
{
    QTest::addColumn<QStringList>("steps"); // a fixed sequence; empty for random ones
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<int>("count"); // random sequences to run
    QTest::addColumn<int>("page");

    using L = QStringList;
    const L fiveAndBack{"enter alpha", "enter bravo", "enter charlie", "enter delta", "enter echo", "delete 1", "undo"};
    QTest::newRow("Ctrl+Y in an editor opened after an undo acts on its typing")
        << (L(fiveAndBack) << "edit 1 _typed open" << "redo-y" << "undo" << "redo-y" << "leave" << "undo" << "save")
        << 0u << 0 << 1252;
    QTest::newRow("Ctrl+Shift+Z in an editor opened after an undo acts on its typing")
        << (L(fiveAndBack) << "edit 1 _typed open" << "redo-sz" << "menu-redo" << "save") << 0u << 0 << 1252;
    QTest::newRow("a redo from the menu while editing commits the edit first")
        << L{"enter a", "enter b", "undo", "edit 0 _x open", "menu-redo", "undo", "undo"} << 0u << 0 << 1252;
    QTest::newRow("an undo from the menu while editing the row it changes")
        << L{"enter a", "enter b", "edit 0 _x end", "edit 0 _y open", "menu-undo", "menu-undo", "redo-y"} << 0u << 0
        << 1252;
    QTest::newRow("every command ends an open edit first")
        << L{"enter a", "enter b", "edit 0 _1 open", "task c", "edit 1 _2 open", "remove 0", "edit 0 _3 open", "move 1",
             "edit 0 _4 open", "switch", "edit 0 _5 open", "open 1 1", "edit 0 _6 open", "drop 0 1", "undo", "undo"}
        << 0u << 0 << 1252;
    QTest::newRow("an editor left without typing changes nothing, even a line the page read broken")
        << L{"open-bytes CFF0E8E2E5F2", "edit 0 - open", "leave", "edit 0 - end", "save", "undo"} << 0u << 0 << 932;
    QTest::newRow("typing into such a line follows the page's rules")
        << L{"open-bytes CFF0E8E2E5F2", "edit 0 _ok end", "save", "undo", "save"} << 0u << 0 << 932;
    QTest::newRow("an open that adds nothing leaves nothing to undo")
        << L{"enter a", "open-bad", "undo", "open 0 0", "undo"} << 0u << 0 << 1252;
    QTest::newRow("the window goes with an editor open") << L{"enter a", "edit 0 _b open", "destroy"} << 0u << 0 << 1252;
    QTest::newRow("a refused add, then Delete, then the same add")
        << L{"open 49 0", "enter a", "enter b", "delete 50", "task b", "undo", "appt c"} << 0u << 0 << 1252;

    for (quint32 seed : {1u, 2u, 3u, 4u})
        QTest::addRow("random, seed %u", seed) << L{} << seed << 400 << 1252;
}

void TestEditingSequences::sequences()
{
    QFETCH(QStringList, steps);
    QFETCH(quint32, seed);
    QFETCH(int, count);
    QFETCH(int, page);

    QRandomGenerator random(seed);
    for (int sequence = 0; sequence < std::max(count, 1); ++sequence) {
        const QStringList script = count > 0 ? randomSteps(random) : steps;
        Driver driver(page);
        QVERIFY(driver.ready());
        Model model;
        for (qsizetype i = 0; i < script.size(); ++i) {
            const QString failure = driver.step(script[i], model);
            if (!failure.isEmpty())
                QFAIL(qPrintable(QStringLiteral("seed %1, sequence %2, step %3 \"%4\": %5\n  steps: %6")
                                     .arg(seed)
                                     .arg(sequence)
                                     .arg(i)
                                     .arg(script[i], failure, script.mid(0, i + 1).join(QStringLiteral("; ")))));
        }
    }
}

QTEST_MAIN(TestEditingSequences)
#include "tst_editingsequences.moc"
