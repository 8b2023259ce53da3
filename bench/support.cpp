#include "support.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QStorageInfo>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QWidget>

#include <stdexcept>

namespace listora::bench {

namespace {

class PaintWatcher final : public QObject {
public:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            painted = true;
        return false;
    }
    bool painted = false;
};

} // namespace

bool waitForFirstPaint(QWidget &widget)
{
    PaintWatcher watcher;
    widget.installEventFilter(&watcher);
    QElapsedTimer timer;
    timer.start();
    // The children paint in the same backing-store sync as the window, before
    // processEvents returns.
    while (!watcher.painted && timer.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    widget.removeEventFilter(&watcher);
    return watcher.painted;
}

QStringList sampleEntries(int n, int list, int codePage)
{
    static const char *const western[2][6] = {
        {"Call the supplier about", "Write to the bank about", "Book a table for", "Check the invoice for",
         "Buy new parts for", "Plan the meeting on"},
        {"the spring order and its delivery", "the café on the corner street", "next month's rent and the deposit",
         "the broken printer in room two", "the garden shed before the rain", "the quarterly figures and notes"}};
    static const char *const russian[2][6] = {
        {"Позвонить поставщику насчёт", "Написать в банк про", "Заказать столик для", "Проверить счёт за",
         "Купить новые детали для", "Спланировать встречу на"},
        {"весеннего заказа и его доставки", "кафе на углу нашей улицы", "аренды за месяц и залога",
         "сломанного принтера в комнате два", "сарая в саду перед дождём", "квартальных цифр и заметок"}};
    static const char *const japanese[2][6] = {
        {"仕入先に電話して", "銀行に手紙を書いて", "席を予約して", "請求書を確認して", "新しい部品を買って",
         "会議の予定を立てて"},
        {"春の注文と配送について話す", "角のカフェの件を片付ける", "来月の家賃と敷金を払う",
         "二番の部屋の壊れたプリンター", "雨の前に庭の物置を直す", "四半期の数字とメモをまとめる"}};
    const auto &words = codePage == 1251 ? russian : codePage == 932 ? japanese : western;
    const auto &subjects = words[0];
    const auto &objects = words[1];
    QStringList entries;
    entries.reserve(n);
    for (int i = 0; i < n; ++i) {
        QString text = QStringLiteral("%1 %2, item %3/%4")
                           .arg(QString::fromUtf8(subjects[(i + list) % 6]), QString::fromUtf8(objects[(i / 6) % 6]))
                           .arg(i)
                           .arg(list + 1);
        if (i % 10 == 0)
            text = QStringLiteral(" ---> %1/%2/2026 ").arg(1 + i % 28).arg(1 + i % 12) + text.left(48);
        entries.append(text);
    }
    return entries;
}

QByteArray taskFileBytes(const QStringList &first, const QStringList &second, int codePage)
{
    QStringEncoder encoder(QByteArray("windows-" + QByteArray::number(codePage)).constData());
    QByteArray bytes;
    bytes.reserve(64 * (first.size() + second.size()) + 32);
    for (const QStringList *list : {&first, &second}) {
        bytes += ' ' + QByteArray::number(list->size()) + " \r\n";
        for (const QString &entry : *list) {
            bytes += encoder(entry);
            bytes += "\r\n";
        }
    }
    return bytes;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write " + path.toStdString());
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QString workFolder()
{
    static const QTemporaryDir dir(QCoreApplication::applicationDirPath() + QStringLiteral("/files-XXXXXX"));
    if (!dir.isValid())
        throw std::runtime_error("cannot make a folder for the benchmarks' files: " + dir.errorString().toStdString());
    return dir.path();
}

QString describeWorkFolder()
{
    const QStorageInfo storage(workFolder());
    return QStringLiteral("%1 (%2 on %3)")
        .arg(workFolder(), QString::fromLatin1(storage.fileSystemType()), QString::fromLocal8Bit(storage.device()));
}

} // namespace listora::bench
