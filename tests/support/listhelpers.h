#pragma once

#include <QListWidget>
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

// What a list box shows, top to bottom.
inline QStringList texts(const QListWidget *list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

} // namespace listora::test
