#pragma once

#include "toolkit/components/Persistent.h"
#include "toolkit/components/Status.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

enum class TSeekOrigin { soBeginning, soCurrent, soEnd };

// A sequence of bytes with a position. Reads and writes move the position by what they moved;
// nothing here throws: short transfers and failed seeks are reported by the return values.
class TStream : public TObject {
    VARNEL_CLASS(TStream, TObject)

public:
    // Copy up to count bytes; return how many were moved (0 at the end or on failure).
    virtual std::size_t Read(void* buffer, std::size_t count) = 0;
    virtual std::size_t Write(const void* buffer, std::size_t count) = 0;
    // Returns the new position, or -1 when the target lies before the start or the stream
    // cannot seek; the position is then unchanged.
    virtual std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) = 0;

    std::int64_t Position() { return Seek(0, TSeekOrigin::soCurrent); }
    bool SetPosition(std::int64_t position) { return Seek(position, TSeekOrigin::soBeginning) == position; }
    virtual std::int64_t Size();
    // Grows (with zero bytes) or truncates; false when the stream cannot.
    virtual bool SetSize(std::int64_t size);

    // All or nothing as far as the caller is concerned: true only when exactly count bytes moved.
    bool ReadBuffer(void* buffer, std::size_t count) { return Read(buffer, count) == count; }
    bool WriteBuffer(const void* buffer, std::size_t count) { return Write(buffer, count) == count; }
    bool WriteBuffer(std::span<const std::byte> bytes) { return WriteBuffer(bytes.data(), bytes.size()); }

    // Copies count bytes from source's current position, or, when count is 0, the whole of
    // source from its start. Returns the number of bytes copied, which is less than asked when
    // source ran out or this stream refused to take more.
    std::int64_t CopyFrom(TStream& source, std::int64_t count);

    // The rest of the stream from the current position, at most maxBytes.
    std::vector<std::byte> ReadAll(std::size_t maxBytes = SIZE_MAX);
};

// Bytes in memory that the stream does not own (or owns through a subclass). Read-only: writes
// move nothing and SetSize fails.
class TCustomMemoryStream : public TStream {
    VARNEL_CLASS(TCustomMemoryStream, TStream)

public:
    TCustomMemoryStream() = default;
    explicit TCustomMemoryStream(std::span<const std::byte> bytes) : m_view(bytes) {}

    std::size_t Read(void* buffer, std::size_t count) override;
    std::size_t Write(const void* buffer, std::size_t count) override;
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
    std::int64_t Size() override { return static_cast<std::int64_t>(m_view.size()); }

    const std::byte* Memory() const { return m_view.data(); }
    std::span<const std::byte> Bytes() const { return m_view; }
    std::string_view Text() const {
        return std::string_view(reinterpret_cast<const char*>(m_view.data()), m_view.size());
    }

    TStatus SaveToStream(TStream& dest) const;
    TStatus SaveToFile(const std::string& fileName) const;

protected:
    void SetView(std::span<const std::byte> bytes) { m_view = bytes; }
    std::size_t m_position = 0; // may lie past the end after a seek; reads there return 0

private:
    std::span<const std::byte> m_view;
};

// Bytes in memory owned by the stream; writing past the end grows it.
class TMemoryStream : public TCustomMemoryStream {
    VARNEL_CLASS(TMemoryStream, TCustomMemoryStream)

public:
    TMemoryStream() = default;
    TMemoryStream(const TMemoryStream&) = delete;
    TMemoryStream& operator=(const TMemoryStream&) = delete;

    std::size_t Write(const void* buffer, std::size_t count) override;
    bool SetSize(std::int64_t size) override;

    void Clear();
    // Replace the contents by the whole of source (from its start) or of the file; the position
    // goes to 0. On failure the stream keeps its previous contents.
    TStatus LoadFromStream(TStream& source);
    TStatus LoadFromFile(const std::string& fileName);

    // The largest size a memory stream accepts, so that a claimed size in outside input can
    // never make it allocate without bound.
    static constexpr std::int64_t kMaxSize = std::int64_t{1} << 31;

protected:
    void Assign(std::vector<std::byte> bytes);
    std::vector<std::byte> m_data;
};

// A memory stream that starts with a copy of the given bytes.
class TBytesStream : public TMemoryStream {
    VARNEL_CLASS(TBytesStream, TMemoryStream)

public:
    TBytesStream() = default;
    explicit TBytesStream(std::span<const std::byte> bytes);
    explicit TBytesStream(std::vector<std::byte> bytes);
};

// A memory stream that starts with the bytes of a string.
class TStringStream : public TMemoryStream {
    VARNEL_CLASS(TStringStream, TMemoryStream)

public:
    TStringStream() = default;
    explicit TStringStream(std::string_view text);
    std::string DataString() const { return std::string(Text()); }
};

enum TFileMode : unsigned {
    fmOpenRead = 0x0000,
    fmOpenWrite = 0x0001,
    fmOpenReadWrite = 0x0002,
    fmCreate = 0xFF00, // create or truncate, then read and write
};

// A file on disk. Opening never locks the file: others may read and write it meanwhile. A
// stream that failed to open reports why through Error() and moves no bytes.
class TFileStream : public TStream {
    VARNEL_CLASS(TFileStream, TStream)

public:
    TFileStream(std::string fileName, unsigned mode);
    ~TFileStream() override;
    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;

    bool IsOpen() const { return m_fd >= 0; }
    // Why the file did not open, or why the last transfer fell short: the file name and the
    // system's message. Empty when nothing failed.
    const std::string& Error() const { return m_error; }
    TStatus Status() const { return m_error.empty() ? TStatus::Ok() : TStatus::Fail(m_error); }
    const std::string& FileName() const { return m_fileName; }

    std::size_t Read(void* buffer, std::size_t count) override;
    std::size_t Write(const void* buffer, std::size_t count) override;
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
    std::int64_t Size() override;
    bool SetSize(std::int64_t size) override;

private:
    void Fail(const char* what, int err);

    std::string m_fileName;
    int m_fd = -1;
    std::string m_error;
};

// The bytes of a resource compiled into the program (see FindEmbeddedResource), read-only.
class TResourceStream : public TCustomMemoryStream {
    VARNEL_CLASS(TResourceStream, TCustomMemoryStream)

public:
    explicit TResourceStream(std::string_view name);

    bool IsOpen() const { return m_found; }
    // "Resource NAME not found" when there is no such resource; empty otherwise.
    const std::string& Error() const { return m_error; }
    TStatus Status() const { return m_found ? TStatus::Ok() : TStatus::Fail(m_error); }

private:
    bool m_found = false;
    std::string m_error;
};
