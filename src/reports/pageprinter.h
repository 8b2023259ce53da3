#pragma once

#include "platform/platform.h"

#include <QFont>
#include <QPainter>

#include <memory>

class QPrinter;
class QPrinterInfo;

namespace listora {

// Draws the lines on a QPrinter with QPainter, top to bottom, starting a new
// page when the current one is full. Lines wider than the page wrap rather than
// run off its edge. The painter is opened by the first line, so a printer that
// cannot start is reported by endDoc.
class PagePrinter final : public LinePrinter {
public:
    explicit PagePrinter(std::unique_ptr<QPrinter> printer);
    ~PagePrinter() override;

    void setFontSize(double points) override;
    void setBold(bool bold) override;
    void printLine(const QString &text) override;
    bool endDoc() override;
    QString errorString() const override { return error_; }

    int pageCount() const { return pages_; }

private:
    bool begin();

    std::unique_ptr<QPrinter> printer_;
    QPainter painter_;
    QFont font_;
    double y_ = 0;
    int pages_ = 0;
    bool started_ = false;
    bool failed_ = false;
    bool ended_ = false;
    QString error_;
};

// The system's default printer, or null when none is installed.
std::unique_ptr<LinePrinter> makeDefaultPrinter();
std::unique_ptr<LinePrinter> makePrinter(const QPrinterInfo &info);
// The same page written as a PDF file at path. The page is drawn into a
// scratch file and replaces an existing file only once it is complete, so a
// failure leaves that file as it was.
std::unique_ptr<LinePrinter> makePdfPrinter(const QString &path);

} // namespace listora
