// The main window around its commands: start-up, the hover help in the title
// bar, the clock, the About picture, dropped files and quitting.
#include "app/mainwindow.h"

#include "about/aboutwindow.h"
#include "about/otherprogramswindow.h"
#include "app/duewatch.h"
#include "app/filecommands.h"
#include "app/fonts.h"
#include "app/hoverhelp.h"
#include "app/icons.h"
#include "app/refusalhint.h"
#include "app/platform.h"
#include "app/shownchildren.h"
#include "app/texts.h"
#include "calendar/calendarwindow.h"
#include "tasks/entrytext.h"
#include "tasks/rowmetrics.h"
#include "tasks/taskdocument.h"
#include "tasks/tasklistview.h"
#include "ui_mainwindow.h"

#include <QCloseEvent>
#include <QDir>
#include <QKeyEvent>
#include <QTimer>

#include <algorithm>
#include <utility>

namespace listora {

MainWindow::MainWindow(Windows &windows, Platform &platform, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                          | Qt::WindowCloseButtonHint)
    , m_ui(std::make_unique<Ui::MainWindow>())
    , windows_(windows)
    , platform_(platform)
    , document_(new TaskDocument(this))
{
    setObjectName(QStringLiteral("Form1"));
    listShownChildrenOnly(this);
    windows_.setMainWindow(this);
    setWindowIcon(icons::icon(icons::Glyph::Application));
    m_ui->setupUi(this);
    setMouseTracking(true);
    setAcceptDrops(true);
    setUpControls();
    // The shortcuts and the tab chain wait for the first key: the first paint need not wait for them.
    beforeFirstKey(this, [this] { setUpWindowKeys(); });
    // Typing starts in the entry box.
    m_ui->Text1->setFocus(Qt::OtherFocusReason);
    // The load step.
    setTitle(standardTitle());
    m_ui->Label2->setText(QStringLiteral("File not loaded"));
    m_ui->DTPicker1->setDate(today());
}

MainWindow::~MainWindow()
{
    // The controls outlive this part of the window: an editor closed by their
    // destruction would commit into handlers of a window that is gone.
    for (QObject *child : findChildren<QObject *>())
        child->disconnect(this);
    for (TaskListView *view : lists_)
        view->discardEdit();
    windows_.setMainWindow(nullptr);
}

void MainWindow::setUpControls()
{
    Ui::MainWindow &ui = *m_ui;
    // Names a form cannot give its members.
    lists_ = {ui.List0, ui.List1};
    displays_[0] = {ui.Label1, ui.Label4, ui.ProgressBar1, nullptr, kFirstListCapacity};
    displays_[1] = {ui.Label5, nullptr, ui.ProgressBar2, ui.Label6, kSecondListCapacity};
    for (int i = 0; i < 2; ++i) {
        lists_[i]->setTaskModel(&document_->list(i));
        lists_[i]->setObjectName(QStringLiteral("List(%1)").arg(i));
    }
    listShownChildrenOnly(ui.Picture1);

    // The design's face comes from what is installed, and its sizes are not all whole points.
    // Those of the second list's panel wait for it to be shown.
    const std::pair<QWidget *, QFont> fonts[] = {
        {ui.List0, msSansSerif(12, true)},     {ui.Text1, msSansSerif(12, true)},    {ui.DTPicker1, msSansSerif(12, true)},
        {ui.Label3, msSansSerif(18, true)},    {ui.Label1, msSansSerif(9.75, true)}, {ui.Label2, msSansSerif(9.75, true)},
        {ui.Label4, msSansSerif(9.75, true)},
    };
    for (const auto &[control, font] : fonts)
        control->setFont(font);

    // A line is drawn on the window, not a control: the pointer over it is over the bare window.
    ui.Line1->setAttribute(Qt::WA_TransparentForMouseEvents);
    ui.Line2->setAttribute(Qt::WA_TransparentForMouseEvents);
    setImage1Picture(windowIcon());
    // The title bar is the hover help; screen readers get the same text.
    hover_ = new HoverHelp(this);
    connect(hover_, &HoverHelp::titleWanted, this, &MainWindow::setTitle);
    for (const auto &[control, text] : mainWindowHoverTexts(ui)) {
        hover_->add(control, text);
        if (auto *button = qobject_cast<QPushButton *>(control); button && button->text().isEmpty())
            button->setAccessibleName(text);
    }
    hover_->add(ui.Image1, QStringLiteral("About..."),
                [this] { setImage1Picture(windows_.get<AboutWindow>().windowIcon()); });
    hover_->add(ui.Text1, {}, [this] { m_ui->Text1->setFocus(); });
    // The pointer over the bare panel of the second list.
    connect(ui.Picture1, &Panel::bareMouseMove, this,
            [this] { setTitle(QStringLiteral("Second To Do List , 300 tasks max.")); });
    for (QWidget *control : std::initializer_list<QWidget *>{
             ui.Label1, ui.Label2, ui.Label4, ui.Label5, ui.Label6, ui.Label7, ui.Label8, ui.ProgressBar2, ui.Command12,
             ui.Command15, ui.DTPicker1, ui.Picture2, ui.Picture3})
        hover_->track(control);

    keepLettersWhole(ui.Text1);
    hint_ = std::make_unique<RefusalHint>(ui.EntryHint, ui.Text1);
    connect(ui.Text1, &EntryLineEdit::characterRefused, this, [this](const QString &c) { hint_->show(c); });
    // Past its own typing, the entry box undoes and redoes the lists' changes.
    ui.Text1->setHistoryFallback([this](bool redo) { trigger(redo ? Command::Redo : Command::Undo); });
    // Enter adds a task to the list on display, as that list's add-task button does.
    connect(ui.Text1, &QLineEdit::returnPressed, this, [this] { trigger(Command::AddTask); });
    ui.DTPicker1->installEventFilter(this);
    if (const QString format = QLocale::system().dateFormat(QLocale::ShortFormat); ui.DTPicker1->displayFormat() != format)
        ui.DTPicker1->setDisplayFormat(format);

    auto *timer = new QTimer(this);
    timer->setObjectName(QStringLiteral("Timer1"));
    timer->setInterval(1000);
    connect(timer, &QTimer::timeout, this, &MainWindow::tick);
    timer->start();

    connect(ui.Image1, &ClickLabel::clicked, this, [this] {
        setImage1Picture(windowIcon());
        windows_.show<AboutWindow>();
    });
    connect(ui.Label3, &ClickLabel::clicked, this, [this] { windows_.show<CalendarWindow>(); });
    const std::pair<QPushButton *, Command> buttons[] = {
        {ui.Command1, Command::Open},           {ui.Command2, Command::Save},           {ui.Command3, Command::AddTask},
        {ui.Command4, Command::Remove},         {ui.Command5, Command::AddAppointment}, {ui.Command6, Command::Exit},
        {ui.Command7, Command::Print},          {ui.Command8, Command::SwitchList},     {ui.Command9, Command::AddTask},
        {ui.Command10, Command::AddAppointment}, {ui.Command11, Command::Remove},       {ui.Command13, Command::Report},
        {ui.Command14, Command::FileName},      {ui.Command15, Command::Backup},
    };
    for (const auto &[button, command] : buttons)
        connect(button, &QPushButton::clicked, this, [this, command = command] { trigger(command); });

    for (int i = 0; i < 2; ++i) {
        TaskListView *view = lists_[i];
        // Only the list on display can be double-clicked: its entry goes to the other list.
        connect(view, &QAbstractItemView::doubleClicked, this, [this] { trigger(Command::MoveToOther); });
        connect(view, &TaskListView::focusTaken, this, &MainWindow::setUpWindowKeys);
        connect(view, &TaskListView::menuRequested, this, &MainWindow::showListMenu);
        connect(view, &TaskListView::entryEdited, this, [this, i](int row, const QString &text) {
            // The selection stays the user's: an edit ended by a click elsewhere
            // must not take the place of what was clicked.
            if (document_->edit(i, row, text))
                setStatus(QStringLiteral("File not saved "));
        });
        connect(view, &TaskListView::entryDropped, this, [this, i](int from, int to) {
            endEditing();
            if (document_->reorder(i, from, to))
                setStatus(QStringLiteral("File not saved "));
            lists_[i]->selectRow(to);
        });
        connect(view, &TaskListView::characterRefused, this, [this](const QString &c) { hint_->show(c); });
        connect(view, &TaskListView::editorClosed, this, [this] { hint_->hide(); });
    }

    // The second list's panel covers the first list; its fonts wait for it to be shown.
    connect(ui.Picture1, &Panel::shownInWindow, this, &MainWindow::setPanelFonts, Qt::SingleShotConnection);
    // The file-name panel never shows a file that is no longer the document's.
    dueWatch_ = new DueWatch(*document_, platform_, this);
    connect(dueWatch_, &DueWatch::showRequested, this, [this](int list, int row) {
        endEditing();
        if (list != shown())
            switchLists();
        show();
        raise();
        activateWindow();
        lists_[list]->selectRow(row);
    });
    files_ = new FileCommands(*document_, platform_, this);
    connect(files_, &FileCommands::status, this, [this](const QString &text) {
        setStatus(text);
        // What an undo back to these lists shows again.
        savedStatus_ = document_->isSaved() ? text : QString();
    });
    connect(files_, &FileCommands::listsReplaced, this, [this] {
        for (int i : {0, 1})
            displays_[i].refresh(document_->list(i).count());
    });
    connect(files_, &FileCommands::notice, this, [this](const QString &line) { hint_->showNotice(line); });
    connect(document_, &TaskDocument::filePathChanged, this,
            [this](const QString &path) { m_ui->Label8->setText(QDir::toNativeSeparators(path)); });
    // The entry box takes dragged text; a dragged task file is opened instead.
    for (QWidget *child : findChildren<QWidget *>())
        if (child->acceptDrops())
            child->installEventFilter(this);
}

bool MainWindow::event(QEvent *event)
{
    if (event->type() == QEvent::Enter)
        hover_->start();
    if (handleFileDrag(event))
        return true;
    return QWidget::event(event);
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    const Ui::MainWindow &ui = *m_ui;
    // The date box has no typing of its own to undo: the keys undo the lists' changes.
    if (watched == ui.DTPicker1 && event->type() == QEvent::ShortcutOverride) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const QKeyCombination combo = key->keyCombination();
        if (key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo)
            || combo == (Qt::CTRL | Qt::SHIFT | Qt::Key_Z) || combo == (Qt::CTRL | Qt::Key_Y))
            return true; // not taken: the window's shortcut acts
    }
    return handleFileDrag(event);
}

