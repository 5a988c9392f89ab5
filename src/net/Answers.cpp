#include "net/Answers.h"

#include <cctype>
#include <cstdlib>

#include "net/NetRules.h"

namespace net {
namespace {
enum Status {
    kOk = 200,
    kCreated = 201,
    kBadRequest = 400,
    kConflict = 409,
    kTooLarge = 413,
    kWrongType = 415,
    kUnprovable = 422,
    kTooMany = 429,
    kUnavailable = 503,
};
constexpr const char* kDigits = "0123456789";
// The largest number a row's id or points may be: far beyond any table, short of overflow.
constexpr long long kLargestNumber = 1'000'000'000'000'000LL;
constexpr std::size_t kLongestName = 64;

// The first line of a text, as one line of the list can show it: printable, and not too long.
std::string FirstLine(const std::string& text) {
    std::string line;
    for (const char c : text.substr(0, text.find('\n'))) {
        const auto byte = static_cast<unsigned char>(c);
        if (c != '\r') {
            line += byte >= 0x20 && byte < 0x7f ? c : '?';
        }
    }
    if (line.size() > rules::kLongestReason) {
        line = line.substr(0, rules::kLongestReason) + "...";
    }
    return line;
}

std::optional<long> WholeNumber(const std::string& text, long most) {
    if (text.empty() || text.size() > 9 || text.find_first_not_of(kDigits) != std::string::npos) {
        return std::nullopt;
    }
    const long number = std::strtol(text.c_str(), nullptr, 10);
    return number <= most ? std::optional<long>(number) : std::nullopt;
}

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

// Where the posted line stands in the table the answer lists, from 1 (0 when it is not among
// them), and how many lines that table has.
int PlaceIn(const std::string& table, const std::string& line, int& lines) {
    int place = 0;
    lines = 0;
    std::size_t start = 0;
    while (start < table.size()) {
        const auto end = table.find('\n', start);
        ++lines;
        if (place == 0 && table.compare(start, end - start, line) == 0) {
            place = lines;
        }
        if (end == std::string::npos) {
            break;
        }
        start = end + 1;
    }
    return place;
}

// "this game is listed already: 223 points - Anna": the line after the colon.
std::string ListedLine(const std::string& body) {
    const std::string said = FirstLine(body);
    const auto colon = said.find(": ");
    if (colon == std::string::npos) {
        return {};
    }
    const std::string line = said.substr(colon + 2);
    const auto points = line.find(" points - ");
    if (points == 0 || points == std::string::npos || line.find_first_not_of(kDigits) != points) {
        return {};
    }
    return line;
}

// A small reader of exactly the table's rows: no nesting beyond an array of flat objects.
class RowReader {
  public:
    explicit RowReader(const std::string& text) : text(text) {}

    bool Read(std::size_t most, std::vector<TableRow>& rows, std::string& why) {
        rows.clear();
        if (!Take('[')) {
            return Fail(why, "not a list of rows");
        }
        if (Take(']')) {
            return End(why);
        }
        do {
            TableRow row;
            if (!ReadRow(row)) {
                return Fail(why, "a row that is not {\"id\":N,\"points\":N,\"name\":\"...\"}");
            }
            if (rows.size() < most) {
                rows.push_back(std::move(row));
            }
        } while (Take(','));
        if (!Take(']')) {
            return Fail(why, "the list of rows does not end");
        }
        return End(why);
    }

