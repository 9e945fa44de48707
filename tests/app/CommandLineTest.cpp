#include "app/CommandLine.h"

#include <gtest/gtest.h>

#include <vector>

using namespace zarn;
using Action = CommandLine::Action;

namespace {

CommandLine parse(std::vector<const char*> arguments) {
    arguments.insert(arguments.begin(), "zarn");
    return parseCommandLine(int(arguments.size()), arguments.data());
}

} // namespace

TEST(CommandLineTest, NoOptionPlaysAndEachOptionIsRecognisedOrNamed) {
    EXPECT_EQ(parse({}).action, Action::Play);
    EXPECT_EQ(parse({"--help"}).action, Action::Help);
    EXPECT_EQ(parse({"-h"}).action, Action::Help);
    EXPECT_EQ(parse({"--version"}).action, Action::Version);
    EXPECT_EQ(parse({"--demo"}).action, Action::Demo);
    const CommandLine unknown = parse({"--versions"});
    EXPECT_EQ(unknown.action, Action::Error);
    EXPECT_EQ(unknown.message, "Unknown option '--versions'. Try 'zarn --help'.");
    EXPECT_EQ(parse({"--help", "--version"}).action, Action::Error);
    for (const char* option : {"  --demo  ", "  --help  ", "  --version  "})
        EXPECT_NE(helpText().find(option), std::string::npos) << option;
    EXPECT_EQ(versionText(), "Zarn " ZARN_VERSION "\n");
}
