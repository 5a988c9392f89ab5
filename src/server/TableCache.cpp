#include "server/TableCache.h"

#include <cstdio>
#include <ctime>

#include "server/Digest.h"
#include "server/HttpMessage.h"
#include "server/ScoreTable.h"
#include "server/ServerLimits.h"

namespace server {
namespace {

constexpr const char* kText = "text/plain; charset=utf-8";
constexpr const char* kJson = "application/json";
// A proxy or a CDN may answer for the server a moment: the table changes seldom and a player
// who posted sees the post's own answer, so a reader two seconds behind loses nothing, and a
// crowd of readers costs the server one read every two seconds. The page itself asks with
// no-store.
constexpr const char* kCacheControl = "public, max-age=2";
constexpr std::size_t kTagDigits = 20;

bool SameRows(const std::vector<StoredScore>& a, const std::vector<StoredScore>& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].replayId != b[i].replayId || a[i].points != b[i].points ||
            a[i].name != b[i].name) {
            return false;
        }
    }
    return true;
}

std::string HttpDate(std::time_t when) {
    std::tm parts{};
    gmtime_r(&when, &parts);
    char text[40];
    std::strftime(text, sizeof text, "%a, %d %b %Y %H:%M:%S GMT", &parts);
    return text;
}

std::string TagOf(const std::string& bytes) {
    return "\"" + Sha256Hex(bytes).substr(0, kTagDigits) + "\"";
}

// The client's copy is the one it would be sent: its tag is named (or any, "*"), or, where it
// names none, its time is the table's.
bool Holds(const HttpRequest& request, const std::string& tag, const std::string& modified) {
    const std::string named = request.Header("If-None-Match");
    if (!named.empty()) {
        return named.find(tag) != std::string::npos || named == "*";
    }
    return request.Header("If-Modified-Since") == modified;
}

}  // namespace

bool TableCache::Quick(const HttpRequest& request, HttpResponse& response, bool json) {
    std::shared_ptr<const Rendering> rendering;
    {
        const std::lock_guard<std::mutex> held(lock);
        if (stale || !current || Clock::now() - current->read >= freshFor) {
            return false;
        }
        rendering = current;
    }
    Give(*rendering, request, response, json);
    return true;
}

void TableCache::Answer(const HttpRequest& request, HttpResponse& response, bool json) {
    const std::shared_ptr<const Rendering> rendering = Fresh(Clock::now());
    if (!rendering) {
        response.status = 503;
        response.SetHeader("Retry-After", std::to_string(limits::kRetrySeconds));
        response.SetContent("the table cannot be read just now\n", kText);
        response.outcome.refusal = "not_read";
        return;
    }
    Give(*rendering, request, response, json);
}

void TableCache::Changed() {
    const std::lock_guard<std::mutex> held(lock);
    stale = true;
}

std::shared_ptr<const TableCache::Rendering> TableCache::Fresh(Clock::time_point now) {
    std::shared_ptr<const Rendering> before;
    {
        const std::lock_guard<std::mutex> held(lock);
        if (!stale && current && now - current->read < freshFor) {
            return current;
        }
        before = current;
        stale = false;
    }
    std::string error;
    auto rows = store.Best(limits::kMostListed, error);
    if (!rows) {
        std::fprintf(stderr, "arcade-scores: %s\n", error.c_str());
        const std::lock_guard<std::mutex> held(lock);
        stale = true;
        return nullptr;
    }
    auto made = std::make_shared<Rendering>();
    made->read = now;
    if (before && SameRows(before->rows, *rows)) {
        // Unchanged: the same bytes, tags and time, read again.
        *made = *before;
        made->read = now;
    } else {
        const auto listed = Listed(*rows);
        made->rows = std::move(*rows);
        made->lines = std::make_shared<const std::string>(AsLines(listed));
        made->json = std::make_shared<const std::string>(AsJson(listed));
        made->linesTag = TagOf(*made->lines);
        made->jsonTag = TagOf(*made->json);
        made->modified = HttpDate(std::time(nullptr));
    }
    const std::lock_guard<std::mutex> held(lock);
    // A reader that read later, or a post since, wins.
    if (!current || current->read <= made->read) {
        current = made;
    }
    return made;
}

void TableCache::Give(const Rendering& rendering, const HttpRequest& request,
                      HttpResponse& response, bool json) {
    const std::string& tag = json ? rendering.jsonTag : rendering.linesTag;
    response.SetHeader("Cache-Control", kCacheControl);
    response.SetHeader("ETag", tag);
    response.SetHeader("Last-Modified", rendering.modified);
    response.SetHeader("Content-Type", json ? kJson : kText);
    if (Holds(request, tag, rendering.modified)) {
        response.status = 304;
        return;
    }
    response.body.clear();
    response.shared = json ? rendering.json : rendering.lines;
}

}  // namespace server
