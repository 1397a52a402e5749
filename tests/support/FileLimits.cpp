#include "FileLimits.h"

#include <sys/xattr.h>

#include <fstream>

namespace tavelo::test {

bool UserAttributesWork(const std::filesystem::path& directory) {
    const std::filesystem::path probe = directory / ".xattr-probe";
    std::ofstream(probe).put('x');
    const bool works = ::setxattr(probe.c_str(), "user.tavelo-probe", "1", 1, 0) == 0;
    std::error_code ignored;
    std::filesystem::remove(probe, ignored);
    return works;
}

FileSizeLimit::FileSizeLimit(rlim_t bytes) {
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGXFSZ, &ignore, &previousAction_);
    getrlimit(RLIMIT_FSIZE, &previous_);
    rlimit limit = previous_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &previous_);
    sigaction(SIGXFSZ, &previousAction_, nullptr);
}

}  // namespace tavelo::test
