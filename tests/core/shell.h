#pragma once

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
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

// The parts of a text apart by `sep`: its lines with '\n', the fields of a CSV row with ','.
inline std::vector<std::string> split(const std::string& text, char sep) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string part; std::getline(in, part, sep);) out.push_back(part);
    return out;
}

// The cases of tests/data/<name>, one a line, fields apart by tabs; blank and # lines left out.
inline std::vector<std::vector<std::string>> cases(const std::string& name) {
    std::vector<std::vector<std::string>> out;
    for (const std::string& line : split(slurp(ZIBS_TEST_DATA "/" + name), '\n'))
        if (!line.empty() && line[0] != '#') out.push_back(split(line, '\t'));
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

// zibs-run with the arguments, run by the shell.
inline Ran zibsRun(const std::string& args) {
    return shell(ZIBS_RUN_PATH " " + args);
}

// A folder of its own for a test, removed with it; `path(name)` names a file in it.
struct TempFolder {
    std::filesystem::path dir;
    explicit TempFolder(const std::string& name)
        : dir(::testing::TempDir() + name + "-" + std::to_string(::getpid())) {
        std::filesystem::remove_all(dir);
        std::filesystem::create_directory(dir);
    }
    ~TempFolder() { std::filesystem::remove_all(dir); }
    std::string path(const std::string& name) const { return (dir / name).string(); }
};

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
