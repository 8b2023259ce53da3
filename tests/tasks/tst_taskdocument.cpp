// The task document without a window: the lists through every change and its
// undo, where each undo leaves the user, what opening and saving come to, and
// when the lists count as what their file holds.
// Failed saves make each fault real (the tests run as root, where permission
// bits stop nothing): a missing folder, a folder in the way, a file-size
// limit, a tiny tmpfs, a device that fails on purpose, and on Windows the
// read-only attribute and a target that another program holds open.
#include "failingsaves.h"
#include "filehelpers.h"
#include "holdingprocess.h"
#include "keptfolder.h"
#include "listhelpers.h"
#include "storage/codepage.h"
#include "storage/recovery.h"
#include "storage/taskfile.h"
#include "tasks/capacity.h"
#include "tasks/documenttexts.h"
#include "tasks/taskdocument.h"
#include "texts/texts.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <optional>

#ifdef Q_OS_LINUX
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

using namespace listora;
using listora::test::entries;
using listora::test::KeptFolder;
using listora::test::readFile;
using listora::test::renameOver;
using listora::test::snapshot;
using listora::test::writeFile;

enum class Fault { MissingFolder, TargetIsFolder, FileSizeLimit, FullTmpfs, WriteFailsHalfWay, ShortWrite,
                   DiskFillsPartWay, CommitFails, ErrorNamesTheFile, EntryTheFileCannotHold, ReadOnlyAttribute,
                   HeldOpen };
Q_DECLARE_METATYPE(Fault)
Q_DECLARE_METATYPE(OpenOutcome::Status)

namespace {

// A document driven by a script, one command a line: "add 0 a", "add* 1 120"
// (entries t0 to t119), "remove 0 1", "move 0 1" (to the other list),
// "edit 0 1 z", "reorder 0 1 2", "open 2 1" (a file of so many entries a
// list), "open kept.dat" (a file in the folder), "save a.dat", "backup a.dat",
// "undo", "undo* 100", "redo".
struct Script {
    explicit Script(const QString &folder) : dir(folder)
    {
        QObject::connect(&doc, &TaskDocument::savedChanged, &doc, [this](bool saved) { toldSaved = saved; });
        QObject::connect(&doc, &TaskDocument::filePathChanged, &doc, [this](const QString &path) { toldPath = path; });
    }

    // False when the command changed nothing.
    bool step(const QString &line)
    {
        const QStringList w = line.split(QLatin1Char(' '));
        const QString &op = w[0];
        const auto n = [&](int i) { return w.value(i).toInt(); };
        place.reset();
        if (op == "add")
            return doc.add(n(1), w.value(2)) == AddOutcome::Added;
        if (op == "add*")
            return std::ranges::all_of(entries(n(2), "t"), [&](auto &e) { return doc.add(n(1), e) == AddOutcome::Added; });
        if (op == "remove")
            return doc.remove(n(1), n(2));
        if (op == "move")
            return doc.moveToOther(n(1), n(2));
        if (op == "edit")
            return doc.edit(n(1), n(2), w.value(3));
        if (op == "reorder")
            return doc.reorder(n(1), n(2), n(3));
        if (op == "open" && w.size() == 3)
            return writeFile(dir.filePath("opened.dat"), writeTaskFile(entries(n(1), "f"), entries(n(2), "s")))
                && step("open opened.dat");
        if (op == "open")
            return doc.open(dir.filePath(w.value(1))).status == OpenOutcome::Opened;
        if (op == "save")
            return bool(doc.save(dir.filePath(w.value(1))));
        if (op == "backup")
            return bool(doc.backup(dir.filePath(w.value(1))));
        if (op == "page") {
            setProgramCodePage(CodePage(n(1)));
            return true;
        }
        if (op == "undo" || op == "undo*" || op == "redo") {
            for (int i = 0; i < std::max(n(1), 1); ++i)
                place = op == "redo" ? doc.redo() : doc.undo();
            return place.has_value();
        }
        QTest::qFail(qPrintable("unknown step " + line), __FILE__, __LINE__);
        return false;
    }

    // "a b | c @0:1* saved kept.dat": both lists (their counts, "#50 | #0",
    // past a dozen entries); where an undo or a redo left the user, '*' when
    // the entry there is selected; "-" when the command changed nothing;
    // "saved" when the lists are what their file holds; that file's name.
    QString state(bool changed) const
    {
        const QStringList &first = doc.list(0).entries();
        const QStringList &second = doc.list(1).entries();
        const bool counts = first.size() + second.size() > 12;
        const auto shown = [&](const QStringList &list) {
            return counts ? QStringLiteral("#%1").arg(list.size()) : list.join(QLatin1Char(' '));
        };
        QStringList parts{shown(first), QStringLiteral("|"), shown(second)};
        if (place)
            parts << QStringLiteral("@%1:%2%3").arg(place->list).arg(place->row).arg(place->selected ? "*" : "");
        if (!changed)
            parts << QStringLiteral("-");
        if (doc.isSaved())
            parts << QStringLiteral("saved");
        if (!doc.filePath().isEmpty())
            parts << QFileInfo(doc.filePath()).fileName();
        parts.removeAll(QString());
        return parts.join(QLatin1Char(' '));
    }

