#pragma once

// A replay file, read and written (docs/replay-format.md describes its bytes).
#include "replay/ReplayReader.h"
#include "replay/ReplayWriter.h"
