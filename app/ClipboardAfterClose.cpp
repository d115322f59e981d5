#include "ClipboardAfterClose.hpp"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTimer>
#include <chrono>
#include <system_error>

namespace quarnel {
namespace {

constexpr int cTakeBackTries = 20;
constexpr std::chrono::milliseconds cTakeBackPause{50};

void EndProgram() { QCoreApplication::quit(); }

}  // namespace

ClipboardAfterClose::~ClipboardAfterClose() {
    if (handOver_.joinable()) handOver_.join();
}

void ClipboardAfterClose::EndWhenDone() {
    if (handOver_.joinable()) return;
    if (!clipboard_.Owns()) {
        EndProgram();
        return;
    }
    if (clipboard_.TextBytes() == 0) {
        // Nothing to keep. Given up now, or Qt offers it to a clipboard manager at the exit and
        // waits for an answer that may never come.
        clipboard_.Release();
        EndProgram();
        return;
    }
    if (QGuiApplication::platformName() != QStringLiteral("xcb")) {
        clipboard_.WhenLost(EndProgram);
        return;
    }
    try {
        handOver_ = std::thread([this, bytes = clipboard_.TextBytes()] {
            const HandOverResult result = HandClipboardToManager(bytes);
            QMetaObject::invokeMethod(
                qApp, [this, result] { AfterHandOver(result); }, Qt::QueuedConnection);
        });
    } catch (const std::system_error&) {
        // No thread to ask a clipboard manager with: the program keeps the list itself.
        clipboard_.WhenLost(EndProgram);
    }
}

void ClipboardAfterClose::AfterHandOver(HandOverResult result) {
    // the manager kept only a part of the list, or none: the whole list goes back on offer
    if (result.outcome == HandOver::Spoiled) {
        TakeBack(result.formerOwner, cTakeBackTries);
        return;
    }
    clipboard_.WhenLost(EndProgram);
}

void ClipboardAfterClose::TakeBack(std::uint32_t owner, int triesLeft) {
    clipboard_.SetTextAgain();
    if (ClipboardOwner() == owner || triesLeft == 0) {
        clipboard_.WhenLost(EndProgram);
        return;
    }
    // Qt claimed the clipboard with the time of the last event it saw, older than the
    // manager's claim: an event on its own window brings its time up to date for another try.
    TellWindowTheTime(owner);
    QTimer::singleShot(cTakeBackPause, qApp,
                       [this, owner, triesLeft] { TakeBack(owner, triesLeft - 1); });
}

}  // namespace quarnel
