#include "skin/core/SUIThemeFileReader.h"
#include "skin/core/SUIThemeFileWriter.h"
#include "tests/skin/core/ThemeFileBytes.h"

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

std::unique_ptr<TsuiThemeFileReader> ParseOk(const std::vector<std::byte>& bytes) {
    std::unique_ptr<TsuiThemeFileReader> reader;
    TStatus status = TsuiThemeFileReader::Parse(bytes, reader);
    EXPECT_TRUE(status.IsOk()) << status.Message();
    return reader;
}

std::string ParseError(const std::vector<std::byte>& bytes) {
    std::unique_ptr<TsuiThemeFileReader> reader;
    TStatus status = TsuiThemeFileReader::Parse(bytes, reader);
    EXPECT_FALSE(status.IsOk());
    EXPECT_EQ(reader, nullptr);
    return status.Message();
}

std::string StreamText(TStream* stream) {
    if (!stream) {
        return "<none>";
    }
    std::vector<std::byte> bytes = stream->ReadAll();
    return std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

} // namespace

TEST(ThemeFileReader, TheLastRecordOfTheChainOnlyEndsIt) {
    // FirstEntry -> A (Next -> B) -> B (Next 0): A is an entry, B is the terminator.
    TThemeFileBytes file(24 + 4 + 4 + 77 * 2, 32);
    file.U32(24, 7);
    file.U32(28, 9);
    file.Record(32, "FormMinWidthInt", 1, 24, 4, 32 + 77);
    file.Record(32 + 77, "FormBorderWidthInt", 1, 28, 4, 0);
    auto reader = ParseOk(file.Bytes);
    ASSERT_TRUE(reader);
    EXPECT_EQ(reader->GetInteger("FormMinWidthInt"), 7);
    EXPECT_EQ(reader->GetInteger("FormBorderWidthInt"), -1);
    ASSERT_EQ(reader->Records().size(), 1u);
    EXPECT_EQ(reader->Records()[0].RecordOffset, 32u);
}

TEST(ThemeFileReader, RecordsMayLieAnywhereAndInAnyOrder) {
    // The chain runs backwards through the file and starts after a longer header.
    TThemeFileBytes file(500, 400, 40);
    file.Put(40, "BMxyz");
    file.Bytes[50] = std::byte{0};
    file.Put(60, "hello");
    file.Record(400, "ButtonImage", 0, 40, 5, 300);
    file.Record(300, "ButtonTransparentBool", 2, 50, 1, 200);
    file.Record(200, "Note", 3, 60, 5, 100);
    file.Record(100, "", 0, 0, 0, 0);
    auto reader = ParseOk(file.Bytes);
    ASSERT_TRUE(reader);
    EXPECT_EQ(StreamText(reader->GetStream("ButtonImage")), "BMxyz");
    EXPECT_FALSE(reader->GetBoolean("ButtonTransparentBool"));
    EXPECT_TRUE(reader->Contains(TsuiThemeEntryType::Boolean, "ButtonTransparentBool"));
    EXPECT_EQ(reader->GetString("Note"), "hello");
}

TEST(ThemeFileReader, NamesIgnoreLetterCaseAndTheFirstEntryOfANameWins) {
    TsuiThemeFileWriter writer;
    writer.AddInteger("buttonimage", 1); // an integer table name does not shadow the image
    writer.AddImage("buttonimage", std::as_bytes(std::span("BMfirst", 7)));
    writer.AddImage("BUTTONIMAGE", std::as_bytes(std::span("BMsecond", 8)));
    writer.AddInteger("FormMinWidthInt", 130);
    writer.AddInteger("formminwidthint", 999);
    writer.AddBoolean("flag", true);
    writer.AddBoolean("FLAG", false);
    std::vector<std::byte> bytes;
    ASSERT_TRUE(writer.Build(bytes).IsOk());
    auto reader = ParseOk(bytes);
    ASSERT_TRUE(reader);
    EXPECT_EQ(StreamText(reader->GetStream("ButtonImage")), "BMfirst");
    EXPECT_EQ(reader->GetInteger("FORMMINWIDTHINT"), 130);
    EXPECT_EQ(reader->GetInteger("ButtonImage"), 1);
    EXPECT_TRUE(reader->GetBoolean("Flag"));
    std::vector<bool> used;
    for (const auto& record : reader->Records()) {
        used.push_back(record.Used);
    }
    EXPECT_EQ(used, (std::vector<bool>{true, true, false, true, false, true, false}));
}

