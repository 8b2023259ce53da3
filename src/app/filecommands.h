#pragma once

#include <QObject>
#include <QString>

class QWidget;

namespace listora {

class Platform;
class TaskDocument;
struct SaveOutcome;

// The file commands as the user meets them: the dialogs, the reminder before
// saving, the warnings, the question when another program changed the file,
// the questions before quitting, and the unsaved lists kept at the end of a
// session and offered at the next start. The document does the work.
class FileCommands : public QObject {
    Q_OBJECT
public:
    FileCommands(TaskDocument &document, Platform &platform, QWidget *window);

    void open();
    // The file appended to the lists, as after the open dialog.
    void openFile(const QString &path);
    bool save();
    void backUp();
    // With unsaved lists, whether to save them first (and whether that worked);
    // else question as it stands. True when the program may end.
    bool mayQuit(const QString &question);
    // The session is ending: nothing is asked, unsaved lists are kept, and no
    // question is asked any more.
    void keepUnsavedLists();
    // Lists kept at the end of an earlier session, each offered until it is
    // answered Yes or No; those that cannot be read back are told of once.
    void offerKeptLists();

signals:
    // A line for the user about what a merge took from the other program.
    void notice(const QString &line);

private:
    // Writes after asking, when another program changed the target since it
    // was read or written here; false when nothing was written.
    bool write(const QString &picked, bool backup);
    void warn(const QString &text);

    TaskDocument &document_;
    Platform &platform_;
    QWidget *window_;
    bool ending_ = false;
};

} // namespace listora
