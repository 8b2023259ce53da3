// Unsaved lists kept at the end of a session, found and removed at the next start.
#include "storage/recovery.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace listora;

namespace {

enum class Damage {
    None,
    OldTrailer, // as earlier versions wrote it: no base, no file line
    CutInTheLists,
    CutInTheTrailer,
    LastByteMissing,
    TrailerMissing,
    EntryAltered,
    WrongLength,
    UnreadableDate,
    OtherMarker,
    Emptied,
    InterruptedSave, // the temporary of a save that never finished, beside the kept file
};

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

const QDateTime kEnded(QDate(2026, 5, 12), QTime(22, 7, 31, 250), Qt::UTC);

} // namespace

Q_DECLARE_METATYPE(Damage)

class TestRecovery : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void keptAndFound_data();
    void keptAndFound();
    void readInItsOwnCodePage();
    void linesKeptAsRead();
    void twoSessions();
    void notOfferedWhenDamaged_data();
    void notOfferedWhenDamaged();
    void folderStaysWhileNotEmpty();
    void failedWrite_data();
    void failedWrite();
    void emptyFolderRemoved();
    void question_data();
    void question();

private:
    QTemporaryDir home_;
};

void TestRecovery::initTestCase()
{
    // Test mode keeps to a folder of its own, and under a home of the test's own.
    QVERIFY(home_.isValid());
#ifndef Q_OS_WIN
    qputenv("HOME", QFile::encodeName(home_.path()));
    qputenv("TMPDIR", QFile::encodeName(home_.path()));
#else
    qputenv("TMP", QFile::encodeName(home_.path()));
#endif
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication::setApplicationName(QStringLiteral("Listora"));
    setProgramCodePage(CodePage(1252));
    const QString folder = recoveryFolder();
    QVERIFY2(folder.contains(QStringLiteral("qttest")), qPrintable(folder));
#ifndef Q_OS_WIN
    QVERIFY2(folder.startsWith(home_.path()), qPrintable(folder));
#endif
    QDir(folder).removeRecursively();
}

void TestRecovery::cleanup()
{
    setProgramCodePage(CodePage(1252));
    for (const QString &folder : recoveryFolders()) {
        QFile::remove(folder);
        QDir(folder).removeRecursively();
    }
}

void TestRecovery::keptAndFound_data()
{
    QTest::addColumn<QString>("taskPath");
    QTest::addColumn<QStringList>("first");
    QTest::addColumn<QStringList>("second");
    QTest::addColumn<QStringList>("base"); // of the first list, with the file's size and checksum

    QTest::newRow("no task file yet") << QString() << QStringList{"Buy bread"} << QStringList{} << QStringList{};
    QTest::newRow("a task file") << QStringLiteral("/home/ana/lists.dat")
                                 << QStringList{"Buy bread", " ---> 09/12/2026 Dentist at ten"}
                                 << QStringList{"Call the bank"} << QStringList{};
    QTest::newRow("a task file and what it held") << QStringLiteral("/home/ana/lists.dat")
                                                  << QStringList{"Buy bread", "mine"} << QStringList{"Call the bank"}
                                                  << QStringList{"Buy bread", "[Listora unsaved lists]"};
    QTest::newRow("a path in other scripts") << QString::fromUtf16(u"/home/ана/Задачи/日本語のリスト.dat")
                                             << QStringList{"a"} << QStringList{"b"} << QStringList{};
    QTest::newRow("a path with a line break, blanks and percent signs")
        << QStringLiteral("C:\\Users\\Ana\\50% done\n  lists %20.dat") << QStringList{"a"} << QStringList{}
        << QStringList{};
    QTest::newRow("empty lists") << QStringLiteral("/tmp/x.dat") << QStringList{} << QStringList{} << QStringList{};
    QTest::newRow("Western letters and empty entries") << QStringLiteral("/tmp/x.dat")
                                                       << QStringList{QString::fromUtf16(u"Café à 5 €"), ""}
                                                       << QStringList{""} << QStringList{""};
}

