#include "gfx/PictureShelf.h"

struct PictureShelf::Kept {};

PictureShelf::PictureShelf() = default;
PictureShelf::~PictureShelf() = default;
