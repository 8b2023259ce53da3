#include "app/qtplatform.h"
#include "failingsaves.h"
#include "filehelpers.h"
#include "reports/pageprinter.h"
#include "reports/report.h"
#include "storage/taskfile.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QScopeGuard>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace listora;
using listora::test::snapshot;

namespace {

// The text of the PDF file, pages separated by form feeds.
QString pdfText(const QString &path)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-enc"), QStringLiteral("UTF-8"), path, QStringLiteral("-")});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

QStringList entries(int count)
{
    QStringList list;
    for (int i = 0; i < count; ++i)
        list << QStringLiteral("errand-%1").arg(i, 3, 10, QLatin1Char('0'));
    return list;
}

} // namespace

class TestPagePrinter : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void pdfHoldsThePage_data();
    void pdfHoldsThePage();
    void longLineWrapsWithinThePage();
    void failedWriteKeepsOldFile_data();
    void failedWriteKeepsOldFile();

private:
    QTemporaryDir dir;
};

void TestPagePrinter::initTestCase()
{
    QVERIFY(dir.isValid());
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");
}

void TestPagePrinter::pdfHoldsThePage_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("pages");
    QTest::addColumn<bool>("overOldFile");
    QTest::newRow("three entries") << 3 << 1 << false;
    QTest::newRow("full list") << 50 << 1 << false;
    // Only a loaded file can hold this many; none may be lost off the page end.
    QTest::newRow("overfull list") << 130 << 3 << false;
    QTest::newRow("over an older, longer file") << 3 << 1 << true;
}

void TestPagePrinter::pdfHoldsThePage()
{
    QFETCH(int, count);
    QFETCH(int, pages);
    QFETCH(bool, overOldFile);

    const QString path = dir.filePath(QStringLiteral("list-%1%2.pdf").arg(count).arg(overOldFile ? "-again" : ""));
    if (overOldFile) {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        QVERIFY(old.write(QByteArray(4 * 1024 * 1024, 'x')) > 0);
    }
    QtPlatform platform;
    std::unique_ptr<LinePrinter> printer = platform.pdfPrinter(path);
    QVERIFY(printer);
    playSteps(printedList(entries(count), QStringLiteral("1.0.19"), QStringLiteral("08/12/2026"),
                          QStringLiteral("/home/user/work.dat")),
              *printer);
    QVERIFY2(printer->endDoc(), qPrintable(printer->errorString()));

    const QString text = pdfText(path);
    QVERIFY2(text.contains(QStringLiteral("Listora:")), qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("Ver. 1.0.19")));
    QVERIFY(text.contains(QStringLiteral("Today is:08/12/2026")));
    for (const QString &entry : entries(count))
        QVERIFY2(text.contains(entry), qPrintable(entry));
    QVERIFY(text.contains(QStringLiteral("---------------")));
    QVERIFY(text.contains(QStringLiteral("N\u00B0 of Tasks: %1,").arg(count)));
    QVERIFY(text.contains(QStringLiteral("Percent: %1 %").arg(count * 2)));
    QVERIFY(text.contains(QStringLiteral("/home/user/work.dat")));
    QCOMPARE(text.count(QLatin1Char('\f')), pages);
    // The summary closes the last page, after every entry.
    QVERIFY(text.lastIndexOf(QStringLiteral("N\u00B0 of Tasks")) > text.lastIndexOf(entries(count).last()));
}

void TestPagePrinter::longLineWrapsWithinThePage()
{
    const QString path = dir.filePath(QStringLiteral("wide.pdf"));
    const QString longPath = QStringLiteral("/srv/") + QString(60, QLatin1Char('x')) + QStringLiteral("/")
        + QString(60, QLatin1Char('y')) + QStringLiteral("/endofpath.dat");
    std::unique_ptr<LinePrinter> printer = makePdfPrinter(path);
    playSteps(printedList({}, QStringLiteral("1.0.19"), QStringLiteral("08/12/2026"), longPath), *printer);
    QVERIFY(printer->endDoc());

    QString text = pdfText(path);
    text.remove(QLatin1Char('\n'));
    QVERIFY2(text.contains(longPath), qPrintable(text));
}

void TestPagePrinter::failedWriteKeepsOldFile_data()
{
    QTest::addColumn<QString>("fault");
    QTest::newRow("missing folder") << "missing folder";
    QTest::newRow("a folder in the way") << "folder";
    QTest::newRow("disk full half-way") << "disk full";
}

void TestPagePrinter::failedWriteKeepsOldFile()
{
    QFETCH(QString, fault);
    QTemporaryDir root;
    QVERIFY(root.isValid());
    const QByteArray oldBytes("%PDF-1.4 the list as printed yesterday");
    QString target = root.filePath(QStringLiteral("list.pdf"));
    if (fault == QLatin1String("missing folder")) {
        target = root.filePath(QStringLiteral("missing/folder/list.pdf"));
    } else {
        QFile old(fault == QLatin1String("folder") ? target + QStringLiteral("/inside.pdf") : target);
        QVERIFY(QDir().mkpath(QFileInfo(old).absolutePath()));
        QVERIFY(old.open(QIODevice::WriteOnly));
        QCOMPARE(old.write(oldBytes), oldBytes.size());
    }
    if (fault == QLatin1String("disk full"))
        setSaveDeviceFactory([](const QString &path) { return std::make_unique<test::HalfWriteFile>(path, true); });
    const auto restore = qScopeGuard([] { setSaveDeviceFactory({}); });
    const QMap<QString, QByteArray> before = snapshot(root.path());

    std::unique_ptr<LinePrinter> printer = makePdfPrinter(target);
    playSteps(printedList(entries(3), QStringLiteral("1.0.19"), QStringLiteral("08/12/2026"), {}), *printer);
    QVERIFY(!printer->endDoc());
    QVERIFY2(printer->errorString().contains(QDir::toNativeSeparators(target)), qPrintable(printer->errorString()));
    // Whatever was there stays byte for byte, with nothing left beside it.
    QCOMPARE(snapshot(root.path()), before);
    QVERIFY(!printer->endDoc()); // a second end sends nothing either
}

QTEST_MAIN(TestPagePrinter)
#include "tst_pageprinter.moc"
