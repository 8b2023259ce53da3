#pragma once

#include "storage/recovery.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QString>

namespace listora::test {

// Test mode's folder for kept lists, under a home of the test's own where the
// system reads one from the environment; Windows does not, so the folder is
// emptied before and after.
class KeptFolder
{
public:
    explicit KeptFolder(const QString &home)
    {
#ifndef Q_OS_WIN
        qputenv("HOME", QFile::encodeName(home));
#else
        Q_UNUSED(home);
#endif
        QStandardPaths::setTestModeEnabled(true);
        QDir(recoveryFolder()).removeRecursively();
    }
    ~KeptFolder()
    {
        QDir(recoveryFolder()).removeRecursively();
        QStandardPaths::setTestModeEnabled(false);
#ifndef Q_OS_WIN
        qputenv("HOME", home_);
#endif
    }
    KeptFolder(const KeptFolder &) = delete;
    KeptFolder &operator=(const KeptFolder &) = delete;

private:
    const QByteArray home_ = qgetenv("HOME");
};

} // namespace listora::test
