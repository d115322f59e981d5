#include "QtClipboard.hpp"

#include <QClipboard>
#include <QGuiApplication>

namespace quarnel {

// Setting the text replaces whatever the clipboard held; Qt reports no failure.
bool QtClipboard::SetText(const std::string& text) {
    QGuiApplication::clipboard()->setText(QString::fromStdString(text), QClipboard::Clipboard);
    return true;
}

}  // namespace quarnel
