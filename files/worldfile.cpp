#include "files/worldfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <nlohmann/json.hpp>

#include "files/filewriter.h"
#include "files/worldlayout.h"
#include "runtime/convert.h"

namespace zibs {

namespace {

// A JSON string. Bytes that are not UTF-8 become U+FFFD; the number at the start of a parameter
// text, all ASCII, stays as it was.
std::string quoted(const std::string& text) {
    return nlohmann::json(text).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

// Numbers separated by ", ", a line break after every `perLine` of them.
template <typename Range>
void appendNumbers(std::string& out, const Range& values, std::size_t perLine, const char* indent) {
    std::size_t n = 0;
    for (const auto v : values) {
        if (n > 0) out += n % perLine == 0 ? std::string(",\n") + indent : std::string(", ");
        out += std::to_string(v);
        ++n;
    }
}

template <typename Range>
void appendNumberArray(std::string& out, const char* key, const Range& values,
                       std::size_t perLine) {
    out += std::string("    \"") + key + "\": [\n      ";
    appendNumbers(out, values, perLine, "      ");
    out += "\n    ]";
}

void appendParameters(std::string& out, const SavedWorld& s) {
    out += "  \"parameters\": {\n    \"texts\": {";
    for (std::size_t i = 0; i < parameterFields.size(); ++i) {
        out += std::string(i ? ", " : "") + "\"" + parameterFields[i].key +
               "\": " + quoted(s.texts.*parameterFields[i].text);
    }
    out += "},\n    \"values\": {";
    for (std::size_t i = 0; i < parameterFields.size(); ++i) {
        out += std::string(i ? ", " : "") + "\"" + parameterFields[i].key +
               "\": " + std::to_string(s.params.*parameterFields[i].value);
    }
    out += "}\n  },\n";
}

void appendWorld(std::string& out, const World& w) {
    out += "  \"world\": {\n";
    for (const GlobalField& g : globalFields) {
        out += std::string("    \"") + g.key + "\": " + std::to_string(w.*g.member) + ",\n";
    }
    std::vector<Integer> amounts, spares;
    for (const GrassCell& g : w.grass) {
        amounts.push_back(g.amount);
        spares.push_back(g.spare);
    }
    appendNumberArray(out, "grass", amounts, gridSize);
    out += ",\n";
    appendNumberArray(out, "grass_spare", spares, gridSize);
    // Records that never held a zib are all zero and left out.
    out += ",\n    \"zibs\": [";
    const char* separator = "\n";
    for (int i = 1; i <= lastRecord; ++i) {
        if (w.zibs[i] == Zib{}) continue;
        out += std::string(separator) + "      [" + std::to_string(i) + ", ";
        appendNumbers(out, zibNumbers(w.zibs[i]), zibNumberCount, "");
        out += "]";
        separator = ",\n";
    }
    out += "\n";
    out += "    ]\n  },\n";
}

// The lineage as five lists of the same length, one entry per identity, 1 first.
void appendLineage(std::string& out, const Lineage& lineage) {
    std::vector<std::int32_t> parents;
    std::vector<Integer> origins, destructions, records;
    std::string bodies;
    for (ZibId id = 1; id <= lineage.size(); ++id) {
        const Lineage::Entry& e = lineage[id];
        parents.push_back(e.parent);
        origins.push_back(e.origin);
        destructions.push_back(e.destruction);
        records.push_back(e.record);
        if (id > 1) bodies += (id - 1) % 8 == 0 ? ",\n      " : ", ";
        bodies += '"';
        bodies.append(e.body.data(), e.body.size());
        bodies += '"';
    }
    out += "  \"lineage\": {\n";
    appendNumberArray(out, "parent", parents, 20);
    out += ",\n";
    appendNumberArray(out, "origin", origins, 20);
    out += ",\n";
    appendNumberArray(out, "destruction", destructions, 20);
    out += ",\n";
    appendNumberArray(out, "record", records, 20);
    out += ",\n    \"body\": [\n      " + bodies + "\n    ]\n  },\n";
}

void appendHistory(std::string& out, const StatsHistory& history) {
    out += "  \"history\": [\n";
    for (std::size_t i = 0; i < history.size(); ++i) {
        out += "    [";
        appendNumbers(out, statsNumbers(history[i]), statsNumberCount, "");
        out += i + 1 < history.size() ? "],\n" : "]\n";
    }
    out += "  ]\n";
}

}  // namespace

std::string worldText(const SavedWorld& s) {
    std::string out =
        "{\n  \"format\": \"zibs-world\",\n  \"version\": " + std::to_string(worldFormatVersion) +
        ",\n  \"seed\": " + std::to_string(s.seed) + ",\n";
    appendParameters(out, s);
    out += "  \"generator\": [\n    ";
    appendNumbers(out, s.generator, 8, "    ");
    out += "\n  ],\n";
    appendWorld(out, s.world);
    appendLineage(out, s.lineage);
    appendHistory(out, s.history);
    out += "}\n";
    return out;
}

WorldRead loadWorld(const std::string& path) {
    const auto refused = [&](const std::string& problem) {
        return WorldRead{std::nullopt,
                         "\"" + escapedText(path) + "\" cannot be opened as a world: " + problem};
    };
    // Without blocking: a FIFO with no writer would hold the open forever.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return refused(std::strerror(errno));
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        const int error = errno;
        ::close(fd);
        if (S_ISDIR(info.st_mode)) return refused(std::strerror(EISDIR));
        return refused(info.st_mode ? "it is not a regular file (a device, a FIFO or a socket)"
                                    : std::strerror(error));
    }
    // Read one byte past the limit at most, so that a larger file is refused unread.
    std::string text;
    text.reserve(std::min<std::size_t>(static_cast<std::size_t>(info.st_size), worldFileLimit) + 1);
    char buffer[65536];
    while (text.size() <= worldFileLimit) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            const int error = errno;
            ::close(fd);
            return refused(std::strerror(error));
        }
        if (n == 0) break;
        text.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    WorldRead read = readWorld(text);
    return read.saved ? read : refused(read.error);
}

std::optional<std::string> saveWorld(const std::string& path, const SavedWorld& saved) {
    try {
        FileWriter file(path);
        return saveWorld(file, path, saved);
    } catch (const FileWriter::FileError& e) {
        return e.what();
    }
}

std::optional<std::string> saveWorld(FileWriter& file, const std::string& path,
                                     const SavedWorld& saved) {
    const std::string problem = worldProblem(saved);
    if (!problem.empty()) {
        return "\"" + escapedText(path) +
               "\" could not be written: the world cannot be saved: " + problem;
    }
    try {
        file.write(worldText(saved));
        file.commit();
        return std::nullopt;
    } catch (const FileWriter::FileError& e) {
        return e.what();
    }
}

}  // namespace zibs
