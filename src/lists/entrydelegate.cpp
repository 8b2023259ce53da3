// How a task list's rows draw their entries, and the editor that edits one in place.
#include "lists/entrydelegate.h"

#include "lists/entrylineedit.h"
#include "lists/rowmetrics.h"
#include "lists/tasklistview.h"
#include "tasks/entrytext.h"

#include <QApplication>
#include <QLineEdit>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTextLayout>

namespace listora {

namespace {

constexpr char kShownProperty[] = "listoraShownEntry";

// Draws each entry on the same baseline, as far below the row's top as the
// code page's tallest letters need: the style would centre each entry's line,
// which moves with the faces the entry takes letters from, and would need
// as much room again below for what it needs above.
class RowDelegate : public QStyledItemDelegate {
public:
    explicit RowDelegate(TaskListView *view) : QStyledItemDelegate(view), view_(view) {}

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyleOptionViewItem item = option;
        initStyleOption(&item, index);
        const QWidget *widget = item.widget;
        const QStyle *style = widget ? widget->style() : QApplication::style();
        const QString text = item.text;
        const QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &item, widget);
        // The style draws the row, its selection and its focus; the text is drawn here.
        item.text.clear();
        style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);
        if (text.isEmpty())
            return;

        // As the style places and colours an item's text, on the row's baseline.
        QPalette::ColorGroup group = item.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
        if (group == QPalette::Normal && !(item.state & QStyle::State_Active))
            group = QPalette::Inactive;
        const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
        const QRect room = textRect.adjusted(margin, 0, -margin, 0);
        QTextOption textOption(Qt::AlignLeft | Qt::AlignVCenter);
        textOption.setWrapMode(QTextOption::NoWrap);
        textOption.setTextDirection(item.direction);
        QTextLayout layout(text, item.font);
        layout.setTextOption(textOption);
        layout.beginLayout();
        QTextLine line = layout.createLine();
        line.setLineWidth(room.width());
        layout.endLayout();
        painter->save();
        painter->setPen(item.palette.color(group, item.state & QStyle::State_Selected ? QPalette::HighlightedText
                                                                                      : QPalette::Text));
        layout.draw(painter, QPointF(room.x(), option.rect.top() + view_->baseline() - line.ascent()));
        painter->restore();
    }

protected:
    TaskListView *view_;
};

// The editor keeps the entry box's rules; what it commits is handed to the
// view's owner instead of being written into the model.
class EntryDelegate final : public RowDelegate {
public:
    using RowDelegate::RowDelegate;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &) const override
    {
        auto *editor = new EntryLineEdit(parent);
        editor->setObjectName(QStringLiteral("EntryEditor"));
        editor->setFrame(false);
        editor->setAccessibleName(QStringLiteral("Edit entry"));
        keepLettersWhole(editor);
        QObject::connect(editor, &EntryLineEdit::characterRefused, view_, [this, editor](const QString &c) {
            emit view_->characterRefused(c);
            // A screen reader speaks a changed description of the focused editor.
            editor->setAccessibleDescription(refusedCharacterHint(c));
        });
        return editor;
    }
    void setEditorData(QWidget *editor, const QModelIndex &index) const override
    {
        // The entry as it stands, letters whole; nothing is left out until the user types.
        auto *line = static_cast<QLineEdit *>(editor);
        const QString shown = editableEntryText(index.data(Qt::EditRole).toString());
        line->setText(shown);
        line->setProperty(kShownProperty, shown);
        line->setCursorPosition(int(shown.size()));
    }
    void setModelData(QWidget *editor, QAbstractItemModel *, const QModelIndex &index) const override
    {
        // An edit the user did not type into is no change, whatever the entry holds.
        const QString text = static_cast<QLineEdit *>(editor)->text();
        if (text == editor->property(kShownProperty).toString())
            return;
        emit view_->entryEdited(index.row(), storableEntryText(text).text);
    }
};

} // namespace

QAbstractItemDelegate *newRowDelegate(TaskListView *view)
{
    return new RowDelegate(view);
}

QAbstractItemDelegate *newEntryDelegate(TaskListView *view)
{
    return new EntryDelegate(view);
}

} // namespace listora
