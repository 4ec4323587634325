#pragma once

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

namespace zibs::testing {

struct Ran {
    int status;
    std::string out, err;
};

inline std::string slurp(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), {}};
}

// Runs a shell command line; its standard output and error are read back apart.
inline Ran shell(const std::string& line) {
    const std::string base = ::testing::TempDir() + "zibs-shell-" + std::to_string(getpid());
    const int raw = std::system(("{ " + line + "; } >" + base + ".out 2>" + base + ".err").c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, slurp(base + ".out"), slurp(base + ".err")};
}

// Files may grow to `bytes` at most while it lives; a write beyond fails with EFBIG, as on a
// full disk.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old_);
        signal_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = old_;
        small.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &small);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, signal_);
    }

  private:
    rlimit old_{};
    void (*signal_)(int);
};

}  // namespace zibs::testing
