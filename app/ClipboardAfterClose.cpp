#include "ClipboardAfterClose.hpp"

#include <QCoreApplication>
#include <QGuiApplication>

namespace quarnel {
namespace {

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
    handOver_ = std::thread([this, bytes = clipboard_.TextBytes()] {
        const HandOver result = HandClipboardToManager(bytes);
        QMetaObject::invokeMethod(
            qApp, [this, result] { AfterHandOver(result); }, Qt::QueuedConnection);
    });
}

void ClipboardAfterClose::AfterHandOver(HandOver result) {
    // the manager kept only a part of the list, or none: the whole list goes back on offer
    if (result == HandOver::Spoiled) clipboard_.SetTextAgain();
    clipboard_.WhenLost(EndProgram);
}

}  // namespace quarnel
