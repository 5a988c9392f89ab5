#include "server/TableSql.h"

namespace server {

// SQLite's key is the row's own number, one above the highest; its time is CURRENT_TIMESTAMP's
// text, in UTC.
const SqlDialect kSqliteDialect = {
    "INTEGER PRIMARY KEY", "TEXT",           "BLOB", "TEXT", "CURRENT_TIMESTAMP", "''",
    "json_each($1)",       " WITHOUT ROWID", "",
};

// PostgreSQL keeps names and digests as bytes whatever the database's encoding; its lines get
// their numbers in the order they are listed, each insert waiting on one lock.
const SqlDialect kPostgresDialect = {
    "bigserial PRIMARY KEY",
    "bytea",
    "bytea",
    "timestamptz",
    "now()",
    "''::bytea",
    "jsonb_array_elements_text($1::jsonb)",
    "",
    "IF NOT EXISTS ",
};

namespace {

// The list's order, once: the index below keeps it, and the best lines are read in it.
constexpr const char* kListOrder = "points DESC, id";
// A post is compared with the few kept lines it shares the most marks with.
constexpr const char* kMostSharing = "16";

// The statement with each {word} of the dialect put in.
std::string Made(const std::string& statement, const SqlDialect& dialect) {
    const std::pair<const char*, const char*> words[] = {
        {"{id}", dialect.id},
        {"{text}", dialect.text},
        {"{bytes}", dialect.bytes},
        {"{time}", dialect.time},
        {"{now}", dialect.now},
        {"{none}", dialect.none},
        {"{numbers}", dialect.numbers},
        {"{keyedOnly}", dialect.keyedOnly},
        {"{addIfMissing}", dialect.addIfMissing},
        {"{listOrder}", kListOrder},
        {"{mostSharing}", kMostSharing},
    };
    std::string made = statement;
    for (const auto& [word, spelled] : words) {
        for (auto at = made.find(word); at != std::string::npos; at = made.find(word, at)) {
            made.replace(at, std::char_traits<char>::length(word), spelled);
            at += std::char_traits<char>::length(spelled);
        }
    }
    return made;
}

// The columns a table has had from the first; those added since, in the order they came, may be
// missing from a table an older server made, and are added to it.
constexpr const char* kFirstColumns =
    "id {id}, points integer NOT NULL, name {text} NOT NULL, digest {text} NOT NULL UNIQUE, "
    "replay {bytes} NOT NULL";
constexpr std::pair<const char*, const char*> kLaterColumns[] = {
    // The prover's digest of the play: the same game is one line, under any bytes or name.
    {"play", "{text}"},
    // The play's fingerprint (PlayFingerprint): a copy with some inputs changed is that game too.
    // Empty for a line whose replay no longer proves.
    {"print", "{bytes}"},
    {"created", "{time}"},
};

}  // namespace

TableSql::TableSql(const SqlDialect& dialect) {
    std::string columns = kFirstColumns;
    for (const auto& [name, type] : kLaterColumns) {
        columns += std::string(", ") + name + " " + type;
        laterColumns.emplace_back(name, Made(std::string("ALTER TABLE scores ADD COLUMN "
                                                         "{addIfMissing}") +
                                                 name + " " + type,
                                             dialect));
    }
    createScores = Made("CREATE TABLE IF NOT EXISTS scores (" + columns + ")", dialect);
    schema = {
        // Equal points were once ordered by name; now by who listed first.
        "DROP INDEX IF EXISTS scores_listed",
        Made("CREATE INDEX IF NOT EXISTS scores_ranked ON scores ({listOrder})", dialect),
        "CREATE UNIQUE INDEX IF NOT EXISTS scores_play ON scores (play)",
        // Each line's marks (replay::Marks), by which the lines a post may copy are found.
        Made("CREATE TABLE IF NOT EXISTS score_marks (mark bigint NOT NULL, score bigint NOT NULL, "
             "PRIMARY KEY (mark, score)){keyedOnly}",
             dialect),
    };

    best = Made("SELECT id, points, name FROM scores ORDER BY {listOrder} LIMIT $1", dialect);
    all = "SELECT id, points, name FROM scores ORDER BY id";
    count = "SELECT count(*) FROM scores";
    replay = "SELECT replay FROM scores WHERE id = $1";

    kept = Made(
        "SELECT id, points, name, digest = $1 FROM scores WHERE digest = $1 OR "
        "play = NULLIF($2, {none}) ORDER BY digest = $1 DESC LIMIT 1",
        dialect);
    sharing = Made(
        "SELECT s.id, s.points, s.name, s.print FROM scores s JOIN (SELECT score, count(*) AS "
        "shared FROM score_marks WHERE mark IN (SELECT CAST(value AS bigint) FROM {numbers}) "
        "GROUP BY score ORDER BY count(*) DESC, score LIMIT {mostSharing}) m ON m.score = s.id "
        "ORDER BY m.shared DESC, s.id",
        dialect);
    insert = Made(
        "INSERT INTO scores (points, name, digest, replay, play, print, created) VALUES "
        "($1, $2, $3, $4, NULLIF($5, {none}), $6, {now}) RETURNING id",
        dialect);
    // WHERE true: SQLite would read ON CONFLICT after a bare FROM as a join's condition.
    mark = Made(
        "INSERT INTO score_marks (mark, score) SELECT CAST(value AS bigint), CAST($2 AS bigint) "
        "FROM {numbers} "
        "WHERE true ON CONFLICT DO NOTHING",
        dialect);

    unprinted =
        "SELECT id, replay FROM scores WHERE print IS NULL AND id > $1 ORDER BY id LIMIT $2";
    setPrint = Made(
        "UPDATE scores SET print = $2, play = CASE WHEN play IS NULL AND NOT EXISTS (SELECT 1 "
        "FROM scores WHERE play = NULLIF($3, {none})) THEN NULLIF($3, {none}) ELSE play END "
        "WHERE id = $1",
        dialect);
}

}  // namespace server
