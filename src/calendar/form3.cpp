#include "calendar/form3.h"

#include "app/icons.h"
#include "app/windows.h"

namespace listora {

Form3::Form3(Windows &windows)
    : QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , windows_(windows)
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Calendar"));
    setWindowIcon(icons::icon(icons::Glyph::Calendar));
    setFixedSize(555, 428);
}

} // namespace listora