    QDir dir;
    TaskDocument doc;
    std::optional<ListPlace> place; // where the last undo or redo left the user
    bool toldSaved = true;
    QString toldPath;
};

// The file-size limit and the free room on the tmpfs: below every payload.
#ifdef Q_OS_LINUX
constexpr rlim_t kFileSizeLimit = 4096;
#endif
constexpr qint64 kPage = 4096;

// Well under QFileDevice's 16 KiB write buffer, so nothing reaches the disk
// before the save finishes; and far over it, so the data goes straight out.
constexpr int kBufferedEntries = 100;
constexpr int kWrittenThroughEntries = 3000;
// Over a megabyte: the save writes it in several pieces, and a fault can
// come after some of them are in the temporary file.
constexpr int kLongFileEntries = 20000;
constexpr qint64 kRoomForPartOfLongFile = 1200 * 1000;

const QByteArray kOldBytes(" 2 \r\nold entry\r\nanother old one\r\n 1 \r\nsecond list\r\n");

// What went wrong with a failed save, or nothing. Runs in the forked child as
// well, which can only report through its exit code.
std::optional<QString> misbehaviour(const TaskDocument &doc, const SaveOutcome &out, bool backup, const QString &target,
                                    const TaskLists &lists, const QString &why, const QString &earlier)
{
    if (out)
        return QStringLiteral("the save reported success");
    const QString warning = saveWarning(out, backup);
    const QString named = (backup ? QStringLiteral("The backup \"") : QStringLiteral("The file \""))
                        + QDir::toNativeSeparators(target) + QLatin1Char('"');
    if (!warning.startsWith(named))
        return QStringLiteral("the warning does not begin %1: %2").arg(named, warning);
    if (QDir::fromNativeSeparators(target) != QDir::toNativeSeparators(target)
        && warning.contains(QDir::fromNativeSeparators(QFileInfo(target).absolutePath())))
        return QStringLiteral("the warning mixes forward slashes into a path: ") + warning;
    if (warning.contains(QLatin1String("..")))
        return QStringLiteral("a sentence of the warning ends twice: ") + warning;
    if (!why.isEmpty() && !warning.contains(why))
        return QStringLiteral("the warning does not say \"%1\": %2").arg(why, warning);
    if (!warning.endsWith(QLatin1String(" Whatever was on disk is left as it was.")))
        return QStringLiteral("the warning does not say the old file stays: ") + warning;
    if (doc.lists() != lists)
        return QStringLiteral("the lists changed");
    // The lists belong to no file they were not written to.
    if (doc.filePath() != earlier)
        return QStringLiteral("the lists' file is now %1").arg(doc.filePath());
    if (doc.isSaved())
        return QStringLiteral("the lists count as saved");
    return std::nullopt;
}

} // namespace

class TestTaskDocument : public QObject {
    Q_OBJECT
private slots:
    // Western unless a row names its page, whatever the machine's locale.
    void initTestCase() { setProgramCodePage(CodePage(1252)); }
    void init();
    void cleanup();

    void history_data();
    void history();
    void linesKeptAsRead_data();
    void linesKeptAsRead();
    void open_data();
    void open();
    void roundTrip_data();
    void roundTrip();
    void failedSave_data();
    void failedSave();
    void changedElsewhere_data();
    void changedElsewhere();
    void keptAtSessionEnd_data();
    void keptAtSessionEnd();
    void repeating_data();
    void repeating();

private:
#ifdef Q_OS_LINUX
    bool mountSmallTmpfs(QString *root, QString *why);
#endif
    QString path(const QString &name) const { return dir_->filePath(name); }

    std::optional<QTemporaryDir> dir_;
    QString mounted_;
};

void TestTaskDocument::init()
{
    dir_.emplace();
    QVERIFY(dir_->isValid());
}

void TestTaskDocument::cleanup()
{
    setSaveDeviceFactory({});
    setSaveRetryWindow(kDefaultSaveRetryWindow);
#ifdef Q_OS_LINUX
    if (!mounted_.isEmpty()) {
        if (::umount(QFile::encodeName(mounted_).constData()) != 0)
            ::umount2(QFile::encodeName(mounted_).constData(), MNT_DETACH);
        mounted_.clear();
    }
#endif
    dir_.reset();
}

#ifdef Q_OS_LINUX
bool TestTaskDocument::mountSmallTmpfs(QString *root, QString *why)
{
    const QString point = path(QStringLiteral("small"));
    if (!QDir().mkpath(point)) {
        *why = QStringLiteral("cannot make the mount point");
        return false;
    }
    if (::mount("tmpfs", QFile::encodeName(point).constData(), "tmpfs", 0, "size=64k") != 0) {
        *why = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    mounted_ = point;
    *root = point;
    return true;
}
#endif

void TestTaskDocument::history_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("states"); // after each step
    using L = QStringList;

    QTest::newRow("a removal and a wrong move, undone and done again")
        << L{"add 0 a", "add 0 b", "add 0 c", "remove 0 1", "undo", "redo", "move 0 0", "undo", "redo"}
        << L{"a |", "a b |", "a b c |", "a c |", "a b c | @0:1*", "a c | @0:1", "c | a", "a c | @0:0*", "c | a @1:0*"};
    QTest::newRow("undoing a move from the backlog leads to the backlog")
        << L{"add 1 x", "add 1 y", "move 1 1", "undo"} << L{"| x", "| x y", "y | x", "| x y @1:1*"};
    QTest::newRow("an edit undone and redone keeps its place; one that changes nothing is none")
        << L{"add 0 a", "add 0 b", "edit 0 0 z", "undo", "redo", "edit 0 0 z", "undo"}
        << L{"a |", "a b |", "z b |", "a b | @0:0*", "z b | @0:0*", "z b | -", "a b | @0:0*"};
    QTest::newRow("putting in order, undone step by step; nothing moves past either end")
        << L{"add 0 a", "add 0 b", "add 0 c", "reorder 0 0 1", "reorder 0 2 1", "undo", "undo", "reorder 0 0 -1",
             "reorder 0 2 3", "undo"}
        << L{"a |", "a b |", "a b c |", "b a c |", "b c a |", "b a c | @0:2*", "a b c | @0:0*", "a b c | -", "a b c | -",
             "a b | @0:2"};
    QTest::newRow("what an open appended goes back in one step")
        << L{"add 0 a", "open 2 1", "undo", "redo"}
        << L{"a |", "a f0 f1 | s0 opened.dat", "a | @0:1 opened.dat", "a f0 f1 | s0 @0:1* opened.dat"};
    QTest::newRow("a new change drops what could be redone")
        << L{"add 0 a", "add 0 b", "undo", "add 0 c", "redo"} << L{"a |", "a b |", "a | @0:1", "a c |", "a c | -"};
    QTest::newRow("a refusal at a full list leaves nothing to undo; a removal frees a place")
        << L{"open 50 0", "add 0 z", "remove 0 49", "undo", "undo", "undo"}
        << L{"#50 | #0 saved opened.dat", "#50 | #0 - saved opened.dat", "#49 | #0 opened.dat",
             "#50 | #0 @0:49* saved opened.dat", "| @0:0 opened.dat", "| - opened.dat"};
    QTest::newRow("empty or blank text is no entry, nor one the page cannot hold a letter of")
        << L{"add 0", "add 1 \t\u3000", "add 0 \u2713", "add 0 a", "edit 0 0 \t"}
        << L{"| - saved", "| - saved", "| - saved", "a |", "a | -"};
    QTest::newRow("the last hundred changes can all be undone")
        << L{"add* 1 120", "undo* 100"} << L{"#0 | #120", "#0 | #20 @1:20"};
    // Saved: the lists are what their file holds, and undoing or redoing back there says so again.
    QTest::newRow("a save, a change, and its undo; a failed save changes nothing")
        << L{"add 0 a", "save a.dat", "add 0 b", "undo", "redo", "save missing/b.dat", "undo"}
        << L{"a |", "a | saved a.dat", "a b | a.dat", "a | @0:1 saved a.dat", "a b | @0:1* a.dat", "a b | - a.dat",
             "a | @0:1 saved a.dat"};
    QTest::newRow("opened into empty lists, saved; into lists with entries, not, even undone")
        << L{"open 1 1", "open 1 1", "undo"}
        << L{"f0 | s0 saved opened.dat", "f0 f0 | s0 s0 opened.dat", "f0 | s0 @0:1 opened.dat"};
    QTest::newRow("a backup is not the lists' file")
        << L{"add 0 a", "backup a.dat", "save b.dat", "backup c.dat"}
        << L{"a |", "a |", "a | saved b.dat", "a | saved b.dat"};
}

