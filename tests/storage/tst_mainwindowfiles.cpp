// The main window's file commands with a scripted platform: open, save, the
// file-name panel and the backup, and what the window shows of their faults.
#include "failingsaves.h"
#include "mainwindowrig.h"
#include "texts/texts.h"
#include "widgets/windows.h"
#include "fakeplatform.h"
#include "filehelpers.h"
#include "holdingprocess.h"
#include "keptfolder.h"
#include "listhelpers.h"
#include "storage/codepage.h"
#include "storage/recovery.h"
#include "storage/taskfile.h"
#include "tasks/tasklistmodel.h"
#include "lists/tasklistview.h"

#include <QCoreApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QClipboard>
#include <QGuiApplication>
#include <QTest>
#include <QTimer>

using namespace listora;
using listora::test::KeptFolder;
using listora::test::WindowRig;
using listora::test::texts;
using listora::test::entries;
using listora::test::readFile;
using listora::test::writeFile;

namespace {

// Key presses into the entry box, one a character, as a keyboard or an input
// method sends them; '\b' is Backspace.
void typeKeys(QLineEdit *box, const QString &keys)
{
    for (const QChar c : keys) {
        if (c == QLatin1Char('\b'))
            QTest::keyClick(box, Qt::Key_Backspace);
        else
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

} // namespace

class TestMainWindowFiles : public QObject {
    Q_OBJECT
private slots:
    // Western unless a row names its page, whatever the machine's locale.
    void initTestCase() { setProgramCodePage(CodePage(1252)); }
    void init();

    void openShows_data();
    void openShows();
    void leftAsItWas_data();
    void leftAsItWas();

    void changedByAnotherProgram_data();
    void changedByAnotherProgram();
    void keptListsOffered_data();
    void keptListsOffered();
    void save_data();
    void save();
    void typedTextSurvivesSaving();
    void typedInLocale_data();
    void typedInLocale();
    void releasedWhileWaiting_data();
    void releasedWhileWaiting();

    void backupNames_data();
    void backupNames();
    void fileNamePanel_data();
    void fileNamePanel();
    void fileNamePanelFollowsThePath_data();
    void fileNamePanelFollowsThePath();

private:
    QTemporaryDir dir_;
    QString path(const QString &name) const { return dir_.filePath(name); }
};

void TestMainWindowFiles::init()
{
    QVERIFY(dir_.isValid());
    for (const QString &name : QDir(dir_.path()).entryList(QDir::Files))
        QFile::remove(path(name));
}

// What the window shows after an open: the dialog it asked, any warning, and
// figures that count what the lists now hold; an open that adds nothing
// leaves them as they were.
void TestMainWindowFiles::openShows_data()
{
    QTest::addColumn<int>("held"); // entries of the first list before
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("shown"); // the counter, free places, bar tip and status; the second counter
    QTest::addColumn<int>("bar");
    QTest::addColumn<bool>("warns");
    using L = QStringList;
    QTest::newRow("added to what the lists held")
        << 1 << QByteArray(" 4 \r\na\r\nb\r\nc\r\nd\r\n 2 \r\ne\r\nf\r\n")
        << L{"5 Tasks", "45 Spaces left", "10%", "File Open", "2 Tasks"} << 10 << false;
    QTest::newRow("two empty lists") << 0 << QByteArray(" 0 \r\n 0 \r\n")
                                     << L{"0 Tasks", "50 Spaces left", "0%", "File Open", "0 Tasks"} << 0 << false;
    // No places left, never fewer; a full bar, and what the status report says.
    QTest::newRow("past the first list's capacity")
        << 48 << writeTaskFile(entries(5, "new "), {}) << L{"53 Tasks", "0 Spaces left", "106 %", "File Open", "0 Tasks"}
        << 100 << false;
    QTest::newRow("a file cut short") << 0 << QByteArray(" 3 \r\na\r\nb\r\n")
                                      << L{"2 Tasks", "48 Spaces left", "", "File Open", "0 Tasks"} << 0 << true;
    QTest::newRow("no task file") << 0 << QByteArray("Buy bread\r\n")
                                  << L{"old counter", "", "", "File not loaded", "untouched"} << 0 << true;
}

void TestMainWindowFiles::openShows()
{
    QFETCH(int, held);
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, shown);
    QFETCH(int, bar);
    QFETCH(bool, warns);
    QVERIFY(writeFile(path("lists.dat"), bytes));
    WindowRig w;
    w.form->Tasks[0]->append(entries(held));
    w.form->firstListCounter->setText(QStringLiteral("old counter"));
    w.form->secondListCounter->setText(QStringLiteral("untouched"));
    w.platform.paths.enqueue(path("lists.dat"));
    w.form->openButton->click();

    QCOMPARE(w.platform.dialogs.size(), 1);
    const FileDialogRequest &dialog = w.platform.dialogs.first();
    QCOMPARE(dialog.mode, FileDialogMode::Open);
    QCOMPARE(dialog.filter, QStringLiteral("Data Files(*.dat)|*.dat"));
    QCOMPARE(dialog.initDir, taskFileFolder(QCoreApplication::applicationDirPath()));
    QCOMPARE((QStringList{w.form->firstListCounter->text(), w.form->spacesLeftLabel->text(), w.form->firstListFill->toolTip(),
                          w.form->fileStatusLabel->text(), w.form->secondListCounter->text()}),
             shown);
    QCOMPARE(w.form->firstListFill->value(), bar);
    QCOMPARE(w.platform.messages.size(), warns ? 1 : 0);
    if (warns) {
        const MessageRequest &m = w.platform.messages.first();
        QCOMPARE(m.icon, MessageIcon::Warning);
        QCOMPARE(m.title, productName());
        QVERIFY2(m.text.startsWith("The file \"" + QDir::toNativeSeparators(path("lists.dat"))), qPrintable(m.text));
    }
    // The second list's figures count its new entries, as showing it would.
    if (shown.last() == QLatin1String("untouched"))
        return;
    const QString shownPercent = w.form->secondListPercent->text();
    const int shownBar = w.form->secondListFill->value();
    w.form->switchListButton->click();
    QCOMPARE(w.form->secondListPercent->text(), shownPercent);
    QCOMPARE(w.form->secondListFill->value(), shownBar);
    QCOMPARE(w.form->secondListCounter->text(), shown.last());
}

// A cancelled dialog does nothing and says nothing; a failed save or backup
// says what went wrong in a warning. Either way the lists, their file, the
// status and the counter stay as they were.
void TestMainWindowFiles::leftAsItWas_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("picked"); // in the test's folder; empty: the dialog is cancelled
    QTest::addColumn<QString>("entry");  // added to the first list after opening a.dat
    QTest::addColumn<QString>("warned"); // the file the warning names
    QTest::newRow("open cancelled") << "open" << "" << "b" << "";
    QTest::newRow("save cancelled") << "save" << "" << "b" << "";
    QTest::newRow("backup cancelled") << "backup" << "" << "b" << "";
    QTest::newRow("save into a missing folder") << "save" << "missing/work.dat" << "b" << "missing/work.dat";
    QTest::newRow("backup of an entry the file cannot hold")
        << "backup" << "work.dat" << QString::fromUtf16(u"Done \u2713") << "work.dat_bak.dat";
}

