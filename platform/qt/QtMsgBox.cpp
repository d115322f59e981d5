#include "QtMsgBox.hpp"

#include <QApplication>
#include <QMessageBox>

namespace quarnel {
namespace {

QMessageBox::Icon IconFor(int buttonsAndIcon) {
    switch (buttonsAndIcon & 0x70) {
        case cMsgQuestion:
            return QMessageBox::Question;
        case cMsgInformation:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

void QtMsgBox::Show(std::string_view prompt, int buttonsAndIcon, std::string_view title) {
    // QMessageBox draws a lone CR as a blank, not as the line break it stands for.
    QString text = FromUtf8(prompt);
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));

    QWidget* modalInFront = QApplication::activeModalWidget();
    QMessageBox box(IconFor(buttonsAndIcon), FromUtf8(title), text, QMessageBox::Ok,
                    modalInFront != nullptr ? modalInFront : parent_);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

}  // namespace quarnel
