#pragma once

#include "storage/codepage.h"

#include <QString>

namespace listora {

struct EntryText {
    QString text;
    QString refused; // the first character left out, empty when none was
};

// The entry that typed or pasted text is added as: a task file stores one
// entry per line, so line breaks become blanks, and only what its code page
// holds, so other characters are left out (after trying their canonically
// equivalent forms, as Vietnamese needs, and the page's own letters for
// look-alikes).
EntryText storableEntryText(const QString &text, const CodePage &page = programCodePage());

// What the entry box and the editor keep while the user types: what
// storableEntryText would leave out is left out here too, and look-alikes show
// as the page's own letters, but a letter the page stores in parts (ệ as ê and
// a combining dot in 1258) stays one character, so that Backspace takes the
// whole letter, as input methods that correct a word expect.
EntryText typedEntryText(const QString &text, const CodePage &page = programCodePage());

// What the editor starts with for an entry: its letters composed where that
// is stored back as the very same entry, so an unchanged entry stays unchanged.
QString editableEntryText(const QString &entry, const CodePage &page = programCodePage());

// The short hint that names a refused character: "“✓” cannot be kept in a task file".
QString refusedCharacterHint(const QString &character);

} // namespace listora
