#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QStringList>

namespace listora::test {

// Another program with the file open and no sharing, as a spreadsheet keeps it;
// it lets go when its input closes, or after a while as a virus scan does.
// Windows only: holdopen.exe is built there, beside the tests.
class HoldingProcess {
public:
    bool start(const QString &path, int milliseconds = 0)
    {
        QStringList arguments{QDir::toNativeSeparators(path)};
        if (milliseconds > 0)
            arguments << QString::number(milliseconds);
        process_.start(QCoreApplication::applicationDirPath() + QStringLiteral("/holdopen.exe"), arguments);
        if (!process_.waitForStarted(30000))
            return false;
        while (!process_.readAllStandardOutput().contains("held")) {
            if (!process_.waitForReadyRead(30000))
                return false;
        }
        return true;
    }
    bool release()
    {
        if (process_.state() == QProcess::NotRunning)
            return true;
        process_.closeWriteChannel();
        return process_.waitForFinished(30000) && process_.exitCode() == 0;
    }
    ~HoldingProcess()
    {
        if (!release())
            process_.kill();
    }

private:
    QProcess process_;
};

} // namespace listora::test
