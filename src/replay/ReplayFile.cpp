#include "replay/ReplayFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

namespace replay {
namespace {

constexpr char kMagic[] = {'A', 'R', 'P', 'L'};
constexpr std::uint8_t kFormatVersion = 1;

// A record's first byte: the ways held, what happened, and how many frames in a row took it.
constexpr std::uint8_t kLeftBit = 1 << 0;
constexpr std::uint8_t kRightBit = 1 << 1;
constexpr int kEventShift = 2;
constexpr std::uint8_t kEventMask = 7;
constexpr int kRunShift = 5;
constexpr std::uint32_t kShortestLongRun = 8;  // runs of 1 to 7 fit in the first byte
constexpr std::uint8_t kLongRun = 7;

// What a record's event field holds. A fire button hammered every frame repeats the last key, so
// that key is written once and then named by one byte.
enum Code : std::uint8_t { kNone, kKey, kSameKey, kPad, kFocusLost, kQuit };

// FNV-1a over every byte before the sum: a changed byte anywhere is caught before playing.
std::uint32_t Checksum(const char* data, std::size_t size) {
    std::uint32_t hash = 2166136261u;
    for (std::size_t i = 0; i < size; ++i) {
        hash ^= static_cast<std::uint8_t>(data[i]);
        hash *= 16777619u;
    }
    return hash;
}

class Writer {
  public:
    void Byte(std::uint8_t value) { bytes.push_back(static_cast<char>(value)); }
    // Seven bits a byte, lowest first; the top bit says another byte follows.
    void Number(std::uint64_t value) {
        while (value >= 0x80) {
            Byte(static_cast<std::uint8_t>(value | 0x80));
            value >>= 7;
        }
        Byte(static_cast<std::uint8_t>(value));
    }
    void Text(const std::string& text) {
        Byte(static_cast<std::uint8_t>(text.size()));
        bytes += text;
    }
    void Sum() {
        const std::uint32_t sum = Checksum(bytes.data(), bytes.size());
        for (int shift = 0; shift < 32; shift += 8) {
            Byte(static_cast<std::uint8_t>(sum >> shift));
        }
    }
    std::string bytes;
};

class Reader {
  public:
    Reader(const std::string& bytes, std::size_t end) : bytes(bytes), end(end) {}

    bool Byte(std::uint8_t& value) {
        if (at >= end) {
            return false;
        }
        value = static_cast<std::uint8_t>(bytes[at++]);
        return true;
    }
    bool Number(std::uint64_t& value, std::uint64_t most) {
        value = 0;
        for (int shift = 0; shift < 64; shift += 7) {
            std::uint8_t byte = 0;
            if (!Byte(byte)) {
                return false;
            }
            const std::uint64_t bits = byte & 0x7f;
            if (bits > (most >> shift)) {
                return false;
            }
            value |= bits << shift;
            if ((byte & 0x80) == 0) {
                return value <= most;
            }
        }
        return false;
    }
    template <typename Small>
    bool Number(Small& value, std::uint64_t most) {
        std::uint64_t wide = 0;
        if (!Number(wide, most)) {
            return false;
        }
        value = static_cast<Small>(wide);
        return true;
    }
    bool Text(std::string& text) {
        std::uint8_t size = 0;
        if (!Byte(size) || size > limits::kLongestText || end - at < size) {
            return false;
        }
        text.assign(bytes, at, size);
        at += size;
        return true;
    }
    std::size_t Offset() const { return at; }
    bool AtEnd() const { return at == end; }