void TestRecovery::keptAndFound()
{
    QFETCH(QString, taskPath);
    QFETCH(QStringList, first);
    QFETCH(QStringList, second);
    QFETCH(QStringList, base);

    KeptTaskFile taskFile{taskPath, std::nullopt, -1, {}};
    if (!base.isEmpty())
        taskFile = {taskPath, TaskLists{base, second}, 1234, recoveryChecksum("held")};
    QString file;
    const SaveResult saved = writeRecovery({first, second}, taskFile, kEnded, nullptr, &file);
    QVERIFY2(saved, qPrintable(saved.error));
    QCOMPARE(QFileInfo(file).absolutePath(), QDir(recoveryFolder()).absolutePath());

    QList<RecoveredLists> found = findRecoveries().found;
    QCOMPARE(found.size(), 1);
    QCOMPARE(found[0].file, file);
    QCOMPARE(found[0].taskFile.path, taskPath);
    QCOMPARE(found[0].taskFile.base, taskFile.base);
    QCOMPARE(found[0].taskFile.size, taskFile.size);
    QCOMPARE(found[0].taskFile.checksum, taskFile.checksum);
    QCOMPARE(found[0].ended, kEnded);
    QVERIFY(found[0].read.complete);
    QCOMPARE(found[0].read.lists, (TaskLists{first, second}));

    // The open command reads it as any task file.
    const LoadResult loaded = loadFileBytes(file);
    QVERIFY(loaded.ok);
    const ReadResult read = readTaskFile(loaded.bytes);
    QVERIFY(read.complete);
    QCOMPARE(read.lists, (TaskLists{first, second}));

    QVERIFY(removeRecovery(found[0]));
    QVERIFY(findRecoveries().found.isEmpty());
    QVERIFY(!QFileInfo::exists(recoveryFolder()));
}

void TestRecovery::readInItsOwnCodePage()
{
    // Kept under a Russian locale, found under a Western one: the entries stay Cyrillic.
    const QStringList first{QString::fromUtf16(u"Купить хлеб"), QString::fromUtf16(u"Позвонить в банк")};
    setProgramCodePage(CodePage(1251));
    QVERIFY(writeRecovery({first, {}}, {}, kEnded));
    setProgramCodePage(CodePage(1252));
    // Restored under a Western page and kept again: in the page that holds them, not as '?'.
    QString again;
    QVERIFY(writeRecovery({first, {}}, {}, kEnded.addSecs(1), nullptr, &again, {CodePage(1252), CodePage(1251)}));
    const QList<RecoveredLists> found = findRecoveries().found;
    QCOMPARE(found.size(), 2);
    QCOMPARE(found[0].read.lists.first, first);
    QCOMPARE(found[1].read.lists.first, first);
    QCOMPARE(found[1].codePage, 1251);
}

void TestRecovery::linesKeptAsRead()
{
    // A lead byte without its trail reads as U+FFFD and is kept as the bytes it was.
    const CodePage japanese(932);
    const QByteArray line("\x81\x20 broken pair");
    const ReadResult read = readTaskFile(" 1 \r\n" + line + "\r\n 0 \r\n", japanese);
    QVERIFY(read.complete);
    QCOMPARE(read.kept.size(), 1);

    QString file;
    QVERIFY(writeRecovery(read.lists, {}, kEnded, &read.kept, &file, {japanese}));
    QVERIFY(readAll(file).startsWith(" 1 \r\n" + line + "\r\n 0 \r\n"));
    const QList<RecoveredLists> found = findRecoveries().found;
    QCOMPARE(found.size(), 1);
    QCOMPARE(found[0].read.lists, read.lists);
    QCOMPARE(found[0].read.kept.size(), 1);
    const QString &entry = found[0].read.lists.first[0];
    QVERIFY(found[0].read.kept.bytesOf(entry, 932));
    QCOMPARE(*found[0].read.kept.bytesOf(entry, 932), line);
    // Bytes of one page mean other text in another: never written there as they are.
    QVERIFY(!found[0].read.kept.bytesOf(entry, 1252));
}

void TestRecovery::twoSessions()
{
    // Two copies of the program ending one after the other keep a file each.
    QString later;
    QString earlier;
    QVERIFY(writeRecovery({{"later"}, {}}, {QStringLiteral("/b.dat")}, kEnded.addSecs(2), nullptr, &later));
    QVERIFY(writeRecovery({{"earlier"}, {}}, {QStringLiteral("/a.dat")}, kEnded, nullptr, &earlier));
    QVERIFY(later != earlier);

    QList<RecoveredLists> found = findRecoveries().found;
    QCOMPARE(found.size(), 2);
    QCOMPARE(found[0].file, earlier);
    QCOMPARE(found[0].read.lists.first, QStringList{"earlier"});
    QCOMPARE(found[1].file, later);
    // Claimed while offered here: another copy starting now offers neither.
    QVERIFY(findRecoveries().found.isEmpty());

    QVERIFY(removeRecovery(found[0]));
    QVERIFY(QFileInfo::exists(recoveryFolder()));
    found.clear(); // lets go of the claim on the later one
    found = findRecoveries().found;
    QCOMPARE(found.size(), 1);
    QCOMPARE(found[0].file, later);
    QVERIFY(removeRecovery(found[0]));
    QVERIFY(!QFileInfo::exists(recoveryFolder()));
}