void TestMainWindowFiles::leftAsItWas()
{
    QFETCH(QString, command);
    QFETCH(QString, picked);
    QFETCH(QString, entry);
    QFETCH(QString, warned);
    WindowRig w;
    QVERIFY(writeFile(path("a.dat"), " 1 \r\na\r\n 0 \r\n"));
    w.form->openTaskFile(path("a.dat"));
    w.form->Tasks[0]->append(entry);
    w.form->fileStatusLabel->setText(QStringLiteral("File not saved "));

    w.platform.paths.enqueue(picked.isEmpty() ? std::nullopt : std::optional(path(picked)));
    (command == "open" ? w.form->openButton : command == "save" ? w.form->saveButton : w.form->backupButton)->click();
    // The save's reminder comes before its dialog.
    QCOMPARE(w.platform.messages.size(), (command == "save" ? 1 : 0) + (warned.isEmpty() ? 0 : 1));
    if (!warned.isEmpty()) {
        QCOMPARE(w.platform.messages.last().icon, MessageIcon::Warning);
        const QString &text = w.platform.messages.last().text;
        QVERIFY2(text.contains(QDir::toNativeSeparators(path(warned))), qPrintable(text));
    }
    QCOMPARE(w.form->Tasks[0]->count(), 2);
    QCOMPARE(w.form->document().filePath(), path("a.dat"));
    QCOMPARE(readFile(path("a.dat")), QByteArray(" 1 \r\na\r\n 0 \r\n"));
    QCOMPARE(QDir(dir_.path()).entryList(QDir::Files), QStringList{"a.dat"});
    QCOMPARE(w.form->fileStatusLabel->text(), QStringLiteral("File not saved "));
    QCOMPARE(w.form->firstListCounter->text(), QStringLiteral("1 Tasks"));
}

