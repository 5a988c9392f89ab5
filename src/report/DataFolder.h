#pragma once

#include <string>

// Where the game reads its pictures, its sounds and its font: the folder the player names
// (--data-dir), or else the working folder, as the game always has. The scores stay in the
// working folder either way.
//
// main owns the one folder of a run. Pictures, sounds and lines of text are loaded everywhere by
// bare constructors with no engine at hand, so while a folder lives it is also the one DataFile
// reads: that pointer is the only way to it, and it is never an owner.
class DataFolder {
  public:
    // An empty folder is the working folder.
    explicit DataFolder(std::string folder);
    ~DataFolder();
    DataFolder(const DataFolder&) = delete;
    DataFolder& operator=(const DataFolder&) = delete;

  private:
    friend std::string DataFile(const std::string& name);
    friend std::string DataFolderName();

    std::string folder;
    DataFolder* replaced;
};

// The name to open a data file by: inside the live folder, or the bare name in the working folder.
std::string DataFile(const std::string& name);
// The live folder as the player named it; empty for the working folder.
std::string DataFolderName();
