#include "calendar/form4.h"

#include "app/icons.h"
#include "app/windows.h"

namespace listora {

Form4::Form4(Windows &windows)
    : QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , windows_(windows)
{
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("Clock"));
    setWindowIcon(icons::icon(icons::Glyph::Clock));
    setFixedSize(457, 123);
}

} // namespace listora
