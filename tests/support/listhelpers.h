#pragma once

#include "tasks/tasklistmodel.h"
#include "lists/tasklistview.h"

#include <QStringList>

namespace listora::test {

// "task 0", "task 1", ...: distinct entries whose order a test can check.
inline QStringList entries(int count, const QString &stem = QStringLiteral("task "))
{
    QStringList list;
    list.reserve(count);
    for (int i = 0; i < count; ++i)
        list << stem + QString::number(i);
    return list;
}

// What a list shows, top to bottom.
inline QStringList texts(const TaskListView *list)
{
    return list->taskModel()->entries();
}

// Where a list draws its entry at row.
inline QRect rowRect(const TaskListView *list, int row)
{
    return list->visualRect(list->model()->index(row, 0));
}

inline bool rowSelected(const TaskListView *list, int row)
{
    return list->selectionModel()->isSelected(list->model()->index(row, 0));
}

} // namespace listora::test
