// kbt2 [FILE]: the worksheet window, with FILE's case opened.

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <cstdio>

#include "storage/file_io.h"
#include "ui/main_window.h"

int main(int argc, char** argv) {
    // Names the folders of the settings and the recovery copies, and the
    // window's class on the desktop (the desktop entry's StartupWMClass).
    QCoreApplication::setApplicationName(QStringLiteral("kbt2"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KBT2_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("A worksheet for the premium of a whole-farm revenue insurance plan."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("A worksheet file (.wsk) to open."),
                                 QStringLiteral("[FILE]"));
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    const bool parsed = parser.parse(arguments);
    const bool help = parsed && (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all")));
    if (help || (parsed && parser.isSet(QStringLiteral("version")))) {
        // Help and version need no display: a core application prints them.
        QCoreApplication core(argc, argv);
        if (!help) parser.showVersion();
        parser.showHelp(0);
    }
    if (!parsed || parser.positionalArguments().size() > 1) {
        const QString why = parsed ? QStringLiteral("more than one file given") : parser.errorText();
        std::fprintf(stderr, "kbt2: %s\nusage: kbt2 [--help] [--version] [FILE]\n", why.toLocal8Bit().constData());
        return 2;
    }

    // A write past a file-size limit fails and is told, rather than ending
    // the program with the typed work.
    kbt2::reportFileSizeLimitAsError();
    // The arguments are not the toolkit's: only the program's name.
    int qtArgc = 1;
    char* qtArgv[] = {argv[0], nullptr};
    QApplication app(qtArgc, qtArgv);
    // The desktop entry the window belongs to, and its icon from the theme
    // (the package installs it in hicolor).
    QGuiApplication::setDesktopFileName(QStringLiteral("org.kbt2.kbt2"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("org.kbt2.kbt2")));
    kbt2::ui::MainWindow window;
    window.show();
    // A file that does not load leaves the fresh worksheet, after Load's message.
    if (!parser.positionalArguments().isEmpty()) window.documents().openFile(parser.positionalArguments().constFirst());
    return app.exec();
}
