#include "storage/recovery.h"

#include "tasks/capacity.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QUrl>

#include <algorithm>
#include <optional>

namespace listora {

namespace {

const QString kPrefix = QStringLiteral("unsaved-");
const QString kSuffix = QStringLiteral(".dat");
const QByteArray kMarker = QByteArrayLiteral("[Listora unsaved lists]");
// The lines after the lists, marker included.
constexpr qsizetype kTrailerLines = 6;
// Room for the trailer past the largest task file.
constexpr qint64 kMaxTrailerBytes = 64 * 1024;

SaveResult failure(const QString &error)
{
    return {false, error, {}};
}

// Stable from one version of Qt to the next, unlike qHash: it is read in a later run.
QByteArray checksum(QByteArrayView bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex();
}

// The value of "key value", or nothing for another key.
std::optional<QByteArray> valueOf(const QByteArray &line, const char *key)
{
    const QByteArray prefix = QByteArray(key) + ' ';
    if (!line.startsWith(prefix))
        return std::nullopt;
    return line.mid(prefix.size());
}

std::optional<RecoveredLists> readRecovery(const QString &path)
{
    const LoadResult loaded = loadFileBytes(path, kMaxTaskFileBytes + kMaxTrailerBytes);
    const QByteArray &bytes = loaded.bytes;
    if (!loaded.ok || bytes.size() < 4 || !bytes.endsWith("\r\n"))
        return std::nullopt;
    // The last line says where the lists end and the trailer starts.
    const qsizetype end = bytes.size() - 2;
    const qsizetype lastLine = bytes.lastIndexOf('\n', end - 1) + 1;
    const std::optional<QByteArray> listsValue = valueOf(bytes.sliced(lastLine, end - lastLine), "lists");
    bool numeric = false;
    const qsizetype listsSize = listsValue ? listsValue->toLongLong(&numeric) : -1;
    if (!numeric || listsSize < 0 || listsSize > lastLine)
        return std::nullopt;
    QList<QByteArray> fields = bytes.sliced(listsSize, end - listsSize).split('\n');
    if (fields.size() != kTrailerLines)
        return std::nullopt;
    for (qsizetype i = 0; i + 1 < fields.size(); ++i) {
        if (!fields[i].endsWith('\r'))
            return std::nullopt;
        fields[i].chop(1);
    }
    const auto taskPath = valueOf(fields[1], "path");
    const auto ended = valueOf(fields[2], "ended");
    const auto page = valueOf(fields[3], "codepage");
    const auto sum = valueOf(fields[4], "sha1");
    if (fields[0] != kMarker || !taskPath || !ended || !page || !sum)
        return std::nullopt;
    const QByteArrayView listsPart(bytes.constData(), listsSize);
    if (*sum != checksum(listsPart))
        return std::nullopt;
    bool pageNumeric = false;
    const int pageNumber = page->toInt(&pageNumeric);
    RecoveredLists found;
    found.ended = QDateTime::fromString(QString::fromLatin1(*ended), Qt::ISODateWithMs);
    if (!pageNumeric || !found.ended.isValid())
        return std::nullopt;
    // The page it was written in, so that a change of locale since reads the same entries.
    found.read = readTaskFile(listsPart, CodePage(pageNumber));
    if (!found.read.complete)
        return std::nullopt;
    found.file = path;
    found.taskPath = QString::fromUtf8(QByteArray::fromPercentEncoding(*taskPath));
    found.ended = found.ended.toUTC();
    return found;
}

} // namespace

QString recoveryFolder()
{
    // Without a name of its own the location is the shared data folder itself,
    // which must never be written to nor removed.
    if (QCoreApplication::applicationName().isEmpty())
        return {};
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
}

SaveResult writeRecovery(const TaskLists &lists, const QString &taskPath, const QDateTime &ended,
                         const KeptLines *kept, QString *file, const CodePage &page)
{
    if (lists.first.size() > kMaxListEntries || lists.second.size() > kMaxListEntries)
        return failure(QStringLiteral("a list holds more than %1 entries").arg(kMaxListEntries));
    const QString folder = recoveryFolder();
    if (folder.isEmpty())
        return failure(QStringLiteral("there is no folder for application data"));
    if (!QDir().mkpath(folder))
        return failure(QStringLiteral("the folder %1 cannot be made").arg(QDir::toNativeSeparators(folder)));
    const QDateTime when = (ended.isValid() ? ended : QDateTime::currentDateTime()).toUTC();

    QByteArray bytes = writeTaskFile(lists, page, nullptr, kept);
    const qsizetype listsSize = bytes.size();
    const QByteArray sum = checksum(bytes);
    bytes += kMarker + "\r\n";
    bytes += "path " + QUrl::toPercentEncoding(taskPath) + "\r\n";
    bytes += "ended " + when.toString(Qt::ISODateWithMs).toLatin1() + "\r\n";
    bytes += "codepage " + QByteArray::number(page.number()) + "\r\n";
    bytes += "sha1 " + sum + "\r\n";
    bytes += "lists " + QByteArray::number(listsSize) + "\r\n";

    // The process in the name keeps apart two copies that end in the same millisecond.
    const QString name = kPrefix + when.toString(QStringLiteral("yyyyMMdd-HHmmss-zzz")) + QLatin1Char('-')
        + QString::number(QCoreApplication::applicationPid()) + kSuffix;
    const QString path = QDir(folder).filePath(name);
    const SaveResult saved = saveBytes(path, bytes);
    if (!saved)
        QDir().rmdir(folder); // made for nothing: it goes again when empty
    else if (file)
        *file = path;
    return saved;
}

QList<RecoveredLists> findRecoveries()
{
    QList<RecoveredLists> found;
    const QString folder = recoveryFolder();
    if (folder.isEmpty())
        return found;
    const QDir dir(folder);
    const QStringList names = dir.entryList({kPrefix + QLatin1Char('*') + kSuffix}, QDir::Files, QDir::Name);
    for (const QString &name : names) {
        if (std::optional<RecoveredLists> one = readRecovery(dir.filePath(name)))
            found.append(std::move(*one));
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const RecoveredLists &a, const RecoveredLists &b) { return a.ended < b.ended; });
    if (names.isEmpty())
        QDir().rmdir(folder); // an empty one left behind; anything else in it stays
    return found;
}

bool removeRecovery(const QString &file)
{
    QFile::remove(file);
    const bool gone = !QFileInfo::exists(file);
    const QString folder = recoveryFolder();
    if (!folder.isEmpty())
        QDir().rmdir(folder); // only when empty: anything else there stays, and so does the folder
    return gone;
}

QString restoreQuestionText(const QDateTime &ended, const QLocale &locale)
{
    const QDateTime local = ended.toLocalTime();
    const QString when = locale.toString(local.date(), QLocale::ShortFormat) + QLatin1Char(' ')
        + locale.toString(local.time(), QLocale::ShortFormat);
    return QStringLiteral("Listora was closed at the end of the session on %1 with lists that were not saved. "
                          "Restore them?")
        .arg(when);
}

} // namespace listora
