#include "QtClipboard.hpp"

#include <QClipboard>
#include <QGuiApplication>
#include <QString>

namespace quarnel {

// Shares the text with the clipboard's own copy; Qt drops that copy when another program takes
// the clipboard.
class QtClipboard::LastText {
public:
    QString text;
    std::size_t bytes = 0;
    QMetaObject::Connection lostWatch;
};

QtClipboard::QtClipboard() : last_(std::make_unique<LastText>()) {}

QtClipboard::~QtClipboard() { QObject::disconnect(last_->lostWatch); }

// Setting the text replaces whatever the clipboard held; Qt reports no failure.
bool QtClipboard::SetText(const std::string& text) {
    last_->text = QString::fromStdString(text);
    last_->bytes = text.size();
    QGuiApplication::clipboard()->setText(last_->text, QClipboard::Clipboard);
    return true;
}

bool QtClipboard::Owns() const { return QGuiApplication::clipboard()->ownsClipboard(); }

std::size_t QtClipboard::TextBytes() const { return last_->bytes; }

void QtClipboard::SetTextAgain() {
    QGuiApplication::clipboard()->setText(last_->text, QClipboard::Clipboard);
}

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
