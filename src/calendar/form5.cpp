#include "calendar/form5.h"

#include "app/icons.h"
#include "app/windows.h"

namespace listora {

Form5::Form5(Windows &windows)
    : QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , windows_(windows)
{
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(QStringLiteral("Preferences"));
    setWindowIcon(icons::icon(icons::Glyph::Clock));
    setFixedSize(312, 240);
}

} // namespace listora
