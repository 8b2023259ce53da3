// The printout through Windows' own print path. Under Wine that path ends in the host's
// CUPS: packaging/windows/print-test.sh makes a cups-pdf queue of its own, runs the row that
// prints to it by name (whatever the host's default printer is), and reads the page this test
// says to expect back out of the PDF; then it hides every printer from Wine and runs the row
// without one.
#include "mainwindowrig.h"
#include "app/qtplatform.h"
#include "texts/texts.h"
#include "widgets/windows.h"
#include "fakeplatform.h"
#include "reports/pageprinter.h"
#include "reports/report.h"
#include "tasks/tasklistmodel.h"
#include "lists/tasklistview.h"

#include <QDir>
#include <QFile>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace listora;
using listora::test::MainWindowUnderTest;
using listora::test::FakePlatform;

namespace {

// Questions and dialogs are scripted; the printers are the system's.
class SystemPrinters final : public Platform {
public:
    FakePlatform fake;

    MessageAnswer message(QWidget *parent, const MessageRequest &request) override
    {
        return fake.message(parent, request);
    }
    std::optional<QString> fileDialog(QWidget *parent, const FileDialogRequest &request) override
    {
        return fake.fileDialog(parent, request);
    }
    // The queue made for the test stands in for the default printer.
    std::unique_ptr<LinePrinter> defaultPrinter() override
    {
        const QString queue = qEnvironmentVariable("LISTORA_PRINT_QUEUE");
        if (queue.isEmpty())
            return real_.defaultPrinter();
        const QPrinterInfo info = QPrinterInfo::printerInfo(queue);
        return info.isNull() ? nullptr : makePrinter(info);
    }
    std::unique_ptr<LinePrinter> pdfPrinter(const QString &path) override { return real_.pdfPrinter(path); }
    QAction *popUpMenu(QMenu &menu, const QPoint &at) override { return fake.popUpMenu(menu, at); }
    void openUrl(const QUrl &url) override { fake.openUrl(url); }
    QDateTime now() const override { return fake.now(); }
    DesktopNotifications &notifications() override { return fake.notifications(); }
    void quit() override { fake.quit(); }

private:
    QtPlatform real_;
};

const QStringList kEntries{QStringLiteral("Call the bank"), QStringLiteral("Buy bread and milk"),
                           QString::fromUtf16(u"Caf\u00e9 at 10")};

} // namespace

class TestWindowsPrint : public QObject {
    Q_OBJECT
private slots:
    void printFromTheMainWindow_data();
    void printFromTheMainWindow();
};

void TestWindowsPrint::printFromTheMainWindow_data()
{
    QTest::addColumn<bool>("printer");
    QTest::newRow("the test's own queue") << true;
    QTest::newRow("no printer") << false;
}

void TestWindowsPrint::printFromTheMainWindow()
{
    QFETCH(bool, printer);
    const QString queue = qEnvironmentVariable("LISTORA_PRINT_QUEUE");
    if (printer != !queue.isEmpty())
        QSKIP("packaging/windows/print-test.sh sets up the printers for each row");
    if (printer)
        QVERIFY2(!QPrinterInfo::printerInfo(queue).isNull(), qPrintable(queue + QStringLiteral(" is not among the printers")));
    else
        QVERIFY2(QPrinterInfo::availablePrinterNames().isEmpty(), qPrintable(QPrinterInfo::availablePrinterNames().join(", ")));

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    test::BasicWindowRig<SystemPrinters> rig;
    SystemPrinters &platform = rig.platform;
    MainWindowUnderTest &form = *rig.form;
    form.Tasks[0]->append(kEntries);
    form.Tasks[1]->append(QStringLiteral("not printed"));
    QVERIFY(form.document().save(dir.filePath(QStringLiteral("lists.dat"))));
    platform.fake.answers << MessageAnswer::Ok << MessageAnswer::Ok;
    const QString pdf = dir.filePath(QStringLiteral("lists.pdf"));
    platform.fake.paths.enqueue(pdf);

    form.printButton->click();

    const QStringList shown = platform.fake.messageTexts();
    if (printer) {
        QCOMPARE(shown, (QStringList{"Do you want to print the list?", "Sended to the Printer."}));
        // What the page must hold, for the script to find in the PDF the queue writes.
        QFile expected(qEnvironmentVariable("LISTORA_EXPECTED_PAGE"));
        QVERIFY2(expected.open(QIODevice::WriteOnly | QIODevice::Text), qPrintable(expected.fileName()));
        const QList<PrintStep> page = printedList(kEntries, versionText(), shortDateText(platform.now().date()),
                                                  QDir::toNativeSeparators(form.document().filePath()));
        for (const PrintStep &step : page) {
            if (step.kind == PrintStep::Line && !step.text.trimmed().isEmpty())
                expected.write(step.text.toUtf8() + '\n');
        }
    } else {
        // The fallback the Linux build offers: the same page as a PDF file.
        QCOMPARE(shown.size(), 3);
        QCOMPARE(shown.at(1), QStringLiteral("No printer is installed. Do you want to save the list as a PDF file instead?"));
        QVERIFY2(shown.at(2).startsWith(QStringLiteral("The list was saved as a PDF file:")), qPrintable(shown.at(2)));
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.read(5) == "%PDF-");
    }
    QCOMPARE(form.List[0]->currentIndex().row(), kEntries.size() - 1);
}

QTEST_MAIN(TestWindowsPrint)
#include "print_windows.moc"