void TestTaskDocument::history()
{
    QFETCH(QStringList, steps);
    QFETCH(QStringList, states);
    QCOMPARE(steps.size(), states.size());
    Script s(dir_->path());
    for (qsizetype i = 0; i < steps.size(); ++i) {
        const bool changed = s.step(steps[i]);
        QCOMPARE(s.state(changed), states[i]);
        // What the document tells its windows agrees with what they ask.
        QCOMPARE(s.toldSaved, s.doc.isSaved());
        QCOMPARE(s.toldPath, s.doc.filePath());
    }
}

void TestTaskDocument::linesKeptAsRead_data()
{
    QTest::addColumn<QStringList>("steps"); // after opening kept.dat
    QTest::addColumn<QByteArray>("saved");
    using L = QStringList;
    const QByteArray one = " 1 \r\n\xee\xef\r\n 0 \r\n";
    QTest::newRow("saved as read") << L{} << one;
    QTest::newRow("moved to the other list") << L{"move 0 0"} << QByteArray(" 0 \r\n 1 \r\n\xee\xef\r\n");
    QTest::newRow("moved there and back") << L{"move 0 0", "move 1 0"} << one;
    QTest::newRow("moved, undone") << L{"move 0 0", "undo"} << one;
    QTest::newRow("removed, undone, redone, undone") << L{"remove 0 0", "undo", "redo", "undo"} << one;
    QTest::newRow("opening undone and redone") << L{"undo", "redo"} << one;
    QTest::newRow("edited to the same text") << L{QString::fromUtf16(u"edit 0 0 \u2170")} << one;
    // An edited entry is a new text: the page's own bytes.
    QTest::newRow("edited") << L{QString::fromUtf16(u"edit 0 0 \u2170!")} << QByteArray(" 1 \r\n\xfa\x40!\r\n 0 \r\n");
    QTest::newRow("edited, undone") << L{QString::fromUtf16(u"edit 0 0 \u2170!"), "undo"} << one;
    // Opening adds to the lists; the entries of the file opened before keep their bytes.
    QTest::newRow("another file opened after it")
        << L{"open other.dat"} << QByteArray(" 2 \r\n\xee\xef\r\nb\r\n 1 \r\nc\r\n");
    QTest::newRow("opened twice") << L{"open kept.dat"} << QByteArray(" 2 \r\n\xee\xef\r\n\xee\xef\r\n 0 \r\n");
    // Another page reads those bytes as other text: the entry has to be storable there.
    QTest::newRow("saved in another page: refused") << L{"page 1252"} << QByteArray();
}

// A line kept as it was read stays with its entry through the lists' changes,
// into the file saved and its backup.
void TestTaskDocument::linesKeptAsRead()
{
    QFETCH(QStringList, steps);
    QFETCH(QByteArray, saved);
    const CodePage before = programCodePage();
    setProgramCodePage(CodePage(932));
    const auto restore = qScopeGuard([&] { setProgramCodePage(before); });
    QVERIFY(writeFile(path("kept.dat"), " 1 \r\n\xee\xef\r\n 0 \r\n"));
    QVERIFY(writeFile(path("other.dat"), " 1 \r\nb\r\n 1 \r\nc\r\n"));

    Script s(dir_->path());
    QVERIFY(s.step("open kept.dat"));
    for (const QString &step : steps)
        s.step(step);
    if (saved.isEmpty()) {
        QVERIFY(!s.step("save saved.dat"));
        QVERIFY(!QFileInfo::exists(path("saved.dat")));
        return;
    }
    QVERIFY(s.step("save saved.dat"));
    QCOMPARE(readFile(path("saved.dat")), saved);
    QVERIFY(s.step("backup saved.dat"));
    QCOMPARE(readFile(path("saved.dat_bak.dat")), saved);
}

