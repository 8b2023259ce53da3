// The main window's file commands with a scripted platform: open, save, the
// file-name panel and the backup.
#include "mainwindowrig.h"
#include "app/texts.h"
#include "app/windows.h"
#include "fakeplatform.h"
#include "listhelpers.h"
#include "storage/codepage.h"
#include "storage/taskfile.h"
#include "tasks/taskhistory.h"
#include "tasks/tasklistmodel.h"
#include "tasks/tasklistview.h"

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
#include <QTemporaryDir>
#include <QClipboard>
#include <QGuiApplication>
#include <QTest>

using namespace listora;
using listora::test::TestMainWindow;
using listora::test::FakePlatform;
using listora::test::texts;
using listora::test::entries;

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

struct Window {
    FakePlatform platform;
    Windows windows{platform};
    TestMainWindow form{windows, platform};
};

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

class TestForm1Files : public QObject {
    Q_OBJECT
private slots:
    // Western unless a row names its page, whatever the machine's locale.
    void initTestCase() { setProgramCodePage(CodePage(1252)); }
    void init();

    void openAppendsAndRefreshes();
    void openTwiceDoubles();
    void openPastFirstCapacity();
    void openCancelled();
    void openFaults_data();
    void openFaults();
    void openPastFormatLimitAddsNothing();

    void saveWritesBothLists();
    void saveReplacesExistingFile();
    void saveCancelledKeepsEverything();
    void saveThenOpenRestores();
    void unusualPaths_data();
    void unusualPaths();
    void typedTextSurvivesSaving();
    void typedInLocale_data();
    void typedInLocale();
    void linesKeptAsRead_data();
    void linesKeptAsRead();
    void entryTheFileCannotHold_data();
    void entryTheFileCannotHold();

    void backupNames_data();
    void backupNames();
    void backupCancelled();
    void fileNamePanel();
    void fileNamePanelFollowsThePath_data();
    void fileNamePanelFollowsThePath();

private:
    QTemporaryDir dir_;
    QString path(const QString &name) const { return dir_.filePath(name); }
};

void TestForm1Files::init()
{
    QVERIFY(dir_.isValid());
    for (const QString &name : QDir(dir_.path()).entryList(QDir::Files))
        QFile::remove(path(name));
}

void TestForm1Files::openAppendsAndRefreshes()
{
    Window w;
    w.form.Tasks[0]->append(QStringLiteral("already"));
    w.form.Label5->setText(QStringLiteral("untouched"));
    writeFile(path("lists.dat"), " 4 \r\na\r\nb\r\nc\r\nd\r\n 2 \r\ne\r\nf\r\n");
    w.platform.paths.enqueue(path("lists.dat"));

    w.form.Command1->click();

    QCOMPARE(w.platform.dialogs.size(), 1);
    const FileDialogRequest &dialog = w.platform.dialogs.first();
    QCOMPARE(dialog.mode, FileDialogMode::Open);
    QCOMPARE(dialog.filter, QStringLiteral("Data Files(*.dat)|*.dat"));
    QCOMPARE(dialog.initDir, taskFileFolder(QCoreApplication::applicationDirPath()));
    QVERIFY(w.platform.messages.isEmpty());

    QCOMPARE(texts(w.form.List[0]), (QStringList{"already", "a", "b", "c", "d"}));
    QCOMPARE(texts(w.form.List[1]), (QStringList{"e", "f"}));
    QCOMPARE(w.form.Label1->text(), QStringLiteral("5 Tasks"));
    QCOMPARE(w.form.Label4->text(), QStringLiteral("45 Spaces left"));
    QCOMPARE(w.form.ProgressBar1->value(), 10);
    QCOMPARE(w.form.ProgressBar1->toolTip(), QStringLiteral("10%"));
    QCOMPARE(w.form.Label2->text(), QStringLiteral("File Open"));
    QCOMPARE(w.form.document().filePath(), path("lists.dat"));

    // The second list's figures count its new entries, as showing it would.
    QCOMPARE(w.form.Label5->text(), QStringLiteral("2 Tasks"));
    const QString shownPercent = w.form.Label6->text();
    const int shownBar = w.form.ProgressBar2->value();
    w.form.Command8->click();
    QCOMPARE(w.form.Label6->text(), shownPercent);
    QCOMPARE(w.form.ProgressBar2->value(), shownBar);
    QCOMPARE(w.form.Label5->text(), QStringLiteral("2 Tasks"));
}

