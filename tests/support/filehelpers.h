#pragma once

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QString>

#include <filesystem>
#include <system_error>

namespace listora::test {

inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Empty when the file cannot be read.
inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Renames over an existing file, as sync clients put a downloaded file in
// place (std::rename refuses that on Windows).
inline bool renameOver(const QString &from, const QString &to)
{
    std::error_code error;
    std::filesystem::rename(from.toStdU16String(), to.toStdU16String(), error);
    return !error;
}

// Every entry under root with its bytes, folders marked as such: what a failed
// write must leave exactly as it was.
inline QMap<QString, QByteArray> snapshot(const QString &root)
{
    QMap<QString, QByteArray> out;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString name = QDir(root).relativeFilePath(path);
        if (it.fileInfo().isDir()) {
            out.insert(name, QByteArrayLiteral("<folder>"));
        } else {
            QFile file(path);
            out.insert(name, file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArrayLiteral("<unreadable>"));
        }
    }
    return out;
}

} // namespace listora::test