void TestMainWindowFiles::save_data()
{
    QTest::addColumn<QStringList>("first");
    QTest::addColumn<QStringList>("second");
    QTest::addColumn<QByteArray>("before"); // the file picked; empty: none there
    QTest::addColumn<QString>("picked");
    QTest::addColumn<QByteArray>("written");
    using L = QStringList;
    // The name is used as typed: no ending is added.
    QTest::newRow("both lists, a name without the ending")
        << L{"a", "b", "c"} << L{"d"} << QByteArray() << "work" << QByteArray(" 3 \r\na\r\nb\r\nc\r\n 1 \r\nd\r\n");
    QTest::newRow("empty lists") << L{} << L{} << QByteArray() << "empty.dat" << QByteArray(" 0 \r\n 0 \r\n");
    QTest::newRow("over a longer file, asking nothing")
        << L{"new"} << L{} << QByteArray(" 5 \r\n").append(QByteArray("long old entry\r\n").repeated(5)) + " 0 \r\n"
        << "old.dat" << QByteArray(" 1 \r\nnew\r\n 0 \r\n");
}

void TestMainWindowFiles::save()
{
    QFETCH(QStringList, first);
    QFETCH(QStringList, second);
    QFETCH(QByteArray, before);
    QFETCH(QString, picked);
    QFETCH(QByteArray, written);
    if (!before.isEmpty())
        QVERIFY(writeFile(path(picked), before));
    WindowRig w;
    w.form->Tasks[0]->append(first);
    w.form->Tasks[1]->append(second);
    w.form->secondListCounter->setText(QStringLiteral("untouched"));
    w.form->spacesLeftLabel->setText(QStringLiteral("untouched"));
    w.platform.paths.enqueue(path(picked));
    w.form->saveButton->click();

    QCOMPARE(w.platform.messages.size(), 1); // the reminder only
    const MessageRequest &m = w.platform.messages.first();
    QCOMPARE(m.text, QStringLiteral("Please put after the filename the ending < .dat > "));
    QCOMPARE(m.title, QStringLiteral("Listora"));
    QCOMPARE(m.buttons, MessageButtons::Ok);
    QCOMPARE(m.icon, MessageIcon::None);
    QCOMPARE(w.platform.dialogs.size(), 1);
    QCOMPARE(w.platform.dialogs.first().mode, FileDialogMode::Save);
    QCOMPARE(w.platform.dialogs.first().filter, QStringLiteral("Data files (*.dat)|*.dat"));
    QCOMPARE(w.platform.dialogs.first().initDir, taskFileFolder(QCoreApplication::applicationDirPath()));

    QCOMPARE(readFile(path(picked)), written);
    QCOMPARE(QDir(dir_.path()).entryList(QDir::Files), QStringList{picked});
    QCOMPARE(w.form->fileStatusLabel->text(), QStringLiteral("File saved "));
    QCOMPARE(w.form->firstListCounter->text(), QStringLiteral("%1 Tasks").arg(first.size()));
    QCOMPARE(w.form->spacesLeftLabel->text(), QStringLiteral("untouched"));
    QCOMPARE(w.form->secondListCounter->text(), QStringLiteral("untouched"));
    QCOMPARE(w.form->document().filePath(), path(picked));
}

