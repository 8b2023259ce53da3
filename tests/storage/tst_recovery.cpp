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
    QDir(recoveryFolder()).removeRecursively();
}

void TestRecovery::keptAndFound_data()
{
    QTest::addColumn<QString>("taskPath");
    QTest::addColumn<QStringList>("first");
    QTest::addColumn<QStringList>("second");

    QTest::newRow("no task file yet") << QString() << QStringList{"Buy bread"} << QStringList{};
    QTest::newRow("a task file") << QStringLiteral("/home/ana/lists.dat")
                                 << QStringList{"Buy bread", " ---> 09/12/2026 Dentist at ten"}
                                 << QStringList{"Call the bank"};
    QTest::newRow("a path in other scripts") << QString::fromUtf16(u"/home/ана/Задачи/日本語のリスト.dat")
                                             << QStringList{"a"} << QStringList{"b"};
    QTest::newRow("a path with a line break, blanks and percent signs")
        << QStringLiteral("C:\\Users\\Ana\\50% done\n  lists %20.dat") << QStringList{"a"} << QStringList{};
    QTest::newRow("empty lists") << QStringLiteral("/tmp/x.dat") << QStringList{} << QStringList{};
    QTest::newRow("Western letters and empty entries")
        << QStringLiteral("/tmp/x.dat") << QStringList{QString::fromUtf16(u"Café à 5 €"), ""} << QStringList{""};
}

void TestRecovery::keptAndFound()
{
    QFETCH(QString, taskPath);
    QFETCH(QStringList, first);
    QFETCH(QStringList, second);

    QString file;
    const SaveResult saved = writeRecovery({first, second}, taskPath, kEnded, nullptr, &file);
    QVERIFY2(saved, qPrintable(saved.error));
    QCOMPARE(QFileInfo(file).absolutePath(), QDir(recoveryFolder()).absolutePath());

    const QList<RecoveredLists> found = findRecoveries();
    QCOMPARE(found.size(), 1);
    QCOMPARE(found[0].file, file);
    QCOMPARE(found[0].taskPath, taskPath);
    QCOMPARE(found[0].ended, kEnded);
    QVERIFY(found[0].read.complete);
    QCOMPARE(found[0].read.lists, (TaskLists{first, second}));

    // The open command reads it as any task file.
    const LoadResult loaded = loadFileBytes(file);
    QVERIFY(loaded.ok);
    const ReadResult read = readTaskFile(loaded.bytes);
    QVERIFY(read.complete);
    QCOMPARE(read.lists, (TaskLists{first, second}));

    QVERIFY(removeRecovery(file));
    QVERIFY(findRecoveries().isEmpty());
    QVERIFY(!QFileInfo::exists(recoveryFolder()));
}

void TestRecovery::readInItsOwnCodePage()
{
    // Kept under a Russian locale, found under a Western one: the entries stay Cyrillic.
    const QStringList first{QString::fromUtf16(u"Купить хлеб"), QString::fromUtf16(u"Позвонить в банк")};
    setProgramCodePage(CodePage(1251));
    QVERIFY(writeRecovery({first, {}}, QString(), kEnded));
    setProgramCodePage(CodePage(1252));
    const QList<RecoveredLists> found = findRecoveries();
    QCOMPARE(found.size(), 1);
    QCOMPARE(found[0].read.lists.first, first);
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
    QVERIFY(writeRecovery(read.lists, QString(), kEnded, &read.kept, &file, japanese));
    QVERIFY(readAll(file).startsWith(" 1 \r\n" + line + "\r\n 0 \r\n"));
    const QList<RecoveredLists> found = findRecoveries();
    QCOMPARE(found.size(), 1);
    QCOMPARE(found[0].read.lists, read.lists);
    QCOMPARE(found[0].read.kept.size(), 1);
    QVERIFY(found[0].read.kept.bytesOf(found[0].read.lists.first[0]));
    QCOMPARE(*found[0].read.kept.bytesOf(found[0].read.lists.first[0]), line);
}

void TestRecovery::twoSessions()
{
    // Two copies of the program ending one after the other keep a file each.
    QString later;
    QString earlier;
    QVERIFY(writeRecovery({{"later"}, {}}, QStringLiteral("/b.dat"), kEnded.addSecs(2), nullptr, &later));
    QVERIFY(writeRecovery({{"earlier"}, {}}, QStringLiteral("/a.dat"), kEnded, nullptr, &earlier));
    QVERIFY(later != earlier);

    QList<RecoveredLists> found = findRecoveries();
    QCOMPARE(found.size(), 2);
    QCOMPARE(found[0].file, earlier);
    QCOMPARE(found[0].read.lists.first, QStringList{"earlier"});
    QCOMPARE(found[1].file, later);

    QVERIFY(removeRecovery(earlier));
    QVERIFY(QFileInfo::exists(recoveryFolder()));
    found = findRecoveries();
    QCOMPARE(found.size(), 1);
    QCOMPARE(found[0].file, later);
    QVERIFY(removeRecovery(later));
    QVERIFY(!QFileInfo::exists(recoveryFolder()));
}

