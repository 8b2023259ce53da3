// A user of another script in the main window: type, add, save, open into
// empty lists, same entries. The locale is the first argument, set before
// anything reads it, as a user's session sets it.
#include "mainwindowrig.h"
#include "texts/texts.h"
#include "widgets/windows.h"
#include "fakeplatform.h"
#include "listhelpers.h"
#include "storage/codepage.h"
#include "storage/codepagebackend.h"
#include "storage/taskfile.h"
#include "tasks/tasklistmodel.h"
#include "lists/tasklistview.h"

#include <QApplication>
#include <QDateEdit>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

using namespace listora;
using listora::test::WindowRig;
using listora::test::texts;

namespace {

// Each character as its own key press, as a keyboard of the script sends them.
void type(QLineEdit *box, const QString &text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

} // namespace

class TestLocaleWindow : public QObject {
    Q_OBJECT
public:
    TestLocaleWindow(int page, QString line) : page_(page), line_(std::move(line)) {}

private slots:
    void typedEntriesComeBack();

private:
    int page_;
    QString line_;
};

void TestLocaleWindow::typedEntriesComeBack()
{
    QCOMPARE(programCodePage().number(), page_);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("lists.dat"));

    WindowRig w;
    QVERIFY(w.show());
    w.form->entryBox->clear();
    type(w.form->entryBox, line_);
    QCOMPARE(w.form->entryBox->text(), line_);
    QVERIFY(w.form->entryHint->isHidden());
    w.form->addTaskButton->click();
    w.form->entryBox->clear();
    type(w.form->entryBox, line_);
    w.form->addAppointmentButton->click(); // an appointment, dated in the locale's own way
    w.form->switchListButton->click();
    w.form->entryBox->clear();
    type(w.form->entryBox, line_);
    w.form->secondAddTaskButton->click();

    w.platform.answers.enqueue(MessageAnswer::Ok);
    w.platform.paths.enqueue(path);
    w.form->saveButton->click();
    QCOMPARE(w.form->fileStatusLabel->text(), QStringLiteral("File saved "));
    QCOMPARE(w.platform.messages.size(), 1); // the reminder only, no warning

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(!bytes.contains('?'));
    QVERIFY(bytes.contains(CodePage(page_).encode(line_)));

    WindowRig fresh;
    fresh.form->openTaskFile(path);
    QCOMPARE(fresh.form->fileStatusLabel->text(), QStringLiteral("File Open"));
    QCOMPARE(texts(fresh.form->List[0]), texts(w.form->List[0]));
    QCOMPARE(texts(fresh.form->List[1]), texts(w.form->List[1]));
    QCOMPARE(texts(fresh.form->List[0]).value(0), line_);
    QVERIFY(texts(fresh.form->List[0]).value(1).endsWith(line_));
}

int main(int argc, char *argv[])
{
    const QByteArray locale = argc > 1 ? QByteArray(argv[1]) : QByteArray("ru_RU.UTF-8");
    qputenv("LC_ALL", locale);
    qputenv("LANG", locale);
    QApplication app(argc, argv);
    const int page = codePageForLocale(QString::fromLatin1(locale));
    // A system with an ANSI code page of its own (Windows) takes it from its
    // settings, not from the environment: there the test names the page itself.
    if (codepagebackend::systemCodePage() != 0)
        setProgramCodePage(CodePage(page));
    const QString line = page == 932 ? QString::fromUtf16(u"\u725b\u4e73\u3092\u8cb7\u3046\u3001\u9280\u884c\u306b\u96fb\u8a71")
                         : page == 1251
                             ? QString::fromUtf16(u"\u041a\u0443\u043f\u0438\u0442\u044c \u0445\u043b\u0435\u0431, \u0451\u0436")
                             : QString::fromUtf16(u"\u0391\u03b3\u03bf\u03c1\u03ac \u03c8\u03c9\u03bc\u03af");
    TestLocaleWindow test(page, line);
    // The locale argument is this program's own, not Qt Test's.
    QStringList args = app.arguments();
    if (args.size() > 1)
        args.removeAt(1);
    return QTest::qExec(&test, args);
}

#include "localewindow.moc"