void MainWindow::setUpWindowKeys()
{
    if (std::exchange(windowKeysReady_, true))
        return;
    createActions();
    const Ui::MainWindow &ui = *m_ui;
    // The entry box and date come first, then the buttons in reading order; the
    // lists close the round, one Shift+Tab from the entry box.
    chainInReadingOrder(this, {ui.Text1, ui.DTPicker1},
                        {ui.Label3, ui.Image1, ui.Command1, ui.Command2, ui.Command3, ui.Command4, ui.Command5,
                         ui.Command6, ui.Command7, ui.Command8, ui.Command9, ui.Command10, ui.Command11, ui.Command12,
                         ui.Command13, ui.Command14, ui.Command15},
                        {ui.List0, ui.List1});
}

void MainWindow::setPanelFonts()
{
    Ui::MainWindow &ui = *m_ui;
    for (QWidget *label : {ui.Label5, ui.Label6, ui.Label7})
        label->setFont(msSansSerif(9.75, true));
    ui.List1->setFont(msSansSerif(12, true));
}

QDate MainWindow::today() const
{
    return platform_.now().date();
}

QString MainWindow::standardTitle() const
{
    return listora::standardTitle(today());
}

void MainWindow::setTitle(const QString &title)
{
    if (windowTitle() != title)
        setWindowTitle(title);
}

