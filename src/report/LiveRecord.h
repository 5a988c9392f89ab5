#pragma once

#include "report/DataFolder.h"
#include "report/MissingFiles.h"

// The one way from a bare call to the running game's data folder and record of missing files.
// A picture (load_image(path), a static member) and a line of text (Text(), a bare constructor)
// are made all over the screens with no engine at hand to hand them either, so the engine shows
// its own here for as long as it lives. Every loader the game's own code calls is handed them
// instead. Not an owner of either.
class LiveRecord {
  public:
    // Shows folder and missing to bare calls on this thread until destroyed; then whatever was
    // shown before comes back. Games proven side by side on a server's threads each show their
    // own.
    LiveRecord(const DataFolder& folder, MissingFiles& missing);
    ~LiveRecord();
    LiveRecord(const LiveRecord&) = delete;
    LiveRecord& operator=(const LiveRecord&) = delete;

    // Calls load(folder, missing) with what is shown on this thread. With nothing shown (no game
    // running) files are looked for in the working folder and every failure is named.
    template <typename Load>
    static auto Use(Load&& load) {
        if (const LiveRecord* shown = Shown()) {
            return load(shown->folder, shown->missing);
        }
        MissingFiles sayEveryTime(DataFolder::Working());
        return load(DataFolder::Working(), sayEveryTime);
    }

  private:
    static const LiveRecord* Shown();

    const DataFolder& folder;
    MissingFiles& missing;
    LiveRecord* replaced;
};