void TestForm1Files::openTwiceDoubles()
{
    Window w;
    writeFile(path("two.dat"), " 0 \r\n 0 \r\n");
    w.form.openTaskFile(path("two.dat"));
    QCOMPARE(w.form.Label1->text(), QStringLiteral("0 Tasks"));
    QCOMPARE(w.form.Label2->text(), QStringLiteral("File Open"));
    QCOMPARE(w.form.ProgressBar1->toolTip(), QStringLiteral("0%"));

    writeFile(path("one.dat"), " 1 \r\nx\r\n 1 \r\ny\r\n");
    w.form.openTaskFile(path("one.dat"));
    w.form.openTaskFile(path("one.dat"));
    QCOMPARE(texts(w.form.List[0]), (QStringList{"x", "x"}));
    QCOMPARE(texts(w.form.List[1]), (QStringList{"y", "y"}));
}

void TestForm1Files::openPastFirstCapacity()
{
    Window w;
    w.form.Tasks[0]->append(entries(48));
    writeFile(path("five.dat"), writeTaskFile(entries(5, "new "), {}));
    w.form.openTaskFile(path("five.dat"));
    QCOMPARE(w.form.Tasks[0]->count(), 53);
    QCOMPARE(w.form.Label1->text(), QStringLiteral("53 Tasks"));
    QCOMPARE(w.form.Label4->text(), QStringLiteral("0 Spaces left")); // no places left, never fewer
    // A full bar, and what the status report says.
    QCOMPARE(w.form.ProgressBar1->value(), 100);
    QCOMPARE(w.form.ProgressBar1->toolTip(), QStringLiteral("106 %"));
}

void TestForm1Files::openCancelled()
{
    Window w;
    writeFile(path("a.dat"), " 1 \r\na\r\n 0 \r\n");
    w.platform.paths.enqueue(path("a.dat"));
    w.form.Command1->click();
    w.form.Label2->setText(QStringLiteral("File not saved "));

    w.platform.paths.enqueue(std::nullopt);
    w.form.Command1->click();
    QCOMPARE(w.form.Tasks[0]->count(), 1);
    QCOMPARE(w.form.Label2->text(), QStringLiteral("File not saved "));
    QCOMPARE(w.form.document().filePath(), path("a.dat"));
    QVERIFY(w.platform.messages.isEmpty());
}

// Each fault names the file in a warning; entries read before it stay.
void TestForm1Files::openFaults_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("kind"); // "file", "missing", "folder", "huge"
    QTest::addColumn<QStringList>("first");
    QTest::addColumn<QStringList>("second");
    QTest::addColumn<QStringList>("says");
    QTest::addColumn<QStringList>("neverSays");

    // Entries read before a damage are in the lists, and the displays and the
    // status count them as after any open; nothing read, nothing changes.
    const QString dropped = QStringLiteral("The entries after it were not read, so saving over this file would drop them.");
    QTest::newRow("missing file") << QByteArray() << "missing" << QStringList() << QStringList()
                                  << QStringList{"cannot be read"} << QStringList();
    QTest::newRow("a folder") << QByteArray() << "folder" << QStringList() << QStringList()
                              << QStringList{"cannot be read"} << QStringList();
    QTest::newRow("over 64 MiB") << QByteArray() << "huge" << QStringList() << QStringList() << QStringList{"64 MiB"}
                                 << QStringList();
    // Nothing after the end of a file is lost by saving over it.
    QTest::newRow("cut short") << QByteArray(" 3 \r\na\r\nb\r\n") << "file" << QStringList{"a", "b"} << QStringList()
                               << QStringList{"damaged at line 4", "The 2 entries read before it were added."}
                               << QStringList{dropped};
    QTest::newRow("bad second count")
        << QByteArray(" 1 \r\na\r\n1.5\r\nb\r\n") << "file" << QStringList{"a"} << QStringList()
        << QStringList{"damaged at line 3", "The 1 entry read before it was added.", dropped} << QStringList{"1 entries"};
    QTest::newRow("second list cut short") << QByteArray(" 1 \r\na\r\n 3 \r\nb\r\n") << "file" << QStringList{"a"}
                                           << QStringList{"b"} << QStringList{"The 2 entries read before it were added."}
                                           << QStringList();
    QTest::newRow("one entry, then the end") << QByteArray(" 1 \r\na\r\n 3 \r\n") << "file" << QStringList{"a"}
                                             << QStringList() << QStringList{"The 1 entry read before it was added."}
                                             << QStringList{"1 entries"};
    QTest::newRow("bad count before any entry") << QByteArray(" 0 \r\nthree\r\nx\r\n") << "file" << QStringList()
                                                << QStringList()
                                                << QStringList{"damaged at line 2", "No entries were read before it.", dropped}
                                                << QStringList{"0 entries"};
    QTest::newRow("not a task file") << QByteArray("Buy bread\r\nCall the bank\r\n") << "file" << QStringList()
                                     << QStringList() << QStringList{"is not a task file", "Nothing was added."}
                                     << QStringList{"damaged", "line 1"};
    QTest::newRow("empty file") << QByteArray() << "file" << QStringList() << QStringList()
                                << QStringList{"is empty", "Nothing was added."} << QStringList{"damaged", "line 1"};
}

