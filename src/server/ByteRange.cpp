#include "server/ByteRange.h"

#include <cstdlib>

namespace server {
namespace {

constexpr std::size_t kMostDigits = 18;

bool Number(const std::string& text, std::uint64_t& value) {
    if (text.empty() || text.size() > kMostDigits ||
        text.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    value = std::strtoull(text.c_str(), nullptr, 10);
    return true;
}

}  // namespace

ByteRange RangeOf(const std::string& header, std::uint64_t size) {
    const std::string unit = "bytes=";
    if (header.compare(0, unit.size(), unit) != 0 || header.find(',') != std::string::npos) {
        return {};
    }
    const std::string wanted = header.substr(unit.size());
    const auto dash = wanted.find('-');
    if (dash == std::string::npos) {
        return {};
    }
    const std::string first = wanted.substr(0, dash);
    const std::string last = wanted.substr(dash + 1);
    std::uint64_t from = 0;
    std::uint64_t to = 0;
    if (first.empty()) {
        // The last n bytes.
        if (!Number(last, to)) {
            return {};
        }
        if (to == 0 || size == 0) {
            return {ByteRange::kUnsatisfiable};
        }
        const std::uint64_t length = to < size ? to : size;
        return {ByteRange::kPart, size - length, length};
    }
    if (!Number(first, from) || (!last.empty() && (!Number(last, to) || to < from))) {
        return {};
    }
    if (from >= size) {
        return {ByteRange::kUnsatisfiable};
    }
    const std::uint64_t end = last.empty() || to >= size ? size - 1 : to;
    return {ByteRange::kPart, from, end - from + 1};
}

}  // namespace server
