#include "ui/HelpMessage.hpp"

#include <gtest/gtest.h>

#include "tests/Fakes.hpp"

namespace quarnel {
namespace {

TEST(HelpMessage, TheWholeTextUnderTheVersionLineWithTheQuestionIcon) {
    testing::FakeMsgBox msgBox;
    ShowHelp(msgBox, "Quarnel!: Buchhalter für Dateilisten (Version2.5)");
    ASSERT_EQ(msgBox.shown.size(), 1u);
    EXPECT_EQ(msgBox.shown[0].prompt,
              "Quarnel!: Buchhalter für Dateilisten (Version2.5)\r\r"
              "Wer sich öfter mit der Dokumentation von Software oder Datenarchiven befassen muß, "
              "kennt sicher das Problem, daß man nur mit allerlei Tricks an die Namen der zu "
              "beschreibenden Dateien herankommt.\r\r"
              "Hier setzt Quarnel! an: Benötigt man die Namen bestimmter Dateien oder "
              "Verzeichnisse, so zieht man sie einfach z.B. aus deren Ordner oder der "
              "Arbeitsoberfläche das kleine Fenster von Quarnel! - und schon steht die Dateiliste "
              "in der Zwischenablage. Von dort aus kann sie dann über die üblichen "
              "Einfüge-Kommandos beispielsweise in eine Textverarbeitung eingefügt werden.");
    EXPECT_EQ(msgBox.shown[0].buttonsAndIcon, 32);
    EXPECT_EQ(msgBox.shown[0].title, "Quarnel! 2.5");
}

TEST(HelpMessage, BeginsWithTheLineItIsGiven) {
    testing::FakeMsgBox msgBox;
    ShowHelp(msgBox, "Zeile (Version3.1)");
    ASSERT_EQ(msgBox.shown.size(), 1u);
    EXPECT_EQ(msgBox.shown[0].prompt.rfind("Zeile (Version3.1)\r\rWer sich", 0), 0u);
}

}  // namespace
}  // namespace quarnel
