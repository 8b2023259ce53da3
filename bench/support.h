#pragma once

#include "app/form1.h"
#include "app/windows.h"
#include "support/fakeplatform.h"

#include <QByteArray>
#include <QStringList>

#include <memory>

namespace listora::bench {

// Processes events until widget has been painted once; false after a few
// seconds without a paint.
bool waitForFirstPaint(QWidget &widget);

// n entries of about 60 characters for one list, a tenth of them appointments,
// some with a non-ASCII letter, as a real backlog looks; in Russian for code
// page 1251, in Japanese for 932, else in English.
QStringList sampleEntries(int n, int list, int codePage = 1252);

// The task file that holds both lists, encoded by Qt's own converter.
QByteArray taskFileBytes(const QStringList &first, const QStringList &second, int codePage = 1252);

void writeFile(const QString &path, const QByteArray &bytes);
QByteArray readFile(const QString &path);

// A main window with its own scripted platform, shown and exposed.
struct ShownForm {
    ShownForm();
    ~ShownForm();
    test::FakePlatform platform;
    Windows windows{platform};
    std::unique_ptr<Form1> form;
};

} // namespace listora::bench
