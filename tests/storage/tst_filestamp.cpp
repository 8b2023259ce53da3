// Telling whether a task file is still what the program last read or wrote.
#include "storage/filestamp.h"
#include "storage/taskfile.h"

#include "filehelpers.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTest>

#include <thread>

using namespace listora;
using listora::test::renameOver;
using listora::test::writeFile;

Q_DECLARE_METATYPE(listora::FileCheck)

namespace {

enum class Change {
    None,
    SameBytesLater,       // written again as it was, an hour later
    TimeOnly,             // touched
    ByteSameSizeAndTime,  // one byte other, size and time put back
    Appended,
    Emptied,
    Deleted,
    RenamedOverSame,      // a copy of the same bytes renamed over it
    RenamedOverOther,
    Folder,               // a folder where the file was
};

QByteArray sampleFile()
{
    QByteArray bytes(" 3 \r\nBuy bread\r\nCall the bank\r\n ---> 09/12/2026 Dentist at ten\r\n 1 \r\n");
    // Past a few hashing blocks, so that pieces cut them.
    for (int i = 0; i < 5000; ++i)
        bytes += "A task of the backlog, number " + QByteArray::number(i) + "\r\n";
    return bytes;
}

bool setModified(const QString &path, const QDateTime &when)
{
    QFile file(path);
    return file.open(QIODevice::ReadWrite) && file.setFileTime(when, QFileDevice::FileModificationTime);
}

} // namespace

Q_DECLARE_METATYPE(Change)

class TestFileStamp : public QObject {
    Q_OBJECT
private slots:
    void hasherTakesAnyPieces_data();
    void hasherTakesAnyPieces();
    void stampOfFile();
    void check_data();
    void check();
    void replacedWithinTheWait_data();
    void replacedWithinTheWait();
    void goneAfterTheWait();
    void nullStamp();
};

void TestFileStamp::hasherTakesAnyPieces_data()
{
    QTest::addColumn<QList<int>>("pieces");

    QTest::newRow("whole") << QList<int>{};
    QTest::newRow("bytes one by one at the start") << QList<int>{1, 1, 1, 1, 1};
    QTest::newRow("just under a block") << QList<int>{64 * 1024 - 1};
    QTest::newRow("a block") << QList<int>{64 * 1024};
    QTest::newRow("just over a block") << QList<int>{64 * 1024 + 1};
    QTest::newRow("save pieces") << QList<int>{256 * 1024, 256 * 1024 - 70, 256 * 1024};
    QTest::newRow("uneven") << QList<int>{7, 100000, 3, 64 * 1024, 5};
}

void TestFileStamp::hasherTakesAnyPieces()
{
    QFETCH(QList<int>, pieces);
    QByteArray bytes(900 * 1024, Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i)
        bytes[i] = char(i * 131 + i / 977);

    ContentHasher hasher;
    qsizetype at = 0;
    for (int length : pieces) {
        hasher.add(QByteArrayView(bytes).sliced(at, length));
        at += length;
    }
    hasher.add(QByteArrayView(bytes).sliced(at));
    QCOMPARE(hasher.size(), bytes.size());
    QCOMPARE(hasher.result(), ContentHasher::of(bytes));

    QByteArray other = bytes;
    other[at / 2] = char(other[at / 2] ^ 1);
    QVERIFY(ContentHasher::of(other) != ContentHasher::of(bytes));
    QVERIFY(ContentHasher::of(bytes.chopped(1)) != ContentHasher::of(bytes));
}

void TestFileStamp::stampOfFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("lists.dat"));
    const QByteArray bytes = sampleFile();
    QVERIFY(writeFile(path, bytes));
    const QDateTime when = QDateTime(QDate(2026, 3, 1), QTime(9, 30), Qt::UTC);
    QVERIFY(setModified(path, when));

    const FileStamp read = FileStamp::ofRead(path, bytes);
    QVERIFY(!read.isNull());
    QCOMPARE(read.size(), bytes.size());
    QCOMPARE(read.modified(), when);
    QCOMPARE(read.hash(), ContentHasher::of(bytes));

    // A save that fed its pieces to a hasher stamps the same as reading the file back.
    ContentHasher hasher;
    QSaveFile save(path);
    QVERIFY(save.open(QIODevice::WriteOnly));
    for (qsizetype at = 0; at < bytes.size(); at += 256 * 1024) {
        const qsizetype length = std::min<qsizetype>(256 * 1024, bytes.size() - at);
        const QByteArrayView piece = QByteArrayView(bytes).sliced(at, length);
        QCOMPARE(save.write(piece.data(), piece.size()), piece.size());
        hasher.add(piece);
    }
    QVERIFY(save.commit());
    const FileStamp written = FileStamp::ofHashed(path, hasher);
    QCOMPARE(written.size(), bytes.size());
    QCOMPARE(written.hash(), read.hash());
    QCOMPARE(written.modified(), QFileInfo(path).lastModified().toUTC());
    QCOMPARE(checkFile(path, written), FileCheck::Unchanged);
}