TEST(ThemeFileReader, ValuesAndAbsentNames) {
    TThemeFileBytes file(24 + 6 + 77 * 4, 30);
    file.U32(24, 0xFFFFFFFE); // -2, signed
    file.Bytes[28] = std::byte{255};
    file.Bytes[29] = std::byte{0};
    const std::uint32_t r = 30;
    file.Record(r, "TitleBarButtonRightOffsetInt", 1, 24, 4, r + 77);
    file.Record(r + 77, "A", 2, 28, 1, r + 154);
    file.Record(r + 154, "B", 2, 29, 1, r + 231);
    file.Record(r + 231, "", 0, 0, 0, 0);
    auto reader = ParseOk(file.Bytes);
    ASSERT_TRUE(reader);
    EXPECT_EQ(reader->GetInteger("TitleBarButtonRightOffsetInt"), -2);
    EXPECT_TRUE(reader->GetBoolean("A")); // any byte but 0 is true
    EXPECT_FALSE(reader->GetBoolean("B"));
    EXPECT_FALSE(reader->GetBoolean("Missing"));
    EXPECT_EQ(reader->GetInteger("Missing"), -1);
    EXPECT_EQ(reader->GetStream("Missing"), nullptr);
    EXPECT_EQ(reader->GetString("Missing"), std::nullopt);
}

TEST(ThemeFileReader, StreamsAreRewoundOnEveryRequest) {
    TsuiThemeFileWriter writer;
    writer.AddImage("Img", std::as_bytes(std::span("BMabc", 5)));
    std::vector<std::byte> bytes;
    ASSERT_TRUE(writer.Build(bytes).IsOk());
    auto reader = ParseOk(bytes);
    ASSERT_TRUE(reader);
    EXPECT_EQ(StreamText(reader->GetStream("Img")), "BMabc");
    EXPECT_EQ(StreamText(reader->GetStream("img")), "BMabc");
}

TEST(ThemeFileReader, ANameFillingTheWholeFieldAndUnknownTypes) {
    const std::string longName(64, 'k');
    TThemeFileBytes file(24 + 4 + 77 * 3, 28);
    file.U32(24, 5);
    file.Record(28, longName, 1, 24, 4, 28 + 77);
    // Type 9 carries nothing, so its absurd data offset is never looked at.
    file.Record(28 + 77, "Odd", 9, 0xFFFFFFF0, 0xFFFFFFF0, 28 + 154);
    file.Record(28 + 154, "", 0, 0, 0, 0);
    auto reader = ParseOk(file.Bytes);
    ASSERT_TRUE(reader);
    EXPECT_EQ(reader->GetInteger(longName), 5);
    ASSERT_EQ(reader->Records().size(), 2u);
    EXPECT_FALSE(reader->Records()[1].Used);
    EXPECT_TRUE(reader->Data(reader->Records()[1]).empty());
}

TEST(ThemeFileReader, DamagedFilesAreRefusedWithWhatIsWrong) {
    struct TCase {
        const char* what;
        TThemeFileBytes file;
        const char* message;
    };
    auto make = [](auto change) {
        TThemeFileBytes file(24 + 4 + 77 * 2, 28);
        file.U32(24, 1);
        file.Record(28, "N", 1, 24, 4, 28 + 77);
        file.Record(28 + 77, "", 0, 0, 0, 0);
        change(file);
        return file;
    };
    std::vector<TCase> cases = {
        {"short header", TThemeFileBytes(20), "too short for the 24-byte header"},
        {"header size below 24", make([](auto& f) { f.U32(12, 16); }), "fewer than its 24"},
        {"header size past the end", make([](auto& f) { f.U32(12, 5000); }), "header claims 5000 bytes"},
        {"first record past the end", make([](auto& f) { f.U32(20, 1000); }),
         "record at offset 1000 runs past"},
        {"first record cut short", make([](auto& f) { f.U32(20, 28 + 78); }),
         "record at offset 106 runs past"},
        {"huge first offset", make([](auto& f) { f.U32(20, 0xFFFFFFFF); }), "record at offset 4294967295"},
        {"next past the end", make([](auto& f) { f.U32(28 + 73, 9999); }), "record at offset 9999 runs past"},
        {"loop to itself", make([](auto& f) { f.U32(28 + 73, 28); }),
         "comes back to the record at offset 28"},
        {"data past the end", make([](auto& f) { f.U32(28 + 65, 200); }), "runs past the end of the file"},
        {"data size overflows 32 bits", make([](auto& f) {
             f.Bytes[28 + 64] = std::byte{0};
             f.U32(28 + 65, 0xFFFFFFF0);
             f.U32(28 + 69, 0x20);
         }),
         "4294967280"},
        {"integer of 2 bytes", make([](auto& f) { f.U32(28 + 69, 2); }),
         "integer entry \"N\" holds 2 bytes instead of 4"},
        {"integer of 8 bytes", make([](auto& f) { f.U32(28 + 69, 8); }), "holds 8 bytes instead of 4"},
        {"boolean of 4 bytes", make([](auto& f) { f.Bytes[28 + 64] = std::byte{2}; }),
         "boolean entry \"N\" holds 4 bytes instead of 1"},
        {"terminator cut off", make([](auto& f) { f.Bytes.resize(28 + 77 + 40); }),
         "record at offset 105 runs past"},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_NE(ParseError(c.file.Bytes).find(c.message), std::string::npos) << ParseError(c.file.Bytes);
    }
}

