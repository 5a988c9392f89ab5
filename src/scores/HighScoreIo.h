#pragma once

#include <sys/types.h>

#include "storage/FileCalls.h"

// The system calls that read the high-score file whole and put a new one in place. The game uses
// them as they are; a test replaces one to make storing fail part way, as a full disk or a dying
// drive would.
class HighScoreIo : public storage::FileCalls {
  public:
    virtual off_t Seek(int fd, off_t offset, int whence);
};
