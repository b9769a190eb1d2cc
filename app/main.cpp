#include "app/ConfigApp.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ConfigApp theApp;
    theApp.InitInstance();
    return 0;
}
