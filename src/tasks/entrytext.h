#pragma once

#include "storage/codepage.h"

#include <QString>

namespace listora {

struct EntryText {
    QString text;    // what the entry box keeps
    QString refused; // the first character left out, empty when none was
};

// What the entry box keeps of typed or pasted text: a task file stores one entry
// per line, so line breaks become blanks, and only what its code page holds, so
// other characters are left out (after trying their canonically equivalent
// forms, as Vietnamese needs).
EntryText storableEntryText(const QString &text, const CodePage &page = programCodePage());

// The short hint that names a refused character: "“✓” cannot be kept in a task file".
QString refusedCharacterHint(const QString &character);

} // namespace listora
