#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>

namespace assetgen {

// The building blocks of the generated sounds. A signal is mono, at
// soundSampleRate, full scale at +-1. Everything is computed from its
// arguments alone, so the same recipe gives the same samples on every run.
using Signal = std::vector<float>;

std::size_t sampleCount(double seconds);

// A value that glides exponentially through its points, spread evenly over
// the length of the signal it shapes; a single number holds still.
class Sweep {
public:
    Sweep(double value) : points_{value} {}
    Sweep(std::initializer_list<double> points) : points_(points) {}
    Sweep(std::vector<double> points) : points_(std::move(points)) {}
    double at(double fraction) const;
    double highest() const;

private:
    std::vector<double> points_;
};

// How a tone sounds: harmonics partials falling off as 1/k^rolloff (one: a
// sine; many at rolloff 1: a bright, brassy saw), and a vibrato of depth (a
// fraction of the pitch) at vibratoHz.
struct Voice {
    int harmonics = 1;
    double rolloff = 1.0;
    double vibratoHz = 0.0;
    double vibratoDepth = 0.0;
};

// A steady or gliding tone. Partials that would reach the Nyquist frequency
// are left out, so nothing aliases.
Signal tone(double seconds, const Sweep& hz, const Voice& voice = {});

// White noise in -1..1 from a fixed seed.
Signal noise(double seconds, std::uint32_t seed);

// A struck body: sines at hz * ratio, each dying away at its own rate.
struct Mode {
    double ratio, gain, decaySeconds;
};
Signal strike(double seconds, double hz, std::initializer_list<Mode> modes);

// Filters, in place. The one-pole ones roll off gently; the state-variable
// ones ring at their cutoff as q grows (the band pass peaks at 1).
void lowPass(Signal& signal, const Sweep& cutoffHz);
void highPass(Signal& signal, const Sweep& cutoffHz);
void resonantLowPass(Signal& signal, const Sweep& cutoffHz, double q);
void bandPass(Signal& signal, const Sweep& centreHz, double q);

// Envelopes, in place. An Adsr's release ends with the signal; a percussive
// one rises linearly, then decays exponentially.
struct Adsr {
    double attack, decay, sustain, release;
};
void shape(Signal& signal, const Adsr& adsr);
void percussive(Signal& signal, double attackSeconds, double decaySeconds);
// A gain wobbling between 1 and 1 - depth, starting at 1.
void tremolo(Signal& signal, double hz, double depth);

// Adds part * gain from atSeconds on; what would run past the end is cut.
void mix(Signal& into, const Signal& part, double atSeconds, double gain = 1.0);

void removeDc(Signal& signal);
// Raised-cosine fades from and to silence at both ends. Fading an attack
// shifts the mean, so it is taken out along the same curve: the ends stay
// silent and no offset is left.
void fadeEnds(Signal& signal, double inSeconds, double outSeconds);
// Scales the signal so that its largest magnitude is peak.
void normalise(Signal& signal, double peak = 1.0);
// Folds the last crossfadeSeconds over the start (equal power, for
// uncorrelated noise), so that the shorter result repeats without a seam.
Signal loopSeamlessly(const Signal& signal, double crossfadeSeconds);

} // namespace assetgen
