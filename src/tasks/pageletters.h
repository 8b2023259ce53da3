#pragma once

#include "storage/codepage.h"

#include <QStringList>

namespace listora {

// Every letter page can store, and each with the marks the page stores for
// stacking on it (Vietnamese tones on Â, Thai tones on upper vowels, Hebrew
// points, Arabic harakat), one letter or cluster an item: what a row must
// hold whole. Entries keep stacked marks as the page stores them, the editor
// shows them composed, so a cluster comes in both forms where they differ.
// Of the tens of thousands of ideographs and Hangul syllables of the
// double-byte pages, whose faces draw them all within one square, a sample
// stands in for the rest.
QStringList lettersToMeasure(const CodePage &page);

} // namespace listora
