#include "app/CommandLine.h"

#include <gtest/gtest.h>

#include <utility>
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
    EXPECT_EQ(parse({"--demo", "--help"}).action, Action::Error);
    const CommandLine both = parse({"--data", "/opt/zarn", "--demo"});
    EXPECT_EQ(std::pair(both.action, both.dataDirectory),
              std::pair(Action::Demo, std::string("/opt/zarn")));
    EXPECT_EQ(parse({"--data", "x"}).action, Action::Play);
    EXPECT_EQ(parse({"--data"}).message, "--data needs a folder. Try 'zarn --help'.");
    for (const char* option : {"  --demo  ", "  --data DIR  ", "  --help  ", "  --version  "})
        EXPECT_NE(helpText().find(option), std::string::npos) << option;
    EXPECT_EQ(versionText(), "Zarn " ZARN_VERSION "\n");
}
