#include "app/form1.h"

#include "about/form2.h"
#include "about/frmabout.h"
#include "app/fonts.h"
#include "app/mousemove.h"
#include "app/platform.h"
#include "app/shownchildren.h"
#include "app/texts.h"
#include "app/windows.h"
#include "calendar/form3.h"
#include "tasks/entrytext.h"

#include <QCloseEvent>
#include <QDateEdit>
#include <QDropEvent>
#include <QEvent>
#include <QFileInfo>
#include <QFrame>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <QTimer>
#include <QValidator>

#include <algorithm>
#include <functional>
#include <optional>
#include <utility>

namespace listora {

namespace {

// Keeps out of the entry box what a task file line cannot carry.
class EntryValidator final : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString &input, int &pos) const override
    {
        const QString clean = storableEntryText(input);
        if (clean != input) {
            pos = std::min<int>(pos, clean.size());
            input = clean;
        }
        return Acceptable;
    }
};


QLabel *makeLabel(QWidget *parent, const char *name, int x, int y, int w, int h, double points)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(tw(x), tw(y), tw(w), tw(h));
    label->setFont(msSansSerif(points, true));
    label->setAlignment(Qt::AlignCenter);
    return label;
}

QProgressBar *makeBar(QWidget *parent, const char *name, int x, int y, int w, int h)
{
    auto *bar = new QProgressBar(parent);
    bar->setObjectName(QString::fromLatin1(name));
    bar->setGeometry(tw(x), tw(y), tw(w), tw(h));
    bar->setRange(0, 100);
    bar->setValue(0);
    bar->setTextVisible(false);
    return bar;
}

// The one local file a drag carries; several files, folders and web
// addresses are not a task file to open.
std::optional<QString> draggedTaskFile(const QMimeData *mime)
{
    if (!mime || !mime->hasUrls())
        return std::nullopt;
    const QList<QUrl> urls = mime->urls();
    if (urls.size() != 1 || !urls.front().isLocalFile())
        return std::nullopt;
    const QString path = urls.front().toLocalFile();
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    return path;
}

QFrame *makeLine(QWidget *parent, const char *name, int x1, int y, int x2)
{
    auto *line = new QFrame(parent);
    line->setObjectName(QString::fromLatin1(name));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(tw(x1), tw(y) - 1, tw(x2 - x1), 3);
    // A line is drawn on the window, not a control: the pointer over it is
    // over the bare window.
    line->setAttribute(Qt::WA_TransparentForMouseEvents);
    return line;
}

} // namespace

void ClickLabel::mouseReleaseEvent(QMouseEvent *event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

void ClickLabel::keyPressEvent(QKeyEvent *event)
{
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (plain) {
            emit clicked();
            return;
        }
        break;
    default:
        break;
    }
    QLabel::keyPressEvent(event);
}

void ClickLabel::paintEvent(QPaintEvent *event)
{
    QLabel::paintEvent(event);
    // A label draws no focus of its own; without this, tabbing onto it is invisible.
    if (hasFocus()) {
        QStylePainter painter(this);
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.backgroundColor = palette().color(QPalette::Window);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
    }
}

void Panel::mouseMoveEvent(QMouseEvent *event)
{
    if (!childAt(event->position().toPoint()))
        emit bareMouseMove();
    event->ignore();
}

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
    resize(tw(8985), tw(6150));
    setMouseTracking(true);
    setAcceptDrops(true);
    buildLayout();
    setUpKeyboard();
    setUpTabOrder();
    Form_Load();
}

Form1::~Form1()
{
    windows_.setMainWindow(nullptr);
}

QPushButton *Form1::pictureButton(QWidget *parent, const char *name, icons::Glyph glyph, int x, int y, int w, int h)
{
    auto *button = new QPushButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(tw(x), tw(y), tw(w), tw(h));
    button->setIcon(icons::icon(glyph));
    button->setIconSize(QSize(32, 32));
    return button;
}

void Form1::addHover(QWidget *control, const QString &text)
{
    onMouseMove(control, [this, text] { setTitle(text); });
    // The title bar is the hover help; screen readers get the same text.
    if (auto *button = qobject_cast<QPushButton *>(control); button && button->text().isEmpty())
        button->setAccessibleName(text);
}

