#include "storage/recovery.h"

#include "storage/folderaccess.h"
#include "storage/limits.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QLockFile>
#include <QStandardPaths>
#include <QUrl>

#include <algorithm>

namespace listora {

namespace {

const QString kPrefix = QStringLiteral("unsaved-");
const QString kSuffix = QStringLiteral(".dat");
const QString kDamagedPrefix = QStringLiteral("damaged-");
const QByteArray kMarker = QByteArrayLiteral("[Listora unsaved lists]");
// Room for the trailer past the lists and their base.
constexpr qint64 kMaxTrailerBytes = 64 * 1024;
// How often a write starts again in a folder that another copy of the
// program removed, empty, just after it was made.
constexpr int kFolderTries = 20;

SaveResult failure(const QString &error)
{
    return {false, error, {}, false};
}

// Held by the copy writing a kept file and by the copy offering it; one whose
// process is gone is stale, however long ago it was taken.
std::shared_ptr<QLockFile> claimOf(const QString &file)
{
    auto lock = std::make_shared<QLockFile>(file + QStringLiteral(".lock"));
    lock->setStaleLockTime(0);
    return lock;
}

// The kept lists in the file at path, or nothing with why.
std::optional<RecoveredLists> readRecovery(const QString &path, QString *why)
{
    const LoadResult loaded = loadFileBytes(path, 2 * kMaxTaskFileBytes + kMaxTrailerBytes);
    if (!loaded.ok) {
        *why = loaded.error;
        return std::nullopt;
    }
    *why = QStringLiteral("it is damaged or cut short");
    const QByteArray &bytes = loaded.bytes;
    if (bytes.size() < 4 || !bytes.endsWith("\r\n"))
        return std::nullopt;
    // The trailer starts at the last marker that starts a line.
    const QByteArray markerLine = kMarker + "\r\n";
    qsizetype markerAt = bytes.lastIndexOf(markerLine);
    if (markerAt < 2 || bytes[markerAt - 1] != '\n' || bytes[markerAt - 2] != '\r')
        return std::nullopt;
    QList<QByteArray> lines = bytes.sliced(markerAt, bytes.size() - 2 - markerAt).split('\n');
    QHash<QByteArray, QByteArray> fields;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        QByteArray &line = lines[i];
        if (i + 1 < lines.size()) {
            if (!line.endsWith('\r'))
                return std::nullopt;
            line.chop(1);
        }
        const qsizetype blank = line.indexOf(' ');
        if (blank <= 0 || fields.contains(line.left(blank)))
            return std::nullopt;
        fields.insert(line.left(blank), line.mid(blank + 1));
    }
    // The lists' length comes last, where a cut shows at once.
    if (!lines.constLast().startsWith("lists "))
        return std::nullopt;
    for (const char *key : {"path", "ended", "codepage", "sha1", "lists"})
        if (!fields.contains(key))
            return std::nullopt;
    bool listsNumeric = false;
    bool baseNumeric = true;
    bool pageNumeric = false;
    const qsizetype listsSize = fields.value("lists").toLongLong(&listsNumeric);
    const qsizetype baseSize = fields.contains("base") ? fields.value("base").toLongLong(&baseNumeric) : 0;
    const int pageNumber = fields.value("codepage").toInt(&pageNumeric);
    if (!listsNumeric || !baseNumeric || !pageNumeric || listsSize < 0 || baseSize < 0
        || listsSize + baseSize != markerAt)
        return std::nullopt;
    if (fields.value("sha1") != recoveryChecksum(QByteArrayView(bytes.constData(), markerAt)))
        return std::nullopt;

    RecoveredLists found;
    found.ended = QDateTime::fromString(QString::fromLatin1(fields.value("ended")), Qt::ISODateWithMs);
    if (!found.ended.isValid())
        return std::nullopt;
    found.ended = found.ended.toUTC();
    found.codePage = pageNumber;
    // The page it was written in, so that a change of locale since reads the same entries.
    const CodePage page(pageNumber);
    found.read = readTaskFile(QByteArrayView(bytes.constData(), listsSize), page);
    if (!found.read.complete)
        return std::nullopt;
    found.file = path;
    found.taskFile.path = QString::fromUtf8(QByteArray::fromPercentEncoding(fields.value("path")));
    if (baseSize > 0) {
        const ReadResult base = readTaskFile(QByteArrayView(bytes.constData() + listsSize, baseSize), page);
        if (!base.complete)
            return std::nullopt;
        found.taskFile.base = base.lists;
    }
    if (fields.contains("file")) {
        const QList<QByteArray> held = fields.value("file").split(' ');
        bool sizeNumeric = false;
        found.taskFile.size = held.size() == 2 ? held[0].toLongLong(&sizeNumeric) : -1;
        if (!sizeNumeric || found.taskFile.size < 0)
            return std::nullopt;
        found.taskFile.checksum = held[1];
    }
    why->clear();
    return found;
}

QString usualFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
}

