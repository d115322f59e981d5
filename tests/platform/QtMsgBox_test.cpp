#include "platform/qt/QtMsgBox.hpp"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTextLayout>
#include <QTimer>

#include "core/ProgramTitle.hpp"
#include "ui/InfoMessage.hpp"

namespace quarnel {
namespace {

// The lines the box's label shows its text in, at the width it has.
QStringList ShownLines(const QLabel& label) {
    QTextLayout layout(label.text(), label.font());
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(label.contentsRect().width());
        lines << label.text().mid(line.textStart(), line.textLength()).remove(QChar(0x2060));
    }
    layout.endLayout();
    return lines;
}

TEST(QtMsgBox, AWebAddressIsNeverBrokenAcrossLines) {
    QStringList lines;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        const auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        ASSERT_NE(label, nullptr);
        lines = ShownLines(*label);
        box->accept();
    });
    QtMsgBox msgBox(nullptr);
    ShowInfoBox(msgBox, ProgramTitle, "Zeile");

    const auto withAddress = lines.filter(QStringLiteral("https:"));
    ASSERT_EQ(withAddress.size(), 1) << lines.join('|').toStdString();
    EXPECT_TRUE(withAddress[0].contains(QStringLiteral("https://www.example.org/kelvaros-tools/")))
        << withAddress[0].toStdString();
}

}  // namespace
}  // namespace quarnel