void Form1::buildLayout()
{
    using icons::Glyph;

    List[0] = new QListWidget(this);
    List[0]->setObjectName(QStringLiteral("List(0)"));
    List[0]->setGeometry(tw(120), tw(120), tw(7095), tw(5160));

    Picture1 = new Panel(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    listShownChildrenOnly(Picture1);
    Picture1->setGeometry(tw(120), tw(0), tw(7215), tw(5415));
    Picture1->setAutoFillBackground(true);
    Picture1->setMouseTracking(true);

    List[1] = new QListWidget(Picture1);
    List[1]->setObjectName(QStringLiteral("List(1)"));
    List[1]->setGeometry(tw(0), tw(120), tw(7095), tw(4560));
    for (int i = 0; i < 2; ++i) {
        List[i]->setFont(msSansSerif(12, true));
        List[i]->setUniformItemSizes(true);
        connect(List[i], &QListWidget::itemClicked, this, [this, i] { List_Click(i); });
        connect(List[i], &QListWidget::itemDoubleClicked, this, [this, i] { List_DblClick(i); });
    }

    Label5 = makeLabel(Picture1, "Label5", 960, 4920, 2295, 300, 9.75);
    Label6 = makeLabel(Picture1, "Label6", 4920, 4800, 2175, 240, 9.75);
    ProgressBar2 = makeBar(Picture1, "ProgressBar2", 4920, 5040, 2175, 255);
    Command12 = pictureButton(Picture1, "Command12", Glyph::Blank, 240, 4800, 615, 615);
    Command12->setAccessibleName(tr("No action"));
    Command13 = pictureButton(Picture1, "Command13", Glyph::Report, 3480, 4800, 615, 615);
    Command14 = pictureButton(Picture1, "Command14", Glyph::FileInfo, 4200, 4800, 615, 615);

    Picture2 = new QWidget(Picture1);
    Picture2->setObjectName(QStringLiteral("Picture2"));
    Picture2->setGeometry(tw(120), tw(4680), tw(3255), tw(735));
    Picture2->setAutoFillBackground(true);
    Picture2->hide();
    Label7 = new QLabel(Picture2);
    Label7->setObjectName(QStringLiteral("Label7"));
    // As wide as its panel, so the wrapped report is never cut at the right.
    Label7->setGeometry(0, 0, tw(3255), tw(735));
    Label7->setFont(msSansSerif(9.75, true));
    Label7->setWordWrap(true);
    Label7->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Command15 = new QPushButton(QStringLiteral("Make a back Up Copy of your File"), Picture2);
    Command15->setObjectName(QStringLiteral("Command15"));
    Command15->setGeometry(tw(120), tw(120), tw(3015), tw(495));
    Command15->hide();

    Picture3 = new QWidget(Picture1);
    Picture3->setObjectName(QStringLiteral("Picture3"));
    Picture3->setGeometry(tw(4920), tw(4800), tw(2175), tw(615));
    Picture3->setAutoFillBackground(true);
    Picture3->hide();
    Label8 = new QLabel(Picture3);
    Label8->setObjectName(QStringLiteral("Label8"));
    Label8->setGeometry(0, 0, tw(2175), tw(615));
    Label8->setWordWrap(true);
    Label8->setTextFormat(Qt::PlainText); // a file name may hold markup characters
    Label8->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Picture1->hide();

    Label3 = new ClickLabel(this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setGeometry(tw(7320), tw(240), tw(1575), tw(375));
    Label3->setFont(msSansSerif(18, true));
    Label3->setAlignment(Qt::AlignCenter);
    Label3->setCursor(Qt::PointingHandCursor);
    // A screen reader reads the time the label shows; the click is its description.
    Label3->setAccessibleDescription(tr("Show Calendar"));

    Image1 = new ClickLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(tw(7440), tw(720), tw(600), tw(600));
    Image1->setScaledContents(false);
    Image1->setAlignment(Qt::AlignCenter);
    Image1->setAccessibleName(tr("About..."));
    setImage1Picture(windowIcon());

    Command7 = pictureButton(this, "Command7", Glyph::Print, 8160, 720, 615, 615);
    Command1 = pictureButton(this, "Command1", Glyph::Open, 7440, 1440, 615, 615);
    Command2 = pictureButton(this, "Command2", Glyph::Save, 8160, 1440, 615, 615);
    Command8 = new QPushButton(QStringLiteral("2º  List"), this);
    Command8->setObjectName(QStringLiteral("Command8"));
    Command8->setGeometry(tw(7440), tw(2160), tw(1335), tw(375));

    Label2 = makeLabel(this, "Label2", 7320, 2640, 1575, 375, 9.75);
    Line1 = makeLine(this, "Line1", 7320, 3120, 8880);
    Label4 = makeLabel(this, "Label4", 7320, 3240, 1575, 300, 9.75);
    ProgressBar1 = makeBar(this, "ProgressBar1", 7320, 3600, 1575, 255);
    Line2 = makeLine(this, "Line2", 7320, 3960, 8880);
    Label1 = makeLabel(this, "Label1", 7320, 4080, 1575, 375, 9.75);

    Command3 = pictureButton(this, "Command3", Glyph::AddTask, 7440, 4560, 615, 615);
    Command5 = pictureButton(this, "Command5", Glyph::AddAppointment, 8160, 4560, 615, 615);
    Command4 = pictureButton(this, "Command4", Glyph::Remove, 7440, 5400, 615, 615);
    Command6 = pictureButton(this, "Command6", Glyph::Exit, 8160, 5400, 615, 615);
    Command9 = pictureButton(this, "Command9", Glyph::AddTask, 7440, 4560, 615, 615);
    Command10 = pictureButton(this, "Command10", Glyph::AddAppointment, 8160, 4560, 615, 615);
    Command11 = pictureButton(this, "Command11", Glyph::Remove, 7440, 5400, 615, 615);
    Command9->hide();
    Command10->hide();
    Command11->hide();

    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setGeometry(tw(120), tw(5520), tw(5175), tw(420));
    Text1->setFont(msSansSerif(12, true));
    Text1->setValidator(new EntryValidator(Text1));
    Text1->setAccessibleName(tr("New task"));

    DTPicker1 = new QDateEdit(this);
    DTPicker1->setObjectName(QStringLiteral("DTPicker1"));
    DTPicker1->setGeometry(tw(5400), tw(5520), tw(1815), tw(375));
    DTPicker1->setFont(msSansSerif(12, true));
    DTPicker1->setCalendarPopup(true);
    DTPicker1->setDisplayFormat(QLocale::system().dateFormat(QLocale::ShortFormat));
    DTPicker1->setAccessibleName(tr("Appointment date"));
    setTabOrder(Text1, DTPicker1);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &Form1::Timer1_Timer);
    Timer1->start();

    // Hover help in the title bar.
    addHover(Command1, QStringLiteral("Open a File"));
    addHover(Command2, QStringLiteral("Save / Save as..."));
    addHover(Command3, QStringLiteral("Add a Task"));
    addHover(Command9, QStringLiteral("Add a Task"));
    addHover(Command5, QStringLiteral("Add an appointment to the list"));
    addHover(Command10, QStringLiteral("Add an appointment to the list"));
    addHover(Command4, QStringLiteral("Remove the selected Task or Appointment from the list"));
    addHover(Command11, QStringLiteral("Remove the selected Task or Appointment from the list"));
    addHover(Command6, QStringLiteral("Exit the program , remember to save your work"));
    addHover(Command7, QStringLiteral("Print the list"));
    addHover(Command8, QStringLiteral("Navigate tru both lists of tasks"));
    addHover(Command13, QStringLiteral("See a Complete Report of all tasks"));
    addHover(Command14, QStringLiteral("See the Name and Path of the open file // Make a Backup Copy of the open file."));
    addHover(Label3, QStringLiteral("Show Calendar"));
    addHover(ProgressBar1, QStringLiteral("50 Tasks max in list 1 and 300 hundred in list 2."));
    for (QListWidget *list : List) {
        list->viewport()->setMouseTracking(true);
        addHover(list->viewport(), QStringLiteral("Double click to pass the task to the other list"));
    }
    onMouseMove(Image1, [this] { Image1_MouseMove(); });
    onMouseMove(Text1, [this] { Text1_MouseMove(); });
    connect(Picture1, &Panel::bareMouseMove, this,
            [this] { setTitle(QStringLiteral("Second To Do List , 300 tasks max.")); });
    // Controls without hover text still pass moves up: track them so the
    // window learns the pointer is over a control, not over its bare area.
    const QList<QWidget *> quiet{Label1, Label2, Label4, Label5, Label6, Label7, Label8, ProgressBar2,
                                 Command12, Command15, DTPicker1, Picture2, Picture3};
    for (QWidget *control : quiet)
        control->setMouseTracking(true);

    connect(Image1, &ClickLabel::clicked, this, &Form1::Image1_Click);
    connect(Label3, &ClickLabel::clicked, this, &Form1::Label3_Click);
    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Form1::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &Form1::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &Form1::Command5_Click);
    connect(Command6, &QPushButton::clicked, this, &Form1::Command6_Click);
    connect(Command7, &QPushButton::clicked, this, &Form1::Command7_Click);
    connect(Command8, &QPushButton::clicked, this, &Form1::Command8_Click);
    connect(Command9, &QPushButton::clicked, this, &Form1::Command9_Click);
    connect(Command10, &QPushButton::clicked, this, &Form1::Command10_Click);
    connect(Command11, &QPushButton::clicked, this, &Form1::Command11_Click);
    connect(Command13, &QPushButton::clicked, this, &Form1::Command13_Click);
    connect(Command14, &QPushButton::clicked, this, &Form1::Command14_Click);
    connect(Command15, &QPushButton::clicked, this, &Form1::Command15_Click);
}

