#pragma once

#include "tasks/taskdocument.h"

#include <QString>

namespace listora {

// The warnings of the file commands, naming the file as the user's system
// writes paths. Empty when there is nothing to warn of.
QString openWarning(const QString &path, const OpenOutcome &outcome);
QString saveWarning(const SaveOutcome &outcome, bool backup);

// A path as the warnings quote it.
QString quotedPath(const QString &path);

} // namespace listora
