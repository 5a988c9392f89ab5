#include "replay/ReplayWriter.h"

#include <cstring>

#include "replay/ReplayFormat.h"
#include "storage/DurableFile.h"

namespace replay {
namespace {
using namespace format;

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

bool Save(const std::string& path, const Replay& replay, std::string& error,
          storage::FileCalls& calls) {
    storage::WriteFault fault;
    if (!storage::WriteWhole(path, Encode(replay), calls, fault)) {
        error = std::strerror(fault.error);
        return false;
    }
    return true;
}

bool Save(const std::string& path, const Replay& replay, std::string& error) {
    storage::FileCalls calls;
    return Save(path, replay, error, calls);
}

}  // namespace replay
