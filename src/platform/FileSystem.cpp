#include "platform/FileSystem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <vector>

namespace tavelo {
namespace {

constexpr const char* kDosAttributeName = "user.DOSATTRIB";
// Hidden, system and archive: the marks that live in the extended attribute.
constexpr std::uint32_t kMarkAttributes = kFileHidden | kFileSystem | kFileArchive;
constexpr mode_t kAllWriteBits = S_IWUSR | S_IWGRP | S_IWOTH;

// Owns one open file descriptor.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd = -1) : fd_(fd) {}
    ~FileDescriptor() { Close(); }
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.Release()) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept {
        if (this != &other) {
            Close();
            fd_ = other.Release();
        }
        return *this;
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    int Release() {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }
    // Closes now and tells whether the close went well (a delayed write error shows here).
    bool Close() {
        if (fd_ < 0) {
            return true;
        }
        const int fd = Release();
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

struct RunDirectoryOverride {
    std::mutex mutex;
    Text directory;
};

RunDirectoryOverride& Override() {
    static RunDirectoryOverride instance;
    return instance;
}

Text ExecutablePath() {
    std::vector<char> buffer(256);
    for (;;) {
        const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0) {
            return {};
        }
        if (static_cast<std::size_t>(length) < buffer.size()) {
            return Text(buffer.data(), static_cast<std::size_t>(length));
        }
        buffer.resize(buffer.size() * 2);
    }
}

// The directory part of a path, without a trailing separator; "." for a bare name.
Text DirectoryOf(const Text& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == Text::npos) {
        return ".";
    }
    return path.substr(0, slash);
}

bool IsReadOnlyMode(mode_t mode) {
    return !S_ISDIR(mode) && (mode & kAllWriteBits) == 0;
}

bool XattrsUnsupported(int error) {
    return error == ENOTSUP || error == EOPNOTSUPP;
}

// The marks in the "0x.." text form (lower-case hex, no terminating zero). Samba's binary
// form begins with the same text followed by a zero, so both read the same.
std::uint32_t ParseDosAttributeText(std::string_view text) {
    if (text.size() < 3 || text[0] != '0' || (text[1] != 'x' && text[1] != 'X')) {
        return 0;
    }
    std::uint32_t value = 0;
    for (std::size_t i = 2; i < text.size() && i < 10; ++i) {
        const char c = text[i];
        std::uint32_t digit = 0;
        if (c >= '0' && c <= '9') {
            digit = static_cast<std::uint32_t>(c - '0');
        } else if (c >= 'a' && c <= 'f') {
            digit = static_cast<std::uint32_t>(c - 'a' + 10);
        } else if (c >= 'A' && c <= 'F') {
            digit = static_cast<std::uint32_t>(c - 'A' + 10);
        } else {
            break;
        }
        value = value * 16 + digit;
    }
    return value;
}

// Stores the hidden, system and archive marks, or removes the attribute when none is set.
bool StoreMarks(const Text& path, std::uint32_t marks) {
    if (marks == 0) {
        if (::removexattr(path.c_str(), kDosAttributeName) == 0) {
            return true;
        }
        return errno == ENODATA || XattrsUnsupported(errno);
    }
    char text[16];
    const int length = std::snprintf(text, sizeof text, "0x%x", static_cast<unsigned>(marks));
    if (::setxattr(path.c_str(), kDosAttributeName, text, static_cast<std::size_t>(length), 0) ==
        0) {
        return true;
    }
    return XattrsUnsupported(errno);
}

bool StoreReadOnly(const Text& path, const struct stat& status, bool readOnly) {
    if (S_ISDIR(status.st_mode)) {
        return true;  // A directory has no read-only mark of its own.
    }
    mode_t mode = status.st_mode & 07777;
    if (readOnly) {
        mode &= ~kAllWriteBits;
    } else if ((mode & kAllWriteBits) == 0) {
        mode |= S_IWUSR;
    }
    if (mode == (status.st_mode & 07777)) {
        return true;
    }
    return ::chmod(path.c_str(), mode) == 0;
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// Copies every extended attribute of `from` that can be copied onto the open file.
void CopyExtendedAttributes(const Text& from, int toFd) {
    const ssize_t listSize = ::listxattr(from.c_str(), nullptr, 0);
    if (listSize <= 0) {
        return;
    }
    std::vector<char> names(static_cast<std::size_t>(listSize));
    const ssize_t got = ::listxattr(from.c_str(), names.data(), names.size());
    if (got <= 0) {
        return;
    }
    std::vector<char> value;
    for (std::size_t at = 0; at < static_cast<std::size_t>(got);) {
        const char* name = names.data() + at;
        at += std::char_traits<char>::length(name) + 1;
        const ssize_t size = ::getxattr(from.c_str(), name, nullptr, 0);
        if (size < 0) {
            continue;
        }
        value.resize(static_cast<std::size_t>(size));
        const ssize_t read = ::getxattr(from.c_str(), name, value.data(), value.size());
        if (read >= 0) {
            ::fsetxattr(toFd, name, value.data(), static_cast<std::size_t>(read), 0);
        }
    }
}

// A name for a temporary file beside `path`, different at every call.
Text TemporaryNameBeside(const Text& path) {
    static std::atomic<unsigned> counter{0};
    const std::size_t slash = path.find_last_of('/');
    const Text directory = slash == Text::npos ? Text() : path.substr(0, slash + 1);
    const Text name = slash == Text::npos ? path : path.substr(slash + 1);
    const auto ticks = static_cast<unsigned long long>(
        std::chrono::steady_clock::now().time_since_epoch().count());
    char suffix[48];
    std::snprintf(suffix, sizeof suffix, ".%d.%u.%llx.tmp", static_cast<int>(::getpid()),
                  counter.fetch_add(1), ticks & 0xFFFFFFull);
    return directory + "." + name + suffix;
}

// The path a write should replace: the target of a symbolic link, else the path itself.
Text ResolveLink(const Text& path) {
    std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr),
                                                         &std::free);
    return resolved ? Text(resolved.get()) : path;
}

