#pragma once

// The glyph atlas file, as make_glyph_atlas.cpp writes it (its layout is written down there) and
// the browser's text reads it.
constexpr char kAtlasMagic[] = "ARCADEGLYPHS1\n";
constexpr int kAtlasCodes = 256;  // every character code a line of Latin-1 text can hold
