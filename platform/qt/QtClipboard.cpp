#include "QtClipboard.hpp"

#include <QClipboard>
#include <QGuiApplication>

namespace quarnel {

void QtClipboard::clear() { QGuiApplication::clipboard()->clear(QClipboard::Clipboard); }

void QtClipboard::setText(const std::string& text) {
    QGuiApplication::clipboard()->setText(QString::fromStdString(text), QClipboard::Clipboard);
}

}  // namespace quarnel
