#pragma once

// What the command lines and the output of both headless programs share.

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <limits>
#include <memory>
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

// Fills `text` into lines of at most `width` columns, breaking only at spaces. Each line of the
// text is a paragraph of its own; one that starts with blanks keeps them, and when its first word
// is followed by two blanks or more ("  2  an option ..."), its next lines start below the word
// after them. A "~" joins two words that stay on one line, and prints as a blank: "--seed~N".
inline std::string wrapText(std::string_view text, std::size_t width) {
    std::string out;
    if (text.empty()) return out;
    for (;;) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        const std::string_view line = text.substr(0, end);
        // The blanks and, for a list entry, its first word and the blanks after it.
        std::size_t lead = line.find_first_not_of(' ');
        if (lead == std::string_view::npos) lead = line.size();
        std::size_t hang = lead;
        if (const std::size_t word = line.find(' ', lead);
            lead > 0 && word != std::string_view::npos && line.substr(word, 2) == "  ") {
            hang = line.find_first_not_of(' ', word);
        }
        std::string current(line.substr(0, hang));
        std::size_t columns = hang;
        bool first = true;  // the first word after the lead goes on its line whatever its length
        for (std::size_t at = hang; at < line.size();) {
            std::size_t next = std::min(line.find(' ', at), line.size());
            std::string word(line.substr(at, next - at));
            at = next + 1;
            if (word.empty()) continue;
            for (char& c : word)
                if (c == '~') c = ' ';
            if (!first && columns + 1 + word.size() > width) {
                out += current + '\n';
                current.assign(hang, ' ');
                columns = hang;
                first = true;
            }
            if (!first) {
                current += ' ';
                ++columns;
            }
            current += word;
            columns += word.size();
            first = false;
        }
        out += current + '\n';
        if (end == text.size()) break;
        text.remove_prefix(end + 1);
    }
    return out;
}

// CLI11's help with its texts filled to 79 columns at whole words (see wrapText): the
// description and the footer across the page, each option's help in its column.
class WrappingFormatter : public CLI::Formatter {
  public:
    static constexpr std::size_t width = 79;
    std::string make_description(const CLI::App* app) const override {
        const std::string text = CLI::Formatter::make_description(app);
        return text.empty() ? text : wrapText(text.substr(0, text.size() - 1), width);
    }
    std::string make_footer(const CLI::App* app) const override {
        const std::string footer = app->get_footer();
        return footer.empty() ? footer : wrapText(footer, width);
    }
    std::string make_option_desc(const CLI::Option* option) const override {
        std::string text = wrapText(option->get_description(), width - get_column_width());
        text.pop_back();  // the line's end comes after the option's help
        return text;
    }
};

// Reads the command line into `app`'s options and runs `check` for the rules between options
// (throwing a CLI::ParseError to refuse). Returns the exit code when there is nothing to run:
// 0 once --help or --version is answered on standard output, 2 once a refusal is named on
// standard error; nothing when the options stand.
template <typename Check>
std::optional<int> parseCommandLine(CLI::App& app, int argc, char** argv, Check check) {
    app.formatter(std::make_shared<WrappingFormatter>());
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