void TestTaskDocument::open_data()
{
    QTest::addColumn<QString>("kind"); // "file", "missing", "folder", "huge"
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("held"); // entries in the second list before
    QTest::addColumn<OpenOutcome::Status>("status");
    QTest::addColumn<QStringList>("first"); // added to the lists
    QTest::addColumn<QStringList>("second");
    QTest::addColumn<QString>("warning"); // %1: the file as the warning names it
    QTest::addColumn<bool>("saved");

    using L = QStringList;
    const auto damaged = [](int line, const QString &why, const QString &read) {
        return QStringLiteral("The file %1 is damaged at line ") + QString::number(line) + QStringLiteral(": ") + why
             + QStringLiteral(". ") + read;
    };
    const QString cut = QStringLiteral("the file ends before all the entries its counts announce");
    const QString bad = QStringLiteral("the count of entries there is not a whole number from -32768 to 32767");
    // Nothing after the end of a file is lost by saving over it; after a bad count, everything is.
    const QString dropped = QStringLiteral(" The entries after it were not read, so saving over this file would drop them.");
    const int max = kMaxListEntries;

    QTest::newRow("a whole file") << "file" << QByteArray(" 2 \r\na\r\nb\r\n 1 \r\nc\r\n") << 0 << OpenOutcome::Opened
                                  << L{"a", "b"} << L{"c"} << "" << true;
    QTest::newRow("two empty lists") << "file" << QByteArray(" 0 \r\n 0 \r\n") << 0 << OpenOutcome::Opened << L{} << L{}
                                     << "" << true;
    QTest::newRow("missing file") << "missing" << QByteArray() << 0 << OpenOutcome::Unreadable << L{} << L{}
                                  << "The file %1 cannot be read: it does not exist." << true;
    QTest::newRow("a folder") << "folder" << QByteArray() << 0 << OpenOutcome::Unreadable << L{} << L{}
                              << "The file %1 cannot be read: it is a folder." << true;
    QTest::newRow("over 64 MiB")
        << "huge" << QByteArray() << 0 << OpenOutcome::Unreadable << L{} << L{}
        << "The file %1 cannot be read: it is larger than 64 MiB, far more than a task file holds." << true;
    QTest::newRow("cut short") << "file" << QByteArray(" 3 \r\na\r\nb\r\n") << 0 << OpenOutcome::Damaged << L{"a", "b"}
                               << L{} << damaged(4, cut, "The 2 entries read before it were added.")
                               << false;
    QTest::newRow("bad second count")
        << "file" << QByteArray(" 1 \r\na\r\n1.5\r\nb\r\n") << 0 << OpenOutcome::Damaged << L{"a"} << L{}
        << damaged(3, bad, "The 1 entry read before it was added.") + dropped << false;
    QTest::newRow("second list cut short")
        << "file" << QByteArray(" 1 \r\na\r\n 3 \r\nb\r\n") << 0 << OpenOutcome::Damaged << L{"a"} << L{"b"}
        << damaged(5, cut, "The 2 entries read before it were added.") << false;
    QTest::newRow("one entry, then the end")
        << "file" << QByteArray(" 1 \r\na\r\n 3 \r\n") << 0 << OpenOutcome::Damaged << L{"a"} << L{}
        << damaged(4, cut, "The 1 entry read before it was added.") << false;
    QTest::newRow("bad count before any entry")
        << "file" << QByteArray(" 0 \r\nthree\r\nx\r\n") << 0 << OpenOutcome::Damaged << L{} << L{}
        << damaged(2, bad, "No entries were read before it.") + dropped << true;
    QTest::newRow("not a task file")
        << "file" << QByteArray("Buy bread\r\nCall the bank\r\n") << 0 << OpenOutcome::Damaged << L{} << L{}
        << "The file %1 is not a task file: its first line is not a count of entries. Nothing was added." << true;
    QTest::newRow("empty file") << "file" << QByteArray() << 0 << OpenOutcome::Damaged << L{} << L{}
                                << "The file %1 is empty: it holds no task lists. Nothing was added." << true;
    // A count line holds 16 bits: a longer list could never be saved again.
    QTest::newRow("past what a count can say")
        << "file" << QByteArray(" 1 \r\na\r\n 2 \r\nb\r\nc\r\n") << max - 1 << OpenOutcome::TooLong << L{} << L{}
        << "The file %1 was not opened: its entries would take a list past 32767 entries." << true;
    QTest::newRow("up to what a count can say") << "file" << QByteArray(" 0 \r\n 1 \r\nb\r\n") << max - 1
                                                << OpenOutcome::Opened << L{} << L{"b"} << "" << false;
    // Lists that would make a file larger than an open reads could be saved, but never opened again.
    QTest::newRow("past what an open reads")
        << "large" << " 1 \r\n" + QByteArray(30 << 20, 'f') + "\r\n 0 \r\n" << 0 << OpenOutcome::TooLarge << L{} << L{}
        << "The file %1 was not opened: with its entries the lists would make a task file larger than 64 MiB, more "
           "than Listora opens."
        << true;
}

// What was read before a fault is in the lists, one step to undo; the lists
// belong to the file whose entries they hold; the warning names the file and
// says what came of it.
void TestTaskDocument::open()
{
    QFETCH(QString, kind);
    QFETCH(QByteArray, bytes);
    QFETCH(int, held);
    QFETCH(OpenOutcome::Status, status);
    QFETCH(QStringList, first);
    QFETCH(QStringList, second);
    QFETCH(QString, warning);
    QFETCH(bool, saved);

    const QString file = path("broken.dat");
    if (kind == QLatin1String("file") || kind == QLatin1String("large")) {
        QVERIFY(writeFile(file, bytes));
    } else if (kind == QLatin1String("folder")) {
        QVERIFY(QDir().mkpath(file));
    } else if (kind == QLatin1String("huge")) {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QVERIFY(f.resize(kMaxTaskFileBytes + 1));
    }
    TaskDocument doc;
    const QStringList before = kind == QLatin1String("large") ? QStringList{QString(40 << 20, QLatin1Char('h'))}
                                                              : entries(held);
    doc.list(1).append(before);

    const OpenOutcome out = doc.open(file);
    QCOMPARE(out.status, status);
    QCOMPARE(doc.list(0).entries(), first);
    QCOMPARE(doc.list(1).entries(), before + second);
    const bool added = !first.isEmpty() || !second.isEmpty();
    QCOMPARE(out.added, first.size() + second.size());
    const QString named = QLatin1Char('"') + QDir::toNativeSeparators(file) + QLatin1Char('"');
    QCOMPARE(openWarning(file, out), warning.isEmpty() ? QString() : warning.arg(named));
    QCOMPARE(doc.filePath(), added || status == OpenOutcome::Opened ? file : QString());
    QCOMPARE(doc.isSaved(), saved);
    QCOMPARE(doc.history().canUndo(), added);
    if (added) {
        QVERIFY(doc.undo());
        QCOMPARE(doc.lists(), (TaskLists{{}, before}));
    }

    // The file is let go: saving over it works.
    QDir(file).removeRecursively();
    QVERIFY(doc.save(file));
    QVERIFY(doc.isSaved());
    QCOMPARE(doc.filePath(), file);
}

// Where Windows' older limits lie: a path past 260 characters, and a name
// outside the ANSI code page, which only the system's wide calls can reach.
void TestTaskDocument::roundTrip_data()
{
    QTest::addColumn<QStringList>("folders"); // below the test's folder
    QTest::addColumn<QString>("name");

    const QString deep = QStringLiteral("a folder name that is long enough to add up ").leftJustified(60, QLatin1Char('x'));
    const QString japanese = QString::fromUtf16(u"やること.dat");
    QTest::newRow("an ordinary path") << QStringList{} << "round.dat";
    QTest::newRow("longer than 260 characters") << QStringList{deep, deep, deep, deep, deep} << "lists.dat";
    QTest::newRow("Japanese name") << QStringList{QString::fromUtf16(u"仕事")} << japanese;
    QTest::newRow("both") << QStringList{deep, deep, deep, deep, QString::fromUtf16(u"仕事")} << japanese;
}

