#include "app/form1.h"

#include "about/form2.h"
#include "about/frmabout.h"
#include "app/fonts.h"
#include "app/icons.h"
#include "app/platform.h"
#include "app/shownchildren.h"
#include "app/texts.h"
#include "app/windows.h"
#include "calendar/form3.h"
#include "tasks/entrytext.h"
#include "tasks/entryvalidator.h"
#include "tasks/rowmetrics.h"
#include "tasks/taskhistory.h"
#include "tasks/tasklistmodel.h"
#include "tasks/tasklistview.h"

#include <QCloseEvent>
#include <QMouseEvent>
#include <QShortcut>
#include <QTimer>

#include <algorithm>
#include <utility>

namespace listora {

Form1::Form1(Windows &windows, Platform &platform, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                          | Qt::WindowCloseButtonHint)
    , windows_(windows)
    , platform_(platform)
{
    setObjectName(QStringLiteral("Form1"));
    listShownChildrenOnly(this);
    windows_.setMainWindow(this);
    setWindowIcon(icons::icon(icons::Glyph::Application));
    setupUi(this);
    setMouseTracking(true);
    setAcceptDrops(true);
    setUpControls();
    nameIconButtons();
    setUpKeyboard();
    setUpEditing();
    // Typing starts in the entry box.
    Text1->setFocus(Qt::OtherFocusReason);
    Form_Load();
}

Form1::~Form1()
{
    windows_.setMainWindow(nullptr);
}

void Form1::setUpControls()
{
    // Names a form cannot give its members.
    List = {List0, List1};
    for (int i = 0; i < 2; ++i) {
        Tasks[i] = new TaskListModel(i == 0 ? kFirstListCapacity : kSecondListCapacity, this);
        List[i]->setTaskModel(Tasks[i]);
        List[i]->setObjectName(QStringLiteral("List(%1)").arg(i));
        connect(List[i], &QAbstractItemView::clicked, this, [this, i] { List_Click(i); });
        connect(List[i], &QAbstractItemView::doubleClicked, this, [this, i] { List_DblClick(i); });
    }
    History = new TaskHistory(Tasks, this);
    listShownChildrenOnly(Picture1);

    // The design's face comes from what is installed, and its sizes are not all whole points.
    // Those of the second list's panel wait for it to be shown.
    const std::pair<QWidget *, QFont> fonts[] = {
        {List0, msSansSerif(12, true)},     {Text1, msSansSerif(12, true)},    {DTPicker1, msSansSerif(12, true)},
        {Label3, msSansSerif(18, true)},    {Label1, msSansSerif(9.75, true)}, {Label2, msSansSerif(9.75, true)},
        {Label4, msSansSerif(9.75, true)},
    };
    for (const auto &[control, font] : fonts)
        control->setFont(font);

    // The second list's panel, its inner panels and its buttons wait to be asked for;
    // the hint stands only while a character was refused.
    for (QWidget *hidden : std::initializer_list<QWidget *>{Picture1, Picture2, Picture3, Command15, Command9, Command10,
                                                             Command11, EntryHint})
        hidden->hide();
    // A line is drawn on the window, not a control: the pointer over it is over the bare window.
    Line1->setAttribute(Qt::WA_TransparentForMouseEvents);
    Line2->setAttribute(Qt::WA_TransparentForMouseEvents);
    setImage1Picture(windowIcon());

    Text1->setValidator(new EntryValidator([this](const QString &c) { showEntryHint(c); }, Text1));
    keepLettersWhole(Text1);
    if (const QString format = QLocale::system().dateFormat(QLocale::ShortFormat); DTPicker1->displayFormat() != format)
        DTPicker1->setDisplayFormat(format);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &Form1::Timer1_Timer);
    Timer1->start();

