#include "app/mainwindow.h"
#include "texts/texts.h"
#include "widgets/windows.h"
#include "fakeplatform.h"
#include "listhelpers.h"
#include "mainwindowrig.h"
#include "reports/report.h"
#include "tasks/tasklistmodel.h"
#include "lists/tasklistview.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

using namespace listora;
using listora::test::PrintCall;
using listora::test::texts;
using listora::test::rowSelected;

namespace {

void fill(TaskListModel *list, int count, const QString &stem)
{
    for (int i = 0; i < count; ++i)
        list->append(stem + QString::number(i));
}

// The page as the fake printer records it, ended.
QList<PrintCall> recorded(const QList<PrintStep> &steps)
{
    QList<PrintCall> calls;
    for (const PrintStep &s : steps) {
        switch (s.kind) {
        case PrintStep::Line: calls.append({PrintCall::Line, s.text, 0, false}); break;
        case PrintStep::Size: calls.append({PrintCall::Size, {}, s.size, false}); break;
        case PrintStep::Bold: calls.append({PrintCall::Bold, {}, 0, s.bold}); break;
        }
    }
    calls.append({PrintCall::End, {}, 0, false});
    return calls;
}

} // namespace

class TestMainWindowReports : public QObject, private listora::test::MainWindowRig {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void reportTogglesAndIsFrozen();
    void reportKeepsItsStateAcrossListSwitch();
    void fileNamePanelClearsReport();

    void printDeclined_data();
    void printDeclined();
    void printSendsFirstListOnly();
    void printEmptyListSelectsNothing();
    void printFailureIsReported_data();
    void printFailureIsReported();
    void noPrinterOffersPdf_data();
    void noPrinterOffersPdf();

private:
    QString question() const { return QStringLiteral("Do you want to print the list?"); }
    QTemporaryDir dir;
};

void TestMainWindowReports::init()
{
    buildRig();
}

void TestMainWindowReports::cleanup()
{
    tearDownRig();
}

void TestMainWindowReports::reportTogglesAndIsFrozen()
{
    form->switchListButton->click();
    fill(form->Tasks[0], 10, QStringLiteral("a"));
    fill(form->Tasks[1], 30, QStringLiteral("b"));

    form->statusReportButton->click();
    QVERIFY(!form->reportPanel->isHidden());
    const QString first = QStringLiteral("List 1:10 Tasks. 20 % List 2:30 Tasks. 10 % Total:40 Tasks. --> 11 %");
    QCOMPARE(form->reportLabel->text(), first);

    // Changes while the panel is open leave the text as it was.
    form->Tasks[1]->append(QStringLiteral("late"));
    QCOMPARE(form->reportLabel->text(), first);

    form->statusReportButton->click();
    QVERIFY(form->reportPanel->isHidden());
    QCOMPARE(form->reportLabel->text(), first);

    form->statusReportButton->click();
    QVERIFY(!form->reportPanel->isHidden());
    QCOMPARE(form->reportLabel->text(), QStringLiteral("List 1:10 Tasks. 20 % List 2:31 Tasks. 10 % Total:41 Tasks. --> 12 %"));
    QVERIFY(platform->messages.isEmpty());
}

void TestMainWindowReports::reportKeepsItsStateAcrossListSwitch()
{
    form->show();
    form->switchListButton->click();
    form->statusReportButton->click();
    const QString text = form->reportLabel->text();
    QCOMPARE(text, QStringLiteral("List 1:0 Tasks. 0 % List 2:0 Tasks. 0 % Total:0 Tasks. --> 0 %"));

    form->switchListButton->click(); // back to the first list: the report goes out of sight
    QVERIFY(!form->reportPanel->isVisible());
    QVERIFY(!form->reportPanel->isHidden());
    form->Tasks[0]->append(QStringLiteral("new"));

    form->switchListButton->click(); // and returns with its old text
    QVERIFY(form->reportPanel->isVisible());
    QCOMPARE(form->reportLabel->text(), text);

    // Closing it from the second list's view works as before.
    form->statusReportButton->click();
    QVERIFY(form->reportPanel->isHidden());
}

void TestMainWindowReports::fileNamePanelClearsReport()
{
    form->switchListButton->click();
    form->statusReportButton->click();
    QVERIFY(!form->reportLabel->text().isEmpty());
    form->fileNameButton->click();
    QCOMPARE(form->reportLabel->text(), QString());
    QVERIFY(!form->reportPanel->isHidden());
}

void TestMainWindowReports::printDeclined_data()
{
    QTest::addColumn<bool>("answerCancel");
    QTest::newRow("cancel") << true;
    QTest::newRow("box closed") << false; // the fake answers Cancel when nothing is queued
}