// What the lists hold comes back from the file and its backup: blanks, an
// appointment, Western letters, a list past its capacity.
void TestTaskDocument::roundTrip()
{
    QFETCH(QStringList, folders);
    QFETCH(QString, name);
    const QString folder = path(folders.join(QLatin1Char('/')));
    QVERIFY(QDir().mkpath(folder));
    const QString file = folder + QLatin1Char('/') + name;
    if (folders.size() > 1)
        QVERIFY(QDir::toNativeSeparators(file).size() > 260);
    if (folders.size() == 1)
        QVERIFY2(programCodePage().firstUnstorable(name) >= 0, "the name fits the code page: nothing is tested");

    const TaskLists lists{{"", "  blanks  ", " ---> 08/12/2026 Dentist", QString::fromUtf16(u"\u20ac \u00e9\u0178")},
                          entries(301)};
    TaskDocument doc;
    doc.list(0).append(lists.first);
    doc.list(1).append(lists.second);
    QVERIFY(doc.save(file));
    QVERIFY(doc.backup(file));
    QCOMPARE(QDir(folder).entryList(QDir::Files), (QStringList{name, name + QStringLiteral("_bak.dat")}));
    for (const QString &written : {file, file + QStringLiteral("_bak.dat")}) {
        QCOMPARE(readFile(written), writeTaskFile(lists));
        TaskDocument fresh;
        QCOMPARE(fresh.open(written).status, OpenOutcome::Opened);
        QVERIFY(fresh.lists() == lists);
        QVERIFY(fresh.isSaved());
    }
}

void TestTaskDocument::failedSave_data()
{
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<bool>("backup");
    QTest::addColumn<int>("count");   // entries of the first list
    QTest::addColumn<QString>("why"); // what the warning must say besides the name

    const struct {
        const char *name;
        Fault fault;
        int count;
        const char *why;
    } faults[] = {
        {"missing folder", Fault::MissingFolder, kBufferedEntries, "does not exist"},
        {"target is a folder", Fault::TargetIsFolder, kBufferedEntries, ""},
#ifdef Q_OS_LINUX
        // A file-size limit and a mountable tmpfs are Linux's; the failing devices
        // below make the same faults on every system.
        {"file-size limit, buffered", Fault::FileSizeLimit, kBufferedEntries, ""},
        {"file-size limit, written through", Fault::FileSizeLimit, kWrittenThroughEntries, ""},
        {"full tmpfs, buffered", Fault::FullTmpfs, kBufferedEntries, ""},
        {"full tmpfs, written through", Fault::FullTmpfs, kWrittenThroughEntries, ""},
        {"file-size limit, long file", Fault::FileSizeLimit, kLongFileEntries, ""},
        {"full tmpfs, long file", Fault::FullTmpfs, kLongFileEntries, ""},
#endif
        {"write fails half-way", Fault::WriteFailsHalfWay, kBufferedEntries, "the device failed half-way"},
        {"write stops half-way", Fault::ShortWrite, kBufferedEntries, ""},
        {"write fails half-way, long file", Fault::WriteFailsHalfWay, kLongFileEntries, "the device failed half-way"},
        {"disk fills part-way through a long file", Fault::DiskFillsPartWay, kLongFileEntries,
         "no space left on the device"},
        {"commit fails", Fault::CommitFails, kBufferedEntries, "the disk refused the commit"},
        {"the error names the file", Fault::ErrorNamesTheFile, kBufferedEntries, "is not writable"},
        // No '?' on disk for what the list shows otherwise.
        {"an entry the file cannot hold", Fault::EntryTheFileCannotHold, kBufferedEntries,
         "entry 2 of the second list, “Done ✓”, would be written differently: “✓” cannot be kept in a task file"},
#ifdef Q_OS_WIN
        {"read-only attribute", Fault::ReadOnlyAttribute, kBufferedEntries, "it is read-only"},
        {"held open by another program", Fault::HeldOpen, kBufferedEntries, "another program is using it"},
#endif
    };
    for (const bool backup : {false, true}) {
        for (const auto &f : faults)
            QTest::addRow("%s: %s", backup ? "backup" : "save", f.name)
                << f.fault << backup << f.count << QString::fromUtf8(f.why);
    }
}

