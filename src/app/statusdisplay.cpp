#include "app/statusdisplay.h"

#include "reports/report.h"
#include "tasks/capacity.h"
#include "tasks/taskdocument.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace listora {

namespace {

// What a step shows of the lists it changed.
enum class Shows {
    Nothing,
    List,         // its list's counter, free places and fill
    BothLists,    // both lists' counters, free places and fills
    FirstCounter, // the daily list's counter only
    Moved,        // both counters and fills, the free places with a full stop
    TasksMax,     // "50 Tasks Max" (or 300) in the daily list's counter
};

enum class EntryBox { AsItWas, Enabled, Disabled, EnabledWithRoom };

struct Rule {
    DocumentStep step;
    int list;        // -1: either list
    int appointment; // -1: either; 0: a task; 1: an appointment
    const char *status; // nullptr: as it was
    Shows shows;
    const QString *suffix; // of the counter
    ZeroRule zero;         // of the fill
    EntryBox box;
    bool backToSaved = false; // the saved lists again say what they said when saved
};

constexpr const char *kAsItWas = nullptr;
constexpr ZeroRule kExact = ZeroRule::ExactZero;
// Written two ways, as users have always seen it: with a trailing blank after
// most changes, without after a removal, a move and an appointment in the backlog.
constexpr const char *kChanged = "File not saved ";
constexpr const char *kChangedNoBlank = "File not saved";

// Every step's texts, quirks included: adding a task writes two blanks before
// "Tasks"; the backlog's task button counts nine per cent as nothing; a move
// ends the free places with a full stop; a refusal takes the daily list's
// counter for its message whichever list refused.
const Rule kRules[] = {
    {DocumentStep::Added, 0, 0, kChanged, Shows::List, &kAddTaskSuffix, kExact, EntryBox::AsItWas},
    {DocumentStep::Added, 1, 0, kChanged, Shows::List, &kAddTaskSuffix, ZeroRule::ZeroToNine,
     EntryBox::AsItWas},
    {DocumentStep::Added, 0, 1, kChanged, Shows::List, &kTasksSuffix, kExact, EntryBox::Enabled},
    {DocumentStep::Added, 1, 1, kChangedNoBlank, Shows::List, &kTasksSuffix, kExact, EntryBox::Enabled},
    {DocumentStep::Refused, -1, -1, kAsItWas, Shows::TasksMax, &kTasksSuffix, kExact, EntryBox::Disabled},
    {DocumentStep::Removed, -1, -1, kChangedNoBlank, Shows::List, &kTasksSuffix, kExact, EntryBox::Enabled},
    {DocumentStep::Moved, -1, -1, kChangedNoBlank, Shows::Moved, &kTasksSuffix, kExact, EntryBox::Enabled},
    {DocumentStep::Edited, -1, -1, kChanged, Shows::Nothing, &kTasksSuffix, kExact, EntryBox::AsItWas},
    {DocumentStep::Reordered, -1, -1, kChanged, Shows::Nothing, &kTasksSuffix, kExact, EntryBox::AsItWas},
    {DocumentStep::Opened, -1, -1, "File Open", Shows::BothLists, &kTasksSuffix, kExact, EntryBox::AsItWas},
    {DocumentStep::Saved, -1, -1, "File saved ", Shows::FirstCounter, &kTasksSuffix, kExact, EntryBox::AsItWas},
    {DocumentStep::BackedUp, -1, -1, "Back Up Ok", Shows::Nothing, &kTasksSuffix, kExact, EntryBox::AsItWas},
    {DocumentStep::Merged, -1, -1, kChanged, Shows::BothLists, &kTasksSuffix, kExact, EntryBox::AsItWas},
    {DocumentStep::Restored, -1, -1, kChanged, Shows::BothLists, &kTasksSuffix, kExact, EntryBox::AsItWas},
    {DocumentStep::Undone, -1, -1, kChanged, Shows::BothLists, &kTasksSuffix, kExact,
     EntryBox::EnabledWithRoom, true},
    {DocumentStep::Redone, -1, -1, kChanged, Shows::BothLists, &kTasksSuffix, kExact,
     EntryBox::EnabledWithRoom, true},
};

const Rule *ruleFor(const DocumentEvent &event)
{
    for (const Rule &rule : kRules) {
        if (rule.step == event.step && (rule.list < 0 || rule.list == event.list)
            && (rule.appointment < 0 || rule.appointment == int(event.appointment)))
            return &rule;
    }
    return nullptr;
}

// The steps after which the status says what the file holds, as an undo back to them says again.
bool isFileStep(DocumentStep step)
{
    switch (step) {
    case DocumentStep::Opened:
    case DocumentStep::Saved:
    case DocumentStep::BackedUp:
    case DocumentStep::Merged:
    case DocumentStep::Restored:
        return true;
    default:
        return false;
    }
}

} // namespace

