#pragma once

#include <QAbstractListModel>
#include <QStringList>

namespace listora {

// One task list: its entries, top to bottom, and how many places the add
// buttons offer. These operations are the only way a list changes, so undo,
// the views and the capacity displays all see every change.
//
// The capacity is what adding honours; a move may still take a list past it.
// No operation takes a list past what a task file's count line can hold.
class TaskListModel final : public QAbstractListModel {
    Q_OBJECT
public:
    explicit TaskListModel(int capacity, QObject *parent = nullptr);

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

private:
    bool inRange(int row) const { return row >= 0 && row < count(); }

    QStringList entries_;
    int capacity_;
};

} // namespace listora
