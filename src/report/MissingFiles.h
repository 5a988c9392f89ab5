#pragma once

#include <set>
#include <string>

class DataFolder;

// The files the game could not load: a picture, a sound or the font. Each is named once on
// standard error, with the folder it was looked for in and the library's reason; the game goes on
// without the file as before, and the line only tells a player why something is not drawn or
// heard. Bullets and bombs load their picture at every shot, so one missing file would otherwise
// print a line per shot. The engine owns the one record of a game and passes it to its assets and
// its sounds.
class MissingFiles {
  public:
    // Files are looked for in folder, which outlives the record.
    explicit MissingFiles(const DataFolder& folder);
    MissingFiles(const MissingFiles&) = delete;
    MissingFiles& operator=(const MissingFiles&) = delete;

    // Names file on standard error, unless this record has named it already.
    void Report(const std::string& file, const char* reason);

  private:
    const DataFolder& folder;
    std::set<std::string> reported;
};
