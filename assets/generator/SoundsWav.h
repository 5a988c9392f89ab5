#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Samples as the sound files store them: 8-bit unsigned, mono, 22050 a second. Short effects
// need no more, and the files stay a few kilobytes each.
constexpr int kSampleRate = 22050;

// Writes a plain PCM WAV file. The bytes depend on the samples alone. False when the file
// cannot be written.
bool WriteWav(const std::vector<std::uint8_t>& samples, const std::string& path);
