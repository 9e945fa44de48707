#include "GameDirectory.h"
#include "GameProcess.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

using namespace zarn::test;
namespace fs = std::filesystem;

namespace {

// What is done to the asset file before the game starts.
enum class Damage { missing, empty, truncated, garbage };

// How the run has to end.
enum class Outcome {
    runs,            // the game draws and ends with status 0 on Escape
    fatal,           // status 1, the output is exactly the message
    fatalWithDriver, // status 1, the message followed by the compiler's log,
                     // which the driver's debug output may also have shown
};

struct BadAssetCase {
    std::string name;
    std::string file; // below "assets"
    Damage damage;
    std::string message; // whole lines the game prints before it ends
    Outcome outcome;
    bool openHelp = false; // the help image is only loaded on F1
};

// Test listings show the case's name rather than its bytes.
void PrintTo(const BadAssetCase& bad, std::ostream* out) {
    *out << bad.name;
}

std::string damageName(Damage damage) {
    switch (damage) {
    case Damage::missing:
        return "Missing";
    case Damage::empty:
        return "Empty";
    case Damage::truncated:
        return "Truncated";
    case Damage::garbage:
        return "Garbage";
    }
    return "";
}

// One asset file class: the file the game loads at start-up and the message
// and outcome for each kind of damage.
struct AssetClass {
    std::string name;
    std::string file;
    std::string missing, empty, truncated, garbage;
    Outcome whenMissing = Outcome::runs;
    Outcome whenUnreadable = Outcome::runs; // the file is there but cannot be used
    bool openHelp = false;
};

std::vector<BadAssetCase> allCases() {
    const std::string shaderCompile = "Failed to compile shader: modelLoadingShader.vert\n";
    const std::string cubeMap = "ERROR: Cubemap texture failed to load at path: "
                                "assets/textures/cubemapNew/right.jpg\n";
    const std::string modelTexture = "Error: Texture failed to load at path: redButton.png\n";
    const std::string noFont = "ERROR::FREETYPE: Failed to load font\n";
    const std::string sprite =
        "Particle texture failed to load at path: assets/textures/particleSystem/particle.png\n";
    const std::string help =
        "Error: Texture failed to load at path: assets/textures/hud_controls.png\n";
    const std::string badXml = "ERROR: ASSIMP: Unable to read file, malformed XML\n";
    const std::string sound =
        "Sound file 'assets/sounds/tile_slide.wav' cannot be read; that sound stays silent.\n";
    const AssetClass classes[] = {
        {"Settings", "settings.ini",
         "ERROR: Failed to load 'assets/settings.ini'. Using default values instead.\n", "", "",
         ""},
        {"Shader", "shader/modelLoadingShader.vert",
         "Couldn't open shader file: assets/shader/modelLoadingShader.vert\n", shaderCompile,
         shaderCompile, shaderCompile, Outcome::fatal, Outcome::fatalWithDriver},
        {"DdsTexture", "textures/movingTiles/movingTiles_0.dds", "", "", "", ""},
        {"PngModelTexture", "models/cubeBottom/redButton.png", modelTexture, modelTexture,
         modelTexture, modelTexture},
        {"JpegSkyBoxFace", "textures/cubemapNew/right.jpg", cubeMap, cubeMap, cubeMap, cubeMap,
         Outcome::fatal, Outcome::fatal},
        // Half an OBJ file is still a smaller model.
        {"ObjModel", "models/cubeBottom/redButton.obj",
         "ERROR: ASSIMP: Unable to open file \"assets/models/cubeBottom/redButton.obj\".\n",
         "ERROR: ASSIMP: OBJ-file is too small.\n", "",
         "ERROR: ASSIMP: OBJ: Invalid face index.\n"},
        {"DaeModel", "models/animals/bunny13.dae",
         "ERROR: ASSIMP: Unable to open file \"assets/models/animals/bunny13.dae\".\n", badXml,
         badXml, badXml},
        // The first half of the font holds every glyph of codes 0 to 127.
        {"Font", "fonts/arial.ttf", noFont, noFont, "", noFont},
        {"ParticleSprite", "textures/particleSystem/particle.png", sprite, sprite, sprite, sprite},
        {"HelpImage", "textures/hud_controls.png", help, help, help, help, Outcome::runs,
         Outcome::runs, true},
        {"SoundFile", "sounds/tile_slide.wav", sound, sound, sound, sound},
    };
    std::vector<BadAssetCase> cases;
    for (const AssetClass& c : classes) {
        const std::pair<Damage, const std::string&> damages[] = {{Damage::missing, c.missing},
                                                                 {Damage::empty, c.empty},
                                                                 {Damage::truncated, c.truncated},
                                                                 {Damage::garbage, c.garbage}};
        for (const auto& [damage, message] : damages)
            cases.push_back({c.name + "_" + damageName(damage), c.file, damage, message,
                             damage == Damage::missing ? c.whenMissing : c.whenUnreadable,
                             c.openHelp});
    }
    return cases;
}

std::string readFile(const fs::path& file) {
    std::stringstream text;
    text << std::ifstream(file, std::ios::binary).rdbuf();
    return text.str();
}

// Replaces the file by its damaged version. Garbage has the file's length and
// comes from a fixed seed, so every run sees the same bytes.
void damageFile(const fs::path& file, Damage damage) {
    const std::string original = readFile(file);
    ASSERT_FALSE(original.empty()) << file;
    std::string bytes;
    switch (damage) {
    case Damage::missing:
        fs::remove(file);
        return;
    case Damage::empty:
        break;
    case Damage::truncated:
        bytes = original.substr(0, original.size() / 2);
        break;
    case Damage::garbage: {
        std::mt19937 random(20240611);
        for (std::size_t i = 0; i < original.size(); ++i)
            bytes.push_back(char(random() & 0xFF));
        break;
    }
    }
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
    ASSERT_EQ(fs::file_size(file), bytes.size());
}

std::string regexEscape(const std::string& text) {
    return std::regex_replace(text, std::regex(R"([.^$|()\[\]{}*+?\\])"), R"(\$&)");
}

// A frame has reached the window once a fifth of it is not black.
bool drawn(const Screenshot& shot) {
    int lit = 0;
    for (std::size_t i = 0; i + 2 < shot.rgb.size(); i += 3)
        lit += shot.rgb[i] + shot.rgb[i + 1] + shot.rgb[i + 2] > 30 ? 1 : 0;
    return shot.width > 0 && lit > shot.width * shot.height / 5;
}

class BadAssetsTest : public testing::TestWithParam<BadAssetCase> {};

} // namespace

