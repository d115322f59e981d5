#include "ui/InfoMessage.hpp"

#include <gtest/gtest.h>

#include <regex>

#include "tests/Fakes.hpp"

namespace quarnel {
namespace {

std::vector<std::string> Paragraphs(const std::string& prompt) {
    std::vector<std::string> paragraphs;
    std::size_t start = 0;
    for (std::size_t end; (end = prompt.find("\r\r", start)) != std::string::npos;
         start = end + 2) {
        paragraphs.push_back(prompt.substr(start, end - start));
    }
    paragraphs.push_back(prompt.substr(start));
    return paragraphs;
}

int Occurrences(const std::string& text, const std::string& word) {
    int count = 0;
    for (auto at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) ++count;
    return count;
}

testing::ShownMessage InfoFor(std::string_view title, std::string_view line) {
    testing::FakeMsgBox msgBox;
    ShowInfoBox(msgBox, title, line);
    EXPECT_EQ(msgBox.shown.size(), 1u);
    return msgBox.shown.at(0);
}

TEST(InfoMessage, SixParagraphsFromTheVersionLineToTheFarewell) {
    const auto info = InfoFor("Quarnel! 2.5", "Quarnel!: Buchhalter für Dateilisten (Version2.5)");
    EXPECT_EQ(info.buttonsAndIcon, 64);
    EXPECT_EQ(info.title, "Quarnel! 2.5");
    EXPECT_EQ(info.prompt.find('\n'), std::string::npos);  // line breaks are lone CRs

    const auto paragraphs = Paragraphs(info.prompt);
    ASSERT_EQ(paragraphs.size(), 6u) << info.prompt;
    EXPECT_EQ(paragraphs[0], "Quarnel!: Buchhalter für Dateilisten (Version2.5)");
    EXPECT_NE(paragraphs[1].find("Kelvaro's Tools"), std::string::npos);
    EXPECT_TRUE(std::regex_search(paragraphs[1], std::regex("(19|20)[0-9]{2}")));
    EXPECT_EQ(Occurrences(paragraphs[2], "Quarnel! 2.5"), 2);
    EXPECT_TRUE(std::regex_search(paragraphs[3], std::regex("[a-z]+@example\\.org")));
    EXPECT_NE(paragraphs[4].find("https://www.example.org/"), std::string::npos);
    EXPECT_EQ(paragraphs[5], "Bis bald ... ");
    for (const auto& paragraph : paragraphs) EXPECT_EQ(paragraph.find('\r'), std::string::npos);
}

TEST(InfoMessage, TitleAndLineAreTheOnesGiven) {
    const auto info = InfoFor("Anderer Titel", "Zeile");
    EXPECT_EQ(info.title, "Anderer Titel");
    const auto paragraphs = Paragraphs(info.prompt);
    ASSERT_EQ(paragraphs.size(), 6u);
    EXPECT_EQ(paragraphs[0], "Zeile");
    EXPECT_EQ(Occurrences(paragraphs[2], "Anderer Titel"), 2);
    EXPECT_EQ(Occurrences(info.prompt, "Quarnel! 2.5"), 0);
}

TEST(InfoMessage, NamesNoAddressOutsideTheReservedDomain) {
    const std::string prompt = InfoFor("Quarnel! 2.5", "Zeile").prompt;
    const std::regex address(R"(([A-Za-z0-9.-]+)@([A-Za-z0-9.-]+)|https?://([A-Za-z0-9.-]+))");
    int found = 0;
    for (auto it = std::sregex_iterator(prompt.begin(), prompt.end(), address);
         it != std::sregex_iterator(); ++it, ++found) {
        const std::string host = (*it)[2].matched ? (*it)[2].str() : (*it)[3].str();
        EXPECT_TRUE(host == "example.org" || host.ends_with(".example.org")) << host;
    }
    EXPECT_EQ(found, 2);
}

}  // namespace
}  // namespace quarnel
