#include "app/qtplatform.h"
#include "reports/pageprinter.h"
#include "reports/report.h"

#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace listora;

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
    void unwritableFileIsAFailure();

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
    QTest::newRow("three entries") << 3 << 1;
    QTest::newRow("full list") << 50 << 1;
    // Only a loaded file can hold this many; none may be lost off the page end.
    QTest::newRow("overfull list") << 130 << 3;
}

void TestPagePrinter::pdfHoldsThePage()
{
    QFETCH(int, count);
    QFETCH(int, pages);

    const QString path = dir.filePath(QStringLiteral("list-%1.pdf").arg(count));
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

void TestPagePrinter::unwritableFileIsAFailure()
{
    std::unique_ptr<LinePrinter> printer = makePdfPrinter(dir.filePath(QStringLiteral("missing/folder/list.pdf")));
    playSteps(printedList({QStringLiteral("a")}, QStringLiteral("1.0.19"), QStringLiteral("08/12/2026"), {}), *printer);
    QVERIFY(!printer->endDoc());
    QVERIFY(printer->errorString().contains(QStringLiteral("list.pdf")));
    QVERIFY(!printer->endDoc()); // a second end sends nothing either
}

QTEST_MAIN(TestPagePrinter)
#include "tst_pageprinter.moc"
