#pragma once

#include "app/icons.h"
#include "tasks/capacity.h"

#include <QDate>
#include <QIcon>
#include <QLabel>
#include <QPointer>
#include <QWidget>

#include <array>

class QDateEdit;
class QFrame;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTimer;

namespace listora {

class Platform;
class Windows;

// A label that reports clicks, for the clock label and the About picture.
// Given keyboard focus, Space and Enter click it too.
class ClickLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
signals:
    void clicked();
protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
};

// A panel that reports mouse moves over its own background only, not over its
// children (whose unhandled moves reach it too).
class Panel : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;
signals:
    void bareMouseMove();
protected:
    void mouseMoveEvent(QMouseEvent *event) override;
};

// The shared open and save dialog: the settings of each use go to the platform,
// the path chosen last stays here.
struct CommonDialog {
    QString FileName;
};

// Twips to device-independent pixels.
constexpr int tw(int twips) { return (twips + 7) / 15; }

class Form1 : public QWidget {
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

    // Controls, by their design names.
    std::array<QListWidget *, 2> List{};
    Panel *Picture1 = nullptr;
    QWidget *Picture2 = nullptr;
    QWidget *Picture3 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    ClickLabel *Label3 = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *Label5 = nullptr;
    QLabel *Label6 = nullptr;
    QLabel *Label7 = nullptr;
    QLabel *Label8 = nullptr;
    ClickLabel *Image1 = nullptr;
    QProgressBar *ProgressBar1 = nullptr;
    QProgressBar *ProgressBar2 = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *Command2 = nullptr;
    QPushButton *Command3 = nullptr;
    QPushButton *Command4 = nullptr;
    QPushButton *Command5 = nullptr;
    QPushButton *Command6 = nullptr;
    QPushButton *Command7 = nullptr;
    QPushButton *Command8 = nullptr;
    QPushButton *Command9 = nullptr;
    QPushButton *Command10 = nullptr;
    QPushButton *Command11 = nullptr;
    QPushButton *Command12 = nullptr;
    QPushButton *Command13 = nullptr;
    QPushButton *Command14 = nullptr;
    QPushButton *Command15 = nullptr;
    QLineEdit *Text1 = nullptr;
    QDateEdit *DTPicker1 = nullptr;
    QTimer *Timer1 = nullptr;
    QFrame *Line1 = nullptr;
    QFrame *Line2 = nullptr;
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

protected:
    void closeEvent(QCloseEvent *event) override; // Form_QueryUnload
    void mouseMoveEvent(QMouseEvent *event) override;
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Form_Load();
    void buildLayout();
    void setUpKeyboard();
    void setUpTabOrder();
    // Takes a drag or drop of one task file, from the window or any child.
    bool handleFileDrag(QEvent *event);
    void addHover(QWidget *control, const QString &text);
    QPushButton *pictureButton(QWidget *parent, const char *name, icons::Glyph icon, int x, int y, int w, int h);
    void addEntry(int list, bool appointment);
    void removeSelected(int list);
    // The entry box, or the list on display while a refusal keeps the box disabled.
    void focusEntryOrList();
    // Hides what the second list's panel covers while it is shown, and shows it again after.
    void coverUnderPicture1(bool covered);
    // Shrinks the clock's font, never below what fits, to keep the whole time in view.
    void fitLabel3();
    bool confirmQuit(const QString &question);

    Windows &windows_;
    Platform &platform_;
    QIcon image1Icon_;
    QList<QPointer<QWidget>> coveredByPicture1_;
    bool quitting_ = false;
};

} // namespace listora
