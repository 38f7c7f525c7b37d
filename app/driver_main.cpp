// kbt2-driver: runs the worksheet from a script of user actions and prints
// what a person would see.

#include <cstring>
#include <fstream>
#include <iostream>

#include "app/driver/model_target.h"
#include "app/driver/runner.h"
#include "app/driver/window_target.h"
#include "storage/file_io.h"

int main(int argc, char** argv) {
    kbt2::reportFileSizeLimitAsError();
    bool window = false;
    const char* scriptPath = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--window") == 0) {
            window = true;
        } else if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::cout << "usage: kbt2-driver [--window] [SCRIPT]\n"
                         "Runs the worksheet from a script of user actions (standard input without SCRIPT)\n"
                         "and prints what a person would see. --window acts on the real window instead of\n"
                         "the worksheet model. See kbt2-driver(1).\n";
            return 0;
        } else if (!scriptPath && argv[i][0] != '-') {
            scriptPath = argv[i];
        } else {
            std::cerr << "usage: kbt2-driver [--window] [SCRIPT]\n";
            return 2;
        }
    }
    std::ifstream file;
    if (scriptPath) {
        file.open(scriptPath, std::ios::binary);
        if (!file) {
            std::cerr << "kbt2-driver: cannot read " << scriptPath << '\n';
            return 2;
        }
    }
    std::istream& script = scriptPath ? static_cast<std::istream&>(file) : std::cin;
    if (window) return kbt2::driver::runInWindow(argc, argv, script, std::cout, std::cerr);

    kbt2::driver::Session session(std::cout);
    kbt2::driver::ModelTarget target(session);
    return kbt2::driver::runScript(script, session, target, std::cerr);
}
