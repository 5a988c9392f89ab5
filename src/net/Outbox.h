#pragma once

#include <string>
#include <vector>

namespace net {

// The games stored but not yet answered for by the shared table: one replay file each in a folder
// beside the high-score file, written for good before it is sent, so that a game survives a crash,
// a kill or a table that is away, and is sent at the next start. A file goes once the table has
// answered for it, whatever the answer.
class Outbox {
  public:
    explicit Outbox(std::string folder);

    // Keeps bytes for good under a new name, later names for later games; false with why.
    bool Put(const std::string& bytes, std::string& name, std::string& why);
    // The names of the games waiting, the oldest first.
    std::vector<std::string> Waiting() const;
    // A waiting game's bytes; false with why when it cannot be read (it is then left alone).
    bool Read(const std::string& name, std::string& bytes, std::string& why) const;
    // The game is answered for: its file goes.
    void Remove(const std::string& name);

    const std::string& Folder() const { return folder; }

  private:
    std::string PathOf(const std::string& name) const { return folder + "/" + name; }

    std::string folder;
};

}  // namespace net
