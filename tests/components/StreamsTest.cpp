#include "toolkit/components/Streams.h"

#include "toolkit/components/Resources.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

std::string Read(TStream& s, std::size_t n) {
    std::string out(n, '\0');
    out.resize(s.Read(out.data(), n));
    return out;
}

// A fresh directory per test, removed afterwards.
class TempDir {
public:
    TempDir() {
        char pattern[] = "/tmp/varnel-streams-XXXXXX";
        m_path = mkdtemp(pattern);
    }
    ~TempDir() { std::filesystem::remove_all(m_path); }
    std::string File(const char* name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

} // namespace

TEST(MemoryStream, WritesGrowAndSeeksPastTheEndLeaveAGapOfZeros) {
    TMemoryStream s;
    EXPECT_TRUE(s.WriteBuffer("abc", 3));
    EXPECT_EQ(s.Position(), 3);
    EXPECT_EQ(s.Seek(2, TSeekOrigin::soCurrent), 5);
    EXPECT_EQ(s.Size(), 3); // seeking alone does not grow
    EXPECT_TRUE(s.WriteBuffer("z", 1));
    EXPECT_EQ(s.Size(), 6);
    ASSERT_TRUE(s.SetPosition(0));
    EXPECT_EQ(Read(s, 10), std::string("abc\0\0z", 6));
    EXPECT_EQ(Read(s, 10), ""); // at the end
}

TEST(MemoryStream, SeekBeforeTheStartFailsAndKeepsThePosition) {
    TStringStream s("hello");
    s.SetPosition(2);
    EXPECT_EQ(s.Seek(-3, TSeekOrigin::soCurrent), -1);
    EXPECT_EQ(s.Seek(-6, TSeekOrigin::soEnd), -1);
    EXPECT_EQ(s.Seek(INT64_MAX, TSeekOrigin::soCurrent), -1);
    EXPECT_EQ(s.Position(), 2);
    EXPECT_EQ(s.Seek(-2, TSeekOrigin::soEnd), 3);
    EXPECT_EQ(Read(s, 5), "lo");
}

TEST(MemoryStream, ReadBufferReportsAShortReadAsFailure) {
    TStringStream s("abcd");
    char buf[8];
    EXPECT_TRUE(s.ReadBuffer(buf, 3));
    EXPECT_FALSE(s.ReadBuffer(buf, 3));
    EXPECT_EQ(s.Position(), 4);
}

TEST(MemoryStream, SetSizeTruncatesPullsThePositionBackAndRefusesAbsurdSizes) {
    TStringStream s("abcdef");
    s.SetPosition(6);
    EXPECT_TRUE(s.SetSize(2));
    EXPECT_EQ(s.Position(), 2);
    EXPECT_EQ(s.DataString(), "ab");
    EXPECT_FALSE(s.SetSize(-1));
    EXPECT_FALSE(s.SetSize(TMemoryStream::kMaxSize + 1));
    EXPECT_EQ(s.DataString(), "ab");
    EXPECT_TRUE(s.SetSize(4));
    EXPECT_EQ(s.DataString(), std::string("ab\0\0", 4));
}

TEST(MemoryStream, ReadOnlyViewRefusesWrites) {
    const char text[] = "view";
    TCustomMemoryStream s(std::as_bytes(std::span(text, 4)));
    EXPECT_EQ(s.Write("x", 1), 0u);
    EXPECT_FALSE(s.SetSize(1));
    EXPECT_EQ(Read(s, 10), "view");
}

TEST(Stream, CopyFromWithZeroCountCopiesTheWholeSourceFromItsStart) {
    TStringStream source("0123456789");
    source.SetPosition(7);
    TMemoryStream dest;
    EXPECT_EQ(dest.CopyFrom(source, 0), 10);
    EXPECT_EQ(std::string(dest.Text()), "0123456789");

    source.SetPosition(4);
    TMemoryStream part;
    EXPECT_EQ(part.CopyFrom(source, 3), 3);
    EXPECT_EQ(std::string(part.Text()), "456");
    EXPECT_EQ(part.CopyFrom(source, 100), 3); // only what is left
    EXPECT_EQ(std::string(part.Text()), "456789");
}

TEST(Stream, CopyFromIntoAReadOnlyStreamCopiesNothing) {
    TStringStream source("abc");
    TCustomMemoryStream view;
    EXPECT_EQ(view.CopyFrom(source, 0), 0);
}

TEST(FileStream, MissingFileReportsItsNameAndTheSystemMessage) {
    TempDir dir;
    std::string name = dir.File("absent.bin");
    TFileStream s(name, fmOpenRead);
    EXPECT_FALSE(s.IsOpen());
    EXPECT_NE(s.Error().find(name), std::string::npos);
    EXPECT_NE(s.Error().find("No such file or directory"), std::string::npos);
    char c;
    EXPECT_EQ(s.Read(&c, 1), 0u);
    EXPECT_EQ(s.Seek(0, TSeekOrigin::soEnd), -1);

    TMemoryStream m;
    m.WriteBuffer("keep", 4);
    TStatus status = m.LoadFromFile(name);
    EXPECT_FALSE(status);
    EXPECT_NE(status.Message().find(name), std::string::npos);
    EXPECT_EQ(std::string(m.Text()), "keep"); // a failed load loses nothing
}

TEST(FileStream, DirectoryIsRefused) {
    TempDir dir;
    TFileStream s(dir.File(""), fmOpenRead);
    EXPECT_FALSE(s.IsOpen());
    EXPECT_NE(s.Error().find("Is a directory"), std::string::npos);
}

TEST(FileStream, SaveThenLoadRoundTripsBytesAndSizes) {
    TempDir dir;
    std::string name = dir.File("data.bin");
    TMemoryStream out;
    for (int i = 0; i < 70000; ++i) { // more than one copy buffer
        std::uint8_t b = static_cast<std::uint8_t>(i * 7);
        out.WriteBuffer(&b, 1);
    }
    ASSERT_TRUE(out.SaveToFile(name));

    TMemoryStream in;
    ASSERT_TRUE(in.LoadFromFile(name));
    ASSERT_EQ(in.Size(), 70000);
    EXPECT_EQ(in.Position(), 0);
    EXPECT_TRUE(std::equal(in.Bytes().begin(), in.Bytes().end(), out.Bytes().begin()));

    TFileStream file(name, fmOpenReadWrite);
    ASSERT_TRUE(file.IsOpen());
    EXPECT_EQ(file.Size(), 70000);
    EXPECT_TRUE(file.SetSize(10));
    EXPECT_EQ(file.Seek(0, TSeekOrigin::soEnd), 10);
}

TEST(FileStream, ReaderDoesNotLockOutAWriter) {
    TempDir dir;
    std::string name = dir.File("shared.txt");
    {
        TFileStream create(name, fmCreate);
        ASSERT_TRUE(create.WriteBuffer("one", 3));
    }
    TFileStream reader(name, fmOpenRead);
    ASSERT_TRUE(reader.IsOpen());
    TFileStream writer(name, fmOpenReadWrite);
    ASSERT_TRUE(writer.IsOpen());
    writer.Seek(0, TSeekOrigin::soEnd);
    ASSERT_TRUE(writer.WriteBuffer("two", 3));
    EXPECT_EQ(Read(reader, 10), "onetwo");
    EXPECT_EQ(reader.Write("x", 1), 0u); // opened for reading only
    EXPECT_FALSE(reader.Error().empty());
}

TEST(ResourceStream, ReadsAnEmbeddedResourceOrReportsTheMissingName) {
    TResourceStream missing("NO_SUCH_RESOURCE_ANYWHERE");
    EXPECT_FALSE(missing.IsOpen());
    EXPECT_EQ(missing.Error(), "Resource NO_SUCH_RESOURCE_ANYWHERE not found");
    EXPECT_EQ(missing.Size(), 0);

    for (const std::string& name : EmbeddedResourceNames()) {
        TResourceStream s(name);
        ASSERT_TRUE(s.IsOpen()) << name;
        EXPECT_EQ(static_cast<std::size_t>(s.Size()), FindEmbeddedResource(name)->size());
    }
}

TEST(ClassInformation, StreamsKnowTheirClassAndAncestry) {
    TStringStream s("x");
    EXPECT_EQ(s.ClassName(), "TStringStream");
    EXPECT_TRUE(s.InheritsFrom<TMemoryStream>());
    EXPECT_TRUE(s.InheritsFrom("TStream"));
    EXPECT_TRUE(s.InheritsFrom<TObject>());
    EXPECT_FALSE(s.InheritsFrom<TFileStream>());
    EXPECT_FALSE(s.InheritsFrom<TPersistent>());
    EXPECT_EQ(TStringStream::StaticClassInfo().Parent(), &TMemoryStream::StaticClassInfo());
}