void TestMainWindowFiles::typedTextSurvivesSaving()
{
    WindowRig w;
    QVERIFY(w.show());
    w.form->entryBox->clear();
    // Typed one key at a time, then pasted.
    for (const QChar c : QString::fromUtf16(u"Caf\u00e9 \u65e5"))
        QTest::sendKeyEvent(QTest::Click, w.form->entryBox, Qt::Key_unknown, QString(c), Qt::NoModifier);
    // What the box kept out is named beside it, and to a screen reader.
    QVERIFY(!w.form->entryHint->isHidden());
    QCOMPARE(w.form->entryHint->text(), QString::fromUtf16(u"\u201c\u65e5\u201d cannot be kept in a task file"));
    QCOMPARE(w.form->entryBox->accessibleDescription(), w.form->entryHint->text());
    QGuiApplication::clipboard()->setText(QString::fromUtf16(u"\u20ac\U0001F600"));
    QTest::keyClick(w.form->entryBox, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(w.form->entryBox->text(), QString::fromUtf16(u"Caf\u00e9 \u20ac"));
    QVERIFY(w.form->entryHint->text().contains(QString::fromUtf16(u"\U0001F600")));
    // It stands through later keys, until the entry is added.
    QTest::keyClick(w.form->entryBox, Qt::Key_A);
    QTest::keyClick(w.form->entryBox, Qt::Key_Backspace);
    QVERIFY(!w.form->entryHint->isHidden());
    w.form->addTaskButton->click();
    QVERIFY(w.form->entryHint->isHidden());
    QVERIFY(w.form->entryBox->accessibleDescription().isEmpty());
    w.platform.paths.enqueue(path("typed.dat"));
    w.form->saveButton->click();

    WindowRig fresh;
    fresh.form->openTaskFile(path("typed.dat"));
    QCOMPARE(texts(fresh.form->List[0]), texts(w.form->List[0]));
}

void TestMainWindowFiles::typedInLocale_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QByteArray>("opened"); // a task file opened first, if any
    QTest::addColumn<QString>("keys");      // typed into the entry box, then added; '\b' is Backspace
    QTest::addColumn<QString>("shown");     // in the box before the add
    QTest::addColumn<QByteArray>("saved");
    const auto typed = [](const char *name, const char *locale, const char16_t *keys, const char16_t *shown,
                          const QByteArray &entry) {
        QTest::newRow(name) << QString::fromLatin1(locale) << QByteArray() << QString::fromUtf16(keys)
                            << QString::fromUtf16(shown) << " 1 \r\n" + entry + "\r\n 0 \r\n";
    };
    const auto opened = [](const char *name, const char *locale, const QByteArray &file) {
        QTest::newRow(name) << QString::fromLatin1(locale) << file << QString() << QString() << file;
    };
    // What Telex sends for "hoafn": "hòa", two Backspaces for "òa", then "oàn".
    typed("vi: an input method corrects a word", "vi_VN.UTF-8", u"h\u00f2a\b\bo\u00e0n", u"ho\u00e0n", "ho\xe0n");
    typed("vi: letters 1258 stores as marks", "vi_VN.UTF-8", u"Ti\u1ebfng Vi\u1ec7t", u"Ti\u1ebfng Vi\u1ec7t",
          "Ti\xea\xecng Vi\xea\xf2t");
    typed("vi: Backspace takes the whole letter", "vi_VN.UTF-8", u"Vi\u1ec7\bt", u"Vit", "Vit");
    typed("ro: comma-below letters", "ro_RO.UTF-8", u"Mul\u021bumesc, Bucure\u0219ti", u"Mul\u0163umesc, Bucure\u015fti",
          "Mul\xfeumesc, Bucure\xbati");
    typed("ro: capitals", "ro_RO.UTF-8", u"\u0218I \u021aARA", u"\u015eI \u0162ARA", "\xaaI \xde" "ARA");
    typed("fa: Persian digits", "fa_IR.UTF-8", u"\u062c\u0644\u0633\u0647 \u0633\u0627\u0639\u062a \u06f1\u06f0",
          u"\u062c\u0644\u0633\u0647 \u0633\u0627\u0639\u062a 10", "\xcc\xe1\xd3\xe5 \xd3\xc7\xda\xca 10");
    typed("ar: Arabic-Indic digits", "ar_EG.UTF-8", u"\u063a\u0631\u0641\u0629 \u0663\u0660\u0665",
          u"\u063a\u0631\u0641\u0629 305", "\xdb\xd1\xdd\xc9 305");
    typed("fa: Persian yeh", "fa_IR.UTF-8", u"\u0686\u0627\u06cc", u"\u0686\u0627\u064a", "\x8d\xc7\xed");
    typed("ja: wave dash", "ja_JP.UTF-8", u"10\u6642\u301c12\u6642", u"10\u6642\uff5e12\u6642",
          "10\x8e\x9e\x81\x60" "12\x8e\x9e");
    typed("en: accent typed apart", "en_US.UTF-8", u"cafe\u0301", u"caf\u00e9", "caf\xe9");
    opened("ja: small roman one in its NEC-selected form", "ja_JP.UTF-8", " 1 \r\n\xee\xef\r\n 0 \r\n");
    QTest::newRow("ja: both forms read, the same letter typed")
        << QStringLiteral("ja_JP.UTF-8") << QByteArray(" 2 \r\n\xee\xef\r\n\xfa\x40\r\n 0 \r\n")
        << QString::fromUtf16(u"\u2170") << QString::fromUtf16(u"\u2170")
        << QByteArray(" 3 \r\n\xee\xef\r\n\xfa\x40\r\n\xfa\x40\r\n 0 \r\n");
    opened("ja: a Cyrillic file", "ja_JP.UTF-8", " 1 \r\n\xcf\xf0\xe8\xe2\xe5\xf2, \xec\xe8\xf0\r\n 0 \r\n");
    opened("zh_TW: box drawing in its second form", "zh_TW.UTF-8", " 0 \r\n 1 \r\n\xa2\xa4\xf9\xf9\r\n");
}

