#pragma once

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "sim/params.h"

namespace zibs::testing {

struct Ran {
    int status;
    std::string out, err;
};

inline std::string slurp(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), {}};
}

// The cases of tests/data/<name>, one a line, fields apart by tabs; blank and # lines left out.
inline std::vector<std::vector<std::string>> cases(const std::string& name) {
    std::vector<std::vector<std::string>> out;
    std::istringstream in(slurp(ZIBS_TEST_DATA "/" + name));
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::vector<std::string>& row = out.emplace_back();
        std::istringstream fields(line);
        for (std::string f; std::getline(fields, f, '\t');) row.push_back(f);
    }
    EXPECT_FALSE(out.empty()) << name;
    return out;
}

// Parameter texts in window order apart by "|"; the ones left out as the window starts.
inline ParameterTexts textsOf(const std::string& line) {
    ParameterTexts t;
    std::istringstream in(line);
    std::string text;
    for (std::string* f : {&t.startpop, &t.repro, &t.grass, &t.grow, &t.rad, &t.mute})
        if (std::getline(in, text, '|')) *f = text;
    return t;
}

// Runs a shell command line; its standard output and error are read back apart.
inline Ran shell(const std::string& line) {
    const std::string base = ::testing::TempDir() + "zibs-shell-" + std::to_string(getpid());
    const int raw = std::system(("{ " + line + "; } >" + base + ".out 2>" + base + ".err").c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, slurp(base + ".out"), slurp(base + ".err")};
}

// Files may grow to `bytes` at most while it lives; a write beyond fails with EFBIG, as on a
// full disk.
struct FileSizeLimit {
    rlimit old_{};
    void (*signal_)(int);

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
};

}  // namespace zibs::testing
