// What the server hands out from the disk: one range of a file exactly as asked, a range of the
// file itself even where a packed copy lies beside it, and a backup only of a score table.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>

#include "server/ByteRange.h"
#include "server/HttpMessage.h"
#include "server/SqliteBackup.h"
#include "server/SqliteStore.h"
#include "server/StaticFiles.h"
#include "support/Scratch.h"

namespace {

using server::ByteRange;
using server::RangeOf;

TEST(ByteRange, OneRangeEndsAtTheFilesLastByteAtMostAndSeveralGetTheWholeFile) {
    for (const auto& [header, offset, length] :
         {std::tuple{"bytes=0-998", 0, 999}, std::tuple{"bytes=0-999", 0, 1000},
          std::tuple{"bytes=0-1000", 0, 1000}, std::tuple{"bytes=990-", 990, 10},
          std::tuple{"bytes=-10", 990, 10}, std::tuple{"bytes=-5000", 0, 1000}}) {
        const ByteRange range = RangeOf(header, 1000);
        EXPECT_EQ(range.kind, ByteRange::kPart) << header;
        EXPECT_EQ(range.offset, static_cast<std::uint64_t>(offset)) << header;
        EXPECT_EQ(range.length, static_cast<std::uint64_t>(length)) << header;
    }
    EXPECT_EQ(RangeOf("bytes=999-999", 1000).length, 1u);
    EXPECT_EQ(RangeOf("bytes=1000-", 1000).kind, ByteRange::kUnsatisfiable);
    EXPECT_EQ(RangeOf("bytes=0-1,5-9", 1000).kind, ByteRange::kWhole);
    EXPECT_EQ(RangeOf("bytes=9-5", 1000).kind, ByteRange::kWhole);
}

TEST(StaticFiles, ARangeIsOfTheFileItselfThoughAPackedCopyLiesBesideIt) {
    ScratchDir scratch(false);
    std::string text;
    for (int line = 0; line < 200; ++line) {
        text += "line " + std::to_string(line) + "\n";
    }
    WriteWholeFile(scratch.File("page.txt"), text);
    WriteWholeFile(scratch.File("page.txt.gz"), "packed long after");
    server::StaticFiles site(scratch.Path());
    server::HttpRequest request;
    request.method = "GET";
    request.path = "/page.txt";
    request.headers = {{"Accept-Encoding", "gzip"}, {"Range", "bytes=10-19"}};
    server::HttpResponse resumed;
    site.Serve(request, resumed);
    EXPECT_EQ(resumed.status, 206);
    ASSERT_TRUE(resumed.file);
    EXPECT_EQ(resumed.file->Offset(), 10u);
    EXPECT_EQ(resumed.file->Size(), 10u);
    request.headers.pop_back();
    server::HttpResponse whole;
    site.Serve(request, whole);
    EXPECT_EQ(whole.status, 200);
    ASSERT_TRUE(whole.file) << "the packed copy, sent from the disk";
    EXPECT_EQ(whole.file->Size(), std::string("packed long after").size());
}

TEST(SqliteBackup, CopiesAScoreTableAndNoOtherFile) {
    ScratchDir scratch(false);
    std::string error;
    {
        auto store = server::SqliteStore::Open(scratch.File("scores.sqlite"), error);
        ASSERT_TRUE(store) << error;
        server::Posted anna;
        anna.points = 7;
        anna.name = "Anna";
        anna.replay = "bytes";
        anna.digest = "d1";
        ASSERT_TRUE(store->Add(anna, error)) << error;
    }
    EXPECT_TRUE(
        server::BackupSqlite(scratch.File("scores.sqlite"), scratch.File("copy.sqlite"), error))
        << error;
    {
        sqlite3* raw = nullptr;
        ASSERT_EQ(sqlite3_open(scratch.File("other.sqlite").c_str(), &raw), SQLITE_OK);
        server::SqlitePtr db(raw);
        ASSERT_EQ(sqlite3_exec(db.get(),
                               "CREATE TABLE notes (text TEXT); INSERT INTO notes "
                               "VALUES ('not scores')",
                               nullptr, nullptr, nullptr),
                  SQLITE_OK);
    }
    EXPECT_FALSE(
        server::BackupSqlite(scratch.File("other.sqlite"), scratch.File("wrong.sqlite"), error));
    EXPECT_NE(error.find("no score table"), std::string::npos) << error;
    EXPECT_FALSE(FileExists(scratch.File("wrong.sqlite")));
}

}  // namespace