void TestRecovery::notOfferedWhenDamaged_data()
{
    QTest::addColumn<Damage>("damage");
    QTest::addColumn<QString>("outcome"); // "offered", "put aside" (and told), "removed"

    QTest::newRow("whole") << Damage::None << "offered";
    QTest::newRow("written by an earlier version") << Damage::OldTrailer << "offered";
    QTest::newRow("cut in the lists") << Damage::CutInTheLists << "put aside";
    QTest::newRow("cut in the trailer") << Damage::CutInTheTrailer << "put aside";
    QTest::newRow("last byte missing") << Damage::LastByteMissing << "put aside";
    QTest::newRow("trailer missing") << Damage::TrailerMissing << "put aside";
    QTest::newRow("an entry altered") << Damage::EntryAltered << "put aside";
    QTest::newRow("wrong length of the lists") << Damage::WrongLength << "put aside";
    QTest::newRow("unreadable date") << Damage::UnreadableDate << "put aside";
    QTest::newRow("another marker") << Damage::OtherMarker << "put aside";
    QTest::newRow("emptied") << Damage::Emptied << "put aside";
    QTest::newRow("left by an interrupted save") << Damage::InterruptedSave << "removed";
}

void TestRecovery::notOfferedWhenDamaged()
{
    QFETCH(Damage, damage);
    QFETCH(QString, outcome);

    const TaskLists lists{{"Buy bread", "Call the bank"}, {"Paint the fence"}};
    QString file;
    QVERIFY(writeRecovery(lists, {QStringLiteral("/home/ana/lists.dat")}, kEnded, nullptr, &file));
    const QByteArray good = readAll(file);
    const QByteArray listsPart = writeTaskFile(lists);
    QVERIFY(good.startsWith(listsPart));

    QByteArray bad = good;
    QString damaged = file;
    switch (damage) {
    case Damage::None:
        break;
    case Damage::OldTrailer:
        bad = listsPart + "[Listora unsaved lists]\r\npath %2Fa.dat\r\nended 2026-05-12T22:07:31.250Z\r\n"
                          "codepage 1252\r\nsha1 " + recoveryChecksum(listsPart) + "\r\nlists "
            + QByteArray::number(listsPart.size()) + "\r\n";
        break;
    case Damage::CutInTheLists:
        bad.truncate(listsPart.size() - 5);
        break;
    case Damage::CutInTheTrailer:
        bad.truncate(listsPart.size() + 30);
        break;
    case Damage::LastByteMissing:
        bad.chop(1);
        break;
    case Damage::TrailerMissing:
        bad = listsPart;
        break;
    case Damage::EntryAltered:
        bad[bad.indexOf("bread")] = 'B';
        break;
    case Damage::WrongLength:
        bad.replace("lists " + QByteArray::number(listsPart.size()),
                    "lists " + QByteArray::number(listsPart.size() - 2));
        break;
    case Damage::UnreadableDate:
        bad.replace("ended 2026-05-12", "ended 2026-13-12");
        break;
    case Damage::OtherMarker:
        bad.replace("Listora", "Listera");
        break;
    case Damage::Emptied:
        bad.clear();
        break;
    case Damage::InterruptedSave:
        QVERIFY(QFile::remove(file));
        damaged = file + QStringLiteral(".Ab12Cd");
        break;
    }
    QVERIFY(writeAll(damaged, bad));

    RecoveryScan scan = findRecoveries();
    QCOMPARE(scan.found.size(), outcome == QLatin1String("offered") ? 1 : 0);
    QCOMPARE(scan.damaged.size(), outcome == QLatin1String("put aside") ? 1 : 0);
    if (outcome == QLatin1String("offered")) {
        QCOMPARE(scan.found[0].read.lists, lists);
    } else if (outcome == QLatin1String("put aside")) {
        // Told once, and kept where the open command still reads what it holds.
        QVERIFY(!QFileInfo::exists(damaged));
        QCOMPARE(readAll(scan.damaged[0].keptAs), bad);
        QVERIFY(findRecoveries().damaged.isEmpty());
    } else {
        QVERIFY(!QFileInfo::exists(damaged));
    }
}

void TestRecovery::folderStaysWhileNotEmpty()
{
    QString file;
    QVERIFY(writeRecovery({{"a"}, {}}, {}, kEnded, nullptr, &file));
    const QString other = QDir(recoveryFolder()).filePath(QStringLiteral("notes.txt"));
    QVERIFY(writeAll(other, "mine"));
    QList<RecoveredLists> found = findRecoveries().found;
    QCOMPARE(found.size(), 1);
    QVERIFY(removeRecovery(found[0]));
    QVERIFY(!QFileInfo::exists(file));
    QCOMPARE(readAll(other), QByteArray("mine"));
}

