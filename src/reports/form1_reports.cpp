// The report commands of the main window: the status report and the printout.
#include "app/form1.h"

#include "app/platform.h"
#include "app/texts.h"
#include "reports/report.h"
#include "tasks/tasklistmodel.h"
#include "tasks/tasklistview.h"

#include <QDir>
#include <QFileInfo>

namespace listora {

void Form1::Command13_Click()
{
    // The panel's own flag, not isVisible(): it keeps its state while the second
    // list's panel around it is hidden.
    if (!Picture2->isHidden()) {
        Picture2->hide();
        return;
    }
    Picture2->show();
    Label7->setText(statusReportText(Tasks[0]->count(), Tasks[1]->count()));
}

namespace {

QString withPdfSuffix(const QString &path)
{
    return path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive) ? path : path + QStringLiteral(".pdf");
}

QString failureText(const QString &lead, const QString &reason)
{
    return reason.isEmpty() ? lead : lead + QLatin1Char('\n') + reason;
}

} // namespace

void Form1::Command7_Click()
{
    const QStringList entries = Tasks[0]->entries();

    if (platform_.message(this, {QStringLiteral("Do you want to print the list?"), QStringLiteral("Print Dialog"),
                                 MessageButtons::OkCancel, MessageIcon::Question})
        != MessageAnswer::Ok)
        return;

    const QList<PrintStep> page =
        printedList(entries, versionText(), shortDateText(today()), QDir::toNativeSeparators(CommonDialog1.FileName));

    // Reading the entries one by one leaves the last of them selected, but only a
    // page that went out counts as read.
    const auto selectLast = [this] {
        if (Tasks[0]->count() > 0)
            List[0]->selectRow(Tasks[0]->count() - 1);
    };

    if (std::unique_ptr<LinePrinter> printer = platform_.defaultPrinter()) {
        playSteps(page, *printer);
        if (!printer->endDoc()) {
            platform_.message(this, {failureText(QStringLiteral("The list could not be printed."), printer->errorString()),
                                     productName(), MessageButtons::Ok, MessageIcon::Warning});
            return;
        }
        selectLast();
        platform_.message(this, {QStringLiteral("Sended to the Printer."), productName(), MessageButtons::Ok,
                                 MessageIcon::None});
        return;
    }

    // No printer at all: the same page can still be kept as a PDF file.
    if (platform_.message(this, {QStringLiteral("No printer is installed. Do you want to save the list as a PDF file instead?"),
                                 productName(), MessageButtons::OkCancel, MessageIcon::Question})
        != MessageAnswer::Ok)
        return;
    const QString folder = CommonDialog1.FileName.isEmpty() ? QDir::homePath()
                                                            : QFileInfo(CommonDialog1.FileName).absolutePath();
    const std::optional<QString> chosen =
        platform_.fileDialog(this, {FileDialogMode::Save, folder, QStringLiteral("PDF files|*.pdf")});
    if (!chosen || chosen->isEmpty())
        return;
    const QString path = withPdfSuffix(*chosen);
    // The dialog never asks (the task files' dialogs must not), and it could not
    // know about the ending added above.
    if (QFileInfo::exists(path)
        && platform_.message(this, {QStringLiteral("The file \"%1\" already exists. Do you want to replace it?")
                                        .arg(QDir::toNativeSeparators(path)),
                                    productName(), MessageButtons::OkCancel, MessageIcon::Question})
               != MessageAnswer::Ok)
        return;
    std::unique_ptr<LinePrinter> pdf = platform_.pdfPrinter(path);
    if (!pdf) {
        platform_.message(this, {failureText(QStringLiteral("The list could not be saved as a PDF file."),
                                             QDir::toNativeSeparators(path)),
                                 productName(), MessageButtons::Ok, MessageIcon::Warning});
        return;
    }
    playSteps(page, *pdf);
    if (!pdf->endDoc()) {
        platform_.message(this, {failureText(QStringLiteral("The list could not be saved as a PDF file."), pdf->errorString()),
                                 productName(), MessageButtons::Ok, MessageIcon::Warning});
        return;
    }
    selectLast();
    platform_.message(this, {QStringLiteral("The list was saved as a PDF file:\n") + QDir::toNativeSeparators(path), productName(),
                             MessageButtons::Ok, MessageIcon::Information});
}

} // namespace listora
