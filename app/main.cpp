// kbt2 [FILE]: the worksheet window, with FILE loaded as the Load button
// loads a file.

#include <QApplication>
#include <cstdio>
#include <cstring>

#include "storage/file_io.h"
#include "ui/main_window.h"

int main(int argc, char** argv) {
    if (argc > 2 || (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0))) {
        std::fprintf(argc > 2 ? stderr : stdout, "usage: kbt2 [FILE]\n");
        return argc > 2 ? 2 : 0;
    }
    kbt2::reportFileSizeLimitAsError();
    // The arguments are not the toolkit's either: only the program's name.
    int qtArgc = 1;
    char* qtArgv[] = {argv[0], nullptr};
    QApplication app(qtArgc, qtArgv);
    // Names the folders of the settings and the recovery copies.
    QApplication::setApplicationName(QStringLiteral("kbt2"));
    kbt2::ui::MainWindow window;
    window.show();
    // A file that does not load leaves the fresh worksheet, after Load's message.
    if (argc == 2) window.documents().openFile(QString::fromLocal8Bit(argv[1]));
    return app.exec();
}
