#pragma once

#include "tasks/appointmentdate.h"

#include <QAbstractListModel>
#include <QDate>
#include <QStringList>

#include <memory>

namespace listora {

// One task list: its entries, top to bottom, and how many places the add
// buttons offer. These operations are the only way a list changes, so undo,
// the views and the capacity displays all see every change.
//
// The capacity is what adding honours; a move may still take a list past it.
// No operation takes a list past what a task file's count line can hold.
//
// Once it knows the day, the model marks appointments due today and overdue:
// DueRole for the views, and "due today" or "overdue" as the accessible
// description, with how a repeating one comes back ("repeats every week"). Marks are read off the entries as they are asked for, so
// keeping them costs an edit nothing.
class TaskListModel final : public QAbstractListModel {
    Q_OBJECT
public:
    enum Role {
        DueRole = Qt::UserRole + 1 // the row's Due, as an int
    };

    explicit TaskListModel(int capacity, QObject *parent = nullptr);
    ~TaskListModel() override;

    int capacity() const { return capacity_; }
    int count() const { return int(entries_.size()); }
    bool isFull() const { return count() >= capacity_; }
    // Room for n more entries within what a task file can count.
    bool canTake(qsizetype n = 1) const;
    const QStringList &entries() const { return entries_; }
    const QString &at(int row) const { return entries_.at(row); }
    // The entry at row as lists show it and screen readers read it: with its
    // letters whole, as the editor opens it, where the code page keeps them
    // in parts (1258's tones as combining marks, which many faces cannot
    // stack on a circumflex).
    QString shownAt(int row) const;

    // Without the generic model's checks through virtual calls: a view laying
    // out tens of thousands of rows asks for each row's index.
    QModelIndex index(int row, int column = 0, const QModelIndex &parent = {}) const override
    {
        return row >= 0 && row < entries_.size() && column == 0 && !parent.isValid() ? createIndex(row, 0)
                                                                                      : QModelIndex();
    }
    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // A drag carries which list and row it left, nothing another program
    // takes: an entry is put in order within its list, never copied out.
    QStringList mimeTypes() const override;
    QMimeData *mimeData(const QModelIndexList &indexes) const override;
    Qt::DropActions supportedDragActions() const override { return Qt::MoveAction; }
    Qt::DropActions supportedDropActions() const override { return Qt::MoveAction; }
    // The row a drag of this list carries, or -1 for any other drag.
    int draggedRow(const QMimeData *mime) const;

    // Each is refused (false, nothing changed) for a row out of range or an
    // entry the file could not count.
    bool append(const QString &entry);
    bool append(const QStringList &entries); // one insertion for the lot, as opening needs
    bool insert(int row, const QString &entry);
    bool remove(int row);
    // The entry at row, taken out; empty when row is out of range.
    QString take(int row);
    bool replace(int row, const QString &entry);
    // The entry at from ends up at row to; the others close up around it.
    bool move(int from, int to);
    // Drops the last n entries in one removal (what undoing an open takes back).
    bool removeLast(int n);

    // The day appointments are judged by, in the system's locale and the
    // program's code page; until it is set nothing is marked. The views hear
    // of the rows whose marks the new day changes.
    void setToday(const QDate &today);
    QDate today() const { return today_; }
    Due due(int row) const;

signals:
    // What is due may have changed: an entry due today or overdue came, went,
    // moved or changed, many entries came or went at once (opening a file and
    // its undo), or the day changed a mark. Never for a task alone, nor before
    // the day is set.
    void dueChanged();

private:
    bool inRange(int row) const { return row >= 0 && row < count(); }
    bool isDue(const QString &entry) const;
    const AppointmentDateReader &dates() const;

    QStringList entries_;
    int capacity_;
    QDate today_;
    mutable std::unique_ptr<AppointmentDateReader> dates_;
};

} // namespace listora
