#pragma once

// What the command lines and the output of both headless programs share.

#include <CLI/CLI.hpp>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "runtime/convert.h"

namespace zibs::tools {

// Writes to standard output; a failed write throws with the system's reason.
inline void put(std::string_view text) {
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size()) {
        throw std::system_error(errno, std::generic_category(), "cannot write the output");
    }
}

// Flushes and closes standard output, which reports what the disk refused at the last moment.
inline void finishOutput() {
    if (std::fflush(stdout) != 0 || std::fclose(stdout) != 0) {
        throw std::system_error(errno, std::generic_category(), "cannot write the output");
    }
}

// A whole number from `lowest` to `highest`: decimal digits only, no sign or blanks.
inline std::optional<long long> wholeNumber(std::string_view text, long long lowest,
                                            long long highest) {
    long long value = 0;
    if (text.empty() || text.front() == '-') return std::nullopt;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    if (value < lowest || value > highest) return std::nullopt;
    return value;
}

// A number of days: any whole number from 0 up.
inline std::optional<long long> dayCount(std::string_view text) {
    return wholeNumber(text, 0, std::numeric_limits<long long>::max());
}

// A check for an option's value: refuses what `read` cannot convert, saying what it accepts.
template <typename Read>
CLI::Validator accepting(Read read, const std::string& what) {
    return CLI::Validator(
        [read, what](std::string& text) {
            return read(text) ? std::string()
                              : "must be " + what + "; " + quotedText(text) + " is not accepted.";
        },
        "");
}

// A value is taken whole, whatever it looks like ("-1", " 5", "-5:5:1"), except that one starting
// with "--" is the next option: the value is missing.
inline const CLI::Validator givenValue(
    [](std::string& text) {
        return text.rfind("--", 0) == 0 ? "needs a value before " + quotedText(text) + "."
                                        : std::string();
    },
    "");

// Reads the command line into `app`'s options and runs `check` for the rules between options
// (throwing a CLI::ParseError to refuse). Returns the exit code when there is nothing to run:
// 0 once --help or --version is answered on standard output, 2 once a refusal is named on
// standard error; nothing when the options stand.
template <typename Check>
std::optional<int> parseCommandLine(CLI::App& app, int argc, char** argv, Check check) {
    try {
        app.parse(argc, argv);
        check();
    } catch (const CLI::CallForHelp&) {
        put(app.help());
        finishOutput();
        return 0;
    } catch (const CLI::CallForVersion& version) {
        put(std::string(version.what()) + "\n");
        finishOutput();
        return 0;
    } catch (const CLI::ParseError& e) {
        const std::string name = app.get_name();
        // The message may quote what was typed: control characters in it are escaped.
        std::fprintf(stderr, "%s: %s\nRun \"%s --help\" for the options.\n", name.c_str(),
                     escapedText(e.what()).c_str(), name.c_str());
        return 2;
    }
    return std::nullopt;
}

}  // namespace zibs::tools
