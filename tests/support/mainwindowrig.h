#pragma once

#include "app/form1.h"
#include "app/windows.h"
#include "fakeplatform.h"

#include <QTest>
#include <QTimer>

namespace listora::test {

// What a window test starts from, built afresh for each test function: the
// scripted platform, the window registry and, unless a test asks otherwise,
// the main window with its clock stopped so that no tick rewrites a text
// while a test looks at it.
class MainWindowRig {
protected:
    void buildRig(bool withMainWindow = true)
    {
        platform = new FakePlatform;
        windows = new Windows(*platform);
        if (withMainWindow) {
            form = new Form1(*windows, *platform);
            form->Timer1->stop();
        }
    }

    bool showMainWindow()
    {
        form->show();
        return QTest::qWaitForWindowExposed(form);
    }

    // The main window first: it may still hold windows of the registry.
    void tearDownRig()
    {
        delete form;
        form = nullptr;
        delete windows;
        windows = nullptr;
        delete platform;
        platform = nullptr;
    }

    FakePlatform *platform = nullptr;
    Windows *windows = nullptr;
    Form1 *form = nullptr;
};

} // namespace listora::test
