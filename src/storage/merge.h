#pragma once

// Three-way merge of the task lists, for a task file that another program
// (a sync client, an editor, a second copy of Listora) changed while the
// lists were open here.

#include "storage/taskfile.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace listora {

struct MergeResult {
    // False when a merged list would hold more entries than a count line can
    // say (kMaxListEntries); lists is empty then and nothing is to change.
    bool ok = false;
    int overfullList = -1; // 0 or 1 when !ok
    TaskLists lists;
    // What came from the other program, both lists together: entries of the
    // file that are not on screen (kept), and entries on screen that the file
    // no longer holds (dropped).
    qsizetype addedByOther = 0;
    qsizetype removedByOther = 0;
};

// Merges each list on its own: base is the list as last read from or written
// to the file, theirs the file as it is now, ours the list on screen. An entry
// added on either side is kept in its place among its neighbours; one removed
// on one side and left alone on the other is removed; where both sides changed
// the same stretch, both versions are kept, ours first, and what both sides
// added alike is kept once. Entries are matched by their place in a diff
// against base, so equal entries may repeat. Merged entries are the very
// strings of ours where they come from ours, so lines kept as read stay known.
MergeResult mergeTaskLists(const TaskLists &base, const TaskLists &theirs, const TaskLists &ours);

// The line under the buttons after a merge: "2 entries added, 1 removed by the
// other program".
QString otherProgramChangesText(qsizetype added, qsizetype removed);

// For each entry of a, the index of the entry of b it stays as, or -1 where
// b dropped or changed it: a longest common subsequence where a and b differ
// in at most a thousand places past the lines only one of them holds, else
// one that keeps their common start and end only. Increasing.
std::vector<qsizetype> matchEntries(const QStringList &a, const QStringList &b);

} // namespace listora
