#pragma once

#include <QString>

namespace listora {

// What the entry box keeps of typed or pasted text: a task file stores one entry
// per line, so line breaks become blanks, and one byte a character in
// Windows-1252, so characters that code page lacks are left out.
QString storableEntryText(const QString &text);

} // namespace listora