void TestFileStamp::check_data()
{
    QTest::addColumn<Change>("change");
    QTest::addColumn<FileCheck>("expected");

    QTest::newRow("untouched") << Change::None << FileCheck::Unchanged;
    QTest::newRow("written again with the same bytes") << Change::SameBytesLater << FileCheck::Unchanged;
    QTest::newRow("another time only") << Change::TimeOnly << FileCheck::Unchanged;
    QTest::newRow("another byte, same size and time") << Change::ByteSameSizeAndTime << FileCheck::Changed;
    QTest::newRow("another size") << Change::Appended << FileCheck::Changed;
    QTest::newRow("emptied") << Change::Emptied << FileCheck::Changed;
    QTest::newRow("deleted") << Change::Deleted << FileCheck::Gone;
    QTest::newRow("replaced by rename, same bytes") << Change::RenamedOverSame << FileCheck::Unchanged;
    QTest::newRow("replaced by rename, other bytes") << Change::RenamedOverOther << FileCheck::Changed;
    QTest::newRow("a folder in its place") << Change::Folder << FileCheck::Changed;
}

void TestFileStamp::check()
{
    QFETCH(Change, change);
    QFETCH(FileCheck, expected);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("lists.dat"));
    const QByteArray bytes = sampleFile();
    QVERIFY(writeFile(path, bytes));
    const QDateTime when = QDateTime(QDate(2026, 3, 1), QTime(9, 30), Qt::UTC);
    QVERIFY(setModified(path, when));
    const LoadResult loaded = loadFileBytes(path);
    QVERIFY(loaded.ok);
    const FileStamp stamp = FileStamp::ofHashed(path, loaded.hasher);
    QCOMPARE(stamp, FileStamp::ofRead(path, bytes));

    QByteArray other = bytes;
    other[bytes.size() / 2] = 'X';
    const QString beside = dir.filePath(QStringLiteral("download.tmp"));
    switch (change) {
    case Change::None:
        break;
    case Change::SameBytesLater:
        QVERIFY(writeFile(path, bytes));
        QVERIFY(setModified(path, when.addSecs(3600)));
        break;
    case Change::TimeOnly:
        QVERIFY(setModified(path, when.addSecs(-86400)));
        break;
    case Change::ByteSameSizeAndTime:
        QVERIFY(writeFile(path, other));
        QVERIFY(setModified(path, when));
        break;
    case Change::Appended:
        QVERIFY(writeFile(path, bytes + "One more\r\n"));
        break;
    case Change::Emptied:
        QVERIFY(writeFile(path, {}));
        break;
    case Change::Deleted:
        QVERIFY(QFile::remove(path));
        break;
    case Change::RenamedOverSame:
        QVERIFY(writeFile(beside, bytes));
        QVERIFY(renameOver(beside, path));
        break;
    case Change::RenamedOverOther:
        QVERIFY(writeFile(beside, other));
        QVERIFY(setModified(beside, when));
        QVERIFY(renameOver(beside, path));
        break;
    case Change::Folder:
        QVERIFY(QFile::remove(path));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("lists.dat")));
        break;
    }
    QCOMPARE(checkFile(path, stamp, std::chrono::milliseconds(50)), expected);
}

void TestFileStamp::replacedWithinTheWait_data()
{
    QTest::addColumn<bool>("sameBytes");
    QTest::addColumn<bool>("byRename");
    QTest::addColumn<FileCheck>("expected");

    // Written in place, the file may be seen half written: changed, whatever comes after.
    QTest::newRow("deleted, then the same bytes renamed in") << true << true << FileCheck::Unchanged;
    QTest::newRow("deleted, then other bytes renamed in") << false << true << FileCheck::Changed;
    QTest::newRow("deleted and written again, other bytes") << false << false << FileCheck::Changed;
}

void TestFileStamp::replacedWithinTheWait()
{
    QFETCH(bool, sameBytes);
    QFETCH(bool, byRename);
    QFETCH(FileCheck, expected);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("lists.dat"));
    const QByteArray bytes = sampleFile();
    QVERIFY(writeFile(path, bytes));
    const FileStamp stamp = FileStamp::ofRead(path, bytes);
    const QByteArray next = sameBytes ? bytes : bytes + "From the phone\r\n";
    const QString beside = dir.filePath(QStringLiteral(".lists.dat.part"));

    // The file is missing when the check begins, and back well within the wait.
    QVERIFY(QFile::remove(path));
    bool written = false;
    std::thread client([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(60));
        written = byRename ? writeFile(beside, next) && renameOver(beside, path) : writeFile(path, next);
    });
    const FileCheck found = checkFile(path, stamp);
    client.join();
    QVERIFY(written);
    QCOMPARE(found, expected);
}

void TestFileStamp::goneAfterTheWait()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("lists.dat"));
    const FileStamp stamp = FileStamp::ofRead(path, sampleFile());
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(checkFile(path, stamp, std::chrono::milliseconds(120)), FileCheck::Gone);
    const qint64 waited = clock.elapsed();
    QVERIFY2(waited >= 120 && waited < 1000, qPrintable(QString::number(waited)));
    QVERIFY(kReplaceWait < std::chrono::seconds(1));
}

void TestFileStamp::nullStamp()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("lists.dat"));
    QVERIFY(FileStamp().isNull());
    QCOMPARE(checkFile(path, FileStamp(), std::chrono::milliseconds(0)), FileCheck::Gone);
    QVERIFY(writeFile(path, {}));
    QCOMPARE(checkFile(path, FileStamp()), FileCheck::Changed);
    // An empty file read is a stamp all the same.
    QCOMPARE(checkFile(path, FileStamp::ofRead(path, {})), FileCheck::Unchanged);
}

QTEST_GUILESS_MAIN(TestFileStamp)
#include "tst_filestamp.moc"
