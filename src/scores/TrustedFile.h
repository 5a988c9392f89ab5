#pragma once

#include <string>

#include "scores/StoreFailure.h"

// Where the game may read and store the high-score file named path.
//
// A name that is no symbolic link is the file itself. A link is followed only when it, every link
// it leads through, and the regular file it ends at all belong to the user running the game (root
// included: root follows only root's own links). Someone who may write into a shared folder could
// otherwise plant highscore.txt as a link to one of the player's files, and the next stored score
// would rewrite that file as a sorted list.
//
// Returns the path to use in target, or false with failure saying why the link was refused.
bool TrustedFile(const std::string& path, std::string& target, StoreFailure& failure);
