#include "toolkit/components/Streams.h"

#include "toolkit/components/Resources.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

VARNEL_CLASS_INFO(TStream)
VARNEL_CLASS_INFO(TCustomMemoryStream)
VARNEL_CLASS_INFO(TMemoryStream)
VARNEL_CLASS_INFO(TBytesStream)
VARNEL_CLASS_INFO(TStringStream)
VARNEL_CLASS_INFO(TFileStream)
VARNEL_CLASS_INFO(TResourceStream)

namespace {

// Resolves a seek against a stream of the given size and current position; -1 when the target
// lies before the start or does not fit in 63 bits.
std::int64_t SeekTarget(std::int64_t offset, TSeekOrigin origin, std::int64_t position, std::int64_t size) {
    std::int64_t base = 0;
    switch (origin) {
    case TSeekOrigin::soBeginning:
        base = 0;
        break;
    case TSeekOrigin::soCurrent:
        base = position;
        break;
    case TSeekOrigin::soEnd:
        base = size;
        break;
    }
    std::int64_t target = 0;
    if (__builtin_add_overflow(base, offset, &target) || target < 0) {
        return -1;
    }
    return target;
}

} // namespace

// --- TStream ---

std::int64_t TStream::Size() {
    std::int64_t position = Seek(0, TSeekOrigin::soCurrent);
    std::int64_t size = Seek(0, TSeekOrigin::soEnd);
    Seek(position, TSeekOrigin::soBeginning);
    return size;
}

bool TStream::SetSize(std::int64_t /*size*/) {
    return false;
}

std::int64_t TStream::CopyFrom(TStream& source, std::int64_t count) {
    if (count == 0) {
        if (source.Seek(0, TSeekOrigin::soBeginning) != 0) {
            return 0;
        }
        count = INT64_MAX;
    }
    if (count < 0) {
        return 0;
    }
    std::byte buffer[64 * 1024];
    std::int64_t copied = 0;
    while (copied < count) {
        std::size_t chunk = static_cast<std::size_t>(std::min<std::int64_t>(count - copied, sizeof buffer));
        std::size_t got = source.Read(buffer, chunk);
        if (got == 0) {
            break;
        }
        std::size_t put = Write(buffer, got);
        copied += static_cast<std::int64_t>(put);
        if (put < got) {
            break;
        }
    }
    return copied;
}

std::vector<std::byte> TStream::ReadAll(std::size_t maxBytes) {
    std::vector<std::byte> result;
    std::byte buffer[64 * 1024];
    while (result.size() < maxBytes) {
        std::size_t chunk = std::min(sizeof buffer, maxBytes - result.size());
        std::size_t got = Read(buffer, chunk);
        if (got == 0) {
            break;
        }
        result.insert(result.end(), buffer, buffer + got);
    }
    return result;
}

// --- TCustomMemoryStream ---

std::size_t TCustomMemoryStream::Read(void* buffer, std::size_t count) {
    if (m_position >= m_view.size() || count == 0) {
        return 0;
    }
    std::size_t n = std::min(count, m_view.size() - m_position);
    std::memcpy(buffer, m_view.data() + m_position, n);
    m_position += n;
    return n;
}

std::size_t TCustomMemoryStream::Write(const void* /*buffer*/, std::size_t /*count*/) {
    return 0;
}

std::int64_t TCustomMemoryStream::Seek(std::int64_t offset, TSeekOrigin origin) {
    std::int64_t target = SeekTarget(offset, origin, static_cast<std::int64_t>(m_position),
                                     static_cast<std::int64_t>(m_view.size()));
    if (target < 0 || target > TMemoryStream::kMaxSize) {
        return -1;
    }
    m_position = static_cast<std::size_t>(target);
    return target;
}

TStatus TCustomMemoryStream::SaveToStream(TStream& dest) const {
    if (!dest.WriteBuffer(m_view.data(), m_view.size())) {
        return TStatus::Fail("Stream write error");
    }
    return TStatus::Ok();
}

TStatus TCustomMemoryStream::SaveToFile(const std::string& fileName) const {
    TFileStream file(fileName, fmCreate);
    if (!file.IsOpen()) {
        return file.Status();
    }
    if (!file.WriteBuffer(m_view.data(), m_view.size())) {
        return file.Status();
    }
    return TStatus::Ok();
}

// --- TMemoryStream ---

std::size_t TMemoryStream::Write(const void* buffer, std::size_t count) {
    if (count == 0) {
        return 0;
    }
    if (m_position > static_cast<std::size_t>(kMaxSize) ||
        count > static_cast<std::size_t>(kMaxSize) - m_position) {
        return 0;
    }
    std::size_t end = m_position + count;
    if (end > m_data.size()) {
        try {
            m_data.resize(end);
        } catch (const std::bad_alloc&) {
            return 0;
        }
    }
    std::memcpy(m_data.data() + m_position, buffer, count);
    m_position = end;
    SetView(m_data);
    return count;
}

bool TMemoryStream::SetSize(std::int64_t size) {
    if (size < 0 || size > kMaxSize) {
        return false;
    }
    try {
        m_data.resize(static_cast<std::size_t>(size));
    } catch (const std::bad_alloc&) {
        return false;
    }
    SetView(m_data);
    m_position = std::min(m_position, m_data.size());
    return true;
}