void TestRecovery::notOfferedWhenDamaged_data()
{
    QTest::addColumn<Damage>("damage");

    QTest::newRow("cut in the lists") << Damage::CutInTheLists;
    QTest::newRow("cut in the trailer") << Damage::CutInTheTrailer;
    QTest::newRow("last byte missing") << Damage::LastByteMissing;
    QTest::newRow("trailer missing") << Damage::TrailerMissing;
    QTest::newRow("an entry altered") << Damage::EntryAltered;
    QTest::newRow("wrong length of the lists") << Damage::WrongLength;
    QTest::newRow("unreadable date") << Damage::UnreadableDate;
    QTest::newRow("another marker") << Damage::OtherMarker;
    QTest::newRow("emptied") << Damage::Emptied;
    QTest::newRow("left by an interrupted save") << Damage::InterruptedSave;
}

void TestRecovery::notOfferedWhenDamaged()
{
    QFETCH(Damage, damage);

    const TaskLists lists{{"Buy bread", "Call the bank"}, {"Paint the fence"}};
    QString file;
    QVERIFY(writeRecovery(lists, QStringLiteral("/home/ana/lists.dat"), kEnded, nullptr, &file));
    const QByteArray good = readAll(file);
    const QByteArray listsPart = writeTaskFile(lists);
    QVERIFY(good.startsWith(listsPart));

    QByteArray bad = good;
    QString damaged = file;
    switch (damage) {
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
    QVERIFY(bad != good || damaged != file);
    QVERIFY(writeAll(damaged, bad));

    QVERIFY(findRecoveries().isEmpty());
    // Never offered, and never removed behind the user's back either.
    QVERIFY(QFileInfo::exists(damaged));
}

void TestRecovery::folderStaysWhileNotEmpty()
{
    QString file;
    QVERIFY(writeRecovery({{"a"}, {}}, QString(), kEnded, nullptr, &file));
    const QString other = QDir(recoveryFolder()).filePath(QStringLiteral("notes.txt"));
    QVERIFY(writeAll(other, "mine"));
    QVERIFY(removeRecovery(file));
    QVERIFY(!QFileInfo::exists(file));
    QCOMPARE(readAll(other), QByteArray("mine"));
}

void TestRecovery::failedWrite_data()
{
    QTest::addColumn<bool>("folderTaken");
    QTest::newRow("a file where the folder goes") << true;
    QTest::newRow("the save fails") << false;
}

void TestRecovery::failedWrite()
{
    QFETCH(bool, folderTaken);
    const QString folder = recoveryFolder();
    if (folderTaken) {
        QVERIFY(QDir().mkpath(QFileInfo(folder).absolutePath()));
        QVERIFY(writeAll(folder, "in the way"));
    } else {
        setSaveDeviceFactory([](const QString &) {
            return std::make_unique<QFile>(QStringLiteral("/nonexistent folder/x/y.dat"));
        });
    }
    QString file;
    const SaveResult saved = writeRecovery({{"a"}, {}}, QString(), kEnded, nullptr, &file);
    setSaveDeviceFactory({});
    QVERIFY(!saved);
    QVERIFY(!saved.error.isEmpty());
    QVERIFY(file.isEmpty());
    QVERIFY(findRecoveries().isEmpty());
    if (folderTaken)
        QVERIFY(QFile::remove(folder));
    // Nothing is left behind for a write that failed.
    QVERIFY(!QFileInfo::exists(folder));
}

void TestRecovery::emptyFolderRemoved()
{
    QVERIFY(QDir().mkpath(recoveryFolder()));
    QVERIFY(findRecoveries().isEmpty());
    QVERIFY(!QFileInfo::exists(recoveryFolder()));
}

void TestRecovery::question_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");

    QTest::newRow("English") << "en_US"
                             << "Listora was closed at the end of the session on 5/12/26 10:07 PM with lists that "
                                "were not saved. Restore them?";
    QTest::newRow("German") << "de_DE"
                            << "Listora was closed at the end of the session on 12.05.26 22:07 with lists that "
                               "were not saved. Restore them?";
}

void TestRecovery::question()
{
    QFETCH(QString, locale);
    QFETCH(QString, text);
    // In the user's own time: built as local time, whatever zone the machine is in.
    const QDateTime ended(QDate(2026, 5, 12), QTime(22, 7, 31));
    QCOMPARE(restoreQuestionText(ended.toUTC(), QLocale(locale)), text);
}

QTEST_GUILESS_MAIN(TestRecovery)
#include "tst_recovery.moc"
