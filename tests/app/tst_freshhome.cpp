#include "about/otherprogramswindow.h"
#include "about/aboutwindow.h"
#include "mainwindowrig.h"
#include "app/qtplatform.h"
#include "app/settingssandbox.h"
#include "widgets/windows.h"
#include "calendar/calendarwindow.h"
#include "calendar/clockwindow.h"
#include "calendar/calendarpreferences.h"
#include "tasks/tasklistmodel.h"
#include "lists/tasklistview.h"

#include <QApplication>
#include <QDirIterator>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

#ifdef Q_OS_WIN
#include <windows.h>

#include <iterator>
#endif

using namespace listora;

namespace {

// The real file dialogs and PDF writer; questions answered OK, no printer, no
// browser, no ending of the test process.
class RealDialogsPlatform final : public Platform {
public:
    QStringList messages;
    int quitCalls = 0;

    MessageAnswer message(QWidget *, const MessageRequest &request) override
    {
        messages.append(request.text);
        return MessageAnswer::Ok;
    }
    std::optional<QString> fileDialog(QWidget *parent, const FileDialogRequest &request) override
    {
        return real_.fileDialog(parent, request);
    }
    std::unique_ptr<LinePrinter> defaultPrinter() override { return nullptr; }
    std::unique_ptr<LinePrinter> pdfPrinter(const QString &path) override { return real_.pdfPrinter(path); }
    QAction *popUpMenu(QMenu &, const QPoint &) override { return nullptr; }
    void openUrl(const QUrl &) override {}
    QDateTime now() const override { return real_.now(); }
    DesktopNotifications &notifications() override { return real_.notifications(); }
    void quit() override { ++quitCalls; }

private:
    QtPlatform real_;
};

// Everything under root, hidden files included, relative to it.
QStringList treeOf(const QString &root)
{
    QStringList paths;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        paths.append(QDir(root).relativeFilePath(it.next()));
    paths.sort();
    return paths;
}

#ifdef Q_OS_WIN
// What Qt keeps of its file dialog in the registry, where Windows has user
// settings instead of files: the keys there, and the dialog group's values.
QStringList qtDialogRegistry()
{
    QStringList state;
    for (const wchar_t *path : {L"Software\\QtProject", L"Software\\QtProject\\OrganizationDefaults",
                                L"Software\\QtProject\\OrganizationDefaults\\FileDialog"}) {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
            break;
        state.append(QString::fromWCharArray(path));
        static wchar_t name[16384];
        static BYTE data[1 << 16];
        for (DWORD i = 0;; ++i) {
            DWORD nameLength = std::size(name), dataLength = sizeof data, type = 0;
            if (RegEnumValueW(key, i, name, &nameLength, nullptr, &type, data, &dataLength) != ERROR_SUCCESS)
                break;
            state.append(QString::fromWCharArray(name, int(nameLength)) + QLatin1Char('=')
                         + QString::fromLatin1(QByteArray(reinterpret_cast<const char *>(data), int(dataLength)).toHex()));
        }
        RegCloseKey(key);
    }
    return state;
}
#else
// Elsewhere Qt's user settings are files, which the home folder's tree covers.
QStringList qtDialogRegistry() { return {}; }
#endif

} // namespace

// A whole run against a home and a temporary folder made for it: the folders
// must be in place before Qt first looks them up, so main() sets them up before
// the application, as the program's own start-up does with its settings.
class tst_FreshHome : public QObject {
    Q_OBJECT
public:
    tst_FreshHome(const QString &home, const QString &tmp) : home_(home), tmp_(tmp) {}

private slots:
    void runLeavesOnlyTheChosenFiles();

private:
    // Answers the next file dialog with path, as a person typing it would.
    void answerFileDialog(const QString &path);

    QString home_;
    QString tmp_;
    int dialogsAnswered_ = 0;
    QStringList dialogsRefused_;
};

