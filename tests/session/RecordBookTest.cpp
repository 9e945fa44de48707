#include "session/RecordBook.h"

#include "support/TempDirectory.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

using namespace zarn;
using zarn::test::captureStdout;
using Kind = GameEvent::Kind;

namespace {

// A won game: the four solves a quarter, half, three quarters and all of
// the way to the win.
std::vector<GameEvent> wonGame(double total) {
    std::vector<GameEvent> events;
    for (int puzzle = 0; puzzle < 4; ++puzzle) {
        events.emplace_back(Kind::PuzzleSolved, puzzle);
        events.back().seconds = total * (puzzle + 1) / 5.0;
    }
    events.emplace_back(Kind::Won);
    events.back().seconds = total;
    return events;
}

std::string contents(const std::filesystem::path& file) {
    std::ostringstream text;
    text << std::ifstream(file).rdbuf();
    return text.str();
}

} // namespace

// A first win is the best; a better one replaces it, a worse one is told the
// best; what was kept survives a new book on the same file. Hinted wins are
// told their hints and kept out of the records.
TEST(RecordBookTest, WinsKeepTheBestTimeAcrossRestarts) {
    test::TempDirectory directory;
    const std::filesystem::path file = directory.path() / "zarn" / "records.ini";
    std::string printed = captureStdout([&] {
        RecordBook book(file);
        EXPECT_EQ(book.winLine(), "");
        book.observe(wonGame(161.7));
        EXPECT_EQ(book.winLine(), "New best time!");
        book.newGame();
        EXPECT_EQ(book.winLine(), "");
        book.observe(wonGame(133.2));
        EXPECT_EQ(book.winLine(), "New best time!");
    });
    EXPECT_EQ(printed, "");
    EXPECT_FALSE(std::filesystem::exists(file.string() + ".new"));

    // A game won with hints, first or faster, is no record.
    RecordBook hinted(directory.path() / "hinted.ini");
    std::vector<GameEvent> helped = wonGame(100.0);
    helped.insert(helped.begin(), {GameEvent(Kind::HintShown), GameEvent(Kind::HintShown)});
    hinted.observe(helped);
    EXPECT_EQ(hinted.winLine(), "Your time 1:40 with 2 hints");
    EXPECT_FALSE(hinted.best());
    EXPECT_FALSE(std::filesystem::exists(directory.path() / "hinted.ini"));

    RecordBook again(file);
    again.observe(helped);
    EXPECT_EQ(again.winLine(), "Your time 1:40 with 2 hints - best 2:13");
    again.newGame();
    ASSERT_TRUE(again.best());
    EXPECT_DOUBLE_EQ(again.best()->total, 133.2);
    EXPECT_NEAR(again.best()->solvedAt[2], 133.2 * 3 / 5, 1e-3);
    EXPECT_EQ(again.wins(), 2);
    again.observe(wonGame(161.7));
    EXPECT_EQ(again.winLine(), "Your time 2:41 - best 2:13");
    EXPECT_EQ(RecordBook(file).wins(), 3);
    EXPECT_DOUBLE_EQ(RecordBook(file).best()->total, 133.2);
}

// A file that cannot be read is kept aside, once, and new records start; a
// folder that cannot be written is reported once, and the game goes on.
TEST(RecordBookTest, ABadFileIsKeptAsideAndAnUnwritableFolderIsReportedOnce) {
    test::TempDirectory directory;
    for (const char* bad : {"[records]\nwins = 2\n", "garbage [ without\n",
                            "[records]\nwins = 1\n[best]\ntotal = -3\n"}) {
        const auto file = directory.write("records.ini", bad);
        std::string printed;
        printed = captureStdout([&] {
            RecordBook book(file);
            EXPECT_FALSE(book.best());
            book.observe(wonGame(100.0));
        });
        EXPECT_NE(printed.find("cannot be read"), std::string::npos) << bad;
        EXPECT_EQ(contents(file.string() + ".bad"), bad);
        EXPECT_EQ(RecordBook(file).wins(), 1) << bad;
    }

    // A folder that cannot be made: a plain file stands in its way.
    const std::filesystem::path blocked = directory.write("blocked", "") / "zarn" / "records.ini";
    const std::string printed = captureStdout([&] {
        RecordBook book(blocked);
        book.observe(wonGame(100.0));
        EXPECT_EQ(book.winLine(), "New best time!");
        book.newGame();
        book.observe(wonGame(90.0));
    });
    EXPECT_EQ(printed, "The records cannot be saved to '" + blocked.string() +
                           "'; the game goes on without them.\n");
}

TEST(RecordBookTest, TheFileLivesInTheDataFolder) {
    const char* data = std::getenv("XDG_DATA_HOME");
    const std::string saved = data ? data : "";
    setenv("XDG_DATA_HOME", "/tmp/data", 1);
    EXPECT_EQ(recordsPath(), "/tmp/data/zarn/records.ini");
    setenv("XDG_DATA_HOME", "", 1);
    setenv("HOME", "/home/player", 1);
    EXPECT_EQ(recordsPath(), "/home/player/.local/share/zarn/records.ini");
    if (data)
        setenv("XDG_DATA_HOME", saved.c_str(), 1);
    else
        unsetenv("XDG_DATA_HOME");
}
