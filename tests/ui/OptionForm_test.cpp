#include "ui/qt/OptionForm.hpp"

#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QWindow>
#include <regex>

#include "core/OptionStorage.hpp"
#include "platform/qt/QtWindowPlacement.hpp"
#include "tests/Fakes.hpp"
#include "ui/qt/MainForm.hpp"

namespace quarnel {
namespace {

using namespace testing;

const FakeSettingsStore::Address cOptionsAddress{"Kelvaro's Tools", "Quarnel! 2.5", "Options"};

// The main window and what the option clicks use, as the program wires them.
struct Program {
    Program() { form.Connect(gate, buttons); }

    MainForm form;
    FakeSettingsStore store;
    FakeMsgBox msgBox;
    QtWindowPlacement placement{form};
    OptionClickHandler clicks{store, placement, msgBox};
    OptionFormMaker optionForms{clicks, form};
    MainFormButtons buttons{optionForms, msgBox, {2, 5, 1}};
    DropGate gate{[](const DropData&, DropProgress&) {}, form, msgBox};
};

// Opens the dialog as Btn(0) does: a fresh one, its buttons set from OptionFlags.
struct OpenDialog {
    explicit OpenDialog(Program& program) : dialog(program.clicks, program.form) {
        SyncOptionButtons(dialog);
    }
    OptionForm dialog;
};

std::string SelectedPattern(OptionForm& dialog) {
    std::string pattern;
    for (int i = 0; i < cOptionCount; ++i) pattern += dialog.Opt(i).isChecked() ? '1' : '0';
    return pattern;
}

TEST(OptionForm, AFixedToolDialogWithOnlyACloseButtonCentredOnTheMainWindowsScreen) {
    Program program;
    program.form.show();
    OptionForm dialog(program.clicks, program.form);
    EXPECT_EQ(dialog.windowTitle(), "Quarnel! 2.5 Optionen");
    const double scale = dialog.ScaleFactor();
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    EXPECT_EQ(dialog.size(), QSize(qRound(323 * scale), qRound(265 * scale)));
    EXPECT_LE((dialog.geometry().center() - program.form.screen()->availableGeometry().center())
                  .manhattanLength(),
              1);
    // the window manager keeps the dialog with the main window it blocks
    ASSERT_NE(dialog.windowHandle(), nullptr);
    EXPECT_EQ(dialog.windowHandle()->transientParent(), program.form.windowHandle());

    const Qt::WindowFlags flags = dialog.windowFlags();
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Tool);  // task bars leave tool windows out
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                          Qt::WindowContextHelpButtonHint));
    EXPECT_EQ(dialog.parentWidget(), nullptr);

    const QImage icon = dialog.windowIcon().pixmap(16, 16).toImage();
    ASSERT_FALSE(icon.isNull());
    for (int y = 0; y < icon.height(); ++y) {
        for (int x = 0; x < icon.width(); ++x) ASSERT_EQ(qAlpha(icon.pixel(x, y)), 0);
    }
}

TEST(OptionForm, FramesAndButtonsCarryTheirCaptionsAndStandInTwoColumns) {
    Program program;
    OptionForm dialog(program.clicks, program.form);
    const double scale = dialog.ScaleFactor();
    const auto px = [scale](int twips) { return qRound(twips * scale / 15.0); };

    EXPECT_EQ(dialog.Frame1(4).title(), "Fensterposition");
    EXPECT_EQ(dialog.Frame1(3).title(), "Schreibweise");
    EXPECT_EQ(dialog.Frame1(4).geometry(), QRect(px(60), px(60), px(2295), px(1095)));
    EXPECT_EQ(dialog.Frame1(3).geometry(), QRect(px(2460), px(2460), px(2295), px(1455)));
    EXPECT_EQ(dialog.Frame1(2).objectName(), "Frame1(2)");

    const char* captions[] = {"&Keine",
                              "&Alphabethisch",
                              "Mit komplettem &Pfad",
                              "&Ohne Pfad",
                              "&Verzeichnisnamen",
                              "&Dateinamen",
                              "Datei &und Verz.-Namen",
                              "&Belassen",
                              "&Groß",
                              "K&lein",
                              "&Immer &oben",
                              "&Normal",
                              "Verzeichnisse aufl&ösen",
                              "Verz.-Namen übergeben"};
    const int indicator = dialog.style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth);
    for (int i = 0; i < cOptionCount; ++i) {
        SCOPED_TRACE(i);
        QRadioButton& opt = dialog.Opt(i);
        EXPECT_EQ(opt.text(), QString::fromUtf8(captions[i]));
        EXPECT_FALSE(opt.isChecked());
        // the caption fits beside the indicator, whatever the font, inside its frame
        const int textWidth = opt.fontMetrics().horizontalAdvance(opt.text().remove('&'));
        EXPECT_LE(indicator + textWidth, opt.width());
        EXPECT_LE(opt.fontMetrics().ascent(), opt.height());
        auto* frame = qobject_cast<QGroupBox*>(opt.parentWidget());
        ASSERT_NE(frame, nullptr);
        EXPECT_TRUE(frame->rect().contains(opt.geometry()));
    }
    EXPECT_EQ(dialog.Opt(6).parentWidget(), &dialog.Frame1(2));  // Datei und Verz.-Namen
    EXPECT_EQ(dialog.Opt(6).geometry(), QRect(px(180), px(1020), px(1995), px(195)));
    EXPECT_EQ(dialog.Opt(11).parentWidget(), &dialog.Frame1(4));  // Normal, above Immer oben
    EXPECT_EQ(dialog.Opt(11).geometry(), QRect(px(180), px(300), px(1635), px(195)));
    EXPECT_EQ(dialog.Opt(10).geometry(), QRect(px(180), px(660), px(1635), px(195)));
}