void MainWindow::showOwnIconInAboutPicture()
{
    setImage1Picture(windowIcon());
}

void MainWindow::setImage1Picture(const QIcon &icon)
{
    if (icon.cacheKey() == image1Icon_.cacheKey() && !m_ui->Image1->pixmap().isNull())
        return;
    image1Icon_ = icon;
    m_ui->Image1->setPixmap(icon.pixmap(m_ui->Image1->size()));
}

void MainWindow::mouseMoveEvent(QMouseEvent *event)
{
    // Moves over controls reach the window too; only its bare area restores the title.
    if (!childAt(event->position().toPoint())) {
        setTitle(standardTitle());
        setImage1Picture(windows_.get<OtherProgramsWindow>().windowIcon());
    }
    QWidget::mouseMoveEvent(event);
}

void MainWindow::tick()
{
    m_ui->Label3->setText(timeText(platform_.now().time()));
    dueWatch_->checkDay();
    shrinkToFit(m_ui->Label3, 18, 6, 0.5);
}

bool MainWindow::handleFileDrag(QEvent *event)
{
    QString dropped;
    if (!takeFileDrag(event, &dropped))
        return false;
    if (!dropped.isEmpty())
        openTaskFile(dropped);
    return true;
}

void MainWindow::exit()
{
    endEditing();
    if (files_->mayQuit(QStringLiteral("Really want to quit?"))) {
        quitting_ = true;
        platform_.quit();
    }
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!quitting_) {
        endEditing();
        quitting_ = files_->mayQuit(QStringLiteral("Do you want to quit?"));
        if (!quitting_) {
            event->ignore();
            return;
        }
        platform_.quit();
    }
    event->accept();
}

void MainWindow::endSession()
{
    // As leaving the editor would: what was typed is kept with the rest.
    endEditing();
    files_->keepUnsavedLists();
    quitting_ = true;
    platform_.quit();
}

void MainWindow::offerKeptLists()
{
    files_->offerKeptLists();
}

} // namespace listora
