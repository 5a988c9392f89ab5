#include "replay/ReplayReader.h"

#include <cstring>

#include "replay/ReplayFormat.h"
#include "storage/RegularFile.h"

namespace replay {
namespace {
using namespace format;

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

bool Decode(const std::string& bytes, Replay& replay, std::string& error) {
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
    std::string bytes;
    int failure = 0;
    switch (storage::ReadRegularFile(path, limits::kLargestFile, bytes, failure)) {
        case storage::ReadResult::Missing:
        case storage::ReadResult::Failed:
            error = std::string("cannot be read: ") + std::strerror(failure);
            return false;
        case storage::ReadResult::NotRegular:
            error = "not a regular file";
            return false;
        case storage::ReadResult::TooLarge:  // the bytes read tell it
        case storage::ReadResult::Whole:
            break;
    }
    return Decode(bytes, replay, error);
}

}  // namespace replay
