#pragma once

#include "widgets/windows.h"

#include <QHash>
#include <QIcon>
#include <QPointer>
#include <QWidget>

#include <array>
#include <memory>
#include <optional>
#include <vector>

class QAction;
class QMenu;

namespace Ui {
class MainWindow;
}

namespace listora {

class DueWatch;
class FileCommands;
class FindBox;
class HoverHelp;
class Platform;
class RefusalHint;
class StatusDisplay;
class TaskDocument;
class TaskListView;
struct ListPlace;

// What the user can do to the lists and their file: one action each, which the
// buttons, the keys and the lists' menu all trigger.
enum class Command {
    Open,
    Save,
    Print,
    Report,
    FileName,
    Backup,
    SwitchList,
    Find,
    AddTask,
    AddAppointment,
    Remove,
    RemoveSeries,
    MoveToOther,
    Edit,
    MoveUp,
    MoveDown,
    Undo,
    Redo,
    Exit,
};
inline constexpr int kCommandCount = int(Command::Exit) + 1;

// The main window: both lists, the entry box, the file and report
// commands, the clock and the title bar's hover help. It shows a TaskDocument
// and turns what the user does into its operations.
class MainWindow : public QWidget, public MainWindowLink {
    Q_OBJECT
public:
    MainWindow(Windows &windows, Platform &platform, QWidget *parent = nullptr);
    ~MainWindow() override;

    TaskDocument &document() { return *document_; }
    const TaskDocument &document() const { return *document_; }
    // Made at first use: start-up paints before any command can be given.
    QAction *action(Command command);
    // Appends a task file to both lists, as the open command does after its dialog.
    void openTaskFile(const QString &path);
    // The session ends: nothing is asked, unsaved lists are kept for the next start.
    void endSession();
    // Offers the lists kept at the end of an earlier session.
    void offerKeptLists();

    // The caption; written only when it changes, so hover storms stay cheap.
    void setTitle(const QString &title) override;
    QString standardTitle() const;
    void showOwnIconInAboutPicture() override;
    void setAboutPicture(const QIcon &icon);
    QWidget *widget() override { return this; }
    // The About picture, and the icon it shows now.
    QIcon aboutPictureIcon() const { return aboutPictureIcon_; }

protected:
    // The one way out: the close box, Alt+F4 and the Exit button all ask here.
    void closeEvent(QCloseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Start-up and the window around the lists (mainwindow.cpp).
    void setUpControls();
    void setUpWindowKeys();
    QDate today() const;
    void tick();
    bool handleFileDrag(QEvent *event);
    void setPanelFonts();

    // The commands (mainwindow_commands.cpp).
    void createActions();
    void trigger(Command command);
    void updateActions();
    int shown() const;
    TaskListView *list(int i) const;
    // Every command that changes the lists first ends an open edit, as leaving the editor does.
    void endEditing();
    void focusEntryOrList();
    void addEntry(bool appointment);
    void removeSelected();
    void removeSeries();
    // The list's "Repeat" choices for the entry selected, checked as it repeats now.
    void addRepeatMenu(QMenu &menu);
    void moveToOther();
    void reorder(int by);
    void afterHistoryStep(const std::optional<ListPlace> &place);
    void switchLists();
    void print();
    void exit();
    void showListMenu(const QPoint &globalPos);

    std::unique_ptr<Ui::MainWindow> m_ui;
    std::array<TaskListView *, 2> lists_{};
    Windows &windows_;
    Platform &platform_;
    TaskDocument *document_ = nullptr;
    StatusDisplay *status_ = nullptr;
    FileCommands *files_ = nullptr;
    DueWatch *dueWatch_ = nullptr;
    FindBox *findBox_ = nullptr; // made at its first use
    std::array<QAction *, kCommandCount> actions_{};
    QIcon aboutPictureIcon_;
    HoverHelp *hover_ = nullptr;
    std::unique_ptr<RefusalHint> hint_;
    // Set once the program is to end without asking (a question already
    // answered, or the session ending).
    bool quitting_ = false;
    // What closing asks while the lists are saved: the Exit button asks in its own words.
    QString quitQuestion_;
    bool windowKeysReady_ = false;
};

} // namespace listora