// Whatever was on disk stays byte for byte, and the document stays as it was.
void TestTaskDocument::failedSave()
{
    QFETCH(Fault, fault);
    QFETCH(bool, backup);
    QFETCH(int, count);
    QFETCH(QString, why);

    // The lists belong to a file saved before, and changed since.
    TaskDocument doc;
    const QString earlier = path(QStringLiteral("earlier.dat"));
    doc.list(0).append(entries(count, QStringLiteral("entry ").leftJustified(64, QLatin1Char('.'))));
    QVERIFY(doc.save(earlier));
    QCOMPARE(doc.add(1, QStringLiteral("new second")), AddOutcome::Added);
    if (fault == Fault::EntryTheFileCannotHold) // as nothing the user does can put it there
        doc.list(1).append(QStringLiteral("Done ✓"));
    const TaskLists lists = doc.lists();

    QString root = dir_->path();
#ifdef Q_OS_LINUX
    if (fault == Fault::FullTmpfs) {
        QString reason;
        if (!mountSmallTmpfs(&root, &reason))
            QSKIP(qPrintable(QStringLiteral("no tmpfs can be mounted here: ") + reason));
    }
#endif
    const QString folder = fault == Fault::MissingFolder ? root + QStringLiteral("/missing") : root;
    const QString picked = folder + QStringLiteral("/work.dat");
    const QString target = backup ? picked + QStringLiteral("_bak.dat") : picked;

    if (fault == Fault::TargetIsFolder) {
        QVERIFY(QDir().mkpath(target));
        QVERIFY(writeFile(target + QStringLiteral("/inside.dat"), kOldBytes));
    } else if (fault != Fault::MissingFolder) {
        QVERIFY(writeFile(target, kOldBytes));
    }
    if (backup && fault != Fault::MissingFolder)
        QVERIFY(writeFile(picked, kOldBytes)); // the task file beside the backup is no business of it

    if (fault == Fault::FullTmpfs) {
        // Fill the disk, then free one page so the save gets part of the way.
        QFile filler(root + QStringLiteral("/filler"));
        QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        const QByteArray page(kPage, 'f');
        while (filler.write(page) == page.size()) {
        }
        const qint64 full = filler.size() / kPage * kPage;
        QVERIFY2(full >= kPage, "the tmpfs took no data at all");
        QVERIFY(filler.resize(full - kPage));
    }

    if (fault == Fault::WriteFailsHalfWay || fault == Fault::ShortWrite || fault == Fault::CommitFails
        || fault == Fault::ErrorNamesTheFile) {
        setSaveDeviceFactory([fault](const QString &path) -> std::unique_ptr<QIODevice> {
            if (fault == Fault::WriteFailsHalfWay || fault == Fault::ShortWrite)
                return std::make_unique<test::HalfWriteFile>(path, fault == Fault::WriteFailsHalfWay);
            return std::make_unique<test::RefusingCommit>(path, fault == Fault::ErrorNamesTheFile);
        });
    } else if (fault == Fault::DiskFillsPartWay) {
        setSaveDeviceFactory([](const QString &path) -> std::unique_ptr<QIODevice> {
            return std::make_unique<test::FillingFile>(path, kRoomForPartOfLongFile);
        });
    } else if (fault == Fault::ReadOnlyAttribute) {
        // On Windows Qt sets the attribute for a file without write permission.
        QVERIFY(QFile::setPermissions(target, QFile::ReadOwner | QFile::ReadUser));
        QVERIFY(!QFileInfo(target).isWritable());
    }
    test::HoldingProcess holder;
    constexpr std::chrono::milliseconds kShortWindow{600};
    if (fault == Fault::HeldOpen) {
        QVERIFY2(holder.start(target), "the helper did not take hold of the file");
        setSaveRetryWindow(kShortWindow);
    }

    const auto write = [&] { return backup ? doc.backup(picked) : doc.save(picked); };
    const QMap<QString, QByteArray> before = snapshot(dir_->path());
    std::optional<QString> wrong;
#ifdef Q_OS_LINUX
    if (fault == Fault::FileSizeLimit) {
        std::fflush(nullptr); // the child must not write the parent's output again
        const pid_t child = ::fork();
        QVERIFY2(child >= 0, std::strerror(errno));
        if (child == 0) {
            // A write past the limit fails with EFBIG instead of killing the child.
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{kFileSizeLimit, kFileSizeLimit};
            if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
                ::_exit(2);
            if (const auto childWrong = misbehaviour(doc, write(), backup, target, lists, why, earlier)) {
                std::fprintf(stderr, "child: %s\n", qPrintable(*childWrong));
                ::_exit(1);
            }
            ::_exit(0);
        }
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY2(WIFEXITED(status), "the child did not exit normally");
        QVERIFY2(WEXITSTATUS(status) != 2, "the child could not set the file-size limit");
        if (WEXITSTATUS(status) != 0)
            wrong = QStringLiteral("the child's save misbehaved; see its message above");
    } else
#endif
    {
        QElapsedTimer took;
        took.start();
        wrong = misbehaviour(doc, write(), backup, target, lists, why, earlier);
        // The other program was waited for before giving up.
        if (fault == Fault::HeldOpen)
            QVERIFY2(took.elapsed() >= kShortWindow.count(), qPrintable(QString::number(took.elapsed())));
    }

    // Nothing on disk changed, and no temporary file was left behind.
    const QMap<QString, QByteArray> after = snapshot(dir_->path());
    QCOMPARE(after.keys(), before.keys());
    for (auto it = before.cbegin(); it != before.cend(); ++it)
        QVERIFY2(after.value(it.key()) == it.value(), qPrintable(it.key() + QStringLiteral(" changed")));
    QVERIFY2(!wrong, wrong ? qPrintable(*wrong) : "");
    if (fault == Fault::MissingFolder)
        QVERIFY(!QFileInfo::exists(folder));

    if (fault == Fault::ReadOnlyAttribute) {
        QVERIFY2(!QFileInfo(target).isWritable(), "the read-only attribute was taken off");
        QVERIFY(QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser));
    }
    if (fault == Fault::HeldOpen) {
        // Once the other program lets go, the same command goes through.
        QVERIFY(holder.release());
        QCOMPARE(readFile(target), kOldBytes);
        QVERIFY(write());
        QCOMPARE(readTaskFile(readFile(target)).lists, lists);
        QCOMPARE(doc.filePath(), backup ? earlier : picked);
        QCOMPARE(doc.isSaved(), !backup);
    }
}

// Another program (a sync client, an editor, a second copy) at the file the
// lists were last saved to: what a save then finds, and what a merge makes.
void TestTaskDocument::changedElsewhere_data()
{
    QTest::addColumn<bool>("backup");     // the file is the lists' backup copy
    QTest::addColumn<QString>("change");  // what the other program does to it
    QTest::addColumn<bool>("changed");    // a save there would ask first
    QTest::addColumn<QStringList>("first"); // after merging, with "mine" added on screen to the second list
    QTest::addColumn<qsizetype>("added");
    QTest::addColumn<qsizetype>("removed");
    QTest::addColumn<int>("filler"); // entries ahead of "mine" in the second list, on both sides

    using L = QStringList;
    QTest::newRow("untouched") << false << "nothing" << false << L{} << qsizetype(0) << qsizetype(0) << 0;
    QTest::newRow("written again alike") << false << "rewrite" << false << L{} << qsizetype(0) << qsizetype(0) << 0;
    QTest::newRow("an entry added there") << false << "append" << true << L{"a", "b", "phone"} << qsizetype(1)
                                          << qsizetype(0) << 0;
    QTest::newRow("an entry removed there") << false << "drop" << true << L{"b"} << qsizetype(0) << qsizetype(1) << 0;
    QTest::newRow("deleted: simply written") << false << "delete" << false << L{} << qsizetype(0) << qsizetype(0) << 0;
    QTest::newRow("an entry added while saving") << false << "while saving, append" << true << L{"a", "b", "phone"}
                                                 << qsizetype(1) << qsizetype(0) << 0;
    QTest::newRow("the backup, an entry added while writing it") << true << "while saving, append" << true
                                                                 << L{"a", "b", "phone"} << qsizetype(1)
                                                                 << qsizetype(0) << 0;
    QTest::newRow("replaced by rename, other bytes") << false << "rename append" << true << L{"a", "b", "phone"}
                                                     << qsizetype(1) << qsizetype(0) << 0;
    QTest::newRow("replaced by rename, the same bytes") << false << "rename" << false << L{} << qsizetype(0)
                                                        << qsizetype(0) << 0;
    QTest::newRow("no task file now: nothing merged") << false << "damage" << true << L{"a", "b"} << qsizetype(0)
                                                      << qsizetype(0) << 0;
    QTest::newRow("the backup, an entry added there") << true << "append" << true << L{"a", "b", "phone"}
                                                      << qsizetype(1) << qsizetype(0) << 0;
    // Files written in several pieces: the save knows their bytes without reading them back.
    QTest::newRow("a long file, untouched") << false << "nothing" << false << L{} << qsizetype(0) << qsizetype(0)
                                            << kLongFileEntries;
    QTest::newRow("a long file, written again alike") << false << "rewrite" << false << L{} << qsizetype(0)
                                                      << qsizetype(0) << kLongFileEntries;
    QTest::newRow("a long file, an entry added there") << false << "append" << true << L{"a", "b", "phone"}
                                                       << qsizetype(1) << qsizetype(0) << kLongFileEntries;
}

