// quarnel: the Linux desktop program.
#include <QApplication>
#include <QIcon>
#include <cstdio>

#include "DisplayCheck.hpp"
#include "LinuxProgram.hpp"

int main(int argc, char* argv[]) {
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

    quarnel::LinuxProgram program;
    program.Show();
    return QApplication::exec();
}
