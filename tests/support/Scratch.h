#pragma once

#include <string>

// A fresh temporary folder holding the game's pictures and font, made the working directory for
// the life of the object, since the game opens every file by bare name. Removed afterwards.
class ScratchDir {
  public:
    // withPictures false leaves the pictures out (the font is always there).
    explicit ScratchDir(bool withPictures = true);
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::string& Path() const { return path; }
    // Absolute path of a file inside the folder.
    std::string File(const std::string& name) const { return path + "/" + name; }

  private:
    std::string path;
    std::string previous;
};

// Whole file contents, or the empty string when it cannot be read.
std::string ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::string& content);
bool FileExists(const std::string& path);