TEST(OptionForm, TheButtonsOfOneFrameAreOneRadioGroup) {
    Program program;
    OptionForm dialog(program.clicks, program.form);
    dialog.Opt(4).click();
    dialog.Opt(8).click();
    dialog.Opt(6).click();
    EXPECT_EQ(SelectedPattern(dialog), "00000010100000");
    dialog.Opt(5).click();
    EXPECT_EQ(SelectedPattern(dialog), "00000100100000");
}

// The widget the Tab key moves to: the next one in the focus chain that takes focus by Tab.
QWidget* NextTabStop(QWidget& widget) {
    QWidget* next = widget.nextInFocusChain();
    while (next != &widget && !(next->focusPolicy() & Qt::TabFocus))
        next = next->nextInFocusChain();
    return next;
}

TEST(OptionForm, TabOrderFollowsTheTable) {
    Program program;
    OptionForm dialog(program.clicks, program.form);
    const int byTabIndex[] = {11, 10, 0, 1, 5, 4, 6, 3, 2, 13, 12, 7, 8, 9};
    for (int i = 0; i < cOptionCount; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(NextTabStop(dialog.Opt(byTabIndex[i])),
                  &dialog.Opt(byTabIndex[(i + 1) % cOptionCount]));
    }
    for (int i = 0; i < 6; ++i) EXPECT_EQ(dialog.Frame1(i).focusPolicy(), Qt::NoFocus);
}

TEST(OptionForm, AClickSavesExactlyFourteenZerosAndOnes) {
    Program program;
    OptionFlags = OptionFlagsFromString("01010101000110");
    OpenDialog open(program);
    EXPECT_EQ(SelectedPattern(open.dialog), "01010101000110");

    open.dialog.Opt(2).click();
    const std::string& saved = program.store.values.at(cOptionsAddress);
    EXPECT_TRUE(std::regex_match(saved, std::regex("[01]{14}"))) << saved;
    EXPECT_EQ(saved, "01100101000110");
    EXPECT_EQ(OptionFlags.Snapshot(), OptionFlagsFromString("01100101000110"));

    open.dialog.Opt(0).click();
    EXPECT_EQ(program.store.values.at(cOptionsAddress), "10100101000110");
    EXPECT_EQ(program.store.values.size(), 1u);
}

TEST(OptionForm, OpeningSavesNothingEvenForTwoOrNoFlagsInAGroup) {
    Program program;
    // "Sortierung" with both flags on (and a hand-edited 7), "Aufbau" with none
    OptionFlags = OptionFlagsFromString("17000101000110");
    const OptionFlagArray stored = OptionFlags.Snapshot();
    OpenDialog open(program);

    EXPECT_TRUE(program.store.values.empty());
    EXPECT_EQ(OptionFlags.Snapshot(), stored);
    EXPECT_EQ(SelectedPattern(open.dialog), "01000101000110");  // the higher index stays

    // the first click rewrites everything as shown: "Aufbau" saves "0" for both its places
    open.dialog.Opt(13).click();
    EXPECT_EQ(program.store.values.at(cOptionsAddress), "01000101000101");
    EXPECT_EQ(OptionFlags.Snapshot(), OptionFlagsFromString("01000101000101"));
}

TEST(OptionForm, ThePlacementButtonsMoveTheMainWindowAtOnce) {
    Program program;
    program.form.show();
    OptionFlags = OptionFlagsFromString("01010101000110");
    OpenDialog open(program);

    open.dialog.Opt(10).click();
    EXPECT_TRUE(program.form.windowHandle()->flags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(program.form.isVisible());
    EXPECT_EQ(program.store.values.at(cOptionsAddress), "01010101001010");

    open.dialog.Opt(11).click();
    EXPECT_FALSE(program.form.windowHandle()->flags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(program.store.values.at(cOptionsAddress), "01010101000110");
}

TEST(OptionForm, TheOptionenButtonOpensAFreshModalDialogEachTime) {
    Program program;
    program.form.show();
    OptionFlags = OptionFlagsFromString("01010101000110");

    struct Seen {
        QPointer<OptionForm> dialog;
        std::string pattern;
        bool modal = false;
        bool savedBeforeClick = true;
    };
    std::vector<Seen> seen;
    const auto openAndClick = [&](int index) {
        QTimer::singleShot(0, [&, index] {
            auto* dialog = dynamic_cast<OptionForm*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            seen.push_back({dialog, SelectedPattern(*dialog),
                            dialog->isModal() && dialog->windowModality() == Qt::ApplicationModal,
                            !program.store.values.empty()});
            dialog->Opt(index).click();
            dialog->close();
        });
        program.form.Btn(0).click();
    };

    openAndClick(0);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_TRUE(seen[0].modal);
    EXPECT_FALSE(seen[0].savedBeforeClick);
    EXPECT_EQ(seen[0].pattern, "01010101000110");
    EXPECT_TRUE(seen[0].dialog.isNull());  // closing discarded it
    EXPECT_EQ(program.store.values.at(cOptionsAddress), "10010101000110");

    openAndClick(8);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].pattern, "10010101000110");  // the new dialog shows the last choice
    EXPECT_TRUE(seen[1].dialog.isNull());
    EXPECT_EQ(program.store.values.at(cOptionsAddress), "10010100100110");
    EXPECT_EQ(OptionFlags.Snapshot(), OptionFlagsFromString("10010100100110"));
}

}  // namespace
}  // namespace quarnel
