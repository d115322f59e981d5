// The desktop program's drop pipeline, timed inside a running Qt application (offscreen): the
// real file system, collation, clipboard and the once-per-folder yield to the event loop.
//
//     drop_bench OPTIONS RUNS FOLDER
// prints one line per run: milliseconds from the drop's start to the beep.
#include <QApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/DropHandler.hpp"
#include "core/OptionStorage.hpp"
#include "platform/icu/CollationLocale.hpp"
#include "platform/icu/IcuTextRules.hpp"
#include "platform/posix/PosixFileSystem.hpp"
#include "platform/qt/QtBeep.hpp"
#include "platform/qt/QtClipboard.hpp"
#include "platform/qt/QtMsgBox.hpp"
#include "platform/qt/QtYield.hpp"
#include "ui/qt/MainForm.hpp"

int main(int argc, char* argv[]) {
    using namespace quarnel;
    if (argc != 4) {
        std::fprintf(stderr, "usage: drop_bench OPTIONS RUNS FOLDER\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    MainForm form;
    form.show();
    PosixFileSystem files;
    QtClipboard clipboard;
    QtMsgBox msgBox(&form);
    QtBeep beep;
    const IcuTextRules textRules(CollationLocaleFromEnvironment());
    QtYield yield;
    DropHandler handler({files, clipboard, msgBox, beep, textRules, form.Image1(), yield});

    OptionFlags = OptionFlagsFromString(argv[1]);
    const int runs = std::atoi(argv[2]);
    const DropData drop{true, {argv[3]}};
    for (int run = 0; run < runs; ++run) {
        const auto start = std::chrono::steady_clock::now();
        handler.HandleDrop(drop);
        const std::chrono::duration<double, std::milli> took =
            std::chrono::steady_clock::now() - start;
        std::printf("%.1f\n", took.count());
        std::fflush(stdout);
    }
}
