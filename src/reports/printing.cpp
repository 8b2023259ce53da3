// The printed list: the question, the page, and a PDF file where there is no printer.
#include "reports/printing.h"

#include "platform/platform.h"
#include "texts/texts.h"
#include "reports/report.h"

#include <QDir>
#include <QFileInfo>

namespace listora {

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

bool printFirstList(Platform &platform, QWidget *parent, const QStringList &entries, const QString &taskFile,
                    const QDate &today)
{
    if (platform.message(parent, {QStringLiteral("Do you want to print the list?"), QStringLiteral("Print Dialog"),
                                 MessageButtons::OkCancel, MessageIcon::Question})
        != MessageAnswer::Ok)
        return false;

    const QList<PrintStep> page =
        printedList(entries, versionText(), shortDateText(today), QDir::toNativeSeparators(taskFile));

    if (std::unique_ptr<LinePrinter> printer = platform.defaultPrinter()) {
        playSteps(page, *printer);
        if (!printer->endDoc()) {
            platform.message(parent, {failureText(QStringLiteral("The list could not be printed."), printer->errorString()),
                                     productName(), MessageButtons::Ok, MessageIcon::Warning});
            return false;
        }
        platform.message(parent, {QStringLiteral("Sended to the Printer."), productName(), MessageButtons::Ok,
                                  MessageIcon::None});
        return true;
    }

    // No printer at all: the same page can still be kept as a PDF file.
    if (platform.message(parent, {QStringLiteral("No printer is installed. Do you want to save the list as a PDF file instead?"),
                                 productName(), MessageButtons::OkCancel, MessageIcon::Question})
        != MessageAnswer::Ok)
        return false;
    const QString folder = taskFile.isEmpty() ? QDir::homePath() : QFileInfo(taskFile).absolutePath();
    const std::optional<QString> chosen =
        platform.fileDialog(parent, {FileDialogMode::Save, folder, QStringLiteral("PDF files|*.pdf")});
    if (!chosen || chosen->isEmpty())
        return false;
    const QString path = withPdfSuffix(*chosen);
    // The dialog never asks (the task files' dialogs must not), and it could not
    // know about the ending added above.
    if (QFileInfo::exists(path)
        && platform.message(parent, {QStringLiteral("The file \"%1\" already exists. Do you want to replace it?")
                                        .arg(QDir::toNativeSeparators(path)),
                                    productName(), MessageButtons::OkCancel, MessageIcon::Question})
               != MessageAnswer::Ok)
        return false;
    std::unique_ptr<LinePrinter> pdf = platform.pdfPrinter(path);
    if (!pdf) {
        platform.message(parent, {failureText(QStringLiteral("The list could not be saved as a PDF file."),
                                             QDir::toNativeSeparators(path)),
                                 productName(), MessageButtons::Ok, MessageIcon::Warning});
        return false;
    }
    playSteps(page, *pdf);
    if (!pdf->endDoc()) {
        platform.message(parent, {failureText(QStringLiteral("The list could not be saved as a PDF file."), pdf->errorString()),
                                 productName(), MessageButtons::Ok, MessageIcon::Warning});
        return false;
    }
    platform.message(parent, {QStringLiteral("The list was saved as a PDF file:\n") + QDir::toNativeSeparators(path),
                              productName(), MessageButtons::Ok, MessageIcon::Information});
    return true;
}

} // namespace listora
