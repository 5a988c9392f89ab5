#pragma once

#include <optional>
#include <string>

namespace server {

// The bytes packed as gzip; nothing when packing fails.
std::optional<std::string> Gzip(const std::string& bytes);

}  // namespace server
