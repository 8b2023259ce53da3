#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

namespace listora::about {

// "Ver. 1.0.19": the About window's version caption.
QString versionCaption(int major, int minor, int revision);
QString versionCaption();

// The About window's caption: "About...", twelve blanks, then the product.
QString aboutCaption(const QString &product);

QUrl websiteUrl();
// The maker's donation page: US dollars, no shipping address, no note.
QUrl donationUrl();

// One line of the other-programs panel: the name and a full stop, padded with
// blanks to a column of 21 characters, then the description. A name too long
// for the column is kept whole.
QString programEntry(const QString &name, const QString &description);
inline constexpr int kProgramColumn = 21;

// The panel's nine lines, top to bottom; the last one describes this program.
QStringList programEntries();

} // namespace listora::about
