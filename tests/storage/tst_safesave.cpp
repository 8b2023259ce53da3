// Saves and backups that fail: whatever was on disk stays byte for byte, and
// the user is warned with the file's name while the labels keep their texts.
// The tests run as root, where permission bits stop nothing, so each fault is
// made real another way: a missing folder, a folder in the way, a file-size
// limit, a tiny tmpfs, or a device that fails on purpose. On Windows the
// faults only it has are real: the read-only attribute, and a target that a
// helper process holds open without sharing.
#include "mainwindowrig.h"
#include "app/windows.h"
#include "fakeplatform.h"
#include "filehelpers.h"
#include "listhelpers.h"
#include "storage/taskfile.h"
#include "tasks/tasklistmodel.h"
#include "tasks/tasklistview.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QMap>
#include <QProcess>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QTest>

#include <chrono>
#include <cerrno>
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
using listora::test::TestMainWindow;
using listora::test::FakePlatform;
using listora::test::texts;
using listora::test::snapshot;

namespace {

enum class Fault {
    MissingFolder,
    TargetIsFolder,
    FileSizeLimit,
    FullTmpfs,
    WriteFailsHalfWay,
    ShortWrite,
    CommitFails,
    ErrorNamesTheFile,
    ReadOnlyAttribute,
    HeldOpen,
};
enum class Writing { Save, Backup };

} // namespace

Q_DECLARE_METATYPE(Fault)
Q_DECLARE_METATYPE(Writing)

namespace {

const QByteArray kOldBytes(" 2 \r\nold entry\r\nanother old one\r\n 1 \r\nsecond list\r\n");
const QString kOldCounter = QStringLiteral("old counter");
const QString kOldStatus = QStringLiteral("File not saved ");

// The file-size limit and the free room on the tmpfs: below every payload.
#ifdef Q_OS_LINUX
constexpr rlim_t kFileSizeLimit = 4096;
#endif
constexpr qint64 kPage = 4096;

// Well under QFileDevice's 16 KiB write buffer, so nothing reaches the disk
// before the save finishes; and far over it, so the data goes straight out.
constexpr int kBufferedEntries = 100;
constexpr int kWrittenThroughEntries = 3000;
// Enough for the save to encode on a second thread while it writes.
constexpr int kEncodedAlongsideEntries = 6000;

QStringList entries(int count)
{
    QStringList list;
    for (int i = 0; i < count; ++i)
        list << QStringLiteral("entry %1 ").arg(i, 5, 10, QLatin1Char('0')).leftJustified(70, QLatin1Char('.'));
    return list;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Passes the first half of the data to the real save file, then fails: with
// an error, or by owning up to only the half it took.
class HalfWriteFile final : public QSaveFile {
public:
    HalfWriteFile(const QString &path, bool reportError) : QSaveFile(path), reportError_(reportError) {}

protected:
    qint64 writeData(const char *data, qint64 len) override
    {
        const qint64 half = len / 2;
        if (QSaveFile::writeData(data, half) != half)
            return -1;
        if (!reportError_)
            return half;
        setErrorString(QStringLiteral("the device failed half-way"));
        return -1;
    }

private:
    bool reportError_;
};

// Takes every byte into a real save file but refuses to commit it, with the
// system's full stop, or naming the file the way Qt does.
class RefusingCommit final : public CommitDevice {
public:
    explicit RefusingCommit(const QString &path, bool namesFile = false)
        : file_(path),
          error_(namesFile ? QStringLiteral("Existing file %1 is not writable").arg(QDir::fromNativeSeparators(path))
                           : QStringLiteral("the disk refused the commit."))
    {
    }

    bool open(OpenMode mode) override { return file_.open(mode) && CommitDevice::open(mode); }
    bool commit() override
    {
        file_.cancelWriting();
        file_.commit();
        close();
        setErrorString(error_);
        return false;
    }
    void cancelWriting() override
    {
        file_.cancelWriting();
        close();
    }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 len) override { return file_.write(data, len); }

private:
    QSaveFile file_;
    QString error_;
};

// Another program with the file open and no sharing, as a spreadsheet keeps it;
// it lets go when its input closes, or after a while as a virus scan does.
class HoldingProcess {
public:
    bool start(const QString &path, int milliseconds = 0)
    {
        QStringList arguments{QDir::toNativeSeparators(path)};
        if (milliseconds > 0)
            arguments << QString::number(milliseconds);
        process_.start(QCoreApplication::applicationDirPath() + QStringLiteral("/holdopen.exe"), arguments);
        if (!process_.waitForStarted(30000))
            return false;
        while (!process_.readAllStandardOutput().contains("held")) {
            if (!process_.waitForReadyRead(30000))
                return false;
        }
        return true;
    }
    bool release()
    {
        if (process_.state() == QProcess::NotRunning)
            return true;
        process_.closeWriteChannel();
        return process_.waitForFinished(30000) && process_.exitCode() == 0;
    }
    ~HoldingProcess()
    {
        if (!release())
            process_.kill();
    }

private:
    QProcess process_;
};

struct Window {
    FakePlatform platform;
    Windows windows{platform};
    TestMainWindow form{windows, platform};
};

// What went wrong with the window after a failed save, or nothing. Runs in
// the forked child as well, which can only report through its exit code.
std::optional<QString> misbehaviour(const Window &w, Writing command, const QString &target,
                                    const QStringList &first, const QStringList &second, const QString &why)
{
    const qsizetype expected = command == Writing::Save ? 2 : 1; // the save's reminder comes first
    if (w.platform.messages.size() != expected)
        return QStringLiteral("%1 messages, expected %2").arg(w.platform.messages.size()).arg(expected);
    const MessageRequest &m = w.platform.messages.last();
    if (m.icon != MessageIcon::Warning)
        return QStringLiteral("the last message is no warning: ") + m.text;
    if (!m.text.contains(QDir::toNativeSeparators(target)))
        return QStringLiteral("the warning does not name %1: %2").arg(target, m.text);
    if (QDir::fromNativeSeparators(target) != QDir::toNativeSeparators(target)
        && m.text.contains(QDir::fromNativeSeparators(QFileInfo(target).absolutePath())))
        return QStringLiteral("the warning mixes forward slashes into a path: ") + m.text;
    if (m.text.contains(QLatin1String("..")))
        return QStringLiteral("a sentence of the warning ends twice: ") + m.text;
    if (!why.isEmpty() && !m.text.contains(why))
        return QStringLiteral("the warning does not say \"%1\": %2").arg(why, m.text);
    if (w.form.Label2->text() != kOldStatus)
        return QStringLiteral("the status reads \"%1\"").arg(w.form.Label2->text());
    if (w.form.Label1->text() != kOldCounter)
        return QStringLiteral("the counter reads \"%1\"").arg(w.form.Label1->text());
    if (texts(w.form.List[0]) != first || texts(w.form.List[1]) != second)
        return QStringLiteral("the lists changed");
    // The lists belong to no file they were not written to.
    if (!w.form.document().filePath().isEmpty())
        return QStringLiteral("the lists' file is now %1").arg(w.form.document().filePath());
    return std::nullopt;
}

void run(Window &w, Writing command)
{
    if (command == Writing::Save)
        w.form.Command2->click();
    else
        w.form.Command15->click();
}

} // namespace

