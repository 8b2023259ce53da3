#include "reports/pageprinter.h"

#include "texts/texts.h"
#include "storage/taskfile.h"

#include <QDir>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <QTextLayout>

namespace listora {

namespace {

// Keeps the page off the sheet's edges where the printer allows it.
void setMargins(QPrinter &printer)
{
    printer.setPageMargins(QMarginsF(15, 10, 15, 10), QPageLayout::Millimeter);
}

} // namespace

PagePrinter::PagePrinter(std::unique_ptr<QPrinter> printer) : printer_(std::move(printer)) {}

PagePrinter::~PagePrinter()
{
    // A page never ended is abandoned, not sent half drawn.
    if (painter_.isActive()) {
        printer_->abort();
        painter_.end();
    }
}

bool PagePrinter::begin()
{
    if (started_)
        return !failed_;
    started_ = true;
    if (!painter_.begin(printer_.get())) {
        failed_ = true;
        error_ = printer_->outputFileName().isEmpty()
            ? QStringLiteral("The printer \"%1\" could not be started.").arg(printer_->printerName())
            : QStringLiteral("The file \"%1\" could not be written.").arg(QDir::toNativeSeparators(printer_->outputFileName()));
        return false;
    }
    // Until the page sets a size, lines use the printer's own default font.
    font_ = painter_.font();
    pages_ = 1;
    return true;
}

void PagePrinter::setFontSize(double points)
{
    if (points > 0)
        font_.setPointSizeF(points);
}

void PagePrinter::setBold(bool bold)
{
    font_.setBold(bold);
}

void PagePrinter::printLine(const QString &text)
{
    if (ended_ || !begin())
        return;
    const QRectF page = printer_->pageRect(QPrinter::DevicePixel);
    const double width = page.width();
    const double height = page.height();

    QTextLayout layout(text, font_, printer_.get());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.setCacheEnabled(true);
    layout.beginLayout();
    QList<QTextLine> lines;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        lines.append(line);
    }
    layout.endLayout();

    if (lines.isEmpty()) { // an empty text still takes a line
        y_ += QFontMetricsF(font_, printer_.get()).lineSpacing();
        return;
    }
    for (QTextLine &line : lines) {
        const double lineHeight = line.height();
        if (y_ > 0 && y_ + lineHeight > height) {
            if (!printer_->newPage()) {
                failed_ = true;
                error_ = QStringLiteral("A new page could not be started.");
                return;
            }
            ++pages_;
            y_ = 0;
        }
        line.draw(&painter_, QPointF(0, y_ - line.y()));
        y_ += lineHeight;
    }
}

bool PagePrinter::endDoc()
{
    if (ended_)
        return false;
    ended_ = true;
    if (!begin())
        return false;
    const bool closed = painter_.end();
    if (failed_)
        return false;
    if (!closed || printer_->printerState() == QPrinter::Error || printer_->printerState() == QPrinter::Aborted) {
        error_ = QStringLiteral("The page could not be sent.");
        return false;
    }
    return true;
}

std::unique_ptr<LinePrinter> makePrinter(const QPrinterInfo &info)
{
    auto printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    printer->setDocName(productName());
    setMargins(*printer);
    return std::make_unique<PagePrinter>(std::move(printer));
}

std::unique_ptr<LinePrinter> makeDefaultPrinter()
{
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return nullptr;
    return makePrinter(info);
}

namespace {

// QPrinter writes its file in place as it goes; the page is drawn into a
// scratch folder and then saved the way task files are.
class PdfFilePrinter final : public LinePrinter {
public:
    explicit PdfFilePrinter(const QString &path) : path_(path)
    {
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(scratch_.isValid() ? scratch_.filePath(QStringLiteral("page.pdf")) : QString());
        printer->setDocName(productName());
        printer->setCreator(productName() + QLatin1Char(' ') + versionText());
        setMargins(*printer);
        page_ = std::make_unique<PagePrinter>(std::move(printer));
    }

    void setFontSize(double points) override { page_->setFontSize(points); }
    void setBold(bool bold) override { page_->setBold(bold); }
    void printLine(const QString &text) override { page_->printLine(text); }

    bool endDoc() override
    {
        if (ended_)
            return false;
        ended_ = true;
        if (!scratch_.isValid())
            return fail(scratch_.errorString());
        if (!page_->endDoc())
            return fail({}); // its own message names the scratch file, no business of the user
        const LoadResult drawn = loadFileBytes(scratch_.filePath(QStringLiteral("page.pdf")), kMaxTaskFileBytes);
        if (!drawn.ok)
            return fail(drawn.error);
        const SaveResult saved = saveBytes(path_, drawn.bytes);
        if (!saved)
            return fail(saved.error);
        return true;
    }
    QString errorString() const override { return error_; }

private:
    bool fail(const QString &reason)
    {
        error_ = QStringLiteral("The file \"%1\" could not be written").arg(QDir::toNativeSeparators(path_));
        error_ += reason.isEmpty() ? QStringLiteral(".") : QStringLiteral(": ") + reason + QLatin1Char('.');
        error_ += QStringLiteral(" Whatever was on disk is left as it was.");
        return false;
    }

    QString path_;
    QTemporaryDir scratch_;
    std::unique_ptr<PagePrinter> page_;
    bool ended_ = false;
    QString error_;
};

} // namespace

std::unique_ptr<LinePrinter> makePdfPrinter(const QString &path)
{
    return std::make_unique<PdfFilePrinter>(path);
}

} // namespace listora
