#pragma once

#include <set>
#include <string>

// The files the game could not load: a picture, a sound or the font. Each is named once on
// standard error, with the folder it was looked for in and the library's reason; the game goes on
// without the file as before, and the line only tells a player why something is not drawn or
// heard. Bullets and bombs load their picture at every shot, so one missing file would otherwise
// print a line per shot.
//
// The engine owns the one record of a game. Pictures and lines of text are made everywhere by
// bare constructors with no engine at hand, so while a record lives it is also the one that
// ReportUnloadable writes to: that pointer is the only way to it, and it is never an owner.
class MissingFiles {
  public:
    // Becomes the record ReportUnloadable writes to, until it is destroyed; then the one it
    // replaced takes over again.
    MissingFiles();
    ~MissingFiles();
    MissingFiles(const MissingFiles&) = delete;
    MissingFiles& operator=(const MissingFiles&) = delete;

    // Names file on standard error, unless this record has named it already.
    void Report(const std::string& file, const char* reason);

  private:
    std::set<std::string> reported;
    MissingFiles* replaced;
};

// Reports to the live record; with none (no game running), every report is said.
void ReportUnloadable(const std::string& file, const char* reason);
