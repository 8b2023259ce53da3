#pragma once

#include <QDate>
#include <QStringList>

class QWidget;

namespace listora {

class Platform;

// Prints the first list on the default printer after asking, or, where no
// printer is installed, offers the same page as a PDF file. True when the page
// went out, to the printer or into the file.
bool printFirstList(Platform &platform, QWidget *parent, const QStringList &entries, const QString &taskFile,
                    const QDate &today);

} // namespace listora
