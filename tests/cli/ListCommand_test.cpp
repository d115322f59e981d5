#include "cli/ListCommand.hpp"

#include <gtest/gtest.h>

#include <sstream>

#include "tests/Fakes.hpp"

namespace quarnel {
namespace {

using namespace testing;

struct Command {
    int Run(std::vector<std::string> arguments) {
        return RunListCommand(arguments,
                              {files, rules, settings,
                               [](const std::string& path) { return "C:\\" + path; }, out, err});
    }
    FakeFileSystem files;
    FakeTextRules rules;
    FakeSettingsStore settings;
    std::ostringstream out;
    std::ostringstream err;
};

TEST(ListCommand, ADropThatFailsWritesOneSentenceAndNothingElse) {
    Command command;
    command.files.AddFile("C:\\a.txt");
    command.files.AddFile("C:\\b.txt");
    command.files.throwOnAttributesOf = "C:\\b.txt";
    EXPECT_EQ(command.Run({"--options", "10100011000110", "a.txt", "b.txt"}), 3);
    EXPECT_EQ(command.out.str(), "");
    EXPECT_EQ(command.err.str(),
              "Quarnel! 2.5: Die Liste konnte nicht erstellt werden: ein unerwarteter Fehler ist "
              "aufgetreten. Die Zwischenablage bleibt, wie sie war.\n");

    command.files.throwOnAttributesOf.clear();
    command.err.str("");
    EXPECT_EQ(command.Run({"--options", "10100011000110", "a.txt", "b.txt"}), 0);
    EXPECT_EQ(command.out.str(), "C:\\a.txt\r\nC:\\b.txt\r\n");
}

TEST(ListCommand, AnEmptyListWritesNothingAndKeepsTheStatus) {
    Command command;
    command.files.AddFolder("C:\\leer");
    EXPECT_EQ(command.Run({"--options", "10100101000110", "leer"}), 0);
    EXPECT_EQ(command.out.str(), "");
    EXPECT_EQ(command.err.str(),
              "Quarnel! 2.5: Die Liste ist leer; die Zwischenablage bleibt, wie sie war.\n");
    command.err.str("");
    EXPECT_EQ(command.Run({"--options", "10100101000110", "weg.txt"}), 1);
    EXPECT_EQ(command.out.str(), "");
}

TEST(ListCommand, AListThatCannotBeWrittenWholeEndsWithStatus3) {
    Command command;
    command.files.AddFile("C:\\a.txt");
    command.out.setstate(std::ios::badbit);  // a full disk, a closed output
    EXPECT_EQ(command.Run({"a.txt"}), 3);
    EXPECT_EQ(command.err.str(),
              "Quarnel! 2.5: Die Liste konnte nicht vollst\xC3\xA4ndig ausgegeben werden.\n");
    EXPECT_EQ(command.Run({"--help"}), 3);
}

}  // namespace
}  // namespace quarnel
