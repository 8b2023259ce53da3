#pragma once

// The platform's own code page converter, by Windows code page number. One
// small file per platform implements it: ICU by name through Qt where Qt has
// it, the Windows API on Windows.

#include <QByteArray>
#include <QList>
#include <QStringList>

namespace listora::codepagebackend {

bool available(int number);
// Up to two bytes a character (932, 936, 949, 950), else one.
bool doubleByte(int number);

// Each piece on its own, as the platform reads it; what it cannot read comes
// back as U+FFFD or its own stand-in.
QStringList decodeEach(int number, const QList<QByteArray> &pieces);
// Each piece on its own; a piece holding a character the page lacks comes back empty.
QList<QByteArray> encodeEach(int number, const QStringList &pieces);

// The system's ANSI code page, or 0 where the system has none and the
// locale decides.
int systemCodePage();

} // namespace listora::codepagebackend