void Form1::setUpKeyboard()
{
    // Enter adds a task to the list on display, as that list's add-task button does.
    connect(Text1, &QLineEdit::returnPressed, this, [this] {
        if (secondListShown())
            Command9_Click();
        else
            Command3_Click();
    });

    // Delete removes from the list it is pressed in, through that list's remove button handler;
    // Enter moves the selected entry as a double-click does. Not through itemActivated, which
    // a single-click desktop fires on every click.
    const std::array<void (Form1::*)(), 2> removers{&Form1::Command4_Click, &Form1::Command11_Click};
    for (int i = 0; i < 2; ++i) {
        auto *remove = new QShortcut(QKeySequence(Qt::Key_Delete), List[i]);
        remove->setContext(Qt::WidgetShortcut);
        connect(remove, &QShortcut::activated, this, removers[i]);
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
            auto *move = new QShortcut(QKeySequence(key), List[i]);
            move->setContext(Qt::WidgetShortcut);
            connect(move, &QShortcut::activated, this, [this, i] { List_DblClick(i); });
        }
    }

    const std::pair<QKeySequence, void (Form1::*)()> commands[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_O), &Form1::Command1_Click},
        {QKeySequence(Qt::CTRL | Qt::Key_S), &Form1::Command2_Click},
        {QKeySequence(Qt::CTRL | Qt::Key_P), &Form1::Command7_Click},
        {QKeySequence(Qt::CTRL | Qt::Key_Tab), &Form1::Command8_Click},
        // There are only two lists: back and forth are the same switch.
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), &Form1::Command8_Click},
    };
    for (const auto &[keys, handler] : commands) {
        auto *shortcut = new QShortcut(keys, this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, handler);
    }

    List[0]->setAccessibleName(tr("First list"));
    List[1]->setAccessibleName(tr("Second list"));
    ProgressBar1->setAccessibleName(tr("First list fill"));
    ProgressBar2->setAccessibleName(tr("Second list fill"));
    Command1->setAccessibleDescription(tr("Ctrl+O"));
    Command2->setAccessibleDescription(tr("Ctrl+S"));
    Command7->setAccessibleDescription(tr("Ctrl+P"));
    Command8->setAccessibleDescription(tr("Ctrl+Tab"));

    // The second list's panel merely covers the first list. What lies under it
    // is hidden while it shows, so it leaves the tab chain and the accessibility
    // tree, and Delete cannot act on a list nobody sees.
    Picture1->installEventFilter(this);

    // The entry box takes dragged text; a dragged task file is opened instead.
    for (QWidget *child : findChildren<QWidget *>())
        if (child->acceptDrops())
            child->installEventFilter(this);
}

