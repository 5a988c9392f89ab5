#include "SoundsWav.h"

#include <fstream>

namespace {
constexpr int kChannels = 1;
constexpr int kBitsPerSample = 8;
constexpr std::uint32_t kFormatChunkSize = 16;
constexpr std::uint16_t kPcm = 1;

void Put32(std::ofstream& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.put(static_cast<char>((value >> shift) & 0xFF));
    }
}

void Put16(std::ofstream& out, std::uint16_t value) {
    out.put(static_cast<char>(value & 0xFF));
    out.put(static_cast<char>(value >> 8));
}
}  // namespace

bool WriteWav(const std::vector<std::uint8_t>& samples, const std::string& path) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) {
        return false;
    }
    const auto dataSize = static_cast<std::uint32_t>(samples.size());
    // RIFF wants every chunk to an even length.
    const std::uint32_t pad = dataSize % 2;
    const std::uint32_t bytesPerFrame = kChannels * kBitsPerSample / 8;
    out.write("RIFF", 4);
    Put32(out, 4 + 8 + kFormatChunkSize + 8 + dataSize + pad);
    out.write("WAVE", 4);
    out.write("fmt ", 4);
    Put32(out, kFormatChunkSize);
    Put16(out, kPcm);
    Put16(out, kChannels);
    Put32(out, kSampleRate);
    Put32(out, kSampleRate * bytesPerFrame);
    Put16(out, static_cast<std::uint16_t>(bytesPerFrame));
    Put16(out, kBitsPerSample);
    out.write("data", 4);
    Put32(out, dataSize);
    out.write(reinterpret_cast<const char*>(samples.data()), dataSize);
    if (pad != 0) {
        out.put(static_cast<char>(0x80));
    }
    return static_cast<bool>(out);
}
