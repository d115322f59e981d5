#include "QtMsgBox.hpp"

#include <QApplication>
#include <QMessageBox>
#include <QRegularExpression>

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

// Qt may break a line after any "/" or "-", which tears a web address apart: a word joiner
// between each two of its characters keeps it on one line.
QString WithAddressesKeptWhole(const QString& text) {
    static const QRegularExpression address(QStringLiteral("https?://\\S+"));
    QString kept;
    qsizetype done = 0;
    for (const QRegularExpressionMatch& match : address.globalMatch(text)) {
        kept += text.mid(done, match.capturedStart() - done);
        const QString found = match.captured();
        for (qsizetype i = 0; i < found.size(); ++i) {
            kept += found[i];
            if (i + 1 < found.size() && !found[i].isHighSurrogate()) kept += QChar(0x2060);
        }
        done = match.capturedEnd();
    }
    return kept + text.mid(done);
}

}  // namespace

void QtMsgBox::Show(std::string_view prompt, int buttonsAndIcon, std::string_view title) {
    // QMessageBox draws a lone CR as a blank, not as the line break it stands for.
    QString text = FromUtf8(prompt);
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text = WithAddressesKeptWhole(text);

    QWidget* modalInFront = QApplication::activeModalWidget();
    QMessageBox box(IconFor(buttonsAndIcon), FromUtf8(title), text, QMessageBox::Ok,
                    modalInFront != nullptr ? modalInFront : parent_);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

}  // namespace quarnel