// A user of the locale types (and corrects) a line and adds it, and saves:
// the box shows letters whole, the file holds the code page's own form, and a
// file opened before keeps the bytes it came with.
void TestMainWindowFiles::typedInLocale()
{
    QFETCH(QString, locale);
    QFETCH(QByteArray, opened);
    QFETCH(QString, keys);
    QFETCH(QString, shown);
    QFETCH(QByteArray, saved);
    const CodePage before = programCodePage();
    setProgramCodePage(CodePage(codePageForLocale(locale)));
    const auto restore = qScopeGuard([&] { setProgramCodePage(before); });

    WindowRig w;
    QVERIFY(w.show());
    if (!opened.isEmpty()) {
        QVERIFY(writeFile(path("opened.dat"), opened));
        w.form->openTaskFile(path("opened.dat"));
        QCOMPARE(w.form->fileStatusLabel->text(), QStringLiteral("File Open"));
    }
    w.form->entryBox->clear();
    typeKeys(w.form->entryBox, keys);
    QCOMPARE(w.form->entryBox->text(), shown);
    QVERIFY(w.form->entryHint->isHidden());
    if (!keys.isEmpty())
        w.form->addTaskButton->click();
    w.platform.answers.enqueue(MessageAnswer::Ok);
    w.platform.paths.enqueue(path("saved.dat"));
    w.form->saveButton->click();
    QCOMPARE(w.platform.messages.size(), 1); // the reminder only
    QCOMPARE(w.form->fileStatusLabel->text(), QStringLiteral("File saved "));
    QCOMPARE(readFile(path("saved.dat")), saved);

    WindowRig fresh;
    fresh.form->openTaskFile(path("saved.dat"));
    QCOMPARE(texts(fresh.form->List[0]), texts(w.form->List[0]));
    QCOMPARE(texts(fresh.form->List[1]), texts(w.form->List[1]));
}

// A scan that lets go within the retry window never reaches the user.
void TestMainWindowFiles::releasedWhileWaiting_data()
{
    QTest::addColumn<bool>("backup");
#ifdef Q_OS_WIN
    QTest::newRow("save") << false;
    QTest::newRow("backup") << true;
#else
    QSKIP("Elsewhere a file open in another program can be replaced");
#endif
}

void TestMainWindowFiles::releasedWhileWaiting()
{
    QFETCH(bool, backup);
    const QString picked = path(QStringLiteral("work.dat"));
    const QString target = backup ? picked + QStringLiteral("_bak.dat") : picked;
    QVERIFY(writeFile(target, " 0 \r\n 0 \r\n"));
    test::HoldingProcess holder;
    QVERIFY2(holder.start(target, 700), "the helper did not take hold of the file");

    WindowRig w;
    w.form->Tasks[0]->append(QStringLiteral("after the scan"));
    QVERIFY(w.show());

    // While the save waits, the window paints and shows that it is busy.
    struct PaintWatch final : QObject {
        bool eventFilter(QObject *, QEvent *event) override
        {
            painted = painted || event->type() == QEvent::Paint;
            return false;
        }
        bool painted = false;
    } paints;
    Qt::CursorShape cursor = Qt::ArrowCursor;
    QTimer::singleShot(200, w.form.get(), [&] {
        if (const QCursor *shown = QGuiApplication::overrideCursor())
            cursor = shown->shape();
        w.form->installEventFilter(&paints);
        w.form->update();
    });
    w.platform.paths.enqueue(picked);
    (backup ? w.form->backupButton : w.form->saveButton)->click();
    QCOMPARE(w.form->fileStatusLabel->text(), backup ? QStringLiteral("Back Up Ok") : QStringLiteral("File saved "));
    QCOMPARE(w.platform.messages.size(), backup ? 0 : 1);
    QCOMPARE(cursor, Qt::WaitCursor);
    QVERIFY(paints.painted);
    QVERIFY(!QGuiApplication::overrideCursor());
}

