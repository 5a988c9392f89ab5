#pragma once

#include <string>

// Where the game reads its pictures, its sounds and its font: the folder the player names
// (--data-dir), or else the working folder, as the game always has. The scores stay in the
// working folder either way. main owns the one folder of a run and hands it to the engine, which
// passes it to each loader it makes.
class DataFolder {
  public:
    // An empty folder is the working folder.
    explicit DataFolder(std::string folder);
    DataFolder(const DataFolder&) = delete;
    DataFolder& operator=(const DataFolder&) = delete;

    // The working folder, for an engine started without a folder of its own.
    static const DataFolder& Working();

    // The name to open a data file by: inside the folder, or the bare name in the working folder.
    std::string File(const std::string& name) const;
    // The folder as the player named it; empty for the working folder.
    const std::string& Name() const { return folder; }

  private:
    std::string folder;
};