class TestSafeSave : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void failedSaveKeepsOldFile_data();
    void failedSaveKeepsOldFile();
    void releasedWhileWaiting_data();
    void releasedWhileWaiting();

private:
    // Where the old file lives: the temporary folder, or a tmpfs inside it.
#ifdef Q_OS_LINUX
    bool mountSmallTmpfs(QString *root, QString *why);
#endif

    std::optional<QTemporaryDir> dir_;
    QString mounted_;
};

void TestSafeSave::init()
{
    dir_.emplace();
    QVERIFY(dir_->isValid());
}

void TestSafeSave::cleanup()
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
bool TestSafeSave::mountSmallTmpfs(QString *root, QString *why)
{
    const QString point = dir_->filePath(QStringLiteral("small"));
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

void TestSafeSave::failedSaveKeepsOldFile_data()
{
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<Writing>("command");
    QTest::addColumn<int>("count"); // entries of the first list
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
        {"file-size limit, encoded alongside", Fault::FileSizeLimit, kEncodedAlongsideEntries, ""},
        {"full tmpfs, encoded alongside", Fault::FullTmpfs, kEncodedAlongsideEntries, ""},
#endif
        {"write fails half-way", Fault::WriteFailsHalfWay, kBufferedEntries, "the device failed half-way"},
        {"write stops half-way", Fault::ShortWrite, kBufferedEntries, ""},
        {"write fails half-way, encoded alongside", Fault::WriteFailsHalfWay, kEncodedAlongsideEntries,
         "the device failed half-way"},
        {"commit fails", Fault::CommitFails, kBufferedEntries, "the disk refused the commit"},
        {"the error names the file", Fault::ErrorNamesTheFile, kBufferedEntries, "is not writable"},
#ifdef Q_OS_WIN
        {"read-only attribute", Fault::ReadOnlyAttribute, kBufferedEntries, "it is read-only"},
        {"held open by another program", Fault::HeldOpen, kBufferedEntries, "another program is using it"},
#endif
    };
    for (const Writing command : {Writing::Save, Writing::Backup}) {
        for (const auto &f : faults) {
            const char *what = command == Writing::Save ? "save" : "backup";
            QTest::addRow("%s: %s", what, f.name) << f.fault << command << f.count << QString::fromUtf8(f.why);
        }
    }
}

