// File-system conditions for tests: whether extended attributes work in a directory, and a
// limit on file size that makes writes fail halfway, as a full disk would.
#pragma once

#include <sys/resource.h>

#include <csignal>
#include <filesystem>

namespace tavelo::test {

// True when a "user." extended attribute can be set on a file in `directory`.
bool UserAttributesWork(const std::filesystem::path& directory);

// While it lives, no file of this process can grow beyond `bytes`: a write past the limit
// fails (EFBIG) instead of raising SIGXFSZ.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit previous_{};
    struct sigaction previousAction_ {};
};

}  // namespace tavelo::test
