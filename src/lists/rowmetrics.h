#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QStringView>

#include <array>
#include <memory>

class QLineEdit;
class QPaintDevice;

namespace listora {

// What a list's rows need in one face on one screen: shared by both lists,
// since working it out lays out every letter of the code page.
class RowMetrics {
public:
    // For entries in font holding the letters the program's code page stores.
    RowMetrics(const QFont &font, const QPaintDevice *device);

    // How far the letters of the code page reach above and below the
    // baseline, in whatever face they are drawn: the line that holds any
    // entry whole.
    int above() const { return above_; }
    int below() const { return below_; }
    // At least as wide as text is drawn. Summing each character's advance
    // measures a list of thousands without laying each entry out; kerning
    // only takes away from it.
    int width(QStringView text) const;

private:
    QFontMetricsF metrics_;
    int above_ = 0;
    int below_ = 0;
    mutable std::array<float, 256> latin_;
    mutable QHash<char16_t, float> others_;
};

// The one for font on device and the program's code page.
std::shared_ptr<const RowMetrics> rowMetricsFor(const QFont &font, const QPaintDevice *device);

// A line edit centres its text by the text's ink but hangs it from the
// face's ascent, so letters with stacked marks lose their tops in a box that
// has room for them. This moves the text down by what they reach above the
// ascent, as the text and input method's preedit change.
void keepLettersWhole(QLineEdit *edit);

} // namespace listora