void TestRecovery::failedWrite_data()
{
    QTest::addColumn<int>("taken");       // folders, from the usual one on, with a file in their place
    QTest::addColumn<bool>("saveFails");  // every save fails
    QTest::addColumn<bool>("tempShared"); // the temporary folder is open to everyone
    QTest::addColumn<int>("keptIn");      // the folder that takes them; -1: none

    const int all = int(recoveryFolders().size());
    QTest::newRow("the usual folder taken: kept in the next") << 1 << false << false << 1;
    QTest::newRow("all but the temporary folder taken: kept there") << all - 1 << false << false << all - 1;
    QTest::newRow("every folder taken: nothing kept") << all << false << false << -1;
    QTest::newRow("the save fails everywhere") << 0 << true << false << -1;
#ifndef Q_OS_WIN
    QTest::newRow("a temporary folder others can fill: not used") << all - 1 << false << true << -1;
#endif
}

void TestRecovery::failedWrite()
{
    QFETCH(int, taken);
    QFETCH(bool, saveFails);
    QFETCH(bool, tempShared);
    QFETCH(int, keptIn);
    const QStringList folders = recoveryFolders();
    for (int i = 0; i < taken; ++i) {
        // Some lie inside an earlier one (Windows keeps the cache in the data folder): taken with it.
        if (const QFileInfo parent(QFileInfo(folders[i]).absolutePath()); parent.exists() && !parent.isDir())
            continue;
        QVERIFY(QDir().mkpath(QFileInfo(folders[i]).absolutePath()));
        QVERIFY(writeAll(folders[i], "in the way"));
    }
    if (tempShared) {
        QVERIFY(QDir().mkpath(folders.constLast()));
        QVERIFY(QFile::setPermissions(folders.constLast(), QFileDevice::Permissions(0x7777)));
    }
    if (saveFails) {
        setSaveDeviceFactory([](const QString &) {
            return std::make_unique<QFile>(QStringLiteral("/nonexistent folder/x/y.dat"));
        });
    }
    QString file;
    const SaveResult saved = writeRecovery({{"a"}, {}}, {}, kEnded, nullptr, &file);
    setSaveDeviceFactory({});
    QCOMPARE(bool(saved), keptIn >= 0);
    const RecoveryScan scan = findRecoveries();
    if (keptIn < 0) {
        // Each folder tried is named, for the system's log.
        QVERIFY2(saved.error.contains(QDir::toNativeSeparators(folders[0])), qPrintable(saved.error));
        QVERIFY(file.isEmpty());
        QVERIFY(scan.found.isEmpty());
        // Nothing is left behind for a write that failed.
        for (int i = taken; i < folders.size() && !tempShared; ++i)
            QVERIFY2(!QFileInfo::exists(folders[i]), qPrintable(folders[i]));
        return;
    }
    QCOMPARE(QFileInfo(file).absolutePath(), QDir(folders[keptIn]).absolutePath());
    QCOMPARE(scan.found.size(), 1);
    // The next start says where they were found.
    QCOMPARE(scan.found[0].fallbackFolder, folders[keptIn]);
    QVERIFY(restoreQuestionText(kEnded, scan.found[0].fallbackFolder)
                .contains(QDir::toNativeSeparators(folders[keptIn])));
}

void TestRecovery::emptyFolderRemoved()
{
    QVERIFY(QDir().mkpath(recoveryFolder()));
    QVERIFY(findRecoveries().found.isEmpty());
    QVERIFY(!QFileInfo::exists(recoveryFolder()));
}

void TestRecovery::question_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("text");

    QTest::newRow("English") << "en_US" << ""
                             << "Listora was closed at the end of the session on 5/12/26 10:07 PM with lists that "
                                "were not saved. Restore them?";
    QTest::newRow("German") << "de_DE" << ""
                            << "Listora was closed at the end of the session on 12.05.26 22:07 with lists that "
                               "were not saved. Restore them?";
    QTest::newRow("found elsewhere") << "en_US" << "/tmp/Listora-1000"
                                     << "Listora was closed at the end of the session on 5/12/26 10:07 PM with lists "
                                        "that were not saved. They were kept in “" + QDir::toNativeSeparators("/tmp/Listora-1000")
                                            + "”, as the usual folder could not take them. Restore them?";
}

void TestRecovery::question()
{
    QFETCH(QString, locale);
    QFETCH(QString, folder);
    QFETCH(QString, text);
    // In the user's own time: built as local time, whatever zone the machine is in.
    const QDateTime ended(QDate(2026, 5, 12), QTime(22, 7, 31));
    QCOMPARE(restoreQuestionText(ended.toUTC(), folder, QLocale(locale)), text);
}

QTEST_GUILESS_MAIN(TestRecovery)
#include "tst_recovery.moc"
