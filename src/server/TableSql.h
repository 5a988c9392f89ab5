#pragma once

#include <string>
#include <utility>
#include <vector>

namespace server {

// What SQLite and PostgreSQL spell differently; everything else about the table is written once,
// in TableSql.cpp, and made for one of them.
struct SqlDialect {
    const char* id;            // the key: a whole number each new line gets by itself, in the order
                               // lines come
    const char* text;          // names and digests, as the bytes they are
    const char* bytes;         // replays and fingerprints
    const char* time;          // when a line was listed
    const char* now;           // the time now, as kept in a time column
    const char* none;          // the empty text, which a statement reads as no value
    const char* numbers;       // rows of one column, value, from the JSON array of whole numbers $1
    const char* keyedOnly;     // after a table whose rows need no number of their own
    const char* addIfMissing;  // in ALTER TABLE ... ADD COLUMN, before a column's name
};

extern const SqlDialect kSqliteDialect;
extern const SqlDialect kPostgresDialect;

// Every statement about the table, for one database. Parameters are $1, $2, ...; SQLite takes
// them as named parameters, so a store binds each by its name.
struct TableSql {
    explicit TableSql(const SqlDialect& dialect);

    // Makes the table, or brings one an older server made up to now, run in this order. A table
    // missing a column of laterColumns gains it first: SQLite cannot add a column only if it is
    // missing, so each comes with its name for the store to look for.
    std::string createScores;
    std::vector<std::pair<std::string, std::string>> laterColumns;
    std::vector<std::string> schema;

    // The list's order, which its index keeps: more points first, equal points as they were
    // listed, earlier first.
    std::string best;  // $1 the most lines
    std::string all;   // every line, oldest first
    std::string count;
    std::string replay;  // $1 id

    // Keeping a post: $1 digest, $2 play. The line with the same replay bytes, else the one with
    // the same play: id, points, name, and whether the bytes are the same.
    std::string kept;
    // The lines whose fingerprints share the most marks with the JSON array $1: id, points, name,
    // fingerprint; at most $2 of them.
    std::string sharing;
    // $1 points, $2 name, $3 digest, $4 replay, $5 play, $6 fingerprint: the new line's id.
    std::string insert;
    // $1 the JSON array of marks, $2 the line's id.
    std::string mark;

    // Lines an older server kept without a fingerprint, after id $1, at most $2: id, replay.
    std::string unprinted;
    // $1 id, $2 fingerprint, $3 play (set only where none is and no other line has it).
    std::string setPrint;
};

}  // namespace server