bool isTempFolder(const QString &folder)
{
    return folder == userTempFolder(QCoreApplication::applicationName());
}

// The folder made, or found, fit for kept lists.
bool makeFolder(const QString &folder)
{
    return isTempFolder(folder) ? makePrivateFolder(folder) : QDir().mkpath(folder);
}

// Writes bytes as path in its folder, making the folder first. Another copy
// of the program may remove it, empty, at any moment until the claim's lock
// file is in it: then it is made again.
SaveResult writeInFolder(const QString &folder, const QString &path, const QByteArray &bytes)
{
    SaveResult saved = failure(QStringLiteral("the folder cannot be made"));
    for (int i = 0; i < kFolderTries; ++i) {
        if (!makeFolder(folder))
            return saved;
        const std::shared_ptr<QLockFile> claim = claimOf(path);
        if (claim->tryLock(0)) {
            saved = saveBytes(path, bytes);
            claim->unlock();
            if (saved)
                return saved;
        } else {
            saved = failure(QStringLiteral("no file can be made there"));
        }
        if (QFileInfo(folder).isDir())
            break; // there all along: the failure is the folder's own
    }
    QDir().rmdir(folder); // made for nothing: it goes again when empty
    return saved;
}

} // namespace

QStringList recoveryFolders()
{
    // Without a name of its own a location is a shared folder itself, which
    // must never be written to nor removed.
    const QString name = QCoreApplication::applicationName();
    if (name.isEmpty())
        return {};
    QStringList folders;
    for (const auto location : {QStandardPaths::AppLocalDataLocation, QStandardPaths::AppDataLocation,
                                QStandardPaths::AppConfigLocation, QStandardPaths::CacheLocation}) {
        const QString folder = QStandardPaths::writableLocation(location);
        if (!folder.isEmpty() && !folders.contains(folder))
            folders.append(folder);
    }
    folders.append(userTempFolder(name));
    return folders;
}

QString recoveryFolder()
{
    return QCoreApplication::applicationName().isEmpty() ? QString() : usualFolder();
}

QByteArray recoveryChecksum(QByteArrayView bytes)
{
    // Stable from one run and one version of Qt to the next, unlike qHash.
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex();
}

SaveResult writeRecovery(const TaskLists &lists, const KeptTaskFile &taskFile, const QDateTime &ended,
                         const KeptLines *kept, QString *file, const QList<CodePage> &pages)
{
    if (lists.first.size() > kMaxListEntries || lists.second.size() > kMaxListEntries)
        return failure(QStringLiteral("a list holds more than %1 entries").arg(kMaxListEntries));
    const QStringList folders = recoveryFolders();
    if (folders.isEmpty() || pages.isEmpty())
        return failure(QStringLiteral("there is no folder for application data"));
    const QDateTime when = (ended.isValid() ? ended : QDateTime::currentDateTime()).toUTC();

    // Encoded before any folder is made, so that the folder stands empty for as short a time as can be.
    const CodePage *page = &pages.constFirst();
    QByteArray bytes;
    for (const CodePage &candidate : pages) {
        ChangedEntry changed;
        QByteArray tried = writeTaskFile(lists, candidate, &changed, kept);
        if (bytes.isNull() || !changed) {
            bytes = std::move(tried);
            page = &candidate;
        }
        if (!changed)
            break;
    }
    const qsizetype listsSize = bytes.size();
    if (taskFile.base)
        bytes += writeTaskFile(*taskFile.base, *page, nullptr, kept);
    const QByteArray sum = recoveryChecksum(bytes);
    const qsizetype baseSize = bytes.size() - listsSize;
    bytes += kMarker + "\r\n";
    bytes += "path " + QUrl::toPercentEncoding(taskFile.path) + "\r\n";
    bytes += "ended " + when.toString(Qt::ISODateWithMs).toLatin1() + "\r\n";
    bytes += "codepage " + QByteArray::number(page->number()) + "\r\n";
    bytes += "sha1 " + sum + "\r\n";
    if (taskFile.size >= 0)
        bytes += "file " + QByteArray::number(taskFile.size) + ' ' + taskFile.checksum + "\r\n";
    if (baseSize > 0)
        bytes += "base " + QByteArray::number(baseSize) + "\r\n";
    bytes += "lists " + QByteArray::number(listsSize) + "\r\n";

    // The process in the name keeps apart two copies that end in the same millisecond.
    const QString name = kPrefix + when.toString(QStringLiteral("yyyyMMdd-HHmmss-zzz")) + QLatin1Char('-')
        + QString::number(QCoreApplication::applicationPid()) + kSuffix;
    QStringList errors;
    for (const QString &folder : folders) {
        const QString path = QDir(folder).filePath(name);
        const SaveResult saved = writeInFolder(folder, path, bytes);
        if (saved) {
            if (file)
                *file = path;
            return saved;
        }
        errors.append(QDir::toNativeSeparators(folder) + QStringLiteral(": ") + saved.error);
    }
    return failure(errors.join(QStringLiteral("; ")));
}

