#include "scores/FileReplacer.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstring>

#include "storage/DurableFile.h"

namespace {
constexpr std::size_t kChunk = 64 * 1024;
// mkostemp(3) puts six of these in place of the X's.
constexpr char kUniqueCharacters[] =
    "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";

bool IsTemporaryName(const std::string& name, const std::string& base) {
    const std::string prefix = storage::DurableFile::TemporaryPrefix(base);
    if (name.size() != prefix.size() + storage::DurableFile::kUniqueLength ||
        name.compare(0, prefix.size(), prefix) != 0) {
        return false;
    }
    for (std::size_t i = prefix.size(); i < name.size(); ++i) {
        if (std::strchr(kUniqueCharacters, name[i]) == nullptr || name[i] == '\0') {
            return false;
        }
    }
    return true;
}

// A game killed while writing leaves its temporary file behind. Every writer holds the folder
// lock while its temporary file exists, so under that lock any such file is a leftover.
void RemoveLeftovers(const std::filesystem::path& folder, const std::string& base) {
    DIR* listing = opendir(folder.c_str());
    if (listing == nullptr) {
        return;
    }
    while (const dirent* entry = readdir(listing)) {
        struct stat facts;
        if (IsTemporaryName(entry->d_name, base) &&
            fstatat(dirfd(listing), entry->d_name, &facts, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(facts.st_mode)) {
            unlinkat(dirfd(listing), entry->d_name, 0);
        }
    }
    closedir(listing);
}

}  // namespace

std::filesystem::path FileReplacer::FolderOf(const std::filesystem::path& file) {
    return file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
}

void FileReplacer::Fail(StoreProblem problem, int error, std::string reason) {
    if (fault.problem == StoreProblem::None) {
        fault = {problem, error, std::move(reason)};
    }
}

bool FileReplacer::Replace(const std::filesystem::path& target, const struct stat* old,
                           bool clearLeftovers, const std::vector<std::string>& entries) {
    fault = Fault();
    // A file made read-only by its owner is left alone, as writing it in place would leave it.
    if (old != nullptr && faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
        const int error = errno;
        Fail(error == EROFS ? StoreProblem::DiskReadOnly : StoreProblem::FileReadOnly, error);
        return false;
    }
    const std::filesystem::path folder = FolderOf(target);
    const std::string base = target.filename().string();
    if (clearLeftovers) {
        RemoveLeftovers(folder, base);
    }
    storage::DurableFile file(target.string(), io);
    if (!file.Open() || !WriteLastFirst(file, entries) || !file.Commit()) {
        const storage::WriteFault& failed = file.Fault();
        Fail(ProblemOfWriting(failed.error), failed.error,
             failed.step == storage::WriteFault::Step::Create ? failed.Reason() : std::string());
        return false;
    }
    return true;
}

bool FileReplacer::WriteLastFirst(storage::DurableFile& file,
                                  const std::vector<std::string>& entries) {
    std::string chunk;
    chunk.reserve(kChunk);
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
        chunk += *entry;
        chunk += '\n';
        if (chunk.size() >= kChunk) {
            if (!file.Write(chunk.data(), chunk.size())) {
                return false;
            }
            chunk.clear();
        }
    }
    return file.Write(chunk.data(), chunk.size());
}
