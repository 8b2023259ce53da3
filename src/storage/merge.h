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
// of base both sides hold is kept once, where theirs moved it if ours left it
// in place, else where ours has it. One removed on either side is removed; a
// changed entry is the old one removed and a new one added. An entry added on
// either side follows the entry it follows on that side, ours first where both
// added after the same one, and what both added alike, anywhere, is kept once.
// Each side is matched with base by a diff, and what that leaves by the text,
// as moved, so equal entries may repeat. Merged entries are the very strings
// of ours where they come from ours, so lines kept as read stay known.
MergeResult mergeTaskLists(const TaskLists &base, const TaskLists &theirs, const TaskLists &ours);

// The line under the buttons after a merge: "2 entries added, 1 removed by the
// other program".
QString otherProgramChangesText(qsizetype added, qsizetype removed);

// For each entry of a, the index of the entry of b it stays as, or -1 where
// b dropped, changed or moved it: a longest common subsequence, unless entries
// repeat and a and b differ in over a thousand places past the lines only one
// of them holds; then the longest run in order of the pairs of each text's
// k-th entries. Increasing.
std::vector<qsizetype> matchEntries(const QStringList &a, const QStringList &b);

} // namespace listora
