// The desktop program's drop, timed inside a running Qt application (offscreen): delivered to
// the drop gate as the window delivers it, run on the drop's thread with the real file system,
// collation and clipboard, while a 10 ms timer ticks on the window's thread.
//
//     drop_bench OPTIONS RUNS FOLDER
// prints one line per run: milliseconds from the drop to the list on the clipboard, and the
// longest time in milliseconds the event loop went without handling the timer meanwhile.
#include <QApplication>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/DropGate.hpp"
#include "core/DropHandler.hpp"
#include "core/OptionStorage.hpp"
#include "core/WindowThreadServices.hpp"
#include "platform/icu/CollationLocale.hpp"
#include "platform/icu/IcuTextRules.hpp"
#include "platform/posix/PosixFileSystem.hpp"
#include "platform/qt/QtBeep.hpp"
#include "platform/qt/QtClipboard.hpp"
#include "platform/qt/QtMsgBox.hpp"
#include "ui/qt/MainForm.hpp"

int main(int argc, char* argv[]) {
    using namespace quarnel;
    using Clock = std::chrono::steady_clock;
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
    WindowThreadServices windowThread(clipboard, msgBox, beep, form.Image1());
    DropHandler handler({files, windowThread, windowThread, windowThread, textRules, windowThread});
    DropGate gate(
        [&](const DropData& data, DropProgress& progress) { handler.HandleDrop(data, progress); },
        form, msgBox);

    Clock::time_point lastTick = Clock::now();
    Clock::duration longestGap{};
    QTimer ticks;
    QObject::connect(&ticks, &QTimer::timeout, [&] {
        const Clock::time_point now = Clock::now();
        longestGap = std::max(longestGap, now - lastTick);
        lastTick = now;
    });
    ticks.start(10);

    OptionFlags = OptionFlagsFromString(argv[1]);
    const int runs = std::atoi(argv[2]);
    for (int run = 0; run < runs; ++run) {
        const Clock::time_point start = Clock::now();
        lastTick = start;
        longestGap = {};
        gate.TakeDrop({true, {argv[3]}});
        while (!gate.AcceptsDrops()) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        const std::chrono::duration<double, std::milli> took = Clock::now() - start;
        longestGap = std::max(longestGap, Clock::now() - lastTick);
        const std::chrono::duration<double, std::milli> gap = longestGap;
        std::printf("%.1f %.1f\n", took.count(), gap.count());
        std::fflush(stdout);
    }
}