void TestForm1Files::openFaults()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, kind);
    QFETCH(QStringList, first);
    QFETCH(QStringList, second);
    QFETCH(QStringList, says);
    QFETCH(QStringList, neverSays);

    const QString file = path("broken.dat");
    if (kind == QLatin1String("file")) {
        writeFile(file, bytes);
    } else if (kind == QLatin1String("folder")) {
        QVERIFY(QDir().mkpath(file));
    } else if (kind == QLatin1String("huge")) {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QVERIFY(f.resize(kMaxTaskFileBytes + 1));
    }

    Window w;
    w.form.Label1->setText(QStringLiteral("old counter"));
    w.form.Label2->setText(QStringLiteral("File not loaded"));
    w.platform.paths.enqueue(file);
    w.form.Command1->click();

    QCOMPARE(texts(w.form.List[0]), first);
    QCOMPARE(texts(w.form.List[1]), second);
    const bool added = !first.isEmpty() || !second.isEmpty();
    QCOMPARE(w.form.Label1->text(), added ? counterText(first.size(), kTasksSuffix) : QStringLiteral("old counter"));
    QCOMPARE(w.form.Label4->text(), added ? spacesLeftText(first.size()) : QString());
    QCOMPARE(w.form.Label2->text(), added ? QStringLiteral("File Open") : QStringLiteral("File not loaded"));
    // The lists belong to the file whose entries they hold.
    QCOMPARE(w.form.document().filePath(), added ? file : QString());
    QCOMPARE(w.platform.messages.size(), 1);
    const MessageRequest &m = w.platform.messages.first();
    QCOMPARE(m.icon, MessageIcon::Warning);
    QCOMPARE(m.title, productName());
    QVERIFY2(m.text.contains(QDir::toNativeSeparators(file)), qPrintable(m.text));
    for (const QString &part : says)
        QVERIFY2(m.text.contains(part), qPrintable(m.text));
    for (const QString &part : neverSays)
        QVERIFY2(!m.text.contains(part), qPrintable(m.text));
    QDir(file).removeRecursively();

    // The file is released: saving over it works.
    w.platform.paths.enqueue(file);
    w.form.Command2->click();
    QCOMPARE(w.form.Label2->text(), QStringLiteral("File saved "));
}

void TestForm1Files::openPastFormatLimitAddsNothing()
{
    Window w;
    w.form.Tasks[1]->append(entries(kMaxListEntries - 1));
    writeFile(path("more.dat"), " 1 \r\na\r\n 2 \r\nb\r\nc\r\n");
    w.form.openTaskFile(path("more.dat"));
    QCOMPARE(w.form.Tasks[0]->count(), 0);
    QCOMPARE(w.form.Tasks[1]->count(), kMaxListEntries - 1);
    QCOMPARE(w.form.Label2->text(), QStringLiteral("File not loaded"));
    QCOMPARE(w.platform.messages.size(), 1);
    QVERIFY(w.platform.messages.first().text.contains(QStringLiteral("32767")));

    // Exactly up to the limit is fine.
    writeFile(path("one.dat"), " 0 \r\n 1 \r\nb\r\n");
    w.form.openTaskFile(path("one.dat"));
    QCOMPARE(w.form.Tasks[1]->count(), kMaxListEntries);
    QCOMPARE(w.form.Label2->text(), QStringLiteral("File Open"));
}