  private:
    void Space() {
        while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at])) != 0) {
            ++at;
        }
    }
    bool Take(char c) {
        Space();
        if (at < text.size() && text[at] == c) {
            ++at;
            return true;
        }
        return false;
    }
    bool End(std::string& why) {
        Space();
        return at == text.size() || Fail(why, "more after the list of rows");
    }
    static bool Fail(std::string& why, const char* reason) {
        why = reason;
        return false;
    }

    bool ReadRow(TableRow& row) {
        if (!Take('{')) {
            return false;
        }
        bool id = false;
        bool points = false;
        bool name = false;
        do {
            std::string key;
            if (!ReadString(key) || !Take(':')) {
                return false;
            }
            long long number = 0;
            if (key == "id") {
                id = ReadNumber(number) && number > 0;
                row.id = number;
            } else if (key == "points") {
                points = ReadNumber(number);
                row.points = static_cast<int>(number);
            } else if (key == "name") {
                name = ReadString(row.name) && row.name.size() <= kLongestName;
            } else if (!SkipValue()) {
                return false;
            }
        } while (Take(','));
        return Take('}') && id && points && name;
    }

    bool ReadNumber(long long& number) {
        Space();
        const std::size_t start = at;
        while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])) != 0 &&
               at - start < 16) {
            ++at;
        }
        if (at == start) {
            return false;
        }
        number = std::strtoll(text.substr(start, at - start).c_str(), nullptr, 10);
        return number <= kLargestNumber;
    }

    // A string whose \u escapes name Latin-1 characters, as the table writes its names.
    bool ReadString(std::string& value) {
        value.clear();
        if (!Take('"')) {
            return false;
        }
        while (at < text.size() && value.size() <= rules::kLongestReason) {
            const char c = text[at++];
            if (c == '"') {
                return true;
            }
            if (static_cast<unsigned char>(c) < 0x20) {
                return false;
            }
            if (c != '\\') {
                value += c;
                continue;
            }
            if (at >= text.size()) {
                return false;
            }
            const char escaped = text[at++];
            if (escaped == 'u') {
                if (at + 4 > text.size()) {
                    return false;
                }
                const std::string hex = text.substr(at, 4);
                at += 4;
                if (hex.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
                    return false;
                }
                const long code = std::strtol(hex.c_str(), nullptr, 16);
                value += code < 0x100 ? static_cast<char>(code) : '?';
            } else if (escaped == '"' || escaped == '\\' || escaped == '/') {
                value += escaped;
            } else {
                return false;
            }
        }
        return false;
    }

    // A value of a key the game does not read: a number, a string or a word, never nested.
    bool SkipValue() {
        Space();
        if (at < text.size() && text[at] == '"') {
            std::string ignored;
            return ReadString(ignored);
        }
        const std::size_t start = at;
        while (at < text.size() && (std::isalnum(static_cast<unsigned char>(text[at])) != 0 ||
                                    text[at] == '-' || text[at] == '.' || text[at] == '+')) {
            ++at;
        }
        return at > start;
    }

    const std::string& text;
    std::size_t at = 0;
};
}  // namespace

std::optional<int> RetryAfterSeconds(const std::string& header) {
    const auto seconds = WholeNumber(Trimmed(header), 999'999'999);
    if (!seconds) {
        return std::nullopt;
    }
    return static_cast<int>(*seconds < 1 ? 1
                            : *seconds > rules::kMostRetryAfterSeconds
                                ? rules::kMostRetryAfterSeconds
                                : *seconds);
}

int BackoffSeconds(int failures) {
    int seconds = rules::kFirstRetrySeconds;
    for (int i = 1; i < failures && seconds < rules::kMostRetrySeconds; ++i) {
        seconds *= 2;
    }
    return seconds < rules::kMostRetrySeconds ? seconds : rules::kMostRetrySeconds;
}

PostOutcome ReadPostAnswer(const Answer& answer, const std::string& postedLine,
                           const std::string& playedBy) {
    PostOutcome outcome;
    const std::string said = FirstLine(answer.body);
    switch (answer.status) {
        case kCreated:
        case kOk:
            outcome.kind = PostOutcome::Kind::Listed;
            outcome.line = postedLine;
            outcome.place = PlaceIn(answer.body, postedLine, outcome.sentLines);
            outcome.lines = WholeNumber(Trimmed(answer.tableLines), 999'999'999).value_or(0);
            return outcome;
        case kConflict:
            outcome.kind = PostOutcome::Kind::AlreadyListed;
            outcome.line = ListedLine(answer.body);
            return outcome;
        case kBadRequest:
        case kTooLarge:
        case kWrongType:
        case kUnprovable: {
            outcome.kind = PostOutcome::Kind::Refused;
            // A table proves with its own build of the game: a game of another version is not
            // proven there, whatever its frames.
            const std::string version = FirstLine(Trimmed(answer.gameVersion));
            if (!version.empty() && version != playedBy) {
                outcome.reason = "the shared table runs version " + version;
            } else {
                outcome.reason =
                    said.empty() ? "refused (" + std::to_string(answer.status) + ")" : said;
            }
            return outcome;
        }
        case kTooMany:
        case kUnavailable:
            outcome.waitSeconds = RetryAfterSeconds(answer.retryAfter).value_or(0);
            break;
        default:
            break;
    }
    outcome.kind = PostOutcome::Kind::Later;
    outcome.reason =
        "it answered " + std::to_string(answer.status) + (said.empty() ? "" : ": " + said);
    return outcome;
}

bool ReadTableRows(const std::string& json, std::size_t most, std::vector<TableRow>& rows,
                   std::string& why) {
    return RowReader(json).Read(most, rows, why);
}

}  // namespace net
