// How fast a walk ends when it is stopped: walks FOLDER on a thread of its own, as the drop
// does, stops it after MS milliseconds, and prints how long the walk took to end after the stop,
// its lister threads let go of. Before the stop it writes "stop" to standard
// error, so that under `strace -f` every folder opened after that line shows.
//
//     stop_bench FOLDER MS
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "core/DropProgress.hpp"
#include "core/FolderWalk.hpp"
#include "platform/posix/PosixFileSystem.hpp"

int main(int argc, char** argv) {
    using namespace quarnel;
    using Clock = std::chrono::steady_clock;
    if (argc != 3) {
        std::fprintf(stderr, "usage: stop_bench FOLDER MS\n");
        return 2;
    }
    const std::string folder = argv[1];
    const std::chrono::milliseconds delay(std::atoi(argv[2]));

    DropProgress progress;
    std::promise<const char*> ended;
    std::thread walk([&] {
        PosixFileSystem files;
        std::vector<std::string> unreadable;
        try {
            ExpandDirectory(folder, -1, {files, progress}, unreadable);
            ended.set_value("finished");
        } catch (const DropStopped&) {
            ended.set_value("stopped");
        }
    });
    std::future<const char*> outcome = ended.get_future();
    if (outcome.wait_for(delay) == std::future_status::ready) {
        std::printf("%s before the stop\n", outcome.get());
        walk.join();
        return 1;
    }
    std::fputs("stop\n", stderr);
    const Clock::time_point stop = Clock::now();
    progress.Stop();
    const char* how = outcome.get();
    walk.join();
    const auto took = std::chrono::duration<double, std::milli>(Clock::now() - stop).count();
    std::printf("%s %.1f ms after the stop\n", how, took);
    // Leaves at once: a listing still held by the file system is not waited for.
    std::fflush(stdout);
    std::_Exit(0);
}