void TestForm1Files::saveWritesBothLists()
{
    Window w;
    w.form.Tasks[0]->append({"a", "b", "c"});
    w.form.Tasks[1]->append(QStringList{"d"});
    w.form.Label5->setText(QStringLiteral("untouched"));
    w.form.Label4->setText(QStringLiteral("untouched"));
    w.platform.paths.enqueue(path("work"));
    w.form.Command2->click();

    QCOMPARE(w.platform.messages.size(), 1);
    const MessageRequest &m = w.platform.messages.first();
    QCOMPARE(m.text, QStringLiteral("Please put after the filename the ending < .dat > "));
    QCOMPARE(m.title, QStringLiteral("Listora"));
    QCOMPARE(m.buttons, MessageButtons::Ok);
    QCOMPARE(m.icon, MessageIcon::None);
    QCOMPARE(w.platform.dialogs.size(), 1);
    QCOMPARE(w.platform.dialogs.first().mode, FileDialogMode::Save);
    QCOMPARE(w.platform.dialogs.first().filter, QStringLiteral("Data files (*.dat)|*.dat"));
    QCOMPARE(w.platform.dialogs.first().initDir, taskFileFolder(QCoreApplication::applicationDirPath()));

    // The name is used as typed: no ending is added.
    QCOMPARE(readFile(path("work")), QByteArray(" 3 \r\na\r\nb\r\nc\r\n 1 \r\nd\r\n"));
    QVERIFY(!QFile::exists(path("work.dat")));
    QCOMPARE(w.form.Label2->text(), QStringLiteral("File saved "));
    QCOMPARE(w.form.Label1->text(), QStringLiteral("3 Tasks"));
    QCOMPARE(w.form.Label4->text(), QStringLiteral("untouched"));
    QCOMPARE(w.form.Label5->text(), QStringLiteral("untouched"));
    QCOMPARE(w.form.document().filePath(), path("work"));

    Window empty;
    empty.platform.paths.enqueue(path("empty.dat"));
    empty.form.Command2->click();
    QCOMPARE(readFile(path("empty.dat")), QByteArray(" 0 \r\n 0 \r\n"));
}

void TestForm1Files::saveReplacesExistingFile()
{
    writeFile(path("old.dat"), QByteArray(" 5 \r\n").append(QByteArray("long old entry\r\n").repeated(5)) + " 0 \r\n");
    Window w;
    w.form.Tasks[0]->append(QStringLiteral("new"));
    w.platform.paths.enqueue(path("old.dat"));
    w.form.Command2->click();
    QCOMPARE(readFile(path("old.dat")), QByteArray(" 1 \r\nnew\r\n 0 \r\n"));
    QCOMPARE(w.platform.messages.size(), 1); // the reminder only, no question
}

void TestForm1Files::saveCancelledKeepsEverything()
{
    Window w;
    writeFile(path("a.dat"), " 1 \r\na\r\n 0 \r\n");
    w.form.openTaskFile(path("a.dat"));
    w.form.Tasks[0]->append(QStringLiteral("b"));
    w.form.Label2->setText(QStringLiteral("File not saved "));

    w.platform.paths.enqueue(std::nullopt);
    w.form.Command2->click();
    QCOMPARE(w.platform.messages.size(), 1); // the reminder came first
    QCOMPARE(w.form.document().filePath(), path("a.dat"));
    QCOMPARE(readFile(path("a.dat")), QByteArray(" 1 \r\na\r\n 0 \r\n"));
    QCOMPARE(w.form.Label2->text(), QStringLiteral("File not saved "));
    QCOMPARE(w.form.Label1->text(), QStringLiteral("1 Tasks"));
    QCOMPARE(QDir(dir_.path()).entryList(QDir::Files), QStringList{"a.dat"});
}

void TestForm1Files::saveThenOpenRestores()
{
    const QStringList first{"", "  blanks  ", " ---> 08/12/2026 Dentist", QString::fromUtf16(u"\u20ac \u00e9\u0178")};
    const QStringList second = entries(301);
    Window w;
    w.form.Tasks[0]->append(first);
    w.form.Tasks[1]->append(second);
    w.platform.paths.enqueue(path("round.dat"));
    w.form.Command2->click();
    w.platform.paths.enqueue(path("round"));
    w.form.Command15->click();

    for (const QString &name : {QStringLiteral("round.dat"), QStringLiteral("round_bak.dat")}) {
        Window fresh;
        fresh.form.openTaskFile(path(name));
        QCOMPARE(texts(fresh.form.List[0]), first);
        QCOMPARE(texts(fresh.form.List[1]), second);
        QCOMPARE(fresh.form.Label2->text(), QStringLiteral("File Open"));
    }
}

