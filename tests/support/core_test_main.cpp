#include "TestMain.h"

#include <QGuiApplication>

// The core paints pictures, so its tests want a GUI application, and no widgets.
int main(int argc, char** argv) {
    return runAllTests<QGuiApplication>(argc, argv);
}