void SyncDirectory(const Text& directory) {
    FileDescriptor fd(::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.valid()) {
        ::fsync(fd.get());
    }
}

}  // namespace

Text RunDirectory() {
    {
        auto& override = Override();
        std::lock_guard lock(override.mutex);
        if (!override.directory.empty()) {
            return override.directory;
        }
    }
    const Text executable = ExecutablePath();
    if (executable.empty()) {
        return ".";
    }
    // "/tavelo" lies in the root directory, which without its separator is the empty text.
    return DirectoryOf(executable);
}

void OverrideRunDirectory(const Text& directory) {
    auto& override = Override();
    std::lock_guard lock(override.mutex);
    override.directory = directory;
}

bool SetFileAttributes(const Text& path, std::uint32_t attributes) {
    attributes &= kKeptFileAttributes;
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        return false;
    }
    const bool readOnly = (attributes & kFileReadOnly) != 0;
    const std::uint32_t marks = attributes & kMarkAttributes;
    // Without write permission a user attribute cannot be changed (unless by root): store
    // the marks while the file is still writable, or after it has become writable again.
    if (readOnly) {
        const bool marked = StoreMarks(path, marks);
        return StoreReadOnly(path, status, true) && marked;
    }
    const bool writable = StoreReadOnly(path, status, false);
    return StoreMarks(path, marks) && writable;
}

std::uint32_t GetFileAttributes(const Text& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        return kInvalidFileAttributes;
    }
    std::uint32_t attributes = IsReadOnlyMode(status.st_mode) ? std::uint32_t{kFileReadOnly} : 0u;
    char text[64];
    const ssize_t length = ::getxattr(path.c_str(), kDosAttributeName, text, sizeof text);
    if (length > 0) {
        attributes |=
            ParseDosAttributeText(std::string_view(text, static_cast<std::size_t>(length))) &
            kMarkAttributes;
    }
    return attributes;
}

bool DeleteFileRefusingReadOnly(const Text& path) {
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0 || S_ISDIR(status.st_mode)) {
        return false;
    }
    if (!S_ISLNK(status.st_mode) && IsReadOnlyMode(status.st_mode)) {
        return false;
    }
    return ::unlink(path.c_str()) == 0;
}

bool WriteFileRefusingReadOnly(const Text& path, std::string_view bytes) {
    const Text target = ResolveLink(path);
    struct stat status {};
    const bool exists = ::stat(target.c_str(), &status) == 0;
    if (!exists && errno != ENOENT) {
        return false;
    }
    if (exists && (!S_ISREG(status.st_mode) || IsReadOnlyMode(status.st_mode))) {
        return false;
    }

    Text temporary;
    FileDescriptor fd;
    for (int attempt = 0; attempt < 100 && !fd.valid(); ++attempt) {
        temporary = TemporaryNameBeside(target);
        fd = FileDescriptor(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                                   exists ? S_IRUSR | S_IWUSR : 0666));
        if (!fd.valid() && errno != EEXIST) {
            return false;
        }
    }
    if (!fd.valid()) {
        return false;
    }

    bool ok = WriteAll(fd.get(), bytes);
    if (ok && exists) {
        if (::geteuid() == 0) {
            // Only root may hand a file to someone else; the owner stays who it was.
            [[maybe_unused]] const int ignored = ::fchown(fd.get(), status.st_uid, status.st_gid);
        }
        ok = ::fchmod(fd.get(), status.st_mode & 07777) == 0;
        CopyExtendedAttributes(target, fd.get());
    }
    ok = ok && ::fsync(fd.get()) == 0;
    ok = fd.Close() && ok;
    ok = ok && ::rename(temporary.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(temporary.c_str());
        return false;
    }
    SyncDirectory(DirectoryOf(target));
    return true;
}

std::optional<ByteArray> ReadWholeFile(const Text& path) {
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat status {};
    if (!fd.valid() || ::fstat(fd.get(), &status) != 0 || !S_ISREG(status.st_mode)) {
        return std::nullopt;
    }
    ByteArray content;
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd.get(), buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return std::nullopt;
        }
        if (got == 0) {
            return content;
        }
        content.append(buffer, static_cast<std::size_t>(got));
    }
}

}  // namespace tavelo
