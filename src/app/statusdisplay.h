#pragma once

#include "app/capacitydisplay.h"

#include <QObject>
#include <QString>

#include <array>

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace listora {

class TaskDocument;
struct DocumentEvent;

// What the main window shows of its document: the file status, each list's
// counter, free places and fill, whether the entry box takes typing, which
// list is on display, and the report and file-name panels. It follows the
// document's steps through one table of the texts each step shows, quirks
// included; the window's commands only say which list to show and which
// panel to open.
class StatusDisplay : public QObject {
    Q_OBJECT
public:
    struct Controls {
        QLabel *fileStatus = nullptr;
        std::array<CapacityDisplay, 2> lists;
        QLineEdit *entryBox = nullptr;
        QWidget *secondListPanel = nullptr;
        QPushButton *switchButton = nullptr;
        std::array<std::array<QWidget *, 3>, 2> listButtons{}; // each list's add task, add appointment, remove
        QWidget *reportPanel = nullptr;
        QLabel *report = nullptr;
        QWidget *fileNamePanel = nullptr;
        QLabel *fileName = nullptr;
        QWidget *backupButton = nullptr;
    };

    StatusDisplay(TaskDocument &document, const Controls &controls, QObject *parent = nullptr);

    // 0: the daily list, 1: the backlog.
    int shownList() const { return shown_; }
    // A full list refused what was typed: the box keeps it, and takes no
    // typing, until a place is freed.
    bool entryRefused() const { return entryRefused_; }
    void showList(int list);
    // The status report, and the file's name with the backup button; each shown or hidden again.
    void toggleReport();
    void toggleFileName();

private:
    void follow(const DocumentEvent &event);

    TaskDocument &document_;
    Controls c_;
    void setEntryRefused(bool refused);

    int shown_ = 0;
    bool entryRefused_ = false;
    QString savedText_;                  // what the status says when an undo comes back to the saved lists
    bool reportOpenedForBackup_ = false; // the report's panel, shown for the backup button in it
};

} // namespace listora