void TestSafeSave::failedSaveKeepsOldFile()
{
    QFETCH(Fault, fault);
    QFETCH(Writing, command);
    QFETCH(int, count);
    QFETCH(QString, why);

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
    const QString target = command == Writing::Save ? picked : picked + QStringLiteral("_bak.dat");

    if (fault == Fault::TargetIsFolder) {
        QVERIFY(QDir().mkpath(target));
        QVERIFY(writeFile(target + QStringLiteral("/inside.dat"), kOldBytes));
    } else if (fault != Fault::MissingFolder) {
        QVERIFY(writeFile(target, kOldBytes));
    }
    if (command == Writing::Backup && fault != Fault::MissingFolder)
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

    if (fault == Fault::WriteFailsHalfWay || fault == Fault::ShortWrite) {
        const bool reportError = fault == Fault::WriteFailsHalfWay;
        setSaveDeviceFactory([reportError](const QString &path) -> std::unique_ptr<QIODevice> {
            return std::make_unique<HalfWriteFile>(path, reportError);
        });
    } else if (fault == Fault::CommitFails || fault == Fault::ErrorNamesTheFile) {
        const bool namesFile = fault == Fault::ErrorNamesTheFile;
        setSaveDeviceFactory([namesFile](const QString &path) -> std::unique_ptr<QIODevice> {
            return std::make_unique<RefusingCommit>(path, namesFile);
        });
    } else if (fault == Fault::ReadOnlyAttribute) {
        // On Windows Qt sets the attribute for a file without write permission.
        QVERIFY(QFile::setPermissions(target, QFile::ReadOwner | QFile::ReadUser));
        QVERIFY(!QFileInfo(target).isWritable());
    }
    HoldingProcess holder;
    constexpr std::chrono::milliseconds kShortWindow{600};
    if (fault == Fault::HeldOpen) {
        QVERIFY2(holder.start(target), "the helper did not take hold of the file");
        setSaveRetryWindow(kShortWindow);
    }

    const QStringList first = entries(count);
    const QStringList second{QStringLiteral("new second")};
    Window w;
    w.form.Tasks[0]->append(first);
    w.form.Tasks[1]->append(second);
    w.form.Label1->setText(kOldCounter);
    w.form.Label2->setText(kOldStatus);
    w.platform.paths.enqueue(picked);

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
            run(w, command);
            if (const auto childWrong = misbehaviour(w, command, target, first, second, why)) {
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
            wrong = QStringLiteral("the child's window misbehaved; see its message above");
    } else
#endif
    {
        QElapsedTimer took;
        took.start();
        run(w, command);
        wrong = misbehaviour(w, command, target, first, second, why);
        // The other program was waited for before the warning.
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
        QFile old(target);
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), kOldBytes);
        old.close();
        w.platform.paths.enqueue(picked);
        run(w, command);
        QCOMPARE(w.form.Label2->text(), command == Writing::Save ? QStringLiteral("File saved ") : QStringLiteral("Back Up Ok"));
        QCOMPARE(readTaskFile(snapshot(dir_->path()).value(QFileInfo(target).fileName())).lists,
                 (TaskLists{first, second}));
    }
}

// A scan that lets go within the retry window never reaches the user.
void TestSafeSave::releasedWhileWaiting_data()
{
    QTest::addColumn<Writing>("command");
#ifdef Q_OS_WIN
    QTest::newRow("save") << Writing::Save;
    QTest::newRow("backup") << Writing::Backup;
#else
    QSKIP("Elsewhere a file open in another program can be replaced");
#endif
}

void TestSafeSave::releasedWhileWaiting()
{
    QFETCH(Writing, command);
    const QString picked = dir_->filePath(QStringLiteral("work.dat"));
    const QString target = command == Writing::Save ? picked : picked + QStringLiteral("_bak.dat");
    QVERIFY(writeFile(target, kOldBytes));
    HoldingProcess holder;
    QVERIFY2(holder.start(target, 700), "the helper did not take hold of the file");

    Window w;
    w.form.Tasks[0]->append(QStringLiteral("after the scan"));
    w.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w.form));

    // While the save waits, the window paints and shows that it is busy.
    struct PaintWatch final : QObject {
        bool eventFilter(QObject *, QEvent *event) override
        {
            painted = painted || event->type() == QEvent::Paint;
            return false;
        }
        bool painted = false;
    } paints;
    Qt::CursorShape cursor = Qt::ArrowCursor;
    QTimer::singleShot(200, &w.form, [&] {
        if (const QCursor *shown = QGuiApplication::overrideCursor())
            cursor = shown->shape();
        w.form.installEventFilter(&paints);
        w.form.update();
    });
    w.platform.paths.enqueue(picked);
    run(w, command);
    QCOMPARE(w.form.Label2->text(), command == Writing::Save ? QStringLiteral("File saved ") : QStringLiteral("Back Up Ok"));
    QCOMPARE(w.platform.messages.size(), command == Writing::Save ? 1 : 0);
    QCOMPARE(cursor, Qt::WaitCursor);
    QVERIFY(paints.painted);
    QVERIFY(!QGuiApplication::overrideCursor());
}

QTEST_MAIN(TestSafeSave)
#include "tst_safesave.moc"