    connect(Image1, &ClickLabel::clicked, this, &Form1::Image1_Click);
    connect(Label3, &ClickLabel::clicked, this, &Form1::Label3_Click);
    const std::pair<QPushButton *, void (Form1::*)()> clicks[] = {
        {Command1, &Form1::Command1_Click},   {Command2, &Form1::Command2_Click},   {Command3, &Form1::Command3_Click},
        {Command4, &Form1::Command4_Click},   {Command5, &Form1::Command5_Click},   {Command6, &Form1::Command6_Click},
        {Command7, &Form1::Command7_Click},   {Command8, &Form1::Command8_Click},   {Command9, &Form1::Command9_Click},
        {Command10, &Form1::Command10_Click}, {Command11, &Form1::Command11_Click}, {Command13, &Form1::Command13_Click},
        {Command14, &Form1::Command14_Click}, {Command15, &Form1::Command15_Click},
    };
    for (const auto &[button, handler] : clicks)
        connect(button, &QPushButton::clicked, this, handler);
}

void Form1::addHover(QWidget *control, const QString &text)
{
    // One filter, the window's own, for all of them: a window of hover texts starts quicker so.
    control->setMouseTracking(true);
    control->installEventFilter(this);
    hoverTexts_.insert(control, text);
}

// The hover help of the controls that have one.
std::vector<std::pair<QWidget *, QString>> Form1::hoverTexts() const
{
    const std::pair<QWidget *, const char *> hovers[] = {
        {Command1, "Open a File"},
        {Command2, "Save / Save as..."},
        {Command3, "Add a Task"},
        {Command9, "Add a Task"},
        {Command5, "Add an appointment to the list"},
        {Command10, "Add an appointment to the list"},
        {Command4, "Remove the selected Task or Appointment from the list"},
        {Command11, "Remove the selected Task or Appointment from the list"},
        {Command6, "Exit the program , remember to save your work"},
        {Command7, "Print the list"},
        {Command8, "Navigate tru both lists of tasks"},
        {Command13, "See a Complete Report of all tasks"},
        {Command14, "See the Name and Path of the open file // Make a Backup Copy of the open file."},
        {Label3, "Show Calendar"},
        {ProgressBar1, "50 Tasks max in list 1 and 300 hundred in list 2."},
        {List0->viewport(), "Double click to pass the task to the other list"},
        {List1->viewport(), "Double click to pass the task to the other list"},
    };
    std::vector<std::pair<QWidget *, QString>> texts;
    texts.reserve(std::size(hovers));
    for (const auto &[control, text] : hovers)
        texts.emplace_back(control, QString::fromUtf8(text));
    return texts;
}

void Form1::nameIconButtons()
{
    // The title bar is the hover help; screen readers get the same text.
    for (const auto &[control, text] : hoverTexts())
        if (auto *button = qobject_cast<QPushButton *>(control); button && button->text().isEmpty())
            button->setAccessibleName(text);
}

// Made when the pointer first enters the window: until then no control can be
// hovered, and a watched control costs every one of its events a detour.
void Form1::setUpHoverHelp()
{
    hoverReady_ = true;
    for (const auto &[control, text] : hoverTexts())
        addHover(control, text);
    for (QWidget *control : std::initializer_list<QWidget *>{Image1, Text1}) {
        control->setMouseTracking(true);
        control->installEventFilter(this);
    }
    // The pointer over the bare panel of the second list.
    connect(Picture1, &Panel::bareMouseMove, this,
            [this] { setTitle(QStringLiteral("Second To Do List , 300 tasks max.")); });
    // Controls without hover text still pass moves up: track them so the
    // window learns the pointer is over a control, not over its bare area.
    const QList<QWidget *> quiet{Label1, Label2, Label4, Label5, Label6, Label7, Label8, ProgressBar2,
                                 Command12, Command15, DTPicker1, Picture2, Picture3};
    for (QWidget *control : quiet)
        control->setMouseTracking(true);
}

bool Form1::event(QEvent *event)
{
    // Keys reach only an active window: its shortcuts and tab chain wait for that.
    if (event->type() == QEvent::WindowActivate && !windowKeysReady_)
        setUpWindowKeys();
    if (event->type() == QEvent::Enter && !hoverReady_)
        setUpHoverHelp();
    if (handleFileDrag(event))
        return true;
    return QWidget::event(event);
}

