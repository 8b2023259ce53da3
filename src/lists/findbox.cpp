#include "lists/findbox.h"

#include "tasks/entrytext.h"
#include "lists/entrylineedit.h"
#include "tasks/findtext.h"
#include "tasks/tasklistmodel.h"
#include "lists/tasklistview.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSortFilterProxyModel>
#include <QVBoxLayout>

namespace listora {

// The entries that contain the needle. Each entry's key is made once per
// change of the list, not once per key typed.
class FindProxy final : public QSortFilterProxyModel {
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    void setSourceModel(QAbstractItemModel *model) override
    {
        for (const QMetaObject::Connection &connection : std::as_const(connections_))
            disconnect(connection);
        connections_.clear();
        keys_.clear();
        // Before the proxy's own, which filter the changed rows at once.
        if (model) {
            const auto forget = [this] { keys_.clear(); };
            connections_ << connect(model, &QAbstractItemModel::rowsAboutToBeInserted, this, forget)
                         << connect(model, &QAbstractItemModel::rowsAboutToBeRemoved, this, forget)
                         << connect(model, &QAbstractItemModel::rowsAboutToBeMoved, this, forget)
                         << connect(model, &QAbstractItemModel::layoutAboutToBeChanged, this, forget)
                         << connect(model, &QAbstractItemModel::modelAboutToBeReset, this, forget)
                         << connect(model, &QAbstractItemModel::dataChanged, this,
                                    [this](const QModelIndex &, const QModelIndex &, const QList<int> &roles) {
                                        if (roles.isEmpty() || roles.contains(Qt::DisplayRole))
                                            keys_.clear();
                                    });
        }
        QSortFilterProxyModel::setSourceModel(model);
    }

    void setNeedle(const QString &typed)
    {
        const QString needle = findKey(typed);
        if (needle == needle_)
            return;
        needle_ = needle;
        invalidateFilter();
    }

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &) const override
    {
        if (needle_.isEmpty())
            return true;
        if (keys_.isEmpty()) {
            const int rows = sourceModel()->rowCount();
            keys_.reserve(rows);
            for (int row = 0; row < rows; ++row)
                keys_ << findKey(sourceModel()->index(row, 0).data(Qt::DisplayRole).toString());
        }
        return sourceRow < keys_.size() && keys_.at(sourceRow).contains(needle_);
    }

private:
    QString needle_;
    mutable QStringList keys_;
    QList<QMetaObject::Connection> connections_;
};

FindBox::FindBox(QWidget *parent) : QWidget(parent), home_(parent), proxy_(new FindProxy(this))
{
    setObjectName(QStringLiteral("FindBox"));
    setAutoFillBackground(true);
    matches_ = new TaskListView(this);
    matches_->setObjectName(QStringLiteral("FindMatches"));
    matches_->setAccessibleName(QStringLiteral("Entries found"));
    // The focus stays in the line: the matches are chosen from there.
    matches_->setFocusPolicy(Qt::NoFocus);
    matches_->setModel(proxy_);
    line_ = new EntryLineEdit(this);
    line_->setObjectName(QStringLiteral("FindLine"));
    line_->setAccessibleName(QStringLiteral("Find in the list"));
    line_->setPlaceholderText(line_->accessibleName());
    connect(line_, &EntryLineEdit::characterRefused, this, &FindBox::showHint);
    line_->installEventFilter(this);
    hint_ = new QLabel(this);
    hint_->setObjectName(QStringLiteral("FindHint"));
    hint_->hide();

    auto *bottom = new QHBoxLayout;
    bottom->setContentsMargins(0, 0, 0, 0);
    bottom->addWidget(line_, 1);
    bottom->addWidget(hint_);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(matches_, 1);
    layout->addLayout(bottom);

    connect(line_, &QLineEdit::textChanged, this, &FindBox::textChanged);
    connect(matches_, &QAbstractItemView::doubleClicked, this, &FindBox::accept);
    connect(matches_->selectionModel(), &QItemSelectionModel::selectionChanged, this, &FindBox::chosenChanged);
    hide();
}

FindBox::~FindBox() = default;

QString FindBox::text() const
{
    return line_->text();
}

