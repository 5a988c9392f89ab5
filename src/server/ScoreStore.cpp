#include "server/ScoreStore.h"

#include "playback/PlayFingerprint.h"

namespace server {

std::string MarksOf(const std::string& fingerprint) {
    std::string json = "[";
    for (const std::int64_t mark : replay::Marks(fingerprint)) {
        json += (json.size() > 1 ? "," : "") + std::to_string(mark);
    }
    return json + "]";
}

std::optional<StoredScore> CopiedFrom(Keeping& database, const std::string& fingerprint) {
    if (fingerprint.empty()) {
        return std::nullopt;
    }
    std::optional<StoredScore> copied;
    std::size_t most = 0;
    // The candidates come earliest listed first among equals: a later one must be more alike.
    for (const auto& candidate : database.Sharing(MarksOf(fingerprint))) {
        const replay::Likeness likeness = replay::Compare(fingerprint, candidate.fingerprint);
        if (replay::Copies(likeness) &&
            (!copied || likeness.alike > most ||
             (likeness.alike == most && candidate.line.replayId < copied->replayId))) {
            most = likeness.alike;
            copied = candidate.line;
        }
    }
    return copied;
}

ScoreStore::Added Keep(Keeping& database, const Posted& post) {
    ScoreStore::Added added;
    bool sameBytes = false;
    auto kept = database.Kept(post, sameBytes);
    if (!kept) {
        kept = CopiedFrom(database, post.fingerprint);
        added.copy = kept.has_value();
    }
    if (kept) {
        added.fresh = false;
        added.sameGame = !sameBytes;
        added.replayId = kept->replayId;
        added.kept = *kept;
        return added;
    }
    added.replayId = database.Insert(post);
    if (!post.fingerprint.empty()) {
        database.Mark(added.replayId, MarksOf(post.fingerprint));
    }
    return added;
}

}  // namespace server
