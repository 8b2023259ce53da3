#pragma once

#include "platform/platform.h"

#include <QObject>

namespace listora {

class QtPlatform final : public Platform {
public:
    MessageAnswer message(QWidget *parent, const MessageRequest &request) override;
    std::optional<QString> fileDialog(QWidget *parent, const FileDialogRequest &request) override;
    std::unique_ptr<LinePrinter> defaultPrinter() override;
    std::unique_ptr<LinePrinter> pdfPrinter(const QString &path) override;
    QAction *popUpMenu(QMenu &menu, const QPoint &globalPos) override;
    void openUrl(const QUrl &url) override;
    QDateTime now() const override;
    DesktopNotifications &notifications() override;
    void quit() override;

private:
    DesktopNotifications *notifications_ = nullptr;
    QObject owner_;
};

} // namespace listora
