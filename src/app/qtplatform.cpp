#include "app/qtplatform.h"

#include "app/dialoghistory.h"
#include "platform/notifications.h"
#include "reports/pageprinter.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>

namespace listora {

MessageAnswer QtPlatform::message(QWidget *parent, const MessageRequest &request)
{
    QMessageBox box(parent);
    box.setTextFormat(Qt::PlainText); // messages quote file names, which may hold markup characters
    box.setText(request.text);
    box.setWindowTitle(request.title);
    switch (request.icon) {
    case MessageIcon::None: box.setIcon(QMessageBox::NoIcon); break;
    case MessageIcon::Question: box.setIcon(QMessageBox::Question); break;
    case MessageIcon::Information: box.setIcon(QMessageBox::Information); break;
    case MessageIcon::Warning: box.setIcon(QMessageBox::Warning); break;
    case MessageIcon::Critical: box.setIcon(QMessageBox::Critical); break;
    }
    QHash<QAbstractButton *, MessageAnswer> answers;
    const auto add = [&](QMessageBox::StandardButton button, MessageAnswer answer) {
        answers.insert(box.addButton(button), answer);
    };
    switch (request.buttons) {
    case MessageButtons::Ok:
        add(QMessageBox::Ok, MessageAnswer::Ok);
        break;
    case MessageButtons::OkCancel:
        add(QMessageBox::Ok, MessageAnswer::Ok);
        add(QMessageBox::Cancel, MessageAnswer::Cancel);
        box.setDefaultButton(QMessageBox::Ok);
        break;
    case MessageButtons::SaveDiscardCancel:
        add(QMessageBox::Save, MessageAnswer::Save);
        add(QMessageBox::Discard, MessageAnswer::Discard);
        add(QMessageBox::Cancel, MessageAnswer::Cancel);
        box.setDefaultButton(QMessageBox::Save);
        break;
    case MessageButtons::MergeReplaceCancel: {
        answers.insert(box.addButton(QStringLiteral("&Merge"), QMessageBox::AcceptRole), MessageAnswer::Merge);
        answers.insert(box.addButton(QStringLiteral("&Replace"), QMessageBox::DestructiveRole), MessageAnswer::Replace);
        QPushButton *cancel = box.addButton(QMessageBox::Cancel);
        answers.insert(cancel, MessageAnswer::Cancel);
        box.setDefaultButton(cancel);
        box.setEscapeButton(cancel);
        break;
    }
    case MessageButtons::YesNo:
        add(QMessageBox::Yes, MessageAnswer::Yes);
        add(QMessageBox::No, MessageAnswer::No);
        box.setDefaultButton(QMessageBox::Yes);
        break;
    }
    box.exec();
    // Esc and the close box press the escape button: no button at all means the program is ending.
    return answers.value(box.clickedButton(), MessageAnswer::None);
}

std::optional<QString> QtPlatform::fileDialog(QWidget *parent, const FileDialogRequest &request)
{
    // "Description|*.pattern" becomes Qt's "Description (*.pattern)".
    const QString description = request.filter.section(QLatin1Char('|'), 0, 0);
    const QString pattern = request.filter.section(QLatin1Char('|'), 1, 1);
    // "Data Files(*.dat)" already names its pattern the way Qt reads it.
    const QString filter = description.endsWith(QLatin1Char('(') + pattern + QLatin1Char(')'))
        ? description
        : description + QStringLiteral(" (") + pattern + QLatin1Char(')');
    // Outlives the dialog, which stores its history as it goes.
    DialogHistoryGuard history;
    QFileDialog dialog(parent, QString(), request.initDir, filter);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setOption(QFileDialog::ReadOnly, false);
    if (request.mode == FileDialogMode::Open) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

std::unique_ptr<LinePrinter> QtPlatform::defaultPrinter()
{
    return makeDefaultPrinter();
}

std::unique_ptr<LinePrinter> QtPlatform::pdfPrinter(const QString &path)
{
    return makePdfPrinter(path);
}

QAction *QtPlatform::popUpMenu(QMenu &menu, const QPoint &globalPos)
{
    return menu.exec(globalPos);
}

void QtPlatform::openUrl(const QUrl &url)
{
    QDesktopServices::openUrl(url);
}

DesktopNotifications &QtPlatform::notifications()
{
    if (!notifications_)
        notifications_ = makeDesktopNotifications(&owner_);
    return *notifications_;
}

QDateTime QtPlatform::now() const
{
    return QDateTime::currentDateTime();
}

void QtPlatform::quit()
{
    QApplication::exit(0);
}

} // namespace listora