void TestMainWindowReports::printDeclined()
{
    QFETCH(bool, answerCancel);
    if (answerCancel)
        platform->answers.enqueue(MessageAnswer::Cancel);
    fill(form->Tasks[0], 3, QStringLiteral("t"));
    form->List[0]->selectRow(0);

    form->printButton->click();

    QCOMPARE(platform->messages.size(), 1);
    const MessageRequest &ask = platform->messages.first();
    QCOMPARE(ask.text, question());
    QCOMPARE(ask.title, QStringLiteral("Print Dialog"));
    QCOMPARE(ask.buttons, MessageButtons::OkCancel);
    QCOMPARE(ask.icon, MessageIcon::Question);
    QVERIFY(platform->printed.isEmpty());
    QVERIFY(platform->pdfPaths.isEmpty());
    QCOMPARE(form->List[0]->currentIndex().row(), 0);
}

void TestMainWindowReports::printSendsFirstListOnly()
{
    form->switchListButton->click(); // the second list on display changes nothing
    fill(form->Tasks[0], 3, QStringLiteral("first "));
    fill(form->Tasks[1], 4, QStringLiteral("second "));
    // The page names the task file the lists were last saved to.
    const QString taskFile = dir.filePath(QStringLiteral("work.dat"));
    QVERIFY(form->document().save(taskFile));
    form->List[0]->selectRow(0);
    const QString status = form->fileStatusLabel->text();
    platform->answers.enqueue(MessageAnswer::Ok);

    form->printButton->click();

    const QList<PrintStep> page = printedList(texts(form->List[0]), QStringLiteral("1.0.19"),
                                              shortDateText(QDate(2026, 12, 8)),
                                              QDir::toNativeSeparators(taskFile));
    QCOMPARE(platform->printed, recorded(page));
    for (const PrintCall &call : std::as_const(platform->printed))
        QVERIFY2(!call.text.contains(QStringLiteral("second")), qPrintable(call.text));

    QCOMPARE(platform->messageTexts(), (QStringList{question(), QStringLiteral("Sended to the Printer.")}));
    const MessageRequest &done = platform->messages.last();
    QCOMPARE(done.title, productName());
    QCOMPARE(done.buttons, MessageButtons::Ok);
    QCOMPARE(done.icon, MessageIcon::None);

    QCOMPARE(form->List[0]->currentIndex().row(), 2);
    QVERIFY(rowSelected(form->List[0], 2));
    QCOMPARE(texts(form->List[0]).size(), 3);
    QCOMPARE(texts(form->List[1]).size(), 4);
    QCOMPARE(form->fileStatusLabel->text(), status);
    QVERIFY(platform->pdfPaths.isEmpty());
}

void TestMainWindowReports::printEmptyListSelectsNothing()
{
    platform->answers.enqueue(MessageAnswer::Ok);
    form->printButton->click();
    QCOMPARE(platform->printed.last().kind, PrintCall::End);
    QCOMPARE(platform->printed.at(platform->printed.size() - 2).text,
             QStringLiteral("       >>>  N\u00B0 of Tasks: 0,   Percent: 0 %  <<<  "));
    QCOMPARE(form->List[0]->currentIndex().row(), -1);
}

void TestMainWindowReports::printFailureIsReported_data()
{
    QTest::addColumn<bool>("printer"); // false: the PDF file offered instead
    QTest::addColumn<int>("entries");
    QTest::addColumn<int>("selected");
    QTest::addColumn<int>("asked"); // messages before the failure is told
    QTest::newRow("the printer jams") << true << 2 << 0 << 1;
    QTest::newRow("the PDF file cannot be written") << false << 1 << -1 << 2;
}

// The failure is told as a warning, not as the page sent; what was selected stays so.
void TestMainWindowReports::printFailureIsReported()
{
    QFETCH(bool, printer);
    QFETCH(int, entries);
    QFETCH(int, selected);
    QFETCH(int, asked);
    platform->hasPrinter = printer;
    platform->printerFails = platform->pdfFails = true;
    fill(form->Tasks[0], entries, QStringLiteral("t"));
    form->List[0]->selectRow(selected);
    platform->answers << MessageAnswer::Ok << MessageAnswer::Ok;
    platform->paths.enqueue(dir.filePath(QStringLiteral("x.pdf")));

    form->printButton->click();

    QCOMPARE((printer ? platform->printed : platform->pdfPrinted).last().kind, PrintCall::End);
    QCOMPARE(platform->messages.size(), asked + 1);
    const MessageRequest &report = platform->messages.last();
    QVERIFY(report.text != QStringLiteral("Sended to the Printer."));
    QVERIFY2(report.text.contains(QStringLiteral("printer jammed")), qPrintable(report.text));
    QCOMPARE(report.icon, MessageIcon::Warning);
    QCOMPARE(form->List[0]->currentIndex().row(), selected);
    QCOMPARE(platform->pdfPaths.size(), printer ? 0 : 1);
    QCOMPARE(platform->dialogs.size(), printer ? 0 : 1);
}