void TestTaskDocument::changedElsewhere()
{
    QFETCH(bool, backup);
    QFETCH(QString, change);
    QFETCH(bool, changed);
    QFETCH(QStringList, first);
    QFETCH(qsizetype, added);
    QFETCH(qsizetype, removed);
    QFETCH(int, filler);

    TaskDocument doc;
    doc.add(0, QStringLiteral("a"));
    doc.add(0, QStringLiteral("b"));
    const QStringList filled = entries(filler, QStringLiteral("entry ").leftJustified(64, QLatin1Char('.')));
    doc.list(1).append(filled);
    const QString picked = path(QStringLiteral("lists.dat"));
    const QString file = backup ? picked + QStringLiteral("_bak.dat") : picked;
    QVERIFY(backup ? doc.backup(picked) : doc.save(picked));
    // A list past its places takes no typed entry, but one from a file does.
    if (filler > 0)
        doc.list(1).append(QStringLiteral("mine"));
    else
        QCOMPARE(doc.add(1, QStringLiteral("mine")), AddOutcome::Added);

    const QByteArray written = readFile(file);
    QStringList theirs{QStringLiteral("a"), QStringLiteral("b")};
    if (change.endsWith(QLatin1String("append")))
        theirs << QStringLiteral("phone");
    else if (change == QLatin1String("drop"))
        theirs.removeFirst();
    const QByteArray bytes = change == QLatin1String("damage") ? QByteArray("not a task file\r\n")
                           : change == QLatin1String("rewrite") || change == QLatin1String("rename")
                               ? written
                               : writeTaskFile(theirs, filled);
    if (change.startsWith(QLatin1String("rename"))) {
        const QString beside = path(QStringLiteral("new.tmp"));
        QVERIFY(writeFile(beside, bytes));
        QVERIFY(renameOver(beside, file));
    } else if (change == QLatin1String("delete")) {
        QVERIFY(QFile::remove(file));
    } else if (change.startsWith(QLatin1String("while saving"))) {
        // Written between the check before a save and the new file taking its place: nothing replaced.
        setSaveDeviceFactory([&](const QString &target) { return std::make_unique<test::RacingWriter>(target, bytes); });
        const SaveOutcome out = backup ? doc.backup(picked) : doc.save(picked);
        setSaveDeviceFactory({});
        QVERIFY(out.result.targetChanged);
        QCOMPARE(readFile(file), bytes);
        QVERIFY(!doc.isSaved());
    } else if (change != QLatin1String("nothing")) {
        QVERIFY(writeFile(file, bytes));
    }
    QCOMPARE(doc.changedElsewhere(file), changed);
    if (!changed)
        return;

    const MergeOutcome merged = doc.mergeFromFile(file);
    const bool damaged = change == QLatin1String("damage");
    QCOMPARE(merged.status, damaged ? MergeOutcome::Damaged : MergeOutcome::Merged);
    QCOMPARE(doc.list(0).entries(), first);
    QCOMPARE(doc.list(1).entries(), filled + QStringList{QStringLiteral("mine")});
    QCOMPARE(merged.added, added);
    QCOMPARE(merged.removed, removed);
    QVERIFY(!doc.isSaved());
    if (damaged)
        return;
    // The merge is one step, and the next save writes without asking again.
    QVERIFY(!doc.changedElsewhere(file));
    // Undone, the other program's changes leave the screen but not the file.
    QVERIFY(doc.undo());
    QVERIFY(doc.changedElsewhere(file));
    QVERIFY(doc.redo());
    QVERIFY(!doc.changedElsewhere(file));
    QVERIFY(backup ? doc.backup(picked) : doc.save(picked));
    QCOMPARE(readTaskFile(readFile(file)).lists, (TaskLists{first, filled + QStringList{QStringLiteral("mine")}}));
    QVERIFY(doc.undo());
    QCOMPARE(doc.list(0).entries(), (QStringList{"a", "b"}));
}

// At the end of a session the unsaved lists go to the application's data
// folder, to be put back at the next start as an open would put them.
void TestTaskDocument::keptAtSessionEnd_data()
{
    QTest::addColumn<QStringList>("steps"); // of a script, in a fresh document
    QTest::addColumn<QStringList>("kept");  // the first list kept; empty: nothing written
    QTest::addColumn<QString>("file");      // the lists' file then, in the test's folder
    QTest::addColumn<QString>("between");   // what another program writes there before the next start
    QTest::addColumn<int>("held");          // entries in the first list at the next start
    QTest::addColumn<QStringList>("merged"); // the first list after a save asked and merged; empty: not asked

    using L = QStringList;
    QTest::newRow("a new entry") << L{"add 0 a"} << L{"a"} << "" << "" << 0 << L{};
    QTest::newRow("a change to an opened file") << L{"open 1 0", "add 0 mine"} << L{"f0", "mine"} << "opened.dat"
                                                << "" << 0 << L{};
    QTest::newRow("the file changed before the next start: the save asks and merges")
        << L{"open 2 0", "add 0 mine"} << L{"f0", "f1", "mine"} << "opened.dat" << "f1 phone" << 0
        << L{"f1", "mine", "phone"};
    QTest::newRow("the file changed in the session: asks at the next")
        << L{"open 1 0", "add 0 mine", "change opened.dat"} << L{"f0", "mine"} << "opened.dat" << "" << 0
        << L{"mine", "theirs"};
    QTest::newRow("no room for them: nothing restored, kept for later")
        << L{"add 0 a"} << L{"a"} << "" << "" << kMaxListEntries << L{};
    QTest::newRow("saved lists: nothing") << L{"add 0 a", "save s.dat"} << L{} << "" << "" << 0 << L{};
    QTest::newRow("undone back to saved: nothing") << L{"open 1 0", "add 0 x", "undo"} << L{} << "" << "" << 0 << L{};
    QTest::newRow("nothing done: nothing") << L{} << L{} << "" << "" << 0 << L{};
}

