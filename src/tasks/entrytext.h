#pragma once

#include <QString>

namespace listora {

// What the entry box keeps of typed or pasted text: a task file stores one entry
// per line, so line breaks become blanks.
QString storableEntryText(const QString &text);

} // namespace listora