void TestMainWindowFiles::backupNames_data()
{
    QTest::addColumn<QString>("picked");
    QTest::addColumn<QString>("written");
    QTest::newRow("with the ending") << "work.dat" << "work.dat_bak.dat";
    QTest::newRow("without it") << "work" << "work_bak.dat";
}

void TestMainWindowFiles::backupNames()
{
    QFETCH(QString, picked);
    QFETCH(QString, written);
    WindowRig w;
    w.form->Tasks[0]->append(QStringLiteral("unsaved"));
    w.form->firstListCounter->setText(QStringLiteral("counter"));
    w.platform.paths.enqueue(path(picked));
    w.form->backupButton->click();

    QVERIFY(w.platform.messages.isEmpty());
    QCOMPARE(w.platform.dialogs.size(), 1);
    QCOMPARE(w.platform.dialogs.first().mode, FileDialogMode::Save);
    QCOMPARE(w.platform.dialogs.first().filter, QStringLiteral("Data files (*.dat)|*.dat"));
    QCOMPARE(readFile(path(written)), QByteArray(" 1 \r\nunsaved\r\n 0 \r\n"));
    QCOMPARE(QDir(dir_.path()).entryList(QDir::Files), QStringList{written});
    QCOMPARE(w.form->fileStatusLabel->text(), QStringLiteral("Back Up Ok"));
    QCOMPARE(w.form->firstListCounter->text(), QStringLiteral("counter"));
    // A copy is not the file the lists belong to.
    QVERIFY(w.form->document().filePath().isEmpty());
}

void TestMainWindowFiles::fileNamePanel_data()
{
    QTest::addColumn<bool>("reportOpen");
    QTest::newRow("report closed") << false;
    QTest::newRow("report open") << true;
}

// The file-name button shows the path and the backup button, which lies in the
// report's panel: shown for it, that panel goes again with it.
void TestMainWindowFiles::fileNamePanel()
{
    QFETCH(bool, reportOpen);
    WindowRig w;
    w.form->switchListButton->click(); // the backlog's panel holds them
    if (reportOpen)
        w.form->statusReportButton->click();
    w.form->reportLabel->setText(QStringLiteral("report"));

    w.form->fileNameButton->click();
    QVERIFY(!w.form->fileNamePanel->isHidden());
    QVERIFY(w.form->backupButton->isVisibleTo(w.form.get()));
    QCOMPARE(w.form->fileNameLabel->text(), QString());
    QCOMPARE(w.form->reportLabel->text(), QString());

    w.form->fileNameButton->click();
    QVERIFY(w.form->fileNamePanel->isHidden());
    QVERIFY(w.form->backupButton->isHidden());
    QCOMPARE(w.form->reportPanel->isHidden(), !reportOpen);
}

// Whatever changes the lists' file while the panel is up shows at once; a
// command that fails or is cancelled, and a backup, leave it as it was.
void TestMainWindowFiles::fileNamePanelFollowsThePath_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<std::optional<QString>>("picked"); // a name in the test's folder; none: cancelled
    QTest::addColumn<QString>("remembered");

    const auto name = [](const char *n) { return std::optional<QString>(QString::fromUtf8(n)); };
    QTest::newRow("open") << "open" << name("lists.dat") << "lists.dat";
    QTest::newRow("open of a damaged file") << "open" << name("damaged.dat") << "damaged.dat";
    QTest::newRow("open cancelled") << "open" << std::optional<QString>() << "first.dat";
    QTest::newRow("save") << "save" << name("saved.dat") << "saved.dat";
    QTest::newRow("save into a missing folder") << "save" << name("missing/saved.dat") << "first.dat";
    QTest::newRow("backup") << "backup" << name("copy.dat") << "first.dat";
    QTest::newRow("dropped file") << "drop" << name("lists.dat") << "lists.dat";
    // Shown as it is, not as formatting; entities, since Windows allows no angle brackets in file names.
    QTest::newRow("a name like markup") << "open" << name("&lt;b&gt;bold&amp;.dat") << "&lt;b&gt;bold&amp;.dat";
}

