#include "ui/qt/ProgressForm.hpp"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <memory>

namespace quarnel {
namespace {

// Runs the event loop until done holds, for at most two seconds.
bool WaitFor(const std::function<bool()>& done) {
    for (int i = 0; i < 200 && !done(); ++i) QTest::qWait(10);
    return done();
}

struct ProgressWindow {
    ProgressWindow() { form.show(); }

    std::shared_ptr<DropProgress> progress = std::make_shared<DropProgress>();
    int stops = 0;
    QWidget mainWindow;  // out of sight, as with names given at start
    ProgressForm form{progress, [this] { ++stops; }, mainWindow};
};

TEST(ProgressForm, ShowsTheNamesFoundAndTheFolderShortenedInItsMiddle) {
    ProgressWindow window;
    ProgressForm& form = window.form;
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.windowTitle(), "Liste wird erstellt – Quarnel! 2.5");
    EXPECT_EQ(form.findChildren<QLabel*>().at(0)->text(), "Die Liste wird erstellt …");
    EXPECT_EQ(form.CancelButton().text(), "Abbrechen");
    EXPECT_EQ(form.Count().text(), "0 Namen gefunden");

    const std::string start = "/home/anna/Projekte";
    const std::string end = "/Abschlussbericht";
    window.progress->AddNamesFound(12344);
    window.progress->AddNamesFound(1);
    window.progress->SetFolder(start + std::string(400, 'x') + end);
    ASSERT_TRUE(WaitFor([&] { return form.Count().text() == "12.345 Namen gefunden"; }))
        << form.Count().text().toStdString();
    const QString folder = form.Folder().text();
    EXPECT_TRUE(folder.startsWith("/home/anna/")) << folder.toStdString();
    EXPECT_TRUE(folder.endsWith(QString::fromStdString(end))) << folder.toStdString();
    EXPECT_TRUE(folder.contains(QChar(0x2026)));
    EXPECT_LE(form.Folder().fontMetrics().horizontalAdvance(folder), form.Folder().width());
    // every text fits its window
    for (const QWidget* child : form.findChildren<QWidget*>()) {
        EXPECT_TRUE(form.rect().contains(child->geometry())) << child->metaObject()->className();
    }
    const QLabel* line = form.findChildren<QLabel*>().at(0);
    EXPECT_LE(line->fontMetrics().horizontalAdvance(line->text()), line->width());
}

TEST(ProgressForm, AbbrechenEscapeAndTheCloseButtonEachStopTheDropOnce) {
    ProgressWindow window;
    QTest::mouseClick(&window.form.CancelButton(), Qt::LeftButton);
    EXPECT_EQ(window.stops, 1);
    // the key goes to the button, which has the focus, and on to the window
    QTest::keyClick(&window.form.CancelButton(), Qt::Key_Escape);
    EXPECT_EQ(window.stops, 2);
    window.form.close();
    EXPECT_EQ(window.stops, 3);
    // it stays until the drop has stopped and its owner takes it down
    EXPECT_TRUE(window.form.isVisible());
}

}  // namespace
}  // namespace quarnel