TEST_P(BadAssetsTest, GamePrintsTheMessageAndRunsOrEndsAsItShould) {
    const BadAssetCase& bad = GetParam();
    GameDirectory directory;
    directory.copyWholeTree();
    ASSERT_NO_FATAL_FAILURE(damageFile(directory.path() / "assets" / bad.file, bad.damage));
    GameProcess game(ZARN_BINARY, directory.path());

    if (bad.outcome == Outcome::runs) {
        const unsigned long window = findWindow(game.pid(), 20.0);
        ASSERT_NE(window, 0u) << game.output();
        EXPECT_TRUE(waitUntil(10.0, [&] { return drawn(captureWindow(window)); }))
            << "no frame drawn";
        if (bad.openHelp) {
            sendKey(window, "F1");
            EXPECT_TRUE(waitUntil(10.0, [&] { return game.output() == bad.message; }))
                << game.output();
        }
        EXPECT_FALSE(game.waitForExit(0.0)) << "the game ended by itself:\n" << game.output();
        sendKey(window, "Escape");
        EXPECT_EQ(game.waitForExit(10.0), std::optional<int>(0));
        // The physics world prints its line at the normal end.
        EXPECT_EQ(game.output(), bad.message + "Physics done.\n");
        return;
    }

    // Standard input is not a terminal: the game must not wait for Enter.
    EXPECT_EQ(game.waitForExit(10.0), std::optional<int>(1)) << game.output();
    const std::string output = game.output();
    if (bad.outcome == Outcome::fatal) {
        EXPECT_EQ(output, bad.message);
    } else {
        // Mesa's log lines read "0:7(4): error: ..." and the log ends the
        // output with an empty line; the debug output may show them first.
        const std::regex expected(
            R"((OpenGL Error: [^\n]* \[Source = Shader Compiler, [^\n]*\]\n)*)" +
            regexEscape(bad.message) + R"((\d+:\d+\(\d+\): [^\n]*\n)+\n)");
        EXPECT_TRUE(std::regex_match(output, expected)) << output;
    }
}

INSTANTIATE_TEST_SUITE_P(EachAssetClass, BadAssetsTest, testing::ValuesIn(allCases()),
                         [](const testing::TestParamInfo<BadAssetCase>& info) {
                             return info.param.name;
                         });
