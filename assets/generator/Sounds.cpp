#include "Sounds.h"

#include "SoundsWav.h"

namespace {

// A sound being mixed, as values from -1 to 1.
using Wave = std::vector<double>;

Wave Silence(double seconds) {
    return Wave(static_cast<std::size_t>(seconds * kSampleRate), 0.0);
}

// A square wave whose pitch slides evenly from one frequency to another, at the given loudness,
// fading to nothing by its end. A phase counter instead of sines keeps it free of library maths.
void AddSweep(Wave& wave, double from, double to, double loudness, std::size_t start = 0) {
    double phase = 0.0;
    const std::size_t length = wave.size() - start;
    for (std::size_t i = 0; i < length; ++i) {
        const double along = static_cast<double>(i) / static_cast<double>(length);
        const double frequency = from + (to - from) * along;
        phase += frequency / kSampleRate;
        phase -= static_cast<double>(static_cast<long>(phase));
        const double fade = (1.0 - along) * (1.0 - along);
        wave[start + i] += (phase < 0.5 ? loudness : -loudness) * fade;
    }
}

// One note of a tune: a triangle wave with a short fade at its end so it does not click.
void AddNote(Wave& wave, double frequency, double start, double seconds, double loudness) {
    const auto first = static_cast<std::size_t>(start * kSampleRate);
    const auto length = static_cast<std::size_t>(seconds * kSampleRate);
    double phase = 0.0;
    for (std::size_t i = 0; i < length && first + i < wave.size(); ++i) {
        phase += frequency / kSampleRate;
        phase -= static_cast<double>(static_cast<long>(phase));
        const double triangle = phase < 0.5 ? 4.0 * phase - 1.0 : 3.0 - 4.0 * phase;
        const double left = static_cast<double>(length - i) / static_cast<double>(length);
        const double fade = left < 0.3 ? left / 0.3 : 1.0;
        wave[first + i] += triangle * loudness * fade;
    }
}

// Noise from a fixed sequence, smoothed by a one-pole filter (brightness 1 lets all through, a
// small value only the rumble), fading out as it goes.
void AddNoise(Wave& wave, double brightness, double loudness) {
    std::uint32_t state = 0x2545F491u;
    double smoothed = 0.0;
    for (std::size_t i = 0; i < wave.size(); ++i) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        const double white = static_cast<double>(state) / 2147483648.0 - 1.0;
        smoothed += brightness * (white - smoothed);
        const double along = static_cast<double>(i) / static_cast<double>(wave.size());
        const double fade = (1.0 - along) * (1.0 - along) * (1.0 - along);
        wave[i] += smoothed * loudness * fade;
    }
}

std::vector<std::uint8_t> ToSamples(const Wave& wave) {
    std::vector<std::uint8_t> samples;
    samples.reserve(wave.size());
    for (double value : wave) {
        const double clipped = value > 1.0 ? 1.0 : (value < -1.0 ? -1.0 : value);
        samples.push_back(static_cast<std::uint8_t>(128.0 + clipped * 127.0));
    }
    return samples;
}

}  // namespace

std::vector<std::uint8_t> DrawFire() {
    Wave wave = Silence(0.11);
    AddSweep(wave, 1500.0, 450.0, 0.45);
    return ToSamples(wave);
}

std::vector<std::uint8_t> DrawAirplaneHit() {
    Wave wave = Silence(0.16);
    AddNoise(wave, 0.6, 0.5);
    AddSweep(wave, 420.0, 180.0, 0.3);
    return ToSamples(wave);
}

std::vector<std::uint8_t> DrawAirplaneDown() {
    Wave wave = Silence(0.55);
    AddSweep(wave, 1000.0, 110.0, 0.35);
    AddNoise(wave, 0.25, 0.6);
    return ToSamples(wave);
}

std::vector<std::uint8_t> DrawLevelCleared() {
    // C, E, G and the C above, then the top note held.
    constexpr double kNotes[] = {523.25, 659.25, 783.99, 1046.5};
    constexpr double kStep = 0.1;
    Wave wave = Silence(0.7);
    for (int n = 0; n < 4; ++n) {
        const double length = n == 3 ? 0.4 : kStep;
        AddNote(wave, kNotes[n], n * kStep, length, 0.45);
    }
    return ToSamples(wave);
}

std::vector<std::uint8_t> DrawCannonDestroyed() {
    Wave wave = Silence(0.9);
    AddNoise(wave, 0.08, 1.6);
    AddSweep(wave, 160.0, 40.0, 0.35);
    return ToSamples(wave);
}

std::vector<std::uint8_t> DrawSelect() {
    Wave wave = Silence(0.07);
    AddNote(wave, 880.0, 0.0, 0.03, 0.4);
    AddNote(wave, 1318.5, 0.03, 0.04, 0.4);
    return ToSamples(wave);
}