void TestTaskDocument::keptAtSessionEnd()
{
    QFETCH(QStringList, steps);
    QFETCH(QStringList, kept);
    QFETCH(QString, file);
    QFETCH(QString, between);
    QFETCH(int, held);
    QFETCH(QStringList, merged);
    const KeptFolder keptFolder(path(QStringLiteral("home")));

    Script script(path(QString()));
    for (const QString &step : std::as_const(steps)) {
        if (step.startsWith(QLatin1String("change ")))
            QVERIFY(writeFile(path(step.mid(7)), writeTaskFile({QStringLiteral("theirs")}, {})));
        else
            QVERIFY2(script.step(step), qPrintable(step));
    }
    QVERIFY(script.doc.keepForRecovery(QDateTime(QDate(2026, 12, 9), QTime(18, 30), Qt::UTC)));
    QList<RecoveredLists> found = findRecoveries().found;
    QCOMPARE(found.size(), kept.isEmpty() ? 0 : 1);
    if (kept.isEmpty()) {
        QVERIFY(!QFileInfo::exists(recoveryFolder()));
        return;
    }
    RecoveredLists &lists = found.front();
    QCOMPARE(lists.read.lists.first, kept);
    QCOMPARE(lists.taskFile.path, file.isEmpty() ? QString() : path(file));
    QCOMPARE(lists.ended, QDateTime(QDate(2026, 12, 9), QTime(18, 30), Qt::UTC));
    if (!between.isEmpty())
        QVERIFY(writeFile(path(file), writeTaskFile(between.split(QLatin1Char(' ')), {})));

    // Back at the next start: one step, belonging to their file, not saved to it.
    TaskDocument next;
    next.list(0).append(entries(held));
    const OpenOutcome restored = next.restore(lists);
    if (held > 0) {
        // Said, and nothing changes: the kept file waits for a start with room.
        QCOMPARE(restored.status, OpenOutcome::TooLong);
        QCOMPARE(next.list(0).count(), held);
        QVERIFY(next.filePath().isEmpty());
        QVERIFY(!next.history().canUndo());
        QVERIFY(QFileInfo::exists(lists.file));
        return;
    }
    QCOMPARE(restored.status, OpenOutcome::Opened);
    QCOMPARE(next.list(0).entries(), kept);
    QCOMPARE(next.filePath(), lists.taskFile.path);
    QVERIFY(!next.isSaved());
    // Another program's change since is asked about, and merged against what the file held.
    QCOMPARE(!file.isEmpty() && next.changedElsewhere(path(file)), !merged.isEmpty());
    if (!merged.isEmpty()) {
        QCOMPARE(next.save(path(file)).result.targetChanged, true);
        QCOMPARE(next.mergeFromFile(path(file)).status, MergeOutcome::Merged);
        QCOMPARE(next.list(0).entries(), merged);
        QVERIFY(next.undo());
    }
    QVERIFY(next.undo());
    QVERIFY(next.list(0).entries().isEmpty());
    QVERIFY(removeRecovery(lists));
    QVERIFY(!QFileInfo::exists(recoveryFolder()));
}

// A repeating appointment done gives way to the next of its series, as one step.
void TestTaskDocument::repeating_data()
{
    QTest::addColumn<QString>("op"); // "done", "series" (removed with its series), "repeat" (every week set)
    QTest::addColumn<int>("list");
    QTest::addColumn<int>("filler");   // entries ahead of the appointment
    QTest::addColumn<QString>("ending"); // of the appointment
    QTest::addColumn<QString>("after");  // the entry in its place afterwards, its date in days from today; empty: gone

    QTest::newRow("done in the daily list") << "done" << 0 << 0 << " (every week)" << "+7 (every week)";
    QTest::newRow("done in the backlog") << "done" << 1 << 3 << " (every day)" << "+1 (every day)";
    QTest::newRow("done in a full daily list") << "done" << 0 << 49 << " (every week)" << "+7 (every week)";
    QTest::newRow("done in a full backlog") << "done" << 1 << 299 << " (every week)" << "+7 (every week)";
    QTest::newRow("the series removed: no next one") << "series" << 0 << 2 << " (every week)" << "";
    QTest::newRow("done without a repetition") << "done" << 0 << 0 << "" << "";
    QTest::newRow("a repetition set") << "repeat" << 1 << 0 << "" << "+0 (every week)";
    QTest::newRow("a repetition changed") << "repeat" << 0 << 0 << " (EVERY day)" << "+0 (every week)";
}

void TestTaskDocument::repeating()
{
    QFETCH(QString, op);
    QFETCH(int, list);
    QFETCH(int, filler);
    QFETCH(QString, ending);
    QFETCH(QString, after);
    const QDate today(2026, 12, 9);
    const auto dated = [](const QDate &day, const QString &end) {
        return appointmentEntry(storedDateText(day), QStringLiteral("Water the plants") + end);
    };
    TaskDocument doc;
    for (int i : {0, 1})
        doc.list(i).setToday(today);
    doc.list(list).append(entries(filler));
    doc.list(list).append(dated(today, ending));
    const QStringList before = doc.list(list).entries();

    if (op == QLatin1String("series"))
        QVERIFY(doc.remove(list, filler));
    else if (op == QLatin1String("repeat"))
        QVERIFY(doc.setRepetition(list, filler, Repetition{Repeat::Weeks, 1, 0}));
    else
        QCOMPARE(doc.removeDone(list, filler).has_value(), !after.isEmpty());
    if (after.isEmpty()) {
        QCOMPARE(doc.list(list).entries(), before.mid(0, filler));
    } else {
        const qsizetype blank = after.indexOf(QLatin1Char(' '));
        QCOMPARE(doc.list(list).entries(),
                 before.mid(0, filler) + QStringList{dated(today.addDays(after.left(blank).toInt()), after.mid(blank))});
    }
    // One step, both ways.
    QVERIFY(doc.undo());
    QCOMPARE(doc.list(list).entries(), before);
    QVERIFY(!doc.history().canUndo());
    // A task never repeats.
    QVERIFY(!doc.setRepetition(list, 0, Repetition{Repeat::Days, 1, 0}) || filler == 0);
}

QTEST_GUILESS_MAIN(TestTaskDocument)
#include "tst_taskdocument.moc"