// Where Windows' older limits lie: a path past 260 characters, and a name
// outside the ANSI code page, which only the system's wide calls can reach.
void TestForm1Files::unusualPaths_data()
{
    QTest::addColumn<QStringList>("folders"); // below the test's folder
    QTest::addColumn<QString>("name");

    const QString deep = QStringLiteral("a folder name that is long enough to add up ").leftJustified(60, QLatin1Char('x'));
    QTest::newRow("longer than 260 characters") << QStringList{deep, deep, deep, deep, deep} << "lists.dat";
    QTest::newRow("Japanese name") << QStringList{QString::fromUtf16(u"仕事")}
                                   << QString::fromUtf16(u"やること.dat");
    QTest::newRow("both") << QStringList{deep, deep, deep, deep, QString::fromUtf16(u"仕事")}
                          << QString::fromUtf16(u"やること.dat");
}

void TestForm1Files::unusualPaths()
{
    QFETCH(QStringList, folders);
    QFETCH(QString, name);

    const QString folder = path(folders.join(QLatin1Char('/')));
    QVERIFY(QDir().mkpath(folder));
    const auto removeFolders = qScopeGuard([&] { QDir(path(folders.first())).removeRecursively(); });
    const QString file = folder + QLatin1Char('/') + name;
    if (QTest::currentDataTag() != QLatin1String("Japanese name"))
        QVERIFY(QDir::toNativeSeparators(file).size() > 260);
    else
        QVERIFY2(programCodePage().firstUnstorable(name) >= 0, "the name fits the code page: nothing is tested");

    const QStringList first{"call the bank", QString::fromUtf16(u"café")};
    writeFile(file, writeTaskFile(first, {}));
    Window w;
    w.platform.paths.enqueue(file);
    w.form.Command1->click();
    QCOMPARE(w.form.Label2->text(), QStringLiteral("File Open"));
    QCOMPARE(texts(w.form.List[0]), first);

    w.form.Tasks[1]->append(QStringLiteral("second"));
    w.platform.paths.enqueue(file);
    w.form.Command2->click();
    QCOMPARE(w.form.Label2->text(), QStringLiteral("File saved "));
    w.platform.paths.enqueue(file);
    w.form.Command15->click();
    QCOMPARE(w.form.Label2->text(), QStringLiteral("Back Up Ok"));
    QCOMPARE(w.platform.messages.size(), 1); // the save's reminder only

    const QByteArray saved = writeTaskFile(first, {QStringLiteral("second")});
    QCOMPARE(readFile(file), saved);
    QCOMPARE(readFile(file + QStringLiteral("_bak.dat")), saved);
    QCOMPARE(QDir(folder).entryList(QDir::Files), (QStringList{name, name + QStringLiteral("_bak.dat")}));
}

