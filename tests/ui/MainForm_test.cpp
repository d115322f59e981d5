#include "ui/qt/MainForm.hpp"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGroupBox>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <fstream>
#include <thread>

#include "core/OptionStorage.hpp"
#include "core/WindowThreadServices.hpp"
#include "platform/ProgramVersion.hpp"
#include "platform/icu/IcuTextRules.hpp"
#include "platform/posix/PosixFileSystem.hpp"
#include "platform/qt/QtWindowPlacement.hpp"
#include "tests/Fakes.hpp"
#include "tests/TempFolder.hpp"
#include "ui/qt/OptionForm.hpp"

namespace quarnel {
namespace {

using namespace testing;

// MainForm with the real file system and text rules, the rest recorded, wired as the program
// wires it.
struct Program {
    explicit Program(std::optional<std::string> storedOptions = std::nullopt) {
        if (storedOptions)
            store.values[{"Kelvaro's Tools", "Quarnel! 2.5", "Options"}] = *storedOptions;
        form.Connect(gate, buttons);
        MainFormLoad(form, store, placement);
    }

    // Drops like a file manager does and returns whether the drop was accepted as a copy.
    bool DropUris(const QByteArray& uriList, const QString& format = "text/uri-list") {
        QMimeData mime;
        mime.setData(format, uriList);
        return Drop(mime);
    }
    bool Drop(const QMimeData& mime) {
        const QPoint centre = form.Image1().rect().center();
        QDragEnterEvent enter(centre, Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton, {});
        QApplication::sendEvent(&form.Image1(), &enter);
        if (!enter.isAccepted()) return false;
        QDropEvent drop(centre, Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton, {});
        QApplication::sendEvent(&form.Image1(), &drop);
        return drop.isAccepted() && drop.dropAction() == Qt::CopyAction;
    }

    MainForm form;
    PosixFileSystem files;
    FakeClipboard clipboard;
    FakeMsgBox msgBox;
    FakeBeep beep;
    IcuTextRules rules{"de"};
    FakeSettingsStore store;
    QtWindowPlacement placement{form};
    WindowThreadServices windowThread{clipboard, msgBox, beep, form.Image1()};
    DropHandler handler{{files, windowThread, windowThread, windowThread, rules, windowThread}};
    // what the gate runs on the drop's thread; a test may put a handler of its own here
    std::function<void(const DropData&, DropProgress&)> handleDrop =
        [this](const DropData& data, DropProgress& progress) {
            handler.HandleDrop(data, progress);
        };
    DropGate gate{
        [this](const DropData& data, DropProgress& progress) { handleDrop(data, progress); }, form,
        msgBox};
    OptionClickHandler clicks{store, placement, msgBox};
    OptionFormMaker optionForms{clicks, form};
    MainFormButtons buttons{optionForms, msgBox, RunningVersion()};
};

// Runs the event loop until done() holds, at most 10 s.
bool RunEventsUntil(const std::function<bool()>& done) {
    const QDeadlineTimer deadline(10000);
    QTimer wake;  // so the deadline is looked at when nothing else happens
    wake.start(20);
    while (!done() && !deadline.hasExpired()) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    QApplication::processEvents();
    return done();
}

bool DropFinished(const Program& program) {
    return RunEventsUntil([&] { return program.gate.AcceptsDrops(); });
}

QByteArray UriOf(const std::filesystem::path& path) {
    return QUrl::fromLocalFile(QString::fromStdString(path.string())).toEncoded() + "\r\n";
}

TEST(MainForm, AFixedWindowWithOnlyACloseButtonAtItsDesignPlace) {
    Program program;
    const MainForm& form = program.form;
    EXPECT_EQ(form.windowTitle(), "Quarnel! 2.5");
    const double scale = form.ScaleFactor();
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
    EXPECT_EQ(form.width(), qRound(61 * scale));
    EXPECT_EQ(form.height(), qRound(144 * scale));
    // 240, 480 twips: the place is not scaled with the font
    EXPECT_EQ(form.geometry().topLeft(), QPoint(16, 32));

    const Qt::WindowFlags flags = form.windowFlags();
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Window);  // a tool window would leave the task bar
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_FALSE(flags & Qt::WindowStaysOnTopHint);
}

TEST(MainForm, ButtonsAndTheDropFrameStandWhereTheTableSays) {
    Program program;
    MainForm& form = program.form;
    const double scale = form.ScaleFactor();
    const auto px = [scale](int twips) { return qRound(twips * scale / 15.0); };

    const char* captions[] = {"&Optionen", "&Hilfe", "&Info"};
    const int tops[] = {1080, 1440, 1800};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(form.Btn(i).text(), captions[i]);
        EXPECT_EQ(form.Btn(i).geometry(), QRect(px(60), px(tops[i]), px(795), px(315)));
        // the caption fits inside the button, whatever the font
        const int textWidth =
            form.Btn(i).fontMetrics().horizontalAdvance(form.Btn(i).text().remove('&'));
        EXPECT_LE(textWidth + form.style()->pixelMetric(QStyle::PM_ButtonMargin),
                  form.Btn(i).width());
    }
    EXPECT_EQ(form.DropFrame().title(), "Drop!");
    EXPECT_EQ(form.DropFrame().geometry(), QRect(px(60), px(60), px(795), px(915)));
    EXPECT_EQ(form.Image1().parentWidget(), &form.DropFrame());
    EXPECT_EQ(form.Image1().geometry(), QRect(px(120), px(240), px(480), px(480)));
    EXPECT_EQ(form.Image1().pixmap().size(), QSize(32, 32));