StatusDisplay::StatusDisplay(TaskDocument &document, const Controls &controls, QObject *parent)
    : QObject(parent), document_(document), c_(controls)
{
    c_.fileStatus->setText(QStringLiteral("File not loaded"));
    connect(&document_, &TaskDocument::stepped, this, &StatusDisplay::follow);
    // The file-name panel never shows a file that is no longer the document's.
    connect(&document_, &TaskDocument::filePathChanged, this,
            [this](const QString &path) { c_.fileName->setText(QDir::toNativeSeparators(path)); });
}

void StatusDisplay::follow(const DocumentEvent &event)
{
    const Rule *rule = ruleFor(event);
    if (!rule)
        return;
    QString status = rule->status ? QString::fromLatin1(rule->status) : c_.fileStatus->text();
    if (rule->backToSaved && document_.isSaved() && !savedText_.isEmpty())
        status = savedText_;
    c_.fileStatus->setText(status);
    if (isFileStep(event.step))
        savedText_ = document_.isSaved() ? status : QString();

    const auto count = [this](int list) { return document_.list(list).count(); };
    switch (rule->shows) {
    case Shows::Nothing:
        break;
    case Shows::List:
        c_.lists[size_t(event.list)].refresh(count(event.list), *rule->suffix, rule->zero);
        break;
    case Shows::BothLists:
        for (int i : {0, 1})
            c_.lists[size_t(i)].refresh(count(i));
        break;
    case Shows::FirstCounter:
        c_.lists[0].showCount(count(0));
        break;
    case Shows::Moved:
        for (int i : {0, 1}) {
            c_.lists[size_t(i)].showCount(count(i));
            c_.lists[size_t(i)].showFill(count(i));
        }
        c_.lists[0].showSpacesLeft(count(0), true);
        break;
    case Shows::TasksMax:
        c_.lists[0].counter->setText(QString::number(document_.list(event.list).capacity())
                                     + QStringLiteral(" Tasks Max"));
        break;
    }

    switch (rule->box) {
    case EntryBox::AsItWas:
        break;
    case EntryBox::Enabled:
        setEntryRefused(false);
        break;
    case EntryBox::Disabled:
        setEntryRefused(true);
        break;
    case EntryBox::EnabledWithRoom:
        if (!document_.list(event.list).isFull())
            setEntryRefused(false);
        break;
    }
}

void StatusDisplay::setEntryRefused(bool refused)
{
    entryRefused_ = refused;
    c_.entryBox->setEnabled(!refused);
}

void StatusDisplay::showList(int list)
{
    shown_ = list;
    const bool second = list == 1;
    c_.secondListPanel->setVisible(second);
    c_.switchButton->setText(second ? QStringLiteral("1º List") : QStringLiteral("2º List"));
    for (int i : {0, 1})
        for (QWidget *button : c_.listButtons[size_t(i)])
            button->setVisible(i == list);
    c_.lists[size_t(list)].showCount(document_.list(list).count());
    // The backlog's fill shows what it holds now; the daily list's stays as its last command left it.
    if (second)
        c_.lists[1].showFill(document_.list(1).count());
}

void StatusDisplay::toggleReport()
{
    // The panel's own flag, not isVisible(): it keeps its state while the second
    // list's panel around it is hidden.
    QWidget *panel = c_.reportPanel;
    panel->setVisible(panel->isHidden());
    if (!panel->isHidden())
        c_.report->setText(statusReportText(document_.list(0).count(), document_.list(1).count()));
}

void StatusDisplay::toggleFileName()
{
    const bool show = c_.fileNamePanel->isHidden();
    c_.fileNamePanel->setVisible(show);
    c_.backupButton->setVisible(show);
    if (show) {
        c_.fileName->setText(QDir::toNativeSeparators(document_.filePath()));
        c_.report->clear();
        // The backup button lies in the report's panel: without it the button would not show.
        reportOpenedForBackup_ = c_.reportPanel->isHidden();
        c_.reportPanel->show();
    } else if (reportOpenedForBackup_) {
        c_.reportPanel->hide();
    }
}

} // namespace listora