void TestForm1Files::typedTextSurvivesSaving()
{
    Window w;
    w.form.show();
    w.form.Text1->clear();
    // Typed one key at a time, then pasted.
    for (const QChar c : QString::fromUtf16(u"Caf\u00e9 \u65e5"))
        QTest::sendKeyEvent(QTest::Click, w.form.Text1, Qt::Key_unknown, QString(c), Qt::NoModifier);
    // What the box kept out is named beside it, and to a screen reader.
    QVERIFY(!w.form.EntryHint->isHidden());
    QCOMPARE(w.form.EntryHint->text(), QString::fromUtf16(u"\u201c\u65e5\u201d cannot be kept in a task file"));
    QCOMPARE(w.form.Text1->accessibleDescription(), w.form.EntryHint->text());
    QGuiApplication::clipboard()->setText(QString::fromUtf16(u"\u20ac\U0001F600"));
    QTest::keyClick(w.form.Text1, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(w.form.Text1->text(), QString::fromUtf16(u"Caf\u00e9 \u20ac"));
    QVERIFY(w.form.EntryHint->text().contains(QString::fromUtf16(u"\U0001F600")));
    // It stands through later keys, until the entry is added.
    QTest::keyClick(w.form.Text1, Qt::Key_A);
    QTest::keyClick(w.form.Text1, Qt::Key_Backspace);
    QVERIFY(!w.form.EntryHint->isHidden());
    w.form.Command3->click();
    QVERIFY(w.form.EntryHint->isHidden());
    QVERIFY(w.form.Text1->accessibleDescription().isEmpty());
    w.platform.paths.enqueue(path("typed.dat"));
    w.form.Command2->click();

    Window fresh;
    fresh.form.openTaskFile(path("typed.dat"));
    QCOMPARE(texts(fresh.form.List[0]), texts(w.form.List[0]));
}

void TestForm1Files::typedInLocale_data()
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
void TestForm1Files::typedInLocale()
{
    QFETCH(QString, locale);
    QFETCH(QByteArray, opened);
    QFETCH(QString, keys);
    QFETCH(QString, shown);
    QFETCH(QByteArray, saved);
    const CodePage before = programCodePage();
    setProgramCodePage(CodePage(codePageForLocale(locale)));
    const auto restore = qScopeGuard([&] { setProgramCodePage(before); });

    Window w;
    w.form.show();
    if (!opened.isEmpty()) {
        writeFile(path("opened.dat"), opened);
        w.form.openTaskFile(path("opened.dat"));
        QCOMPARE(w.form.Label2->text(), QStringLiteral("File Open"));
    }
    w.form.Text1->clear();
    typeKeys(w.form.Text1, keys);
    QCOMPARE(w.form.Text1->text(), shown);
    QVERIFY(w.form.EntryHint->isHidden());
    if (!keys.isEmpty())
        w.form.Command3->click();
    w.platform.answers.enqueue(MessageAnswer::Ok);
    w.platform.paths.enqueue(path("saved.dat"));
    w.form.Command2->click();
    QCOMPARE(w.platform.messages.size(), 1); // the reminder only
    QCOMPARE(w.form.Label2->text(), QStringLiteral("File saved "));
    QCOMPARE(readFile(path("saved.dat")), saved);

    Window fresh;
    fresh.form.openTaskFile(path("saved.dat"));
    QCOMPARE(texts(fresh.form.List[0]), texts(w.form.List[0]));
    QCOMPARE(texts(fresh.form.List[1]), texts(w.form.List[1]));
}

void TestForm1Files::linesKeptAsRead_data()
{
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QByteArray>("saved");
    const QByteArray one = " 1 \r\n\xee\xef\r\n 0 \r\n";
    QTest::newRow("saved as read") << "" << one;
    QTest::newRow("moved to the other list") << "move" << QByteArray(" 0 \r\n 1 \r\n\xee\xef\r\n");
    QTest::newRow("moved there and back") << "move switch move" << one;
    QTest::newRow("moved, undone") << "move undo" << one;
    QTest::newRow("removed, undone, redone, undone") << "remove undo redo undo" << one;
    QTest::newRow("opening undone and redone") << "undo redo" << one;
    QTest::newRow("edited to the same text") << QString::fromUtf16(u"edit:\u2170") << one;
    // An edited entry is a new text: the page's own bytes.
    QTest::newRow("edited") << QString::fromUtf16(u"edit:\u2170!") << QByteArray(" 1 \r\n\xfa\x40!\r\n 0 \r\n");
    QTest::newRow("edited, undone") << QString::fromUtf16(u"edit:\u2170! undo") << one;
    // Opening adds to the lists; the entries of the file opened before keep their bytes.
    QTest::newRow("another file opened after it")
        << "open:other" << QByteArray(" 2 \r\n\xee\xef\r\nb\r\n 1 \r\nc\r\n");
    QTest::newRow("opened twice") << "open:kept" << QByteArray(" 2 \r\n\xee\xef\r\n\xee\xef\r\n 0 \r\n");
}

// A line kept as it was read stays with its entry through the list's changes.
void TestForm1Files::linesKeptAsRead()
{
    QFETCH(QString, steps);
    QFETCH(QByteArray, saved);
    const CodePage before = programCodePage();
    setProgramCodePage(CodePage(932));
    const auto restore = qScopeGuard([&] { setProgramCodePage(before); });
    writeFile(path("kept.dat"), " 1 \r\n\xee\xef\r\n 0 \r\n");
    writeFile(path("other.dat"), " 1 \r\nb\r\n 1 \r\nc\r\n");

    Window w;
    w.form.openTaskFile(path("kept.dat"));
    for (const QString &step : steps.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const int shown = w.form.secondListShown() ? 1 : 0;
        w.form.List[shown]->selectRow(0);
        if (step == QLatin1String("move"))
            w.form.run(Command::MoveToOther);
        else if (step == QLatin1String("switch"))
            w.form.Command8->click();
        else if (step == QLatin1String("remove"))
            w.form.Command4->click();
        else if (step == QLatin1String("undo"))
            w.form.run(Command::Undo);
        else if (step == QLatin1String("redo"))
            w.form.run(Command::Redo);
        else if (step.startsWith(QLatin1String("edit:")))
            emit w.form.List[shown]->entryEdited(0, step.mid(5));
        else if (step.startsWith(QLatin1String("open:")))
            w.form.openTaskFile(path(step.mid(5) + QStringLiteral(".dat")));
        else
            QFAIL(qPrintable(step));
    }
    w.platform.answers.enqueue(MessageAnswer::Ok);
    w.platform.paths.enqueue(path("saved.dat"));
    w.form.Command2->click();
    QCOMPARE(readFile(path("saved.dat")), saved);
    w.platform.paths.enqueue(path("saved.dat"));
    w.form.Command15->click();
    QCOMPARE(readFile(path("saved.dat_bak.dat")), saved);
}

void TestForm1Files::entryTheFileCannotHold_data()
{
    QTest::addColumn<bool>("backup");
    QTest::newRow("save") << false;
    QTest::newRow("backup") << true;
}

// An entry that would come back otherwise (here put in the list directly, as
// nothing the user does can) stops the save with a warning that names it:
// no '?' on disk, no "File saved ".
void TestForm1Files::entryTheFileCannotHold()
{
    QFETCH(bool, backup);
    Window w;
    writeFile(path("kept.dat"), " 0 \r\n 0 \r\n");
    writeFile(path("kept.dat_bak.dat"), " 0 \r\n 0 \r\n");
    w.form.Tasks[0]->append(QStringLiteral("fine"));
    w.form.Tasks[1]->append({QStringLiteral("also fine"), QString::fromUtf16(u"Done \u2713")});
    w.form.Label2->setText(QStringLiteral("File not saved "));
    w.platform.paths.enqueue(path("kept.dat"));
    if (backup) {
        w.form.Command15->click();
    } else {
        w.platform.answers.enqueue(MessageAnswer::Ok);
        w.form.Command2->click();
    }
    QCOMPARE(w.form.Label2->text(), QStringLiteral("File not saved "));
    const QString warning = w.platform.messages.last().text;
    QCOMPARE(w.platform.messages.last().icon, MessageIcon::Warning);
    QVERIFY2(warning.contains(QString::fromUtf16(u"entry 2 of the second list, \u201cDone \u2713\u201d")), qPrintable(warning));
    QVERIFY2(warning.contains(QString::fromUtf16(u"\u201c\u2713\u201d cannot be kept in a task file")), qPrintable(warning));
    QCOMPARE(readFile(path(backup ? "kept.dat_bak.dat" : "kept.dat")), QByteArray(" 0 \r\n 0 \r\n"));
}

void TestForm1Files::backupNames_data()
{
    QTest::addColumn<QString>("picked");
    QTest::addColumn<QString>("written");
    QTest::newRow("with the ending") << "work.dat" << "work.dat_bak.dat";
    QTest::newRow("without it") << "work" << "work_bak.dat";
}

void TestForm1Files::backupNames()
{
    QFETCH(QString, picked);
    QFETCH(QString, written);
    Window w;
    w.form.Tasks[0]->append(QStringLiteral("unsaved"));
    w.form.Label1->setText(QStringLiteral("counter"));
    w.platform.paths.enqueue(path(picked));
    w.form.Command15->click();

    QVERIFY(w.platform.messages.isEmpty());
    QCOMPARE(w.platform.dialogs.size(), 1);
    QCOMPARE(w.platform.dialogs.first().mode, FileDialogMode::Save);
    QCOMPARE(w.platform.dialogs.first().filter, QStringLiteral("Data files (*.dat)|*.dat"));
    QCOMPARE(readFile(path(written)), QByteArray(" 1 \r\nunsaved\r\n 0 \r\n"));
    QCOMPARE(QDir(dir_.path()).entryList(QDir::Files), QStringList{written});
    QCOMPARE(w.form.Label2->text(), QStringLiteral("Back Up Ok"));
    QCOMPARE(w.form.Label1->text(), QStringLiteral("counter"));
    // A copy is not the file the lists belong to.
    QVERIFY(w.form.document().filePath().isEmpty());
}

void TestForm1Files::backupCancelled()
{
    Window w;
    w.platform.paths.enqueue(std::nullopt);
    w.form.Command15->click();
    QCOMPARE(w.form.Label2->text(), QStringLiteral("File not loaded"));
    QVERIFY(w.form.document().filePath().isEmpty());
    QVERIFY(QDir(dir_.path()).entryList(QDir::Files).isEmpty());
}

void TestForm1Files::fileNamePanel()
{
    Window w;
    w.form.Label7->setText(QStringLiteral("report"));

    w.form.Command14->click();
    QVERIFY(!w.form.Picture3->isHidden());
    QVERIFY(!w.form.Command15->isHidden());
    QCOMPARE(w.form.Label8->text(), QString());
    QCOMPARE(w.form.Label7->text(), QString());

    w.form.Command14->click();
    QVERIFY(w.form.Picture3->isHidden());
    QVERIFY(w.form.Command15->isHidden());

    writeFile(path("lists.dat"), " 0 \r\n 0 \r\n");
    w.platform.paths.enqueue(path("lists.dat"));
    w.form.Command1->click();
    w.form.Command14->click();
    QCOMPARE(w.form.Label8->text(), QDir::toNativeSeparators(path("lists.dat")));
    w.form.Command14->click();

    w.platform.paths.enqueue(path("copy.dat"));
    w.form.Command15->click();
    QVERIFY(QFile::exists(path("copy.dat_bak.dat")));
    w.form.Command14->click();
    // The open file is still the one the lists belong to, not the name the copy was made from.
    QCOMPARE(w.form.Label8->text(), QDir::toNativeSeparators(path("lists.dat")));

    // A save while the panel is up shows at once.
    w.platform.answers.enqueue(MessageAnswer::Ok);
    w.platform.paths.enqueue(path("again.dat"));
    w.form.Command2->click();
    QCOMPARE(w.form.Label8->text(), QDir::toNativeSeparators(path("again.dat")));

    // A name that looks like markup is shown as it is, not as formatting. Entities,
    // because Windows allows no angle brackets in file names.
    w.form.Command14->click();
    const QString odd = path("&lt;b&gt;bold&amp;.dat");
    writeFile(odd, " 0 \r\n 0 \r\n");
    w.form.openTaskFile(odd);
    w.form.Command14->click();
    QCOMPARE(w.form.Label8->text(), QDir::toNativeSeparators(odd));
    QCOMPARE(w.form.Label8->textFormat(), Qt::PlainText);
}

// Whatever changes the lists' file while the panel is up shows at once; a
// command that fails or is cancelled, and a backup, leave it as it was.
void TestForm1Files::fileNamePanelFollowsThePath_data()
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
}