void TestMainWindowReports::noPrinterOffersPdf_data()
{
    QTest::addColumn<bool>("acceptOffer");
    QTest::addColumn<std::optional<QString>>("chosen"); // a name in the test's folder
    QTest::addColumn<QString>("existing");              // a file there before, or none
    QTest::addColumn<bool>("replace");                  // the answer to the question about it
    QTest::addColumn<QString>("written");

    const std::optional<QString> none;
    QTest::newRow("offer declined") << false << none << QString() << false << QString();
    QTest::newRow("dialog cancelled") << true << none << QString() << false << QString();
    QTest::newRow("name without ending") << true << std::optional<QString>(QStringLiteral("today")) << QString()
                                         << false << QStringLiteral("today.pdf");
    QTest::newRow("name with ending") << true << std::optional<QString>(QStringLiteral("Today.PDF")) << QString()
                                      << false << QStringLiteral("Today.PDF");
    QTest::newRow("existing file replaced") << true << std::optional<QString>(QStringLiteral("old.pdf"))
                                            << QStringLiteral("old.pdf") << true << QStringLiteral("old.pdf");
    QTest::newRow("existing file kept") << true << std::optional<QString>(QStringLiteral("old.pdf"))
                                        << QStringLiteral("old.pdf") << false << QString();
    // The ending is added after the dialog: the file asked about is the one written.
    QTest::newRow("existing file behind the added ending")
        << true << std::optional<QString>(QStringLiteral("old")) << QStringLiteral("old.pdf") << false << QString();
    QTest::newRow("a file without the ending is no obstacle")
        << true << std::optional<QString>(QStringLiteral("old")) << QStringLiteral("old") << false
        << QStringLiteral("old.pdf");
}

void TestMainWindowReports::noPrinterOffersPdf()
{
    QFETCH(bool, acceptOffer);
    QFETCH(std::optional<QString>, chosen);
    QFETCH(QString, existing);
    QFETCH(bool, replace);
    QFETCH(QString, written);

    QVERIFY(dir.isValid());
    const QString existingPath = existing.isEmpty() ? QString() : dir.filePath(existing);
    if (!existingPath.isEmpty()) {
        QFile file(existingPath);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
    }
    const auto cleanUp = qScopeGuard([&] {
        if (!existingPath.isEmpty())
            QFile::remove(existingPath);
    });
    if (chosen)
        chosen = dir.filePath(*chosen);
    if (!written.isEmpty())
        written = dir.filePath(written);

    platform->hasPrinter = false;
    fill(form->Tasks[0], 2, QStringLiteral("t"));
    const QString taskFile = dir.filePath(QStringLiteral("lists/work.dat"));
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("lists")));
    QVERIFY(form->document().save(taskFile));
    platform->answers.enqueue(MessageAnswer::Ok);
    platform->answers.enqueue(acceptOffer ? MessageAnswer::Ok : MessageAnswer::Cancel);
    platform->answers.enqueue(replace ? MessageAnswer::Ok : MessageAnswer::Cancel);
    platform->paths.enqueue(chosen);

    form->printButton->click();

    QVERIFY(!platform->messageTexts().contains(QStringLiteral("Sended to the Printer.")));
    QVERIFY(platform->messages.size() >= 2);
    QVERIFY(platform->messages.at(1).text.contains(QStringLiteral("PDF")));
    QCOMPARE(platform->messages.at(1).buttons, MessageButtons::OkCancel);
    QCOMPARE(platform->dialogs.size(), acceptOffer ? 1 : 0);
    if (acceptOffer) {
        QCOMPARE(platform->dialogs.first().mode, FileDialogMode::Save);
        QCOMPARE(platform->dialogs.first().initDir, QFileInfo(taskFile).absolutePath());
        QVERIFY(platform->dialogs.first().filter.endsWith(QStringLiteral("|*.pdf")));
    }
    // The task file stays the remembered one.
    QCOMPARE(form->document().filePath(), taskFile);

    // A file about to be replaced is asked about first, by name.
    const bool asked = chosen && existing.endsWith(QStringLiteral(".pdf"));
    if (asked) {
        const MessageRequest &question = platform->messages.at(2);
        QVERIFY2(question.text.contains(QDir::toNativeSeparators(existingPath)), qPrintable(question.text));
        QVERIFY2(question.text.contains(QStringLiteral("replace")), qPrintable(question.text));
        QCOMPARE(question.buttons, MessageButtons::OkCancel);
    }
    const qsizetype asking = 2 + (asked ? 1 : 0);

    if (written.isEmpty()) {
        QVERIFY(platform->pdfPaths.isEmpty());
        QCOMPARE(platform->messages.size(), asking);
        QCOMPARE(form->List[0]->currentIndex().row(), -1);
        return;
    }
    QCOMPARE(platform->pdfPaths, QStringList{written});
    const QList<PrintStep> page = printedList(texts(form->List[0]), versionText(), shortDateText(QDate(2026, 12, 8)),
                                              QDir::toNativeSeparators(taskFile));
    QCOMPARE(platform->pdfPrinted, recorded(page));
    QCOMPARE(platform->messages.size(), asking + 1);
    QVERIFY(platform->messages.last().text.contains(QDir::toNativeSeparators(written)));
    QCOMPARE(form->List[0]->currentIndex().row(), 1);
}

QTEST_MAIN(TestMainWindowReports)
#include "tst_mainwindowreports.moc"
