// kbt2: the worksheet window. It takes no command-line options.

#include <QApplication>

#include "ui/main_window.h"

int main(int, char** argv) {
    // The arguments are not the toolkit's either: only the program's name.
    int qtArgc = 1;
    char* qtArgv[] = {argv[0], nullptr};
    QApplication app(qtArgc, qtArgv);
    kbt2::ui::MainWindow window;
    window.show();
    return app.exec();
}
