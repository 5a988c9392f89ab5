#include "server/ScoreTable.h"

#include <cstdio>

#include "scores/ScoreLine.h"

namespace server {
namespace {

// A JSON string; markup characters escaped too, so that no name can close a script it is
// pasted into.
std::string JsonString(const std::string& text) {
    std::string quoted = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (byte < 0x20 || c == '<' || c == '>' || c == '&' || byte >= 0x7f) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            quoted += escaped;
        } else {
            quoted += c;
        }
    }
    return quoted + "\"";
}

}  // namespace

std::vector<ListedScore> Listed(const std::vector<StoredScore>& best) {
    std::vector<ListedScore> listed;
    listed.reserve(best.size());
    for (const StoredScore& score : best) {
        listed.push_back({score, ScoreLine(score.points, score.name)});
    }
    return listed;
}

std::string AsLines(const std::vector<ListedScore>& listed) {
    std::string text;
    for (const ListedScore& entry : listed) {
        text += entry.line;
        text += '\n';
    }
    return text;
}

std::string AsJson(const std::vector<ListedScore>& listed) {
    std::string json = "[";
    for (const ListedScore& entry : listed) {
        if (json.size() > 1) {
            json += ',';
        }
        json += "{\"id\":" + std::to_string(entry.score.replayId) +
                ",\"points\":" + std::to_string(entry.score.points) +
                ",\"name\":" + JsonString(entry.score.name) + "}";
    }
    return json + "]";
}

}  // namespace server
