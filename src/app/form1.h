#pragma once

#include "app/controls.h"
#include "storage/taskfile.h"
#include "tasks/capacity.h"
#include "ui_form1.h"

#include <QDate>
#include <QHash>
#include <QIcon>
#include <QPointer>
#include <QWidget>

#include <array>
#include <vector>
#include <optional>

class QTimer;

namespace listora {

class Platform;
class TaskHistory;
class TaskListModel;
class TaskListView;
struct ListPlace;
class Windows;

// The shared open and save dialog: the settings of each use go to the platform,
// the path chosen last stays here.
struct CommonDialog {
    QString FileName;
};

// The main window. Its controls and their places are in form1.ui; this class
// wires them to the lists and holds the handlers.
class Form1 : public QWidget, public Ui::Form1 {
    Q_OBJECT
public:
    Form1(Windows &windows, Platform &platform, QWidget *parent = nullptr);
    ~Form1() override;

    // The caption; written only when it changes, so hover storms stay cheap.
    void setTitle(const QString &title);
    QString standardTitle() const;
    // The About picture, and the icon it shows now.
    void setImage1Picture(const QIcon &icon);
    QIcon image1Picture() const { return image1Icon_; }
    QDate today() const;

    // Appends the task file at path to both lists, as the open button does after
    // its dialog; the path becomes the remembered one.
    void openTaskFile(const QString &path);

    void refreshCapacityDisplay(int list, const QString &suffix = kTasksSuffix, ZeroRule rule = ZeroRule::ExactZero);
    bool secondListShown() const;

    // The two lists on screen (List(0), List(1)) and the entries they show.
    std::array<TaskListView *, 2> List{};
    std::array<TaskListModel *, 2> Tasks{};
    // Every change to the lists, for undo and redo.
    TaskHistory *History = nullptr;
    QTimer *Timer1 = nullptr;
    CommonDialog CommonDialog1;

public slots:
    void Form_MouseMove();
    void Image1_MouseMove();
    void Image1_Click();
    void Label3_Click();
    void Text1_MouseMove();
    void Timer1_Timer();

    void Command1_Click();  // open
    void Command2_Click();  // save
    void Command3_Click();  // add a task to the first list
    void Command4_Click();  // remove from the first list
    void Command5_Click();  // add an appointment to the first list
    void Command6_Click();  // exit
    void Command7_Click();  // print
    void Command8_Click();  // switch lists
    void Command9_Click();  // add a task to the second list
    void Command10_Click(); // add an appointment to the second list
    void Command11_Click(); // remove from the second list
    void Command13_Click(); // status report
    void Command14_Click(); // file name and backup panel
    void Command15_Click(); // backup
    void List_Click(int index);
    void List_DblClick(int index);

    // Editing the lists beyond the buttons: each change can be undone.
    void Undo();
    void Redo();
    void EditSelected(int list);          // F2: the editor over the selected entry
    void MoveWithinList(int list, int by); // Alt+Up, Alt+Down
    void ShowListMenu(int list, const QPoint &globalPos);

protected:
    void closeEvent(QCloseEvent *event) override; // Form_QueryUnload
    void mouseMoveEvent(QMouseEvent *event) override;
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Form_Load();
    void setUpControls();
    void setUpHoverHelp();
    std::vector<std::pair<QWidget *, QString>> hoverTexts() const;
    void nameIconButtons();
    void setUpKeyboard();
    void setUpTabOrder();
    // Takes a drag or drop of one task file, from the window or any child.
    bool handleFileDrag(QEvent *event);
    void addHover(QWidget *control, const QString &text);
    void setUpEditing();
    void setUpListKeys(int list);
    void setUpWindowKeys();
    void setUpUndoKeys();
    void addEntry(int list, bool appointment);
    // Shows the list a step of the history left the user in, as the list buttons would.
    void afterHistoryStep(const std::optional<ListPlace> &place);
    // Every command that changes the lists first ends an open edit, as leaving the editor does.
    void endEditing();
    void removeSelected(int list);
    // The entry box, or the list on display while a refusal keeps the box disabled.
    void focusEntryOrList();
    // Hides what the second list's panel covers while it is shown, and shows it again after.
    void coverUnderPicture1(bool covered);
    // Shrinks the clock's font, never below what fits, to keep the whole time in view.
    void fitLabel3();
    bool confirmQuit(const QString &question);
    void showEntryHint(const QString &character);
    void hideEntryHint();

    Windows &windows_;
    Platform &platform_;
    QIcon image1Icon_;
    QList<QPointer<QWidget>> coveredByPicture1_;
    bool quitting_ = false;
    bool windowKeysReady_ = false;
    bool hoverReady_ = false;
    QHash<const QObject *, QString> hoverTexts_; // the title each control shows while the pointer is over it
    bool panelFontsSet_ = false;
    QString text1Description_; // what the entry box's description was before a hint took it
    // Lines of every file opened since start that are saved back as their own bytes.
    KeptLines keptLines_;
};

} // namespace listora
