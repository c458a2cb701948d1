#pragma once

#include <QApplication>

// The widgets need an application object; the test program makes one on first use.
inline void ensureApp() {
    if (QApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "tavrolab_ui_tests";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
}
