#include "mainwindowrig.h"

namespace listora::test {

namespace {

template <class T> T *named(QWidget *window, const char *name)
{
    T *found = window->findChild<T *>(QLatin1String(name));
    if (!found)
        qFatal("the main window has no %s", name);
    return found;
}

} // namespace

MainControls::MainControls(QWidget *w)
    : Label1(named<QLabel>(w, "Label1")), Label2(named<QLabel>(w, "Label2")), Label4(named<QLabel>(w, "Label4"))
    , Label5(named<QLabel>(w, "Label5")), Label6(named<QLabel>(w, "Label6")), Label7(named<QLabel>(w, "Label7"))
    , Label8(named<QLabel>(w, "Label8")), EntryHint(named<QLabel>(w, "EntryHint"))
    , Label3(named<ClickLabel>(w, "Label3")), Image1(named<ClickLabel>(w, "Image1"))
    , Command1(named<QPushButton>(w, "Command1")), Command2(named<QPushButton>(w, "Command2"))
    , Command3(named<QPushButton>(w, "Command3")), Command4(named<QPushButton>(w, "Command4"))
    , Command5(named<QPushButton>(w, "Command5")), Command6(named<QPushButton>(w, "Command6"))
    , Command7(named<QPushButton>(w, "Command7")), Command8(named<QPushButton>(w, "Command8"))
    , Command9(named<QPushButton>(w, "Command9")), Command10(named<QPushButton>(w, "Command10"))
    , Command11(named<QPushButton>(w, "Command11")), Command12(named<QPushButton>(w, "Command12"))
    , Command13(named<QPushButton>(w, "Command13")), Command14(named<QPushButton>(w, "Command14"))
    , Command15(named<QPushButton>(w, "Command15")), Text1(named<EntryLineEdit>(w, "Text1"))
    , DTPicker1(named<QDateEdit>(w, "DTPicker1")), ProgressBar1(named<QProgressBar>(w, "ProgressBar1"))
    , ProgressBar2(named<QProgressBar>(w, "ProgressBar2")), Picture1(named<Panel>(w, "Picture1"))
    , Picture2(named<QWidget>(w, "Picture2")), Picture3(named<QWidget>(w, "Picture3"))
    , Line1(named<QFrame>(w, "Line1")), Line2(named<QFrame>(w, "Line2"))
    , List{named<TaskListView>(w, "List(0)"), named<TaskListView>(w, "List(1)")}, Timer1(named<QTimer>(w, "Timer1"))
{
}

} // namespace listora::test