RecoveryScan findRecoveries()
{
    RecoveryScan scan;
    const QStringList folders = recoveryFolders();
    for (const QString &folder : folders) {
        if (!QFileInfo(folder).isDir() || (isTempFolder(folder) && !isPrivateFolder(folder)))
            continue;
        const QDir dir(folder);
        // What a write left when its program was killed: its claim is gone with the program.
        const QStringList leftovers =
            dir.entryList({kPrefix + QLatin1Char('*') + kSuffix + QStringLiteral(".*")}, QDir::Files | QDir::Hidden);
        for (const QString &name : leftovers) {
            if (name.endsWith(QLatin1String(".lock")))
                continue;
            const QString written = dir.filePath(name.left(name.lastIndexOf(kSuffix) + kSuffix.size()));
            if (const std::shared_ptr<QLockFile> claim = claimOf(written); claim->tryLock(0))
                QFile::remove(dir.filePath(name));
        }
        const QStringList names = dir.entryList({kPrefix + QLatin1Char('*') + kSuffix}, QDir::Files, QDir::Name);
        for (const QString &name : names) {
            const QString path = dir.filePath(name);
            std::shared_ptr<QLockFile> claim = claimOf(path);
            if (!claim->tryLock(0))
                continue; // another copy is writing or offering it
            QString why;
            if (std::optional<RecoveredLists> one = readRecovery(path, &why)) {
                one->claim = std::move(claim);
                if (folder != folders.constFirst())
                    one->fallbackFolder = folder;
                scan.found.append(std::move(*one));
                continue;
            }
            // Put aside, once: the open command still reads what it holds.
            const QString aside = dir.filePath(kDamagedPrefix + name);
            if (!QFileInfo::exists(aside) && QFile::rename(path, aside))
                scan.damaged.append({path, aside, why});
        }
        QDir().rmdir(folder); // an empty one left behind; anything else in it stays
    }
    std::stable_sort(scan.found.begin(), scan.found.end(),
                     [](const RecoveredLists &a, const RecoveredLists &b) { return a.ended < b.ended; });
    return scan;
}

bool removeRecovery(RecoveredLists &kept)
{
    QFile::remove(kept.file);
    const bool gone = !QFileInfo::exists(kept.file);
    if (kept.claim)
        kept.claim->unlock();
    // Only when empty: anything else there stays, and so does the folder.
    QDir().rmdir(QFileInfo(kept.file).absolutePath());
    return gone;
}

QString restoreQuestionText(const QDateTime &ended, const QString &fallbackFolder, const QLocale &locale)
{
    const QDateTime local = ended.toLocalTime();
    const QString when = locale.toString(local.date(), QLocale::ShortFormat) + QLatin1Char(' ')
        + locale.toString(local.time(), QLocale::ShortFormat);
    const QString where = fallbackFolder.isEmpty()
        ? QString()
        : QStringLiteral("They were kept in “%1”, as the usual folder could not take them. ")
              .arg(QDir::toNativeSeparators(fallbackFolder));
    return QStringLiteral("Listora was closed at the end of the session on %1 with lists that were not saved. %2"
                          "Restore them?")
        .arg(when, where);
}

} // namespace listora
