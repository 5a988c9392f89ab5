#pragma once

#include <string>

namespace server {

// SHA-256 of the bytes, as 64 lower-case hex digits: what tells one kept replay from another.
std::string Sha256Hex(const std::string& bytes);

}  // namespace server