void TestForm1Files::fileNamePanelFollowsThePath()
{
    QFETCH(QString, command);
    QFETCH(std::optional<QString>, picked);
    QFETCH(QString, remembered);

    writeFile(path("first.dat"), " 0 \r\n 0 \r\n");
    writeFile(path("lists.dat"), " 1 \r\na\r\n 0 \r\n");
    writeFile(path("damaged.dat"), " 3 \r\na\r\n");
    Window w;
    w.form.openTaskFile(path("first.dat"));
    w.form.Command14->click();
    QVERIFY(!w.form.Picture3->isHidden());
    QCOMPARE(w.form.Label8->text(), QDir::toNativeSeparators(path("first.dat")));

    w.platform.answers.enqueue(MessageAnswer::Ok);
    w.platform.paths.enqueue(picked ? std::optional<QString>(path(*picked)) : std::nullopt);
    if (command == QLatin1String("open")) {
        w.form.Command1->click();
    } else if (command == QLatin1String("save")) {
        w.form.Command2->click();
    } else if (command == QLatin1String("backup")) {
        w.form.Command15->click();
    } else {
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(path(*picked))});
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&w.form, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&w.form, &drop);
        QVERIFY(drop.isAccepted());
    }

    QCOMPARE(w.form.document().filePath(), path(remembered));
    QCOMPARE(w.form.Label8->text(), QDir::toNativeSeparators(path(remembered)));
    QVERIFY(!w.form.Picture3->isHidden());
}

QTEST_MAIN(TestForm1Files)
#include "tst_form1files.moc"