void Form1::setUpTabOrder()
{
    // The clock and About picture act as buttons, so the keyboard reaches them too.
    Label3->setFocusPolicy(Qt::TabFocus);
    Image1->setFocusPolicy(Qt::TabFocus);

    QList<QWidget *> controls{Label3,   Image1,    Command1,  Command2,  Command3,  Command4,  Command5,  Command6,
                              Command7, Command8,  Command9,  Command10, Command11, Command12, Command13, Command14,
                              Command15};
    // Reading order: top to bottom, then left to right; buttons sharing a place keep their design order.
    const auto place = [this](const QWidget *w) {
        const QPoint p = w->mapTo(this, QPoint(0, 0));
        return std::pair(p.y(), p.x());
    };
    std::stable_sort(controls.begin(), controls.end(),
                     [&](const QWidget *a, const QWidget *b) { return place(a) < place(b); });

    // The entry box and date come first; the lists close the round, one Shift+Tab from the entry box.
    controls.prepend(DTPicker1);
    controls.prepend(Text1);
    controls.append(List[0]);
    controls.append(List[1]);
    for (qsizetype i = 1; i < controls.size(); ++i)
        setTabOrder(controls[i - 1], controls[i]);
    // Typing starts in the entry box.
    Text1->setFocus(Qt::OtherFocusReason);
}

bool Form1::handleFileDrag(QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return false;
    auto *drop = static_cast<QDropEvent *>(event);
    const std::optional<QString> path = draggedTaskFile(drop->mimeData());
    // Only ever a copy: a move would let the file manager delete the task file.
    if (!path || !(drop->possibleActions() & Qt::CopyAction))
        return false;
    drop->setDropAction(Qt::CopyAction);
    drop->accept();
    if (type == QEvent::Drop) {
        CommonDialog1.FileName = *path;
        openTaskFile(*path);
    }
    return true;
}

bool Form1::event(QEvent *event)
{
    if (handleFileDrag(event))
        return true;
    return QWidget::event(event);
}

bool Form1::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Picture1) {
        if (event->type() == QEvent::ShowToParent)
            coverUnderPicture1(true);
        else if (event->type() == QEvent::HideToParent)
            coverUnderPicture1(false);
        return false;
    }
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
