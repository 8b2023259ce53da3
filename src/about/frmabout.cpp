#include "about/frmabout.h"

#include "app/icons.h"
#include "app/windows.h"

namespace listora {

frmAbout::frmAbout(Windows &windows)
    : QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , windows_(windows)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About...            Listora"));
    setWindowIcon(icons::icon(icons::Glyph::About));
    setFixedSize(396, 237);
}

} // namespace listora
