#include "SoundSynth.h"

#include "SoundAssets.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>

namespace assetgen {

namespace {

constexpr double rate = soundSampleRate;
constexpr double twoPi = 2.0 * std::numbers::pi;
// Partials and modes stay below this, well clear of the Nyquist frequency.
constexpr double highestHz = 0.45 * rate;

double timeOf(std::size_t index) {
    return double(index) / rate;
}

double fractionOf(std::size_t index, const Signal& signal) {
    return double(index) / double(std::max<std::size_t>(signal.size(), 1));
}

// The topology-preserving state-variable filter: stable however fast its
// cutoff moves. lowOutput picks the low pass, otherwise the band pass.
void stateVariable(Signal& signal, const Sweep& cutoffHz, double q, bool lowOutput) {
    const double k = 1.0 / q;
    double ic1 = 0.0, ic2 = 0.0;
    for (std::size_t i = 0; i < signal.size(); ++i) {
        const double g = std::tan(std::numbers::pi *
                                  std::min(cutoffHz.at(fractionOf(i, signal)), highestHz) / rate);
        const double a1 = 1.0 / (1.0 + g * (g + k));
        const double a2 = g * a1;
        const double a3 = g * a2;
        const double v3 = signal[i] - ic2;
        const double v1 = a1 * ic1 + a2 * v3;
        const double v2 = ic2 + a2 * ic1 + a3 * v3;
        ic1 = 2.0 * v1 - ic1;
        ic2 = 2.0 * v2 - ic2;
        signal[i] = float(lowOutput ? v2 : k * v1);
    }
}

} // namespace

std::size_t sampleCount(double seconds) {
    return std::size_t(std::lround(seconds * rate));
}

double Sweep::at(double fraction) const {
    const std::size_t segments = points_.size() - 1;
    if (segments == 0)
        return points_.front();
    const double position = std::clamp(fraction, 0.0, 1.0) * double(segments);
    const std::size_t segment = std::min(std::size_t(position), segments - 1);
    const double from = points_[segment], to = points_[segment + 1];
    return from * std::pow(to / from, position - double(segment));
}

double Sweep::highest() const {
    return *std::max_element(points_.begin(), points_.end());
}

Signal tone(double seconds, const Sweep& hz, const Voice& voice) {
    const double top = hz.highest() * (1.0 + voice.vibratoDepth);
    const int partials = std::clamp(int(highestHz / top), 1, voice.harmonics);
    std::vector<double> weights;
    for (int k = 1; k <= partials; ++k)
        weights.push_back(std::pow(double(k), -voice.rolloff));

    Signal signal(sampleCount(seconds));
    double phase = 0.0;
    for (std::size_t i = 0; i < signal.size(); ++i) {
        double value = 0.0;
        for (std::size_t k = 0; k < weights.size(); ++k)
            value += weights[k] * std::sin(double(k + 1) * phase);
        signal[i] = float(value);
        const double vibrato =
            1.0 + voice.vibratoDepth * std::sin(twoPi * voice.vibratoHz * timeOf(i));
        phase = std::fmod(phase + twoPi * hz.at(fractionOf(i, signal)) * vibrato / rate, twoPi);
    }
    return signal;
}

Signal noise(double seconds, std::uint32_t seed) {
    // The engine's output is fixed by the standard; the distributions' is not,
    // so the mapping to -1..1 is done here.
    std::mt19937 engine(seed);
    Signal signal(sampleCount(seconds));
    for (float& sample : signal)
        sample = float(double(engine()) / double(std::mt19937::max()) * 2.0 - 1.0);
    return signal;
}

Signal strike(double seconds, double hz, std::initializer_list<Mode> modes) {
    Signal signal(sampleCount(seconds));
    for (const Mode& mode : modes) {
        const double modeHz = hz * mode.ratio;
        if (modeHz >= highestHz)
            continue;
        for (std::size_t i = 0; i < signal.size(); ++i) {
            const double t = timeOf(i);
            signal[i] +=
                float(mode.gain * std::sin(twoPi * modeHz * t) * std::exp(-t / mode.decaySeconds));
        }
    }
    return signal;
}

void lowPass(Signal& signal, const Sweep& cutoffHz) {
    double state = 0.0;
    for (std::size_t i = 0; i < signal.size(); ++i) {
        const double a = 1.0 - std::exp(-twoPi * cutoffHz.at(fractionOf(i, signal)) / rate);
        state += a * (signal[i] - state);
        signal[i] = float(state);
    }
}

void highPass(Signal& signal, const Sweep& cutoffHz) {
    Signal low = signal;
    lowPass(low, cutoffHz);
    for (std::size_t i = 0; i < signal.size(); ++i)
        signal[i] -= low[i];
}

void resonantLowPass(Signal& signal, const Sweep& cutoffHz, double q) {
    stateVariable(signal, cutoffHz, q, true);
}

void bandPass(Signal& signal, const Sweep& centreHz, double q) {
    stateVariable(signal, centreHz, q, false);
}

void shape(Signal& signal, const Adsr& adsr) {
    for (std::size_t i = 0; i < signal.size(); ++i) {
        const double t = timeOf(i);
        double level = adsr.sustain;
        if (t < adsr.attack)
            level = t / adsr.attack;
        else if (t < adsr.attack + adsr.decay)
            level = 1.0 + (adsr.sustain - 1.0) * (t - adsr.attack) / adsr.decay;
        const double left = timeOf(signal.size() - i);
        signal[i] *= float(level * std::min(1.0, left / adsr.release));
    }
}

void percussive(Signal& signal, double attackSeconds, double decaySeconds) {
    for (std::size_t i = 0; i < signal.size(); ++i) {
        const double t = timeOf(i);
        signal[i] *= float(t < attackSeconds ? t / attackSeconds
                                             : std::exp(-(t - attackSeconds) / decaySeconds));
    }
}

void tremolo(Signal& signal, double hz, double depth) {
    for (std::size_t i = 0; i < signal.size(); ++i)
        signal[i] *= float(1.0 - depth * 0.5 * (1.0 - std::cos(twoPi * hz * timeOf(i))));
}

void mix(Signal& into, const Signal& part, double atSeconds, double gain) {
    const std::size_t start = sampleCount(atSeconds);
    for (std::size_t k = 0; k < part.size() && start + k < into.size(); ++k)
        into[start + k] += float(gain * part[k]);
}

void removeDc(Signal& signal) {
    double sum = 0.0;
    for (float sample : signal)
        sum += sample;
    const float mean = float(sum / double(std::max<std::size_t>(signal.size(), 1)));
    for (float& sample : signal)
        sample -= mean;
}

void fadeEnds(Signal& signal, double inSeconds, double outSeconds) {
    std::vector<double> curve(signal.size(), 1.0);
    const std::size_t in = std::min(sampleCount(inSeconds), signal.size());
    const std::size_t out = std::min(sampleCount(outSeconds), signal.size());
    for (std::size_t i = 0; i < in; ++i)
        curve[i] *= 0.5 - 0.5 * std::cos(std::numbers::pi * double(i) / double(in));
    for (std::size_t j = 0; j < out; ++j)
        curve[signal.size() - 1 - j] *=
            0.5 - 0.5 * std::cos(std::numbers::pi * double(j) / double(out));
    double sum = 0.0, weight = 0.0;
    for (std::size_t i = 0; i < signal.size(); ++i) {
        sum += signal[i] * curve[i];
        weight += curve[i];
    }
    const double offset = weight > 0.0 ? sum / weight : 0.0;
    for (std::size_t i = 0; i < signal.size(); ++i)
        signal[i] = float((signal[i] - offset) * curve[i]);
}

void normalise(Signal& signal, double peak) {
    float largest = 0.0f;
    for (float sample : signal)
        largest = std::max(largest, std::abs(sample));
    if (largest == 0.0f)
        return;
    for (float& sample : signal)
        sample = float(sample * peak / largest);
}

Signal loopSeamlessly(const Signal& signal, double crossfadeSeconds) {
    const std::size_t overlap = std::min(sampleCount(crossfadeSeconds), signal.size() / 2);
    const std::size_t length = signal.size() - overlap;
    Signal loop(signal.begin(), signal.begin() + std::ptrdiff_t(length));
    for (std::size_t i = 0; i < overlap; ++i) {
        const double angle = 0.5 * std::numbers::pi * double(i) / double(overlap);
        loop[i] = float(signal[i] * std::sin(angle) + signal[length + i] * std::cos(angle));
    }
    return loop;
}

} // namespace assetgen