  private:
    const std::string& bytes;
    std::size_t end;
    std::size_t at = 0;
};

std::uint8_t HeldBits(const Taken& taken) {
    return static_cast<std::uint8_t>((taken.left ? kLeftBit : 0) | (taken.right ? kRightBit : 0));
}

bool SameKey(const Taken& a, const Taken& b) {
    return a.sym == b.sym && a.mod == b.mod && a.unicode == b.unicode;
}

void WriteRecord(Writer& out, const Taken& taken, std::uint32_t run, const Taken* lastKey) {
    Code code = kNone;
    switch (taken.event) {
        case Taken::Event::None:
            code = kNone;
            break;
        case Taken::Event::Key:
            code = lastKey != nullptr && SameKey(*lastKey, taken) ? kSameKey : kKey;
            break;
        case Taken::Event::PadButton:
            code = kPad;
            break;
        case Taken::Event::FocusLost:
            code = kFocusLost;
            break;
        case Taken::Event::Quit:
            code = kQuit;
            break;
    }
    const std::uint8_t runField =
        run < kShortestLongRun ? static_cast<std::uint8_t>(run - 1) : kLongRun;
    out.Byte(
        static_cast<std::uint8_t>(HeldBits(taken) | code << kEventShift | runField << kRunShift));
    if (code == kKey) {
        out.Number(taken.sym);
        out.Number(taken.mod);
        out.Number(taken.unicode);
    } else if (code == kPad) {
        out.Byte(taken.button);
    }
    if (runField == kLongRun) {
        out.Number(run - kShortestLongRun);
    }
}

// Reads one record; says why not in error.
bool ReadRecord(Reader& in, Taken& taken, std::uint32_t& run, const Taken*& lastKey,
                std::uint32_t framesLeft, std::string& error) {
    std::uint8_t head = 0;
    if (!in.Byte(head)) {
        error = "ends before its last frame";
        return false;
    }
    taken = Taken();
    taken.left = (head & kLeftBit) != 0;
    taken.right = (head & kRightBit) != 0;
    const auto code = static_cast<Code>(head >> kEventShift & kEventMask);
    bool read = true;
    switch (code) {
        case kNone:
            break;
        case kKey:
            taken.event = Taken::Event::Key;
            read = in.Number(taken.sym, 0xffff) && in.Number(taken.mod, 0xffff) &&
                   in.Number(taken.unicode, 0xffff);
            break;
        case kSameKey:
            if (lastKey == nullptr) {
                error = "repeats a key before any key";
                return false;
            }
            taken.event = Taken::Event::Key;
            taken.sym = lastKey->sym;
            taken.mod = lastKey->mod;
            taken.unicode = lastKey->unicode;
            break;
        case kPad:
            taken.event = Taken::Event::PadButton;
            read = in.Byte(taken.button);
            break;
        case kFocusLost:
            taken.event = Taken::Event::FocusLost;
            break;
        case kQuit:
            taken.event = Taken::Event::Quit;
            break;
        default:
            error = "holds an event of no known kind";
            return false;
    }
    const std::uint8_t runField = head >> kRunShift;
    run = runField + 1u;
    if (read && runField == kLongRun) {
        std::uint32_t beyond = 0;
        read = framesLeft >= kShortestLongRun && in.Number(beyond, framesLeft - kShortestLongRun);
        run = kShortestLongRun + beyond;
    }
    if (!read) {
        error = "is cut short or garbled in a frame";
        return false;
    }
    if (run > framesLeft) {
        error = "holds more frames than it says";
        return false;
    }
    return true;
}

}  // namespace

std::string Encode(const Replay& replay) {
    Writer out;
    out.bytes.assign(kMagic, sizeof kMagic);
    out.Byte(kFormatVersion);
    out.Text(replay.gameVersion);
    out.Number(replay.drawsBefore);
    out.Text(replay.nameBefore);
    out.Number(replay.points);
    out.Text(replay.name);
    out.Number(replay.frames.size());
    const Taken* lastKey = nullptr;
    for (std::size_t i = 0; i < replay.frames.size();) {
        const Taken& taken = replay.frames[i];
        std::size_t run = 1;
        while (i + run < replay.frames.size() && replay.frames[i + run] == taken) {
            ++run;
        }
        WriteRecord(out, taken, static_cast<std::uint32_t>(run), lastKey);
        if (taken.event == Taken::Event::Key) {
            lastKey = &taken;
        }
        i += run;
    }
    out.Sum();
    return out.bytes;
}

bool Decode(const std::string& bytes, Replay& replay, std::string& error) {
    constexpr std::size_t kSumSize = 4;
    if (bytes.size() < sizeof kMagic || bytes.compare(0, sizeof kMagic, kMagic, sizeof kMagic)) {
        error = "not a replay (no replay header)";
        return false;
    }
    if (bytes.size() > limits::kLargestFile) {
        error = "larger than any replay can be";
        return false;
    }
    if (bytes.size() < sizeof kMagic + 1 + kSumSize) {
        error = "cut short in its header";
        return false;
    }
    if (static_cast<std::uint8_t>(bytes[sizeof kMagic]) != kFormatVersion) {
        error = "written in replay format " +
                std::to_string(static_cast<std::uint8_t>(bytes[sizeof kMagic])) +
                ", this game reads format " + std::to_string(kFormatVersion);
        return false;
    }
    const std::size_t end = bytes.size() - kSumSize;
    std::uint32_t stored = 0;
    for (std::size_t i = 0; i < kSumSize; ++i) {
        stored |= static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes[end + i])) << (8 * i);
    }
    if (stored != Checksum(bytes.data(), end)) {
        error = "damaged or cut short (its check sum does not match)";
        return false;
    }

    Reader in(bytes, end);
    std::uint8_t skip = 0;
    for (std::size_t i = 0; i <= sizeof kMagic; ++i) {
        in.Byte(skip);
    }
    std::uint32_t frameCount = 0;
    if (!in.Text(replay.gameVersion) || !in.Number(replay.drawsBefore, limits::kMostDrawsBefore) ||
        !in.Text(replay.nameBefore) || !in.Number(replay.points, limits::kMostPoints) ||
        !in.Text(replay.name) || !in.Number(frameCount, limits::kMostFrames)) {
        error = "garbled in its header, or beyond what a replay may hold";
        return false;
    }
    replay.frames.clear();
    replay.frames.reserve(frameCount);
    const Taken* lastKey = nullptr;
    Taken lastKeyCopy;
    while (replay.frames.size() < frameCount) {
        Taken taken;
        std::uint32_t run = 0;
        const auto left = static_cast<std::uint32_t>(frameCount - replay.frames.size());
        if (!ReadRecord(in, taken, run, lastKey, left, error)) {
            error += " (frame " + std::to_string(replay.frames.size() + 1) + ")";
            return false;
        }
        replay.frames.insert(replay.frames.end(), run, taken);
        if (taken.event == Taken::Event::Key) {
            lastKeyCopy = taken;
            lastKey = &lastKeyCopy;
        }
    }
    if (!in.AtEnd()) {
        error = "holds bytes after its last frame";
        return false;
    }
    return true;
}

bool Load(const std::string& path, Replay& replay, std::string& error) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = std::string("cannot be read: ") + std::strerror(errno);
        return false;
    }
    std::string bytes;
    // One byte more than the largest replay tells a file that is too large without reading it.
    bytes.resize(limits::kLargestFile + 1);
    file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(file.gcount()));
    if (file.bad()) {
        error = "cannot be read";
        return false;
    }
    return Decode(bytes, replay, error);
}

bool Save(const std::string& path, const Replay& replay, std::string& error) {
    const std::string bytes = Encode(replay);
    const std::string temporary = path + ".new";
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (file == nullptr) {
        error = std::strerror(errno);
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const int writeError = errno;
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) {
        error = std::strerror(written ? errno : writeError);
        std::remove(temporary.c_str());
        return false;
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        error = std::strerror(errno);
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace replay