void TestMainWindowFiles::fileNamePanelFollowsThePath()
{
    QFETCH(QString, command);
    QFETCH(std::optional<QString>, picked);
    QFETCH(QString, remembered);

    QVERIFY(writeFile(path("first.dat"), " 0 \r\n 0 \r\n"));
    QVERIFY(writeFile(path("lists.dat"), " 1 \r\na\r\n 0 \r\n"));
    QVERIFY(writeFile(path("damaged.dat"), " 3 \r\na\r\n"));
    QVERIFY(writeFile(path("&lt;b&gt;bold&amp;.dat"), " 0 \r\n 0 \r\n"));
    WindowRig w;
    w.form->openTaskFile(path("first.dat"));
    w.form->fileNameButton->click();
    QVERIFY(!w.form->fileNamePanel->isHidden());
    QCOMPARE(w.form->fileNameLabel->text(), QDir::toNativeSeparators(path("first.dat")));

    w.platform.answers.enqueue(MessageAnswer::Ok);
    w.platform.paths.enqueue(picked ? std::optional<QString>(path(*picked)) : std::nullopt);
    if (command == QLatin1String("open")) {
        w.form->openButton->click();
    } else if (command == QLatin1String("save")) {
        w.form->saveButton->click();
    } else if (command == QLatin1String("backup")) {
        w.form->backupButton->click();
    } else {
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(path(*picked))});
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(w.form.get(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(w.form.get(), &drop);
        QVERIFY(drop.isAccepted());
    }

    QCOMPARE(w.form->document().filePath(), path(remembered));
    QCOMPARE(w.form->fileNameLabel->text(), QDir::toNativeSeparators(path(remembered)));
    QCOMPARE(w.form->fileNameLabel->textFormat(), Qt::PlainText);
    QVERIFY(!w.form->fileNamePanel->isHidden());
}

void TestMainWindowFiles::changedByAnotherProgram_data()
{
    QTest::addColumn<bool>("backup");
    QTest::addColumn<MessageAnswer>("answer");
    QTest::addColumn<QStringList>("first"); // the lists on screen afterwards
    QTest::addColumn<QStringList>("onDisk");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("notice"); // the line under the entry box
    QTest::addColumn<bool>("meanwhile"); // the other program writes while the lists are being saved

    using L = QStringList;
    QTest::newRow("Cancel writes nothing") << false << MessageAnswer::Cancel << L{"a", "mine"} << L{"a", "phone"}
                                           << "File Open" << "" << false;
    QTest::newRow("Merge takes the other program's entry, writes nothing")
        << false << MessageAnswer::Merge << L{"a", "mine", "phone"} << L{"a", "phone"} << "File not saved "
        << "1 entry added by the other program" << false;
    QTest::newRow("Replace writes these lists") << false << MessageAnswer::Replace << L{"a", "mine"} << L{"a", "mine"}
                                                << "File saved " << "" << false;
    QTest::newRow("the backup asks for its own file") << true << MessageAnswer::Cancel << L{"a", "mine"}
                                                      << L{"a", "phone"} << "File Open" << "" << false;
    QTest::newRow("changed while saving: asked, Cancel keeps theirs")
        << false << MessageAnswer::Cancel << L{"a", "mine"} << L{"a", "phone"} << "File Open" << "" << true;
    QTest::newRow("changed while saving: asked, Merge") << false << MessageAnswer::Merge << L{"a", "mine", "phone"}
                                                        << L{"a", "phone"} << "File not saved "
                                                        << "1 entry added by the other program" << true;
}

