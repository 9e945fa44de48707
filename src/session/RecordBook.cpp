#include "session/RecordBook.h"

#include "session/GameFlow.h"

#include <INIReader.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <unistd.h>

namespace zarn {

namespace {

constexpr const char* puzzleKeys[4] = {"tiles", "ball", "river", "flow"};

// A section's times, or nothing when one is missing or not a time.
std::optional<GameTimes> readTimes(const INIReader& reader, const char* section) {
    const auto time = [&](const char* key) {
        return reader.GetReal(section, key, -1.0);
    };
    GameTimes times;
    times.total = time("total");
    if (!(times.total > 0.0 && std::isfinite(times.total)))
        return std::nullopt;
    for (int puzzle = 0; puzzle < 4; ++puzzle) {
        const double at = time(puzzleKeys[puzzle]);
        if (!(at >= 0.0 && at <= times.total))
            return std::nullopt;
        times.solvedAt[std::size_t(puzzle)] = at;
    }
    return times;
}

void writeTimes(std::ostream& out, const char* section, const GameTimes& times) {
    char number[32];
    const auto put = [&](const char* key, double value) {
        std::snprintf(number, sizeof number, "%.3f", value);
        out << key << " = " << number << "\n";
    };
    out << "[" << section << "]\n";
    put("total", times.total);
    for (int puzzle = 0; puzzle < 4; ++puzzle)
        put(puzzleKeys[puzzle], times.solvedAt[std::size_t(puzzle)]);
    out << "\n";
}

} // namespace

RecordBook::RecordBook(std::filesystem::path path) : file(std::move(path)) {
    std::error_code error;
    if (!std::filesystem::exists(file, error))
        return;
    const INIReader reader(file.string());
    const long wins = reader.GetInteger("records", "wins", -1);
    const bool readable = reader.ParseError() == 0 && wins >= 1;
    if (readable) {
        bestGame = readTimes(reader, "best");
        lastGame = readTimes(reader, "last");
    }
    if (readable && bestGame && lastGame) {
        winCount = int(std::min(wins, 1000000L));
        return;
    }
    bestGame.reset();
    lastGame.reset();
    std::filesystem::path bad = file;
    bad += ".bad";
    std::filesystem::rename(file, bad, error);
    std::cout << "The records in '" << file.string() << "' cannot be read; "
              << (error ? "they are left as they are" : "they are kept as '" + bad.string() + "'")
              << " and new records start." << std::endl;
    // A file that could not be moved aside is not written over either.
    saveFailed = bool(error);
}

void RecordBook::observe(const std::vector<GameEvent>& events) {
    for (const GameEvent& event : events) {
        if (event.kind == GameEvent::Kind::PuzzleSolved && event.detail >= 0 && event.detail < 4)
            current.solvedAt[std::size_t(event.detail)] = event.seconds;
        else if (event.kind == GameEvent::Kind::HintShown)
            ++hints;
        else if (event.kind == GameEvent::Kind::Won)
            recordWin(event.seconds);
    }
}

void RecordBook::newGame() {
    current = GameTimes{};
    hints = 0;
    line.clear();
}

void RecordBook::recordWin(double total) {
    current.total = total;
    const std::optional<GameTimes> before = bestGame;
    // A game won with help is shown its time, but it is no record.
    if (hints > 0) {
        line = "Your time " + formatRemainingTime(int(total)) + " with " + std::to_string(hints) +
               (hints == 1 ? " hint" : " hints");
        if (before)
            line += " - best " + formatRemainingTime(int(before->total));
        return;
    }
    if (!before || total < before->total) {
        bestGame = current;
        line = "New best time!";
    } else {
        line = "Your time " + formatRemainingTime(int(total)) + " - best " +
               formatRemainingTime(int(before->total));
    }
    lastGame = current;
    ++winCount;
    save();
}

void RecordBook::save() {
    if (saveFailed)
        return;
    namespace fs = std::filesystem;
    std::error_code error;
    fs::create_directories(file.parent_path(), error);
    fs::path temporary = file;
    temporary += ".new";
    bool written = false;
    if (!error) {
        std::ofstream out(temporary, std::ios::trunc);
        out << "; Zarn's best times, in seconds of game time.\n\n[records]\nwins = " << winCount
            << "\n\n";
        writeTimes(out, "best", *bestGame);
        writeTimes(out, "last", *lastGame);
        out.flush();
        written = bool(out);
    }
    if (written) {
        // On the disk before the rename, so that a crash leaves a whole file.
        if (FILE* handle = std::fopen(temporary.c_str(), "r")) {
            fsync(fileno(handle));
            std::fclose(handle);
        }
        fs::rename(temporary, file, error);
    }
    if (!written || error) {
        fs::remove(temporary, error);
        std::cout << "The records cannot be saved to '" << file.string()
                  << "'; the game goes on without them." << std::endl;
        saveFailed = true;
    }
}

std::filesystem::path recordsPath() {
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data && *data)
        return std::filesystem::path(data) / "zarn" / "records.ini";
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home ? home : ".") / ".local" / "share" / "zarn" / "records.ini";
}

} // namespace zarn