TEST(ThemeFileReader, ALoopThroughSeveralRecordsIsRefused) {
    TThemeFileBytes file(24 + 77 * 3);
    file.Record(24, "A", 3, 0, 0, 24 + 77);
    file.Record(24 + 77, "B", 3, 0, 0, 24 + 154);
    file.Record(24 + 154, "C", 3, 0, 0, 24 + 77);
    EXPECT_NE(ParseError(file.Bytes).find("comes back to the record at offset 101"), std::string::npos);
}

TEST(ThemeFileReader, AChainLongerThanAnyThemeIsRefused) {
    // A chain that never repeats an offset but holds far more entries than a theme has.
    const std::size_t count = TsuiThemeFileReader::kMaxRecords + 10;
    TThemeFileBytes file(24 + (count + 1) * 77);
    for (std::size_t i = 0; i < count; ++i) {
        file.Record(24 + i * 77, "x", 9, 0, 0, static_cast<std::uint32_t>(24 + (i + 1) * 77));
    }
    EXPECT_NE(ParseError(file.Bytes).find("more than 65536 entries"), std::string::npos);
}

TEST(ThemeFileReader, LoadingAFileNamesItInEveryFailure) {
    const std::string dir = testing::TempDir() + "theme-reader-" + std::to_string(::getpid());
    std::filesystem::create_directories(dir);
    std::unique_ptr<TsuiThemeFileReader> reader;

    TStatus missing = TsuiThemeFileReader::Load(dir + "/none.theme", reader);
    EXPECT_FALSE(missing.IsOk());
    EXPECT_NE(missing.Message().find("none.theme"), std::string::npos);

    TStatus folder = TsuiThemeFileReader::Load(dir, reader);
    EXPECT_NE(folder.Message().find("not a regular file"), std::string::npos) << folder.Message();

    const std::string damaged = dir + "/damaged.theme";
    std::ofstream(damaged) << "too short";
    TStatus status = TsuiThemeFileReader::Load(damaged, reader);
    EXPECT_NE(status.Message().find("damaged.theme"), std::string::npos);
    EXPECT_NE(status.Message().find("too short"), std::string::npos);
    EXPECT_EQ(reader, nullptr);

    TsuiThemeFileWriter writer;
    writer.AddInteger("X", 42);
    ASSERT_TRUE(writer.SaveToFile(dir + "/good.theme").IsOk());
    ASSERT_TRUE(TsuiThemeFileReader::Load(dir + "/good.theme", reader).IsOk());
    ASSERT_TRUE(reader);
    EXPECT_EQ(reader->GetInteger("x"), 42);
    std::filesystem::remove_all(dir);
}

TEST(ThemeFileWriter, RefusesNamesTheFormatCannotHold) {
    TsuiThemeFileWriter writer;
    EXPECT_FALSE(writer.AddInteger(std::string(65, 'a'), 1));
    EXPECT_FALSE(writer.AddInteger(std::string("a\0b", 3), 1));
    EXPECT_TRUE(writer.AddInteger(std::string(64, 'a'), 1));
    EXPECT_EQ(writer.EntryCount(), 1u);
}

TEST(ThemeFileReader, TheFuzzSeedsAreJudgedByTheirNames) {
    // The seed corpus of the reader's fuzz target holds valid files and damaged ones, named so.
    const std::filesystem::path corpus = std::filesystem::path(VARNEL_FUZZ_DIR) / "theme" / "corpus";
    int seen = 0;
    for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
        const std::string name = entry.path().filename().string();
        SCOPED_TRACE(name);
        std::unique_ptr<TsuiThemeFileReader> reader;
        TStatus status = TsuiThemeFileReader::Load(entry.path().string(), reader);
        EXPECT_EQ(status.IsOk(), name.starts_with("valid")) << status.Message();
        ++seen;
    }
    EXPECT_GE(seen, 8);
}