// Another program wrote the file after it was opened here: saving asks first.
void TestMainWindowFiles::changedByAnotherProgram()
{
    QFETCH(bool, backup);
    QFETCH(MessageAnswer, answer);
    QFETCH(QStringList, first);
    QFETCH(QStringList, onDisk);
    QFETCH(QString, status);
    QFETCH(QString, notice);
    QFETCH(bool, meanwhile);

    const QString picked = path("lists.dat");
    const QString file = backup ? picked + QStringLiteral("_bak.dat") : picked;
    WindowRig w;
    QVERIFY(writeFile(file, writeTaskFile({QStringLiteral("a")}, {})));
    w.form->openTaskFile(file);
    w.form->entryBox->setText(QStringLiteral("mine"));
    w.form->addTaskButton->click();
    w.form->fileStatusLabel->setText(QStringLiteral("File Open"));
    const QByteArray theirs = writeTaskFile({QStringLiteral("a"), QStringLiteral("phone")}, {});
    if (meanwhile)
        setSaveDeviceFactory([&](const QString &target) { return std::make_unique<test::RacingWriter>(target, theirs); });
    else
        QVERIFY(writeFile(file, theirs));

    w.platform.answers << MessageAnswer::Ok << answer;
    w.platform.paths.enqueue(picked);
    (backup ? w.form->backupButton : w.form->saveButton)->click();
    setSaveDeviceFactory({});

    const MessageRequest &asked = w.platform.messages.last();
    QCOMPARE(asked.text, QStringLiteral("“%1” was changed by another program after Listora opened it. Merge its changes "
                                        "with these lists, replace it with these lists, or cancel?")
                             .arg(QFileInfo(file).fileName()));
    QCOMPARE(asked.buttons, MessageButtons::MergeReplaceCancel);
    QCOMPARE(texts(w.form->List[0]), first);
    QCOMPARE(readTaskFile(readFile(file)).lists.first, onDisk);
    QCOMPARE(w.form->fileStatusLabel->text(), status);
    QCOMPARE(w.form->entryHint->isHidden() ? QString() : w.form->entryHint->text(), notice);
    if (answer != MessageAnswer::Merge)
        return;
    // The next save writes the merged lists without asking again.
    w.platform.messages.clear();
    w.platform.answers << MessageAnswer::Ok;
    w.platform.paths.enqueue(picked);
    w.form->saveButton->click();
    QCOMPARE(w.platform.messages.size(), 1);
    QCOMPARE(readTaskFile(readFile(file)).lists.first, first);
}

void TestMainWindowFiles::keptListsOffered_data()
{
    QTest::addColumn<QList<int>>("kept"); // entries of each kept session's first list; -1: a damaged file
    QTest::addColumn<QList<MessageAnswer>>("answers");
    QTest::addColumn<int>("restored"); // entries in the first list afterwards
    QTest::addColumn<int>("left");     // kept sessions offered again at the next start
    QTest::addColumn<int>("asked");
    QTest::addColumn<QString>("warning"); // how a warning begins; empty: none

    using A = QList<MessageAnswer>;
    QTest::newRow("Yes restores them, and lets them go") << QList<int>{3} << A{MessageAnswer::Yes} << 3 << 0 << 1
                                                         << "";
    QTest::newRow("No lets them go") << QList<int>{3} << A{MessageAnswer::No} << 0 << 0 << 1 << "";
    QTest::newRow("no answer, as when the session ends: both stay, nothing more asked")
        << QList<int>{3, 4} << A{MessageAnswer::None, MessageAnswer::No} << 0 << 2 << 1 << "";
    QTest::newRow("no room for the second: it stays, and says so")
        << QList<int>{20000, 20000} << A{MessageAnswer::Yes, MessageAnswer::Yes} << 20000 << 1 << 2
        << "The lists kept at the end of the session were not restored: with them a list would hold more than 32767";
    QTest::newRow("a damaged one is put aside and told of") << QList<int>{-1} << A{} << 0 << 0 << 0
                                                            << "Lists kept at the end of a session cannot be read back";
}

void TestMainWindowFiles::keptListsOffered()
{
    QFETCH(QList<int>, kept);
    QFETCH(QList<MessageAnswer>, answers);
    QFETCH(int, restored);
    QFETCH(int, left);
    QFETCH(int, asked);
    QFETCH(QString, warning);
    const KeptFolder keptFolder(path("home"));
    const QDateTime ended(QDate(2026, 12, 8), QTime(18, 0), Qt::UTC);
    for (int i = 0; i < kept.size(); ++i) {
        if (kept[i] < 0)
            QVERIFY(QDir().mkpath(recoveryFolder())
                    && writeFile(QDir(recoveryFolder()).filePath("unsaved-1.dat"), " 3 \r\ncut\r\n"));
        else
            QVERIFY(writeRecovery({entries(kept[i], QString::number(i)), {}}, {}, ended.addSecs(i)));
    }
    WindowRig w;
    w.platform.answers.append(answers);
    w.form->offerKeptLists();
    QCOMPARE(w.form->document().list(0).count(), restored);
    QString warned;
    for (const MessageRequest &m : std::as_const(w.platform.messages))
        if (m.icon == MessageIcon::Warning)
            warned = m.text;
    QCOMPARE(w.platform.messages.size() - int(!warned.isEmpty()), asked);
    QVERIFY2(warning.isEmpty() ? warned.isEmpty() : warned.startsWith(warning), qPrintable(warned));
    QCOMPARE(findRecoveries().found.size(), left);
}

QTEST_MAIN(TestMainWindowFiles)
#include "tst_mainwindowfiles.moc"
