// quarnel: the Linux desktop program. Paths given as arguments (a file manager's selection) are
// one drop, handled without showing the window.
#include <QApplication>
#include <QIcon>
#include <cstdio>
#include <string>
#include <vector>

#include "DisplayCheck.hpp"
#include "LinuxProgram.hpp"

int main(int argc, char* argv[]) {
    // the names as bytes, as the file manager gave them, before Qt reads the arguments
    const std::vector<std::string> paths(argv + 1, argv + argc);
    if (const auto problem = quarnel::ChooseDisplayPlatform()) {
        std::fprintf(stderr, "%s\n", problem->c_str());
        return 1;
    }
    QApplication application(argc, argv);
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64}) {
        icon.addFile(QStringLiteral(":/art/quarnel-%1.png").arg(size), QSize(size, size));
    }
    QApplication::setWindowIcon(icon);
    // ties the windows to the installed menu entry (the app id on Wayland)
    QGuiApplication::setDesktopFileName(QStringLiteral("quarnel"));

    quarnel::LinuxProgram program(!paths.empty());
    if (paths.empty()) {
        program.Show();
    } else if (!program.DropAtStart(paths)) {
        return 1;
    }
    const int status = QApplication::exec();
    return program.StoppedAtStart() ? 1 : status;
}