    EXPECT_EQ(form.Btn(0).nextInFocusChain(), &form.Btn(1));
    EXPECT_EQ(form.Btn(1).nextInFocusChain(), &form.Btn(2));
    EXPECT_TRUE(form.Image1().acceptDrops());
    EXPECT_FALSE(form.acceptDrops());
    EXPECT_FALSE(form.DropFrame().acceptDrops());
    EXPECT_FALSE(form.Btn(0).acceptDrops());
}

TEST(MainForm, AWiderFontScalesTheWholeWindowByOneFactor) {
    const QFont original = QApplication::font();
    QFont wide = original;
    wide.setPointSizeF(original.pointSizeF() * 2);
    QApplication::setFont(wide);
    MainForm form;
    QApplication::setFont(original);
    MainForm normal;
    EXPECT_GT(form.ScaleFactor(), normal.ScaleFactor() * 1.5);
    EXPECT_EQ(form.width(), qRound(61 * form.ScaleFactor()));
    EXPECT_EQ(form.Btn(2).y(), qRound(1800 * form.ScaleFactor() / 15.0));
    EXPECT_EQ(form.geometry().topLeft(), normal.geometry().topLeft());
}

TEST(MainForm, StoredTopmostOptionRaisesTheWindowOnceItIsShown) {
    Program topmost("01010101001110");
    // asked for at load, made once the window is on screen, so it opens where it would without
    EXPECT_FALSE(topmost.form.windowFlags() & Qt::WindowStaysOnTopHint);
    topmost.form.show();
    QApplication::processEvents();
    EXPECT_TRUE(topmost.form.windowHandle()->flags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(topmost.form.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(topmost.form.isVisible());
    EXPECT_EQ(topmost.form.geometry().topLeft(), QPoint(16, 32));

    Program normal("01010101000110");
    normal.form.show();
    QApplication::processEvents();
    EXPECT_FALSE(normal.form.windowFlags() & Qt::WindowStaysOnTopHint);

    normal.form.show();
    normal.placement.SetAlwaysOnTop(true);
    EXPECT_TRUE(normal.form.windowHandle()->flags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(normal.form.isVisible());
    normal.placement.SetAlwaysOnTop(false);
    EXPECT_FALSE(normal.form.windowHandle()->flags() & Qt::WindowStaysOnTopHint);
}

TEST(MainForm, ADropIsTakenAsACopyAndHandledAfterItReturns) {
    TempFolder temp;
    std::ofstream(temp.Path() / "b.txt") << "b";
    std::ofstream(temp.Path() / "Äpfel.txt") << "a";
    Program program;

    ASSERT_TRUE(program.DropUris(UriOf(temp.Path() / "b.txt") + UriOf(temp.Path() / "Äpfel.txt")));
    EXPECT_FALSE(program.clipboard.text.has_value());  // the drag source is not kept waiting
    ASSERT_TRUE(DropFinished(program));
    EXPECT_EQ(program.clipboard.text, "Äpfel.txt\r\nb.txt\r\n");
    EXPECT_EQ(program.beep.count, 1);
    EXPECT_EQ(program.form.Image1().frameShape(), QFrame::NoFrame);
}

TEST(MainForm, TheDropTargetIsFramedAndRefusesOtherDropsWhileADropRuns) {
    TempFolder temp;
    std::ofstream(temp.Path() / "gut.txt") << "x";
    Program program;

    // A message box during the drop runs the event loop; look at the target from there.
    struct PeekingMsgBox final : MsgBox {
        Program* program = nullptr;
        QFrame::Shape shapeDuringDrop = QFrame::NoFrame;
        bool secondDropAccepted = true;
        void Show(std::string_view, int, std::string_view) override {
            shapeDuringDrop = program->form.Image1().frameShape();
            secondDropAccepted = program->DropUris(UriOf("/tmp"));
        }
    } peeking;
    peeking.program = &program;
    WindowThreadServices peekingThread{program.clipboard, peeking, program.beep,
                                       program.form.Image1()};
    DropHandler handler{{program.files, program.clipboard, peekingThread, program.beep,
                         program.rules, peekingThread}};
    program.handleDrop = [&](const DropData& data, DropProgress& progress) {
        handler.HandleDrop(data, progress);
    };

    ASSERT_TRUE(program.DropUris("file:///tmp/wer%3F\r\n" + UriOf(temp.Path() / "gut.txt")));
    ASSERT_TRUE(DropFinished(program));
    EXPECT_EQ(peeking.shapeDuringDrop, QFrame::Box);
    EXPECT_FALSE(peeking.secondDropAccepted);
    EXPECT_EQ(program.clipboard.text, "gut.txt\r\n");
    EXPECT_EQ(program.form.Image1().frameShape(), QFrame::NoFrame);
    EXPECT_TRUE(program.DropUris(UriOf(temp.Path() / "gut.txt")));  // accepted again afterwards
}

TEST(MainForm, ClosedDuringADropItHidesAndClosesOnceTheListIsOnTheClipboard) {
    TempFolder temp;
    std::ofstream(temp.Path() / "liste.txt") << "x";
    Program program;
    program.form.show();
    int closedCount = 0;
    program.form.WhenClosed([&] { ++closedCount; });
    Latch latch;
    program.handleDrop = [&](const DropData& data, DropProgress& progress) {
        latch.Wait();
        program.handler.HandleDrop(data, progress);
    };

    ASSERT_TRUE(program.DropUris(UriOf(temp.Path() / "liste.txt")));
    ASSERT_TRUE(RunEventsUntil([&] { return latch.Entered(); }));
    program.form.close();
    EXPECT_TRUE(program.form.isHidden());
    QApplication::processEvents();
    EXPECT_EQ(closedCount, 0) << "not before the list is on the clipboard";
    latch.Open();
    ASSERT_TRUE(DropFinished(program));
    QApplication::processEvents();
    EXPECT_EQ(program.clipboard.text, "liste.txt\r\n");
    EXPECT_FALSE(program.form.isVisible());
    EXPECT_TRUE(program.gate.MayClose());
    EXPECT_EQ(closedCount, 1);  // once, after the list is on the clipboard
}

TEST(MainForm, ForeignDataIsAcceptedSoItGetsItsMessage) {
    Program program;
    program.clipboard.text = "vorher";
    ASSERT_TRUE(program.DropUris("https://example.org/\r\n"));
    ASSERT_TRUE(DropFinished(program));
    ASSERT_TRUE(program.DropUris("nur Text", "text/plain"));
    ASSERT_TRUE(DropFinished(program));
    ASSERT_EQ(program.msgBox.shown.size(), 2u);
    for (const auto& message : program.msgBox.shown) {
        EXPECT_EQ(message.prompt, "Bitte nur Datei- und Verzeichnisnamen in die Liste ziehen.");
        EXPECT_EQ(message.buttonsAndIcon, 64);
        EXPECT_EQ(message.title, "Quarnel! 2.5");
    }
    EXPECT_EQ(program.clipboard.text, "vorher");
    EXPECT_EQ(program.clipboard.setCount, 0);
    EXPECT_EQ(program.beep.count, 0);
}

TEST(MainForm, DataWhoseNamesCannotBeCopiedIsSaidAfterTheDropAndTheNextDropWorks) {
    // the memory runs out as the names are copied out of the drop
    struct UncopyableUris final : QMimeData {
        QStringList formats() const override { return {"text/uri-list"}; }
        QVariant retrieveData(const QString&, QMetaType) const override { throw std::bad_alloc(); }
    } uncopyable;
    TempFolder temp;
    std::ofstream(temp.Path() / "gut.txt") << "x";
    Program program;
    ASSERT_TRUE(program.Drop(uncopyable));
    EXPECT_TRUE(program.msgBox.shown.empty()) << "the drag source is not kept waiting";
    ASSERT_TRUE(DropFinished(program));
    ASSERT_EQ(program.msgBox.shown.size(), 1u);
    EXPECT_EQ(program.msgBox.shown[0].prompt,
              "Die Liste konnte nicht erstellt werden: nicht genug Arbeitsspeicher. Die "
              "Zwischenablage bleibt, wie sie war.");
    ASSERT_TRUE(program.DropUris(UriOf(temp.Path() / "gut.txt")));
    ASSERT_TRUE(DropFinished(program));
    EXPECT_EQ(program.clipboard.text, "gut.txt\r\n");
}

TEST(MainForm, HelpAndInfoButtonsShowTheirMessagesUnderTheRunningVersion) {
    Program program;
    MainForm& form = program.form;
    FakeMsgBox& msgBox = program.msgBox;
    FakeSettingsStore& store = program.store;

    form.Btn(1).click();
    form.Btn(2).click();
    ASSERT_EQ(msgBox.shown.size(), 2u);
    const std::string versionLine = "Quarnel!: Buchhalter f\xC3\xBCr Dateilisten (Version" +
                                    std::to_string(RunningVersion().major) + "." +
                                    std::to_string(RunningVersion().minor) + ")\r\r";
    EXPECT_EQ(msgBox.shown[0].prompt.rfind(versionLine + "Wer sich", 0), 0u);
    EXPECT_EQ(msgBox.shown[0].buttonsAndIcon, 32);
    EXPECT_EQ(msgBox.shown[1].prompt.rfind(versionLine, 0), 0u);
    EXPECT_TRUE(msgBox.shown[1].prompt.ends_with("\r\rBis bald ... "));
    EXPECT_EQ(msgBox.shown[1].buttonsAndIcon, 64);
    for (const auto& message : msgBox.shown) EXPECT_EQ(message.title, "Quarnel! 2.5");
    EXPECT_TRUE(store.values.empty());
}

}  // namespace
}  // namespace quarnel

namespace quarnel {
namespace {

TEST(MainForm, ADropRunsBesideTheWindowWithTheWaitCursorAndAfterASecondItsProgress) {
    TempFolder temp;
    for (const char* folder : {"eins", "zwei", "drei"}) {
        std::filesystem::create_directories(temp.Path() / "Baum" / folder);
        std::ofstream(temp.Path() / "Baum" / folder / "datei.txt") << "x";
    }
    Program program(std::string("10100011000110"));
    program.form.show();
    Latch latch;
    program.handleDrop = [&](const DropData& data, DropProgress& progress) {
        latch.Wait();
        program.handler.HandleDrop(data, progress);
    };
    const auto progressWindow = [] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->isVisible() &&
                window->windowTitle() == QStringLiteral("Liste wird erstellt – Quarnel! 2.5")) {
                return window;
            }
        }
        return static_cast<QWidget*>(nullptr);
    };

    ASSERT_TRUE(program.DropUris(UriOf(temp.Path() / "Baum")));
    // the drop waits on its own thread while the window's events run here
    ASSERT_TRUE(RunEventsUntil([&] { return latch.Entered(); }));
    EXPECT_EQ(program.form.cursor().shape(), Qt::WaitCursor);
    EXPECT_EQ(progressWindow(), nullptr) << "not before a second has passed";
    EXPECT_TRUE(RunEventsUntil([&] { return progressWindow() != nullptr; }));
    latch.Open();
    ASSERT_TRUE(DropFinished(program));
    EXPECT_EQ(progressWindow(), nullptr);
    EXPECT_EQ(program.form.cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(program.form.Image1().frameShape(), QFrame::NoFrame);
    const std::string text = *program.clipboard.text;
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 7);  // the folder, 3 files, 3 folders
}

