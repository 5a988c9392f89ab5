#pragma once

#include <cstddef>
#include <string>

#include "storage/FileCalls.h"

namespace storage {

// What kept a new file out of its place: the first fault only, since later ones follow from it.
struct WriteFault {
    enum class Step { None, Create, Mode, Write, Sync, Close, Rename };
    Step step = Step::None;
    int error = 0;

    bool Failed() const { return step != Step::None; }
    // One line for the player or a log: the system's reason, and where that is not enough, what
    // failed ("cannot create the new file beside it: Permission denied").
    std::string Reason() const;
};

// Puts a new file in place of an old one for good. The bytes go into a file of their own beside
// the target (".NAME.XXXXXX"), are synced to the disk, and that file is renamed over the target;
// then the folder is synced, so that the rename lasts too. Whoever reads the target finds the old
// file or the new one, whole: a crash or a full disk at any point leaves the old file standing
// (and at worst a leftover beside it). The new file keeps the old one's bits, and its owner where
// we may; a file that is new gets the bits any new file of this program gets.
//
//     DurableFile file(path);
//     if (!file.Open() || !file.Write(bytes.data(), bytes.size()) || !file.Commit()) ...
//
// Give up at any point, or fail, and the old file stands untouched and the temporary file is gone.
class DurableFile {
  public:
    explicit DurableFile(std::string target);
    // calls must outlive this object.
    DurableFile(std::string target, FileCalls& calls);
    ~DurableFile();
    DurableFile(const DurableFile&) = delete;
    DurableFile& operator=(const DurableFile&) = delete;

    bool Open();
    // All of size bytes, or false.
    bool Write(const char* data, std::size_t size);
    // Syncs, closes and renames the new file into place, then syncs the folder.
    bool Commit();
    const WriteFault& Fault() const { return fault; }

    // The names this class gives its temporary files for target's file name: a killed program
    // may leave one behind, and one who knows that no writer is at work can clear them.
    static std::string TemporaryPrefix(const std::string& base);
    static constexpr std::size_t kUniqueLength = 6;

  private:
    bool Fail(WriteFault::Step step, int error);
    void Discard();

    std::string target;
    FileCalls defaultCalls;
    FileCalls& calls;
    std::string temporary;
    int fd = -1;
    WriteFault fault;
};

// The whole of bytes in place of the file at target, for good; false with fault saying why.
bool WriteWhole(const std::string& target, const std::string& bytes, WriteFault& fault);
bool WriteWhole(const std::string& target, const std::string& bytes, FileCalls& calls,
                WriteFault& fault);

}  // namespace storage
