#pragma once

#include <QDateTime>
#include <QString>
#include <QUrl>

#include <memory>
#include <optional>

class QAction;
class QMenu;
class QPoint;
class QWidget;

namespace listora {

class DesktopNotifications;

// Everything that waits on a person or on the outside world. The program uses
// QtPlatform; tests use a scripted fake, so no test ever blocks on a dialog.

enum class MessageIcon { None, Question, Information, Warning, Critical };
enum class MessageButtons {
    Ok,
    OkCancel,
    SaveDiscardCancel,  // Save first
    MergeReplaceCancel, // Cancel first, and what Esc gives
    YesNo,
};
// Closing a box any other way than by a button answers Cancel. A box ended
// by the program being asked to end (the session ends) was given no answer:
// None, never a No.
enum class MessageAnswer { Ok, Cancel, Save, Discard, Merge, Replace, Yes, No, None };

struct MessageRequest {
    QString text;
    QString title;
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::None;
};

enum class FileDialogMode { Open, Save };

struct FileDialogRequest {
    FileDialogMode mode = FileDialogMode::Open;
    QString initDir;
    // One description, a vertical bar, one pattern: "Data Files(*.dat)|*.dat".
    QString filter;
};

// A page printed line by line, top to bottom.
class LinePrinter {
public:
    virtual ~LinePrinter() = default;
    virtual void setFontSize(double points) = 0;
    virtual void setBold(bool bold) = 0;
    virtual void printLine(const QString &text) = 0;
    // Releases the document; false when it could not be sent or written.
    virtual bool endDoc() = 0;
    virtual QString errorString() const { return {}; }
};

class Platform {
public:
    virtual ~Platform() = default;

    virtual MessageAnswer message(QWidget *parent, const MessageRequest &request) = 0;
    // The chosen path, or nothing when the dialog was cancelled.
    virtual std::optional<QString> fileDialog(QWidget *parent, const FileDialogRequest &request) = 0;
    // The default printer, or null when none is installed.
    virtual std::unique_ptr<LinePrinter> defaultPrinter() = 0;
    // A printer that writes the page as a PDF file at path.
    virtual std::unique_ptr<LinePrinter> pdfPrinter(const QString &path) = 0;
    // Shows menu at a place on the screen until the user picks an item or leaves it;
    // the item picked, or null.
    virtual QAction *popUpMenu(QMenu &menu, const QPoint &globalPos) = 0;
    virtual void openUrl(const QUrl &url) = 0;
    virtual QDateTime now() const = 0;
    // Messages on the desktop, outside the program's windows.
    virtual DesktopNotifications &notifications() = 0;
    // Ends the program at once: no further questions, no closing steps.
    virtual void quit() = 0;
};

} // namespace listora