void tst_FreshHome::answerFileDialog(const QString &path)
{
    auto *timer = new QTimer(this);
    timer->setInterval(20);
    connect(timer, &QTimer::timeout, this, [this, timer, path] {
        for (QWidget *window : QApplication::topLevelWidgets()) {
            auto *dialog = qobject_cast<QFileDialog *>(window);
            if (!dialog || !dialog->isVisible())
                continue;
            timer->stop();
            timer->deleteLater();
            // Typed into the name box: selectFile() leaves the box alone once it has focus.
            if (auto *nameBox = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
                nameBox->setText(path);
            else
                dialog->selectFile(path);
            static_cast<QDialog *>(dialog)->accept(); // QFileDialog::accept, as the Save or Open button
            // A dialog that does not take the path must not leave the test waiting.
            if (dialog->isVisible()) {
                dialogsRefused_.append(path);
                dialog->reject();
            } else {
                ++dialogsAnswered_;
            }
            return;
        }
    });
    timer->start();
}

void tst_FreshHome::runLeavesOnlyTheChosenFiles()
{
    const QString documents = home_ + QStringLiteral("/Documents");
    QVERIFY(QDir().mkpath(documents));
    const QString input = documents + QStringLiteral("/week.dat");
    {
        QFile file(input);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(" 1 \r\nBuy bread\r\n 1 \r\nCall the bank\r\n");
    }
    const QString saved = documents + QStringLiteral("/saved.dat");
    const QString pdf = documents + QStringLiteral("/day.pdf");
    const QStringList before = treeOf(home_);
    const QStringList registryBefore = qtDialogRegistry();

    {
        test::BasicWindowRig<RealDialogsPlatform> rig;
        QVERIFY(rig.show());

        answerFileDialog(input);
        rig.form->openButton->click();
        QCOMPARE(rig.form->Tasks[0]->count(), 1);

        answerFileDialog(saved);
        rig.form->saveButton->click();
        QCOMPARE(rig.form->fileStatusLabel->text(), QStringLiteral("File saved "));

        rig.form->switchListButton->click();
        rig.form->fileNameButton->click();
        answerFileDialog(saved);
        rig.form->backupButton->click();
        QCOMPARE(rig.form->fileStatusLabel->text(), QStringLiteral("Back Up Ok"));
        rig.form->switchListButton->click();

        answerFileDialog(pdf);
        rig.form->printButton->click();

        rig.windows.show<CalendarWindow>();
        rig.windows.show<CalendarPreferences>();
        rig.windows.show<ClockWindow>();
        rig.windows.show<AboutWindow>();
        rig.windows.show<OtherProgramsWindow>();
        QTest::qWait(50);

        rig.form->exitButton->click();
        QCOMPARE(rig.platform.quitCalls, 1);
        QCOMPARE(dialogsAnswered_, 4);
        QVERIFY2(dialogsRefused_.isEmpty(), qPrintable(dialogsRefused_.join(QLatin1Char(' '))));
        QVERIFY2(QFile::exists(pdf), qPrintable(rig.platform.messages.join(QLatin1Char('\n'))));
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();

    const QStringList after = treeOf(home_);
    for (const QString &path : before)
        QVERIFY2(after.contains(path), qPrintable(path + QStringLiteral(" went missing")));
    QStringList added;
    for (const QString &path : after)
        if (!before.contains(path))
            added.append(path);
    const QStringList chosen = {QStringLiteral("Documents/day.pdf"), QStringLiteral("Documents/saved.dat"),
                                QStringLiteral("Documents/saved.dat_bak.dat")};
    QVERIFY2(added == chosen, qPrintable(QStringLiteral("new in the home folder: ") + added.join(QStringLiteral(", "))));
    QCOMPARE(qtDialogRegistry(), registryBefore);
    QStringList leftInTmp = treeOf(tmp_);
    // Wine's printing keeps the printer's PPD there, once per prefix for whichever
    // program prints first: Wine's own cache, as Windows keeps drivers in the system.
    leftInTmp.removeIf([](const QString &path) { return path.startsWith(QLatin1String("wine_ppds")); });
    QVERIFY2(leftInTmp.isEmpty(), qPrintable(QStringLiteral("left in the temporary folder: ")
                                             + leftInTmp.join(QStringLiteral(", "))));
}

int main(int argc, char *argv[])
{
    QTemporaryDir root;
    if (!root.isValid())
        return 1;
    const QString home = root.path() + QStringLiteral("/home");
    const QString tmp = root.path() + QStringLiteral("/tmp");
    const QList<QPair<const char *, QString>> folders = {
        {"HOME", home},
        {"TMPDIR", tmp},
        {"TEMP", tmp}, // Windows
        {"TMP", tmp},
        {"XDG_CONFIG_HOME", home + QStringLiteral("/.config")},
        {"XDG_CACHE_HOME", home + QStringLiteral("/.cache")},
        {"XDG_DATA_HOME", home + QStringLiteral("/.local/share")},
    };
    for (const auto &[name, path] : folders) {
        QDir().mkpath(path);
        qputenv(name, path.toLocal8Bit());
    }
    // As a desktop session has it; without one Qt makes a stand-in in TMPDIR.
    const QString runtime = root.path() + QStringLiteral("/run");
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit());

    SettingsSandbox sandbox;
    QApplication app(argc, argv);
    tst_FreshHome test(home, tmp);
    return QTest::qExec(&test, argc, argv);
}

#include "tst_freshhome.moc"