void FindBox::open(TaskListView *list)
{
    if (!list || !list->taskModel() || !list->isVisible())
        return;
    if (isOpen())
        finish(-1, false);
    list_ = list;
    // The matches look as the list does.
    matches_->setFont(list->font());
    focusBefore_ = QApplication::focusWidget();
    // Beside the list rather than in it: a screen reader finds a list's items in it, nothing else.
    setParent(list->parentWidget() ? list->parentWidget() : list);
    place();
    list->installEventFilter(this);

    {
        const QSignalBlocker quiet(line_);
        line_->clear();
    }
    hint_->hide();
    proxy_->setNeedle(QString());
    proxy_->setSourceModel(list->taskModel());
    show();
    raise();
    // Nothing typed yet: the whole list as it was, its selected entry chosen.
    const QModelIndex top = list->model() ? list->indexAt(QPoint(0, 0)) : QModelIndex();
    if (top.isValid())
        matches_->scrollTo(proxy_->mapFromSource(top), QAbstractItemView::PositionAtTop);
    choose(list->selectedRow() >= 0 ? proxy_->mapFromSource(list->taskModel()->index(list->selectedRow())).row() : -1);
    line_->setFocus(Qt::ShortcutFocusReason);
}

void FindBox::place()
{
    setGeometry(parentWidget() == list_ ? list_->rect() : list_->geometry());
}

void FindBox::cancel()
{
    finish(-1, true);
}

void FindBox::closeEvent(QCloseEvent *event)
{
    finish(-1, true);
    event->accept();
}

void FindBox::accept()
{
    const int row = chosenRow();
    finish(row, row < 0);
}

void FindBox::finish(int row, bool giveFocusBack)
{
    if (!isOpen())
        return;
    // Cleared first: moving the focus below must not close the box a second time.
    TaskListView *list = list_;
    list_ = nullptr;
    list->removeEventFilter(this);
    if (row >= 0) {
        list->selectRow(row);
        list->setFocus(Qt::OtherFocusReason);
    } else if (giveFocusBack) {
        QWidget *back = focusBefore_ && focusBefore_->isVisible() && focusBefore_->isEnabled() ? focusBefore_.data()
                                                                                            : list;
        back->setFocus(Qt::OtherFocusReason);
    }
    hide();
    proxy_->setSourceModel(nullptr);
    if (parentWidget() != home_)
        setParent(home_);
    emit closed();
    if (row >= 0)
        emit entryChosen(row);
}

int FindBox::chosenRow() const
{
    const QModelIndex chosen = matches_->currentIndex();
    if (!chosen.isValid() || !matches_->selectionModel()->isSelected(chosen))
        return -1;
    return proxy_->mapToSource(chosen).row();
}

void FindBox::textChanged(const QString &text)
{
    // The hint of a character left out stands until the box closes, as under the entry box.
    proxy_->setNeedle(text);
    if (text.isEmpty() && list_ && list_->selectedRow() >= 0)
        choose(proxy_->mapFromSource(list_->taskModel()->index(list_->selectedRow())).row());
    else
        choose(proxy_->rowCount() > 0 ? 0 : -1);
    chosenChanged();
}

void FindBox::choose(int row)
{
    matches_->selectRow(row);
}

void FindBox::chosenChanged()
{
    // A screen reader speaks the focused line's changed description: the entry chosen.
    QString description;
    if (const QModelIndex chosen = matches_->currentIndex(); chosenRow() >= 0)
        description = chosen.data(Qt::DisplayRole).toString();
    else if (proxy_->rowCount() == 0 && !line_->text().isEmpty())
        description = QStringLiteral("Not found");
    line_->setAccessibleDescription(description);
}

void FindBox::showHint(const QString &character)
{
    const QString hint = refusedCharacterHint(character);
    hint_->setText(hint);
    hint_->show();
    line_->setAccessibleDescription(hint);
}

bool FindBox::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == list_) {
        if (event->type() == QEvent::Resize || event->type() == QEvent::Move)
            place();
        else if (event->type() == QEvent::Hide)
            finish(-1, false);
        return false;
    }
    if (watched != line_ || !isOpen())
        return false;
    switch (event->type()) {
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress: {
        auto *key = static_cast<QKeyEvent *>(event);
        const bool ours = key->modifiers() == Qt::NoModifier || key->modifiers() == Qt::KeypadModifier;
        switch (ours ? key->key() : 0) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            if (event->type() == QEvent::KeyPress)
                QCoreApplication::sendEvent(matches_, event);
            event->accept();
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
            // Taken before the window's shortcuts and default buttons.
            event->accept();
            if (event->type() == QEvent::KeyPress) {
                if (key->key() == Qt::Key_Escape)
                    cancel();
                else
                    accept();
            }
            return true;
        default:
            return false;
        }
    }
    case QEvent::FocusOut: {
        // Going elsewhere in the window leaves the list as it was; another window or a menu does not.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            finish(-1, false);
        return false;
    }
    default:
        return false;
    }
}

} // namespace listora