void TMemoryStream::Clear() {
    m_data.clear();
    m_data.shrink_to_fit();
    m_position = 0;
    SetView(m_data);
}

void TMemoryStream::Assign(std::vector<std::byte> bytes) {
    m_data = std::move(bytes);
    m_position = 0;
    SetView(m_data);
}

TStatus TMemoryStream::LoadFromStream(TStream& source) {
    if (source.Seek(0, TSeekOrigin::soBeginning) != 0) {
        return TStatus::Fail("Stream cannot be read from its start");
    }
    std::int64_t size = source.Size();
    if (size > kMaxSize) {
        return TStatus::Fail("Stream too large to load into memory");
    }
    std::vector<std::byte> bytes;
    try {
        bytes = source.ReadAll(static_cast<std::size_t>(kMaxSize) + 1);
    } catch (const std::bad_alloc&) {
        return TStatus::Fail("Out of memory while loading a stream");
    }
    if (static_cast<std::int64_t>(bytes.size()) > kMaxSize) {
        return TStatus::Fail("Stream too large to load into memory");
    }
    Assign(std::move(bytes));
    return TStatus::Ok();
}

TStatus TMemoryStream::LoadFromFile(const std::string& fileName) {
    TFileStream file(fileName, fmOpenRead);
    if (!file.IsOpen()) {
        return file.Status();
    }
    TStatus status = LoadFromStream(file);
    if (!status) {
        return status;
    }
    // A read error part way shows as a short stream; do not pass a truncated file off as whole.
    if (!file.Error().empty()) {
        return file.Status();
    }
    return TStatus::Ok();
}

TBytesStream::TBytesStream(std::span<const std::byte> bytes) {
    Assign(std::vector<std::byte>(bytes.begin(), bytes.end()));
}

TBytesStream::TBytesStream(std::vector<std::byte> bytes) {
    Assign(std::move(bytes));
}

TStringStream::TStringStream(std::string_view text) {
    const auto* p = reinterpret_cast<const std::byte*>(text.data());
    Assign(std::vector<std::byte>(p, p + text.size()));
}

// --- TFileStream ---

TFileStream::TFileStream(std::string fileName, unsigned mode) : m_fileName(std::move(fileName)) {
    int flags = O_CLOEXEC;
    if (mode == fmCreate) {
        flags |= O_RDWR | O_CREAT | O_TRUNC;
    } else if ((mode & 3) == fmOpenWrite) {
        flags |= O_WRONLY;
    } else if ((mode & 3) == fmOpenReadWrite) {
        flags |= O_RDWR;
    } else {
        flags |= O_RDONLY;
    }
    int fd = -1;
    do {
        fd = ::open(m_fileName.c_str(), flags, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        Fail(mode == fmCreate ? "Cannot create file" : "Cannot open file", errno);
        return;
    }
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        Fail("Cannot open file", EISDIR);
        return;
    }
    m_fd = fd;
}

TFileStream::~TFileStream() {
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

void TFileStream::Fail(const char* what, int err) {
    m_error = std::string(what) + " \"" + m_fileName + "\": " + std::strerror(err);
}

std::size_t TFileStream::Read(void* buffer, std::size_t count) {
    if (m_fd < 0) {
        return 0;
    }
    std::size_t done = 0;
    auto* out = static_cast<char*>(buffer);
    while (done < count) {
        ssize_t n = ::read(m_fd, out + done, count - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            Fail("Cannot read file", errno);
            break;
        }
        if (n == 0) {
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    return done;
}

std::size_t TFileStream::Write(const void* buffer, std::size_t count) {
    if (m_fd < 0) {
        return 0;
    }
    std::size_t done = 0;
    const auto* in = static_cast<const char*>(buffer);
    while (done < count) {
        ssize_t n = ::write(m_fd, in + done, count - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            Fail("Cannot write file", errno);
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    return done;
}

std::int64_t TFileStream::Seek(std::int64_t offset, TSeekOrigin origin) {
    if (m_fd < 0) {
        return -1;
    }
    int whence = origin == TSeekOrigin::soBeginning ? SEEK_SET
                 : origin == TSeekOrigin::soCurrent ? SEEK_CUR
                                                    : SEEK_END;
    off_t result = ::lseek(m_fd, static_cast<off_t>(offset), whence);
    return result < 0 ? -1 : static_cast<std::int64_t>(result);
}

std::int64_t TFileStream::Size() {
    struct stat st {};
    if (m_fd < 0 || ::fstat(m_fd, &st) != 0) {
        return -1;
    }
    return static_cast<std::int64_t>(st.st_size);
}

bool TFileStream::SetSize(std::int64_t size) {
    if (m_fd < 0 || size < 0) {
        return false;
    }
    if (::ftruncate(m_fd, static_cast<off_t>(size)) != 0) {
        Fail("Cannot resize file", errno);
        return false;
    }
    return true;
}

// --- TResourceStream ---

TResourceStream::TResourceStream(std::string_view name) {
    if (auto bytes = FindEmbeddedResource(name)) {
        SetView(*bytes);
        m_found = true;
    } else {
        m_error = "Resource " + std::string(name) + " not found";
    }
}
