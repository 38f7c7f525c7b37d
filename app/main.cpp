// kbt2: the worksheet window.

#include <QApplication>

#include "ui/main_window.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    kbt2::ui::MainWindow window;
    window.show();
    return app.exec();
}