// Runs the event loop until done holds, for at most two seconds.
bool WaitUntil(const std::function<bool()>& done) {
    for (int i = 0; i < 200 && !done(); ++i) QTest::qWait(10);
    return done();
}

TEST(MainForm, ShowsTheProgressWindowWhileItIsOutOfSightAndRunsTasksFromOtherThreads) {
    MainForm form;
    form.ShowProgress(std::make_shared<DropProgress>(), [] {});
    ASSERT_NE(form.Progress(), nullptr);
    EXPECT_TRUE(form.Progress()->isVisible());
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.Progress()->windowHandle()->transientParent(), nullptr);
    form.HideProgress();
    EXPECT_EQ(form.Progress(), nullptr);
    // with the main window at its place, staying on top: centred on the screen, clear of the
    // main window, and above it
    form.show();
    form.windowHandle()->setFlag(Qt::WindowStaysOnTopHint, true);
    form.ShowProgress(std::make_shared<DropProgress>(), [] {});
    const QRect placed = form.Progress()->geometry();
    EXPECT_LE((placed.center() - form.screen()->availableGeometry().center()).manhattanLength(), 2);
    EXPECT_FALSE(placed.intersects(form.frameGeometry()));
    EXPECT_TRUE(form.Progress()->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(form.Progress()->windowHandle()->transientParent(), form.windowHandle());
    form.HideProgress();

    std::thread::id ranOn;
    std::thread poster(
        [&] { form.PostFromAnyThread([&ranOn] { ranOn = std::this_thread::get_id(); }); });
    poster.join();
    ASSERT_TRUE(WaitUntil([&] { return ranOn != std::thread::id(); }));
    EXPECT_EQ(ranOn, std::this_thread::get_id());
}

TEST(MainForm, ATaskPostedFromAnotherThreadToAWindowThatGoesIsDroppedAndFreed) {
    auto token = std::make_shared<int>(0);
    bool ran = false;
    {
        MainForm form;
        std::thread poster([&, token] { form.PostFromAnyThread([token, &ran] { ran = true; }); });
        poster.join();
    }
    QApplication::processEvents();
    EXPECT_FALSE(ran);
    EXPECT_EQ(token.use_count(), 1);
}

}  // namespace
}  // namespace quarnel
