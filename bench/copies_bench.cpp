// What checking a post for a copy of a listed game costs a table of 100,000 lines: the marks of
// its fingerprint looked up, and the few lines that share the most compared sample by sample.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdint>
#include <memory>
#include <random>
#include <string>

#include "BenchFolder.h"
#include "playback/PlayFingerprint.h"
#include "server/ScoreStore.h"
#include "server/SqliteStore.h"
#include "server/TableSql.h"

namespace {

constexpr int kLines = 100000;
// A whole four-level game is some 250 seconds of play: a sample each.
constexpr std::size_t kSamples = 250;
// Games alike in their first seconds (one style of play, say), as many as share one mark.
constexpr int kAlikeAtFirst = 50;
constexpr std::size_t kFirstSamplesAlike = 16;

constexpr std::size_t kSampleBytes = replay::PlayFingerprint::kSampleBytes;

// Tallies drawn at random after the first point, the airplanes and the cannon anywhere.
std::string Fingerprint(std::mt19937& draws, const std::string& beginning = "") {
    std::string bytes = beginning;
    std::uniform_int_distribution<int> tally(1, 65535);
    std::uniform_int_distribution<int> where(1, 199);
    while (bytes.size() < kSampleBytes * kSamples) {
        const int value = tally(draws);
        bytes += static_cast<char>(value & 0xff);
        bytes += static_cast<char>(value >> 8);
        for (int thing = 0; thing < 3; ++thing) {
            bytes += static_cast<char>(where(draws));
        }
    }
    return bytes;
}

// A table of kLines lines, each with the fingerprint of a whole game, written once in one
// transaction beside the store that then reads it.
class Table {
  public:
    Table() {
        std::string error;
        store = server::SqliteStore::Open(folder.Path() + "/scores.sqlite", error);
        sqlite3* db = nullptr;
        sqlite3_open((folder.Path() + "/scores.sqlite").c_str(), &db);
        const server::TableSql sql(server::kSqliteDialect);
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        sqlite3_stmt* insert = nullptr;
        sqlite3_stmt* mark = nullptr;
        sqlite3_prepare_v2(db, sql.insert.c_str(), -1, &insert, nullptr);
        sqlite3_prepare_v2(db, sql.mark.c_str(), -1, &mark, nullptr);
        std::mt19937 draws(35);
        std::string beginning;
        for (int line = 0; line < kLines; ++line) {
            if (line % kAlikeAtFirst == 0) {
                beginning = Fingerprint(draws).substr(0, kSampleBytes * kFirstSamplesAlike);
            }
            const std::string print = Fingerprint(draws, beginning);
            if (line == kLines / 2) {
                listed = print;
                alikeAtFirst = beginning;
            }
            const std::string digest = std::to_string(line);
            const std::string name = "P" + digest;
            sqlite3_bind_int(insert, 1, 100 + line % 124);
            sqlite3_bind_text(insert, 2, name.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(insert, 3, digest.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_blob(insert, 4, "replay", 6, SQLITE_STATIC);
            sqlite3_bind_text(insert, 5, digest.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_blob(insert, 6, print.data(), static_cast<int>(print.size()),
                              SQLITE_TRANSIENT);
            sqlite3_step(insert);
            const sqlite3_int64 id = sqlite3_column_int64(insert, 0);
            sqlite3_reset(insert);
            const std::string marks = server::MarksOf(print);
            sqlite3_bind_text(mark, sqlite3_bind_parameter_index(mark, "$1"), marks.c_str(), -1,
                              SQLITE_TRANSIENT);
            sqlite3_bind_int64(mark, sqlite3_bind_parameter_index(mark, "$2"), id);
            sqlite3_step(mark);
            sqlite3_reset(mark);
        }
        sqlite3_finalize(insert);
        sqlite3_finalize(mark);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }

    BenchFolder folder;
    std::unique_ptr<server::SqliteStore> store;
    std::string listed;        // one line's fingerprint
    std::string alikeAtFirst;  // and the first seconds it has in common with others
};

Table& HundredThousandLines() {
    static Table table;
    return table;
}

// A copy of a listed line, a third of its samples changed: found, and the line it copies.
void BM_CheckACopyOnAHundredThousandLines(benchmark::State& state) {
    Table& table = HundredThousandLines();
    std::string copy = table.listed;
    for (std::size_t at = 0; at < kSamples; at += 3) {
        copy[kSampleBytes * at] = static_cast<char>(copy[kSampleBytes * at] ^ 0x5a);
    }
    std::string error;
    for (auto _ : state) {
        const auto copied = table.store->Copied(copy, error);
        if (!copied) {
            state.SkipWithError("the copy was not found");
            break;
        }
        benchmark::DoNotOptimize(copied);
    }
}
BENCHMARK(BM_CheckACopyOnAHundredThousandLines)->Unit(benchmark::kMicrosecond);

// A game of its own that begins as fifty listed ones do: all of them share its first mark, and
// the most alike are compared before it is found to copy none.
void BM_CheckANewGameOnAHundredThousandLines(benchmark::State& state) {
    Table& table = HundredThousandLines();
    std::mt19937 draws(36);
    const std::string fresh = Fingerprint(draws, table.alikeAtFirst);
    std::string error;
    for (auto _ : state) {
        const auto copied = table.store->Copied(fresh, error);
        if (copied || !error.empty()) {
            state.SkipWithError("a new game was taken for a copy");
            break;
        }
        benchmark::DoNotOptimize(copied);
    }
}
BENCHMARK(BM_CheckANewGameOnAHundredThousandLines)->Unit(benchmark::kMicrosecond);

}  // namespace