bool Form1::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseMove) {
        if (const auto hover = hoverTexts_.constFind(watched); hover != hoverTexts_.cend())
            setTitle(*hover);
        else if (watched == Image1)
            Image1_MouseMove();
        else if (watched == Text1)
            Text1_MouseMove();
    }
    if (watched == Text1 && entryBoxUndoKey(event))
        return true;
    return handleFileDrag(event);
}

void Form1::coverUnderPicture1(bool covered)
{
    if (!covered) {
        for (const QPointer<QWidget> &control : std::as_const(coveredByPicture1_))
            if (control)
                control->show();
        coveredByPicture1_.clear();
        return;
    }
    if (!panelFontsSet_) {
        for (QWidget *label : {Label5, Label6, Label7})
            label->setFont(msSansSerif(9.75, true));
        List1->setFont(msSansSerif(12, true));
        panelFontsSet_ = true;
    }
    // Siblings stack in the order of children(): only those before the panel lie under it.
    const QRect panel = Picture1->geometry();
    for (QObject *child : children()) {
        if (child == Picture1)
            break;
        auto *control = qobject_cast<QWidget *>(child);
        if (control && !control->isWindow() && !control->isHidden() && panel.contains(control->geometry())) {
            coveredByPicture1_ << control;
            control->hide();
        }
    }
}

void Form1::Form_Load()
{
    setTitle(standardTitle());
    Label2->setText(QStringLiteral("File not loaded"));
    DTPicker1->setDate(today());
}

QDate Form1::today() const
{
    return platform_.now().date();
}

QString Form1::standardTitle() const
{
    return listora::standardTitle(today());
}

void Form1::setTitle(const QString &title)
{
    if (windowTitle() != title)
        setWindowTitle(title);
}

void Form1::setImage1Picture(const QIcon &icon)
{
    if (icon.cacheKey() == image1Icon_.cacheKey() && !Image1->pixmap().isNull())
        return;
    image1Icon_ = icon;
    Image1->setPixmap(icon.pixmap(Image1->size()));
}

void Form1::mouseMoveEvent(QMouseEvent *event)
{
    // Moves over controls reach the window too; only its bare area restores the title.
    if (!childAt(event->position().toPoint()))
        Form_MouseMove();
    QWidget::mouseMoveEvent(event);
}

void Form1::Form_MouseMove()
{
    setTitle(standardTitle());
    setImage1Picture(windows_.get<Form2>().windowIcon());
}

void Form1::Image1_MouseMove()
{
    setTitle(QStringLiteral("About..."));
    setImage1Picture(windows_.get<frmAbout>().windowIcon());
}

void Form1::Image1_Click()
{
    setImage1Picture(windowIcon());
    windows_.show<frmAbout>();
}

void Form1::Label3_Click()
{
    windows_.show<Form3>();
}

void Form1::Text1_MouseMove()
{
    Text1->setFocus();
}

void Form1::Timer1_Timer()
{
    Label3->setText(timeText(platform_.now().time()));
    fitLabel3();
}

void Form1::fitLabel3()
{
    // A day-half marker makes the time wider than the label at its design size;
    // shrink in half points rather than cut it off.
    constexpr qreal design = 18;
    QFont font = Label3->font();
    font.setPointSizeF(design);
    const QString text = Label3->text();
    const int room = Label3->contentsRect().width();
    while (font.pointSizeF() > 6 && QFontMetrics(font).horizontalAdvance(text) > room)
        font.setPointSizeF(font.pointSizeF() - 0.5);
    if (font != Label3->font())
        Label3->setFont(font);
}

bool Form1::confirmQuit(const QString &question)
{
    return platform_.message(this, {question, QStringLiteral("Exit"), MessageButtons::OkCancel, MessageIcon::Question})
        == MessageAnswer::Ok;
}

void Form1::Command6_Click()
{
    if (confirmQuit(QStringLiteral("Really want to quit?"))) {
        quitting_ = true;
        platform_.quit();
    }
}

void Form1::closeEvent(QCloseEvent *event)
{
    if (quitting_) {
        event->accept();
        return;
    }
    if (confirmQuit(QStringLiteral("Do you want to quit?"))) {
        quitting_ = true;
        event->accept();
        platform_.quit();
    } else {
        event->ignore();
    }
}

} // namespace listora
