#pragma once

// The delegates of a task list's rows: one draws each entry on the row's
// baseline, the other also edits an entry in place.

class QAbstractItemDelegate;

namespace listora {

class TaskListView;

// Draws each entry on the baseline of view's rows.
QAbstractItemDelegate *newRowDelegate(TaskListView *view);
// Draws as that one does, and edits an entry in place by the entry box's
// rules, handing what was typed to view's owner.
QAbstractItemDelegate *newEntryDelegate(TaskListView *view);

} // namespace listora
