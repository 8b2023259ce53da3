#pragma once

#include "tasks/taskdocument.h"

#include <QString>

namespace listora {

// The warnings of the file commands, naming the file as the user's system
// writes paths. Empty when there is nothing to warn of.
QString openWarning(const QString &path, const OpenOutcome &outcome);
QString saveWarning(const SaveOutcome &outcome, bool backup);
// Why lists kept at the end of a session were not restored, or could not be read back.
QString restoreWarning(const RecoveredLists &kept, const OpenOutcome &outcome);
QString damagedRecoveryWarning(const DamagedRecovery &damaged);

// A path as the warnings quote it.
QString quotedPath(const QString &path);
// The largest task file an open reads: "64 MiB".
QString largestFileText();

} // namespace listora
