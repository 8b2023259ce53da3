// The main window around its commands: start-up, the hover help in the title
// bar, the clock, the About picture, dropped files and quitting.
#include "app/mainwindow.h"

#include "about/aboutwindow.h"
#include "app/duewatch.h"
#include "app/filecommands.h"
#include "app/refusalhint.h"
#include "app/statusdisplay.h"
#include "calendar/calendarwindow.h"
#include "lists/rowmetrics.h"
#include "lists/tasklistview.h"
#include "platform/platform.h"
#include "tasks/capacity.h"
#include "tasks/entrytext.h"
#include "tasks/taskdocument.h"
#include "texts/texts.h"
#include "widgets/fonts.h"
#include "widgets/historykeys.h"
#include "widgets/hoverhelp.h"
#include "widgets/icons.h"
#include "widgets/shownchildren.h"
#include "ui_mainwindow.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QTimer>

#include <algorithm>
#include <utility>
#include <vector>

namespace listora {

namespace {

// The hover help of the controls that have one.
std::vector<std::pair<QWidget *, QString>> mainWindowHoverTexts(const Ui::MainWindow &ui)
{
    const std::pair<QWidget *, const char *> hovers[] = {
        {ui.openButton, "Open a File"},
        {ui.saveButton, "Save / Save as..."},
        {ui.addTaskButton, "Add a Task"},
        {ui.secondAddTaskButton, "Add a Task"},
        {ui.addAppointmentButton, "Add an appointment to the list"},
        {ui.secondAddAppointmentButton, "Add an appointment to the list"},
        {ui.removeButton, "Remove the selected Task or Appointment from the list"},
        {ui.secondRemoveButton, "Remove the selected Task or Appointment from the list"},
        {ui.exitButton, "Exit the program , remember to save your work"},
        {ui.printButton, "Print the list"},
        {ui.switchListButton, "Navigate tru both lists of tasks"},
        {ui.statusReportButton, "See a Complete Report of all tasks"},
        {ui.fileNameButton, "See the Name and Path of the open file // Make a Backup Copy of the open file."},
        {ui.clockLabel, "Show Calendar"},
        {ui.firstListFill, "50 Tasks max in list 1 and 300 hundred in list 2."},
        {ui.firstList->viewport(), "Double click to pass the task to the other list"},
        {ui.secondList->viewport(), "Double click to pass the task to the other list"},
    };
    std::vector<std::pair<QWidget *, QString>> texts;
    texts.reserve(std::size(hovers));
    for (const auto &[control, text] : hovers)
        texts.emplace_back(control, QString::fromUtf8(text));
    return texts;
}

} // namespace

MainWindow::MainWindow(Windows &windows, Platform &platform, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                          | Qt::WindowCloseButtonHint)
    , m_ui(std::make_unique<Ui::MainWindow>())
    , windows_(windows)
    , platform_(platform)
    , document_(new TaskDocument(this))
{
    setObjectName(QStringLiteral("MainWindow"));
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
    m_ui->entryBox->setFocus(Qt::OtherFocusReason);
    // The load step; the status display says "File not loaded".
    setTitle(standardTitle());
    m_ui->appointmentDate->setDate(today());
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
    lists_ = {ui.firstList, ui.secondList};
    for (int i = 0; i < 2; ++i)
        lists_[i]->setTaskModel(&document_->list(i));
    listShownChildrenOnly(ui.secondListPanel);
    StatusDisplay::Controls parts;
    parts.fileStatus = ui.fileStatusLabel;
    parts.lists = {CapacityDisplay{ui.firstListCounter, ui.spacesLeftLabel, ui.firstListFill, nullptr, kFirstListCapacity},
                   CapacityDisplay{ui.secondListCounter, nullptr, ui.secondListFill, ui.secondListPercent,
                                   kSecondListCapacity}};
    parts.entryBox = ui.entryBox;
    parts.secondListPanel = ui.secondListPanel;
    parts.switchButton = ui.switchListButton;
    parts.listButtons = {std::array<QWidget *, 3>{ui.addTaskButton, ui.addAppointmentButton, ui.removeButton},
                         std::array<QWidget *, 3>{ui.secondAddTaskButton, ui.secondAddAppointmentButton,
                                                  ui.secondRemoveButton}};
    parts.reportPanel = ui.reportPanel;
    parts.report = ui.reportLabel;
    parts.fileNamePanel = ui.fileNamePanel;
    parts.fileName = ui.fileNameLabel;
    parts.backupButton = ui.backupButton;
    status_ = new StatusDisplay(*document_, parts, this);

    // The design's face comes from what is installed, and its sizes are not all whole points.
    // Those of the second list's panel wait for it to be shown.
    const std::pair<QWidget *, QFont> fonts[] = {
        {ui.firstList, msSansSerif(12, true)},     {ui.entryBox, msSansSerif(12, true)},    {ui.appointmentDate, msSansSerif(12, true)},
        {ui.clockLabel, msSansSerif(18, true)},    {ui.firstListCounter, msSansSerif(9.75, true)}, {ui.fileStatusLabel, msSansSerif(9.75, true)},
        {ui.spacesLeftLabel, msSansSerif(9.75, true)},
    };
    for (const auto &[control, font] : fonts)
        control->setFont(font);

    // A line is drawn on the window, not a control: the pointer over it is over the bare window.
    ui.capacityTopLine->setAttribute(Qt::WA_TransparentForMouseEvents);
    ui.capacityBottomLine->setAttribute(Qt::WA_TransparentForMouseEvents);
    setAboutPicture(windowIcon());
    // The title bar is the hover help; screen readers get the same text.
    hover_ = new HoverHelp(this);
    connect(hover_, &HoverHelp::titleWanted, this, &MainWindow::setTitle);
    for (const auto &[control, text] : mainWindowHoverTexts(ui)) {
        hover_->add(control, text);
        if (auto *button = qobject_cast<QPushButton *>(control); button && button->text().isEmpty())
            button->setAccessibleName(text);
    }
    hover_->add(ui.aboutPicture, QStringLiteral("About..."),
                [this] { setAboutPicture(icons::icon(icons::Glyph::About)); });
    hover_->add(ui.entryBox, {}, [this] { m_ui->entryBox->setFocus(); });
    // The pointer over the bare panel of the second list.
    connect(ui.secondListPanel, &Panel::bareMouseMove, this,
            [this] { setTitle(QStringLiteral("Second To Do List , 300 tasks max.")); });
    for (QWidget *control : std::initializer_list<QWidget *>{
             ui.firstListCounter, ui.fileStatusLabel, ui.spacesLeftLabel, ui.secondListCounter, ui.secondListPercent, ui.reportLabel, ui.fileNameLabel, ui.secondListFill, ui.roundButton,
             ui.backupButton, ui.appointmentDate, ui.reportPanel, ui.fileNamePanel})
        hover_->track(control);

    keepLettersWhole(ui.entryBox);
    hint_ = std::make_unique<RefusalHint>(ui.entryHint, ui.entryBox);
    connect(ui.entryBox, &EntryLineEdit::characterRefused, this, [this](const QString &c) { hint_->show(c); });
    // Past its own typing, the entry box undoes and redoes the lists' changes.
    ui.entryBox->setHistoryFallback([this](bool redo) { trigger(redo ? Command::Redo : Command::Undo); });
    // Enter adds a task to the list on display, as that list's add-task button does.
    connect(ui.entryBox, &QLineEdit::returnPressed, this, [this] { trigger(Command::AddTask); });
    ui.appointmentDate->installEventFilter(this);
    if (const QString format = QLocale::system().dateFormat(QLocale::ShortFormat); ui.appointmentDate->displayFormat() != format)
        ui.appointmentDate->setDisplayFormat(format);

    auto *timer = new QTimer(this);
    timer->setObjectName(QStringLiteral("clockTimer"));
    timer->setInterval(1000);
    connect(timer, &QTimer::timeout, this, &MainWindow::tick);
    timer->start();

    connect(ui.aboutPicture, &ClickLabel::clicked, this, [this] {
        setAboutPicture(windowIcon());
        windows_.show<AboutWindow>();
    });
    connect(ui.clockLabel, &ClickLabel::clicked, this, [this] { windows_.show<CalendarWindow>(); });
    const std::pair<QPushButton *, Command> buttons[] = {
        {ui.openButton, Command::Open},           {ui.saveButton, Command::Save},           {ui.addTaskButton, Command::AddTask},
        {ui.removeButton, Command::Remove},         {ui.addAppointmentButton, Command::AddAppointment}, {ui.exitButton, Command::Exit},
        {ui.printButton, Command::Print},          {ui.switchListButton, Command::SwitchList},     {ui.secondAddTaskButton, Command::AddTask},
        {ui.secondAddAppointmentButton, Command::AddAppointment}, {ui.secondRemoveButton, Command::Remove},       {ui.statusReportButton, Command::Report},
        {ui.fileNameButton, Command::FileName},      {ui.backupButton, Command::Backup},
    };
    for (const auto &[button, command] : buttons)
        connect(button, &QPushButton::clicked, this, [this, command = command] { trigger(command); });

    for (int i = 0; i < 2; ++i) {
        TaskListView *view = lists_[i];
        // Only the list on display can be double-clicked: its entry goes to the other list.
        connect(view, &QAbstractItemView::doubleClicked, this, [this] { trigger(Command::MoveToOther); });
        connect(view, &TaskListView::focusTaken, this, &MainWindow::setUpWindowKeys);
        connect(view, &TaskListView::menuRequested, this, &MainWindow::showListMenu);
        // The selection stays the user's: an edit ended by a click elsewhere
        // must not take the place of what was clicked.
        connect(view, &TaskListView::entryEdited, this,
                [this, i](int row, const QString &text) { document_->edit(i, row, text); });
        connect(view, &TaskListView::entryDropped, this, [this, i](int from, int to) {
            endEditing();
            document_->reorder(i, from, to);
            lists_[i]->selectRow(to);
        });
        connect(view, &TaskListView::characterRefused, this, [this](const QString &c) { hint_->show(c); });
        connect(view, &TaskListView::editorClosed, this, [this] { hint_->hide(); });
    }

    // The second list's panel covers the first list; its fonts wait for it to be shown.
    connect(ui.secondListPanel, &Panel::shownInWindow, this, &MainWindow::setPanelFonts, Qt::SingleShotConnection);
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
    connect(files_, &FileCommands::notice, this, [this](const QString &line) { hint_->showNotice(line); });
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
    if (watched == ui.appointmentDate && event->type() == QEvent::ShortcutOverride
        && historyKey(*static_cast<QKeyEvent *>(event)) != HistoryKey::None)
        return true; // not taken: the window's shortcut acts
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
    chainInReadingOrder(this, {ui.entryBox, ui.appointmentDate},
                        {ui.clockLabel, ui.aboutPicture, ui.openButton, ui.saveButton, ui.addTaskButton, ui.removeButton, ui.addAppointmentButton,
                         ui.exitButton, ui.printButton, ui.switchListButton, ui.secondAddTaskButton, ui.secondAddAppointmentButton, ui.secondRemoveButton, ui.roundButton,
                         ui.statusReportButton, ui.fileNameButton, ui.backupButton},
                        {ui.firstList, ui.secondList});
}

void MainWindow::setPanelFonts()
{
    Ui::MainWindow &ui = *m_ui;
    for (QWidget *label : {ui.secondListCounter, ui.secondListPercent, ui.reportLabel})
        label->setFont(msSansSerif(9.75, true));
    ui.secondList->setFont(msSansSerif(12, true));
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
    setAboutPicture(windowIcon());
}

void MainWindow::setAboutPicture(const QIcon &icon)
{
    if (icon.cacheKey() == aboutPictureIcon_.cacheKey() && !m_ui->aboutPicture->pixmap().isNull())
        return;
    aboutPictureIcon_ = icon;
    m_ui->aboutPicture->setPixmap(icon.pixmap(m_ui->aboutPicture->size()));
}

void MainWindow::mouseMoveEvent(QMouseEvent *event)
{
    // Moves over controls reach the window too; only its bare area restores the title.
    if (!childAt(event->position().toPoint())) {
        setTitle(standardTitle());
        setAboutPicture(icons::icon(icons::Glyph::Programs));
    }
    QWidget::mouseMoveEvent(event);
}

void MainWindow::tick()
{
    m_ui->clockLabel->setText(timeText(platform_.now().time()));
    dueWatch_->checkDay();
    shrinkToFit(m_ui->clockLabel, 18, 6, 0.5);
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
    quitQuestion_ = QStringLiteral("Really want to quit?");
    close();
    quitQuestion_.clear();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!quitting_) {
        endEditing();
        quitting_ = files_->mayQuit(quitQuestion_.isEmpty() ? QStringLiteral("Do you want to quit?") : quitQuestion_);
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
