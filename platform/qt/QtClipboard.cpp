#include "QtClipboard.hpp"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <memory>

namespace quarnel {

// Shares the text's bytes with the clipboard's own copy; Qt drops that copy when another program
// takes the clipboard.
class QtClipboard::LastText {
public:
    QByteArray bytes;
    QMetaObject::Connection lostWatch;
};

namespace {

// The text as UTF-8 bytes, handed over without a copy as UTF-16: Qt on X11 offers data of this
// type as UTF8_STRING, STRING, TEXT and text/plain.
void Offer(const QByteArray& bytes) {
    auto data = std::make_unique<QMimeData>();
    data->setData(QStringLiteral("text/plain"), bytes);
    QGuiApplication::clipboard()->setMimeData(data.release(), QClipboard::Clipboard);
}

}  // namespace

QtClipboard::QtClipboard() : last_(std::make_unique<LastText>()) {}

QtClipboard::~QtClipboard() { QObject::disconnect(last_->lostWatch); }

// Setting the text replaces whatever the clipboard held; Qt reports no failure. The new text is
// built aside: a text too large for the memory leaves the clipboard and the last text as they
// were.
bool QtClipboard::SetText(const OutputText& text) { return PrepareText(text)(); }

std::function<bool()> QtClipboard::PrepareText(const OutputText& text) {
    QByteArray bytes;
    bytes.reserve(static_cast<qsizetype>(text.Size()));
    text.ForEachPiece([&](std::string_view piece) {
        bytes.append(piece.data(), static_cast<qsizetype>(piece.size()));
    });
    return [this, bytes = std::move(bytes)]() mutable {
        Offer(bytes);
        last_->bytes = std::move(bytes);
        return true;
    };
}

bool QtClipboard::Owns() const { return QGuiApplication::clipboard()->ownsClipboard(); }

std::size_t QtClipboard::TextBytes() const { return static_cast<std::size_t>(last_->bytes.size()); }

void QtClipboard::SetTextAgain() { Offer(last_->bytes); }

void QtClipboard::Release() {
    if (Owns()) QGuiApplication::clipboard()->clear(QClipboard::Clipboard);
}

void QtClipboard::WhenLost(std::function<void()> lost) {
    if (!Owns()) {
        lost();
        return;
    }
    QObject::disconnect(last_->lostWatch);
    // Qt learns of a new owner first and reports the change after, so Owns() is current here
    last_->lostWatch = QObject::connect(QGuiApplication::clipboard(), &QClipboard::changed,
                                        [this, lost = std::move(lost)](QClipboard::Mode mode) {
                                            if (mode != QClipboard::Clipboard || Owns()) return;
                                            const std::function<void()> call = lost;
                                            QObject::disconnect(last_->lostWatch);
                                            call();
                                        });
}

}  // namespace quarnel
