#pragma once

#include <string>

class Text;

// The line as it is to be drawn by text within width pixels: the line itself when it fits,
// otherwise its longest beginning that fits with "..." after it (the dots alone if nothing does).
// A line holding a zero byte is taken as far as the font library would draw it.
std::string ShortenToFit(const Text& text, const std::string& line, int width);
