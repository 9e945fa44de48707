#include "SoundAssets.h"

#include "AssetWriters.h"
#include "SoundSynth.h"

#include "data/DataFiles.h"

#include <sndfile.h>

#include <cmath>
#include <iostream>
#include <map>
#include <string>
#include <system_error>
#include <vector>

namespace assetgen {

namespace {

// Just below full scale, so that playback's resampling cannot clip.
const double peakLevel = std::pow(10.0, -1.0 / 20.0);
// Long enough to hide a step, short enough to keep a clack sharp.
constexpr double fadeInSeconds = 0.0015;
constexpr double fadeOutSeconds = 0.008;

// Scale steps of the toy instruments.
constexpr double g4 = 392.0, c5 = 523.25, e5 = 659.26, g5 = 783.99, c6 = 1046.5, e6 = 1318.5,
                 g6 = 1568.0, c7 = 2093.0;

// The first instant of contact: a burst of noise around hz.
Signal contact(double decaySeconds, double hz, std::uint32_t seed) {
    Signal burst = noise(decaySeconds * 6.0, seed);
    bandPass(burst, hz, 1.0);
    normalise(burst);
    percussive(burst, 0.0003, decaySeconds);
    return burst;
}

// A block of wood struck at hz: a free bar's modes, the upper ones dying first.
Signal woodKnock(double hz, double decaySeconds) {
    return strike(decaySeconds * 6.0, hz,
                  {{1.0, 1.0, decaySeconds},
                   {2.76, 0.5, decaySeconds * 0.5},
                   {5.4, 0.25, decaySeconds * 0.3}});
}

// A glockenspiel bar, with a slightly detuned twin of its fundamental that
// makes it shimmer like a bell.
Signal chime(double hz, double seconds) {
    return strike(seconds, hz,
                  {{1.0, 1.0, 0.35},
                   {1.003, 0.3, 0.35},
                   {2.76, 0.35, 0.12},
                   {5.4, 0.15, 0.05},
                   {8.93, 0.06, 0.02}});
}

// A toy trumpet note: a brassy tone whose filter flares open in the first
// 40 ms, however long the note, then settles a little darker.
Signal brass(double hz, double seconds, double vibratoDepth = 0.004) {
    Signal note =
        tone(seconds, hz,
             {.harmonics = 12, .rolloff = 1.2, .vibratoHz = 5.5, .vibratoDepth = vibratoDepth});
    std::vector<double> cutoff = {hz * 1.5, hz * 5.0};
    while (0.04 * double(cutoff.size() - 1) < seconds)
        cutoff.push_back(hz * 3.5);
    resonantLowPass(note, cutoff, 1.2);
    normalise(note);
    shape(note, {0.015, 0.06, 0.75, 0.05});
    return note;
}

// A soft, low thump: a falling sine.
Signal thump(double fromHz, double toHz, double decaySeconds) {
    Signal body = tone(decaySeconds * 5.0, {fromHz, toHz});
    percussive(body, 0.004, decaySeconds);
    return body;
}

Signal tileSlide() {
    // Wood rubbing on wood, a little brighter as the tile speeds up, then the
    // knock as it stops in its slot.
    Signal rub = noise(0.18, 11);
    bandPass(rub, {700, 1100}, 1.2);
    normalise(rub);
    shape(rub, {0.06, 0.05, 0.7, 0.05});
    Signal sound(sampleCount(0.25));
    mix(sound, rub, 0.0, 0.35);
    mix(sound, woodKnock(620, 0.018), 0.17);
    mix(sound, contact(0.003, 2500, 12), 0.17, 0.4);
    return sound;
}

Signal tileBlocked() {
    // Low and soft with nothing bright in it, so it reads as "no".
    Signal cushion = noise(0.15, 21);
    lowPass(cushion, 250);
    lowPass(cushion, 250);
    normalise(cushion);
    percussive(cushion, 0.002, 0.02);
    Signal sound(sampleCount(0.15));
    mix(sound, thump(120, 70, 0.035), 0.0);
    mix(sound, cushion, 0.0, 0.4);
    return sound;
}

Signal figureBoard() {
    // A quick rising chirp for the jump, then a hollow knock on the planks.
    Signal hop = tone(0.07, {420, 900}, {.harmonics = 3, .rolloff = 2.0});
    shape(hop, {0.01, 0.03, 0.5, 0.03});
    Signal sound(sampleCount(0.2));
    mix(sound, hop, 0.0, 0.4);
    mix(sound, strike(0.13, 330, {{1.0, 1.0, 0.04}, {2.3, 0.5, 0.02}, {3.9, 0.2, 0.01}}), 0.07);
    mix(sound, contact(0.003, 1800, 31), 0.07, 0.3);
    return sound;
}

Signal figureLand() {
    // Two soft steps on grass: dull thumps under a short, low rustle.
    Signal rustle = noise(0.12, 41);
    bandPass(rustle, {600, 350}, 0.7);
    lowPass(rustle, 1200);
    normalise(rustle);
    percussive(rustle, 0.008, 0.03);
    Signal sound(sampleCount(0.2));
    mix(sound, thump(95, 70, 0.03), 0.0);
    mix(sound, rustle, 0.0, 0.5);
    mix(sound, thump(95, 70, 0.025), 0.09, 0.5);
    mix(sound, rustle, 0.09, 0.25);
    return sound;
}

Signal boatCross() {
    // A splash as the boat pushes off, then a swell of water whose band sways
    // up and down, with a few bubbles popping along the way.
    Signal swish = noise(0.9, 51);
    bandPass(swish, {450, 1300, 700}, 0.9);
    normalise(swish);
    shape(swish, {0.3, 0.2, 0.7, 0.35});
    Signal splash = noise(0.3, 52);
    highPass(splash, 1500);
    normalise(splash);
    percussive(splash, 0.01, 0.06);
    Signal sound(sampleCount(0.9));
    mix(sound, swish, 0.0, 0.7);
    mix(sound, splash, 0.02, 0.4);
    struct Bubble {
        double at, hz;
    };
    for (const Bubble& bubble :
         {Bubble{0.18, 620}, {0.29, 880}, {0.37, 540}, {0.48, 1010}, {0.58, 700}, {0.71, 820}}) {
        Signal pop = tone(0.05, {bubble.hz, bubble.hz * 1.8});
        percussive(pop, 0.002, 0.012);
        mix(sound, pop, bubble.at, 0.25);
    }
    return sound;
}

Signal crossingFailed() {
    // "Wah-wah-wah-waah": a muted toy trombone stepping down, its filter
    // opening and closing on every note; the last one sags and wobbles.
    struct Note {
        double at, seconds, fromHz, toHz, vibrato;
    };
    Signal sound(sampleCount(0.7));
    for (const Note& step : {Note{0.0, 0.14, 294, 290, 0.0}, Note{0.14, 0.14, 277, 273, 0.0},
                             Note{0.28, 0.14, 262, 258, 0.0}, Note{0.42, 0.28, 247, 220, 0.02}}) {
        Signal note = tone(step.seconds, {step.fromHz, step.toHz},
                           {.harmonics = 16, .vibratoHz = 7.0, .vibratoDepth = step.vibrato});
        resonantLowPass(note, {350, 2200, 700}, 3.0);
        normalise(note);
        shape(note, {0.02, 0.04, 0.8, 0.04});
        mix(sound, note, step.at);
    }
    return sound;
}

Signal cellChange() {
    // A soft bright blip: a sine with a touch of octave, nudged upwards.
    Signal blip = tone(0.12, {1250, 1400}, {.harmonics = 2, .rolloff = 3.0});
    percussive(blip, 0.004, 0.03);
    return blip;
}

Signal pairJoined() {
    // Two chimes a fifth apart, the second answering the first.
    Signal sound(sampleCount(0.6));
    mix(sound, chime(c6, 0.6), 0.0, 0.8);
    mix(sound, chime(g6, 0.5), 0.1, 0.7);
    return sound;
}

Signal ballRoll() {
    // Low rumbling noise with a faint hum at the ball's turning rate. The
    // noise is made a little long and its end folded over its start; the hum
    // and the bumps repeat whole cycles within the second, so the loop has no
    // seam.
    constexpr double seconds = 1.0;
    Signal rumble = noise(seconds + 0.1, 61);
    lowPass(rumble, 220);
    lowPass(rumble, 220);
    highPass(rumble, 40);
    Signal sound = loopSeamlessly(rumble, 0.1);
    normalise(sound);
    mix(sound, tone(seconds, 55, {.harmonics = 3, .rolloff = 2.0}), 0.0, 0.3);
    tremolo(sound, 6.0, 0.35);
    return sound;
}

Signal ballHit() {
    // A hard ball on a wooden wall: a sharp click over a short, high knock.
    Signal sound(sampleCount(0.1));
    mix(sound, contact(0.002, 4000, 71), 0.0, 0.8);
    mix(sound, woodKnock(1150, 0.012), 0.0);
    mix(sound, strike(0.1, 380, {{1.0, 1.0, 0.02}}), 0.0, 0.5);
    return sound;
}

Signal ballTrap() {
    // A whistle sliding down as the ball falls, then a hollow thunk at the
    // bottom of the hole.
    Signal fall = tone(0.3, {1100, 180}, {.harmonics = 2, .rolloff = 2.0});
    shape(fall, {0.01, 0.0, 1.0, 0.05});
    Signal sound(sampleCount(0.5));
    mix(sound, fall, 0.0, 0.5);
    mix(sound, strike(0.2, 140, {{1.0, 1.0, 0.07}, {2.3, 0.5, 0.04}, {3.6, 0.25, 0.02}}), 0.3);
    mix(sound, contact(0.006, 600, 81), 0.3, 0.4);
    return sound;
}

Signal ballGoal() {
    // A quick rising arpeggio of bright plucks, up to the octave, the top
    // note ringing on.
    Signal sound(sampleCount(0.7));
    const double notes[] = {c6, e6, g6, c7};
    for (int k = 0; k < 4; ++k) {
        const double at = 0.08 * k;
        Signal pluck = tone(0.7 - at, notes[k], {.harmonics = 6, .rolloff = 1.5});
        percussive(pluck, 0.003, k == 3 ? 0.2 : 0.08);
        mix(sound, pluck, at, 0.6);
    }
    return sound;
}

Signal puzzleSolved() {
    // Three quick notes up and a held top note.
    Signal sound(sampleCount(0.9));
    mix(sound, brass(c5, 0.11), 0.0, 0.7);
    mix(sound, brass(e5, 0.11), 0.12, 0.7);
    mix(sound, brass(g5, 0.11), 0.24, 0.7);
    mix(sound, brass(c6, 0.52, 0.008), 0.36);
    return sound;
}

Signal buttonPress() {
    // A chunky plastic click: a snap, a second one as it bottoms out, and the
    // hollow body of the button under both.
    Signal sound(sampleCount(0.12));
    mix(sound, contact(0.002, 3000, 91), 0.0, 0.7);
    mix(sound, strike(0.12, 750, {{1.0, 1.0, 0.02}, {2.3, 0.4, 0.01}}), 0.0, 0.8);
    mix(sound, contact(0.002, 2500, 92), 0.012, 0.5);
    mix(sound, thump(180, 150, 0.02), 0.0, 0.5);
    return sound;
}

Signal buttonRelease() {
    // Lighter on the way up: one snap, higher and shorter.
    Signal sound(sampleCount(0.1));
    mix(sound, contact(0.0015, 4500, 93), 0.0, 0.6);
    mix(sound, strike(0.1, 1400, {{1.0, 1.0, 0.01}, {2.3, 0.3, 0.005}}), 0.0, 0.7);
    return sound;
}

Signal panelSlide() {
    // Noise through a band sweeping up as the piece speeds away, the grain of
    // the wood rattling in it.
    Signal slide = noise(0.6, 101);
    bandPass(slide, {350, 2400}, 2.0);
    shape(slide, {0.08, 0.1, 0.8, 0.25});
    tremolo(slide, 23.0, 0.3);
    return slide;
}

Signal win() {
    // The short fanfare's call answered, then a held chord with chimes
    // sparkling over it.
    Signal sound(sampleCount(2.0));
    double at = 0.0;
    for (double hz : {g4, c5, e5}) {
        mix(sound, brass(hz, 0.12), at, 0.6);
        at += 0.13;
    }
    mix(sound, brass(g5, 0.25), 0.39, 0.7);
    mix(sound, brass(e5, 0.12), 0.66, 0.6);
    mix(sound, brass(g5, 1.15, 0.008), 0.79, 0.7);
    mix(sound, brass(e5, 1.15), 0.79, 0.35);
    mix(sound, brass(c5, 1.15), 0.79, 0.35);
    at = 1.0;
    for (double hz : {c7, c7 * 1.26, c7 * 1.5}) {
        mix(sound, chime(hz, 0.8), at, 0.15);
        at += 0.1;
    }
    return sound;
}

Signal timeUp() {
    // A low horn sinking slowly by a fifth, with a tired wobble.
    Signal horn = tone(1.5, {220, 200, 147},
                       {.harmonics = 8, .rolloff = 1.6, .vibratoHz = 4.0, .vibratoDepth = 0.01});
    lowPass(horn, 900);
    shape(horn, {0.05, 0.2, 0.8, 0.4});
    return horn;
}

Signal tick() {
    // A clock's tick: a tiny, bright snap and the ring of the case.
    Signal sound(sampleCount(0.05));
    mix(sound, contact(0.001, 5000, 111), 0.0, 0.6);
    mix(sound, strike(0.05, 3200, {{1.0, 1.0, 0.004}, {1.6, 0.5, 0.003}}), 0.0);
    return sound;
}

const std::map<std::string_view, Signal (*)()> recipes = {
    {"tile_slide", tileSlide},
    {"tile_blocked", tileBlocked},
    {"figure_board", figureBoard},
    {"figure_land", figureLand},
    {"boat_cross", boatCross},
    {"crossing_failed", crossingFailed},
    {"cell_change", cellChange},
    {"pair_joined", pairJoined},
    {"ball_roll", ballRoll},
    {"ball_hit", ballHit},
    {"ball_trap", ballTrap},
    {"ball_goal", ballGoal},
    {"puzzle_solved", puzzleSolved},
    {"button_press", buttonPress},
    {"button_release", buttonRelease},
    {"panel_slide", panelSlide},
    {"win", win},
    {"time_up", timeUp},
    {"tick", tick},
};

bool writeWav(const std::filesystem::path& path, const Signal& samples) {
    SF_INFO info{};
    info.samplerate = soundSampleRate;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (file == nullptr) {
        std::cout << "assetgen: could not write " << path.string() << ": " << sf_strerror(nullptr)
                  << std::endl;
        return false;
    }
    const sf_count_t frames = sf_count_t(samples.size());
    const bool written = sf_write_float(file, samples.data(), frames) == frames;
    if (sf_close(file) != 0 || !written) {
        std::cout << "assetgen: could not write " << path.string() << std::endl;
        return false;
    }
    return true;
}

} // namespace

bool writeSoundAssets(const std::filesystem::path& assetRoot) {
    const std::filesystem::path folder = assetRoot / zarn::data::sounds;
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        std::cout << "assetgen: could not create " << folder.string() << ": " << error.message()
                  << std::endl;
        return false;
    }
    bool ok = true;
    for (const SoundAsset& asset : soundAssets) {
        const auto recipe = recipes.find(asset.name);
        if (recipe == recipes.end()) {
            std::cout << "assetgen: no recipe for the sound " << asset.name << std::endl;
            ok = false;
            continue;
        }
        Signal sound = recipe->second();
        if (asset.loops)
            removeDc(sound);
        else
            fadeEnds(sound, fadeInSeconds, fadeOutSeconds);
        normalise(sound, peakLevel);
        ok = writeWav(folder / (std::string(asset.name) + ".wav"), sound) && ok;
    }
    return ok;
}

} // namespace assetgen
