#pragma once

#include <QIcon>

namespace listora::icons {

// Pictures drawn in code at whatever size and scale they are asked for, so they
// stay sharp on high-density screens.
enum class Glyph {
    Application,    // the program's own icon (main window)
    About,          // the About window
    Programs,       // the other-programs panel
    Calendar,       // the calendar window
    Clock,          // the clock window, also borrowed by the preferences window
    Open,
    Save,
    Print,
    AddTask,
    AddAppointment,
    Remove,
    Exit,
    Report,
    FileInfo,
    Blank,          // the picture button without an action
    Alarm,
    Timer,
    DonationBadge,  // 73 x 44, wider than tall
};

QIcon icon(Glyph glyph);

} // namespace listora::icons
