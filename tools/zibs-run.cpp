// Headless runner: builds a world from the six parameter texts, or opens a saved one, and runs
// its days without windows, printing the population per day as CSV, the day's statistics with
// --stats, or the whole world state with --trace; --save writes the world after the last day,
// --phylogeny and --newick who descends from whom. The command line is read into Options first;
// run() then does the work.

#include <CLI/CLI.hpp>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <variant>
#include <vector>

#include "files/filewriter.h"
#include "files/lineagefile.h"
#include "files/worldfile.h"
#include "runtime/convert.h"
#include "runtime/random.h"
#include "sim/params.h"
#include "sim/sim.h"
#include "sim/statscsv.h"
#include "sim/trace.h"
#include "tools/commandline.h"

namespace {

using namespace zibs;
using namespace zibs::tools;

// Exit codes, as --help and the README list them.
enum ExitCode : int { finished = 0, writeFailed = 1, refused = 2, dayLimitReached = 3 };

// The help's closing text, one paragraph a line, filled to the page's width when printed; a "~"
// keeps two words on one line.
constexpr const char* footer =
    R"(The parameter texts are read as the "Variables" window reads them: the number at the start of the text, rounded to a whole number (halves to even); the defaults are those of the window.

--load continues a saved world exactly as if it had never stopped: its seed and parameters come from the file, so --seed and the parameter options cannot be given with it; the rows start with the day it was saved at. --save writes the world after the last day run, whole or not at all; its file is made before the first day, so a missing folder is reported at once.

--phylogeny writes, after the last day run, every zib the world ever had (with --load, also those the file brought) as the ALife standard phylogeny CSV, one row per zib by identity: id,ancestor_list,origin_time,destruction_time,founder,generation,body. --newick writes the same tree in Newick: every zib a node labelled with its identity, an unlabelled root joining the first zibs, branch lengths in days between births.

Standard output holds only the rows from day 0 (or the loaded day): CSV "day,population", the day's statistics with --stats (the columns day, population, births, deaths_age, deaths_hunger, stores, motors, eyes, food, grass), or the world state after every day with --trace. Messages, and the seed taken from the clock when no --seed is given ("seed~N"), go to standard error.

Exit codes:
  0  the run finished
  1  the output or the world file could not be written (the message says why)
  2  an option, a parameter or a world file was refused (the message says which and why)
  3  the day limit of 32767 cut the run short; every day run was printed (and the world saved with --save))";

// What a row holds: the population, the day's statistics or the whole world state.
enum class Rows { population, stats, trace };

struct Options {
    std::optional<std::uint32_t> seed;  // none: a seed from the clock
    std::optional<long long> days;      // none: 100 days, or until the end with toEnd
    bool toEnd = false;
    Rows rows = Rows::population;
    ParameterTexts texts;
    std::optional<std::string> load;       // a world file to continue
    std::optional<std::string> save;       // where to write the world after the last day
    std::optional<std::string> phylogeny;  // where to write the lineage as CSV
    std::optional<std::string> newick;     // where to write it as a Newick tree
};

// The six parameters in the order of the parameters window, with the text each option sets.
struct ParameterOption {
    const char* name;
    std::string ParameterTexts::*text;
    const char* help;
};
constexpr ParameterOption parameterOptions[] = {
    {"--start-population", &ParameterTexts::startpop, "\"Start population\", 0 to 100"},
    {"--repro-rate", &ParameterTexts::repro, "\"Repro rate\", -32768 to 32767"},
    {"--max-grass", &ParameterTexts::grass, "\"Max grass\", 1 to 32767"},
    {"--growth-rate", &ParameterTexts::grow, "\"Grass growth rate\", -32768 to 32767"},
    {"--radiation", &ParameterTexts::rad, "\"Radiation\", -32768 to 32767"},
    {"--mutations", &ParameterTexts::mute, "\"Cell mutations\", -32768 to 32767"},
};

// The options of the command line; or, when there is nothing to run (--help, --version, a
// refusal), the exit code after the answer is printed.
std::variant<Options, int> parseOptions(int argc, char** argv) {
    Options opt;
    CLI::App app("Runs a Zibs world without windows and prints its population day by day.",
                 "zibs-run");
    app.footer(footer);
    app.set_version_flag("--version", std::string("zibs-run ") + ZIBS_VERSION);
    // The last of a repeated option counts.
    app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);

    auto* seed = app.add_option_function<std::string>(
                        "--seed", [&](const std::string& text) { opt.seed = seedValue(text); },
                        "Seed of the world's random draws (default: from the clock)")
                     ->type_name("N")
                     ->check(givenValue)
                     ->check(accepting(seedValue, "a whole number from 0 to 4294967295"));
    auto* days = app.add_option_function<std::string>(
                        "--days", [&](const std::string& text) { opt.days = dayCount(text); },
                        "Days to run (default 100)")
                     ->type_name("N")
                     ->check(givenValue)
                     ->check(accepting(dayCount, "a whole number of days from 0 up"));
    auto* toEnd = app.add_flag("--to-end", opt.toEnd, "Run until no zib is left");
    std::vector<CLI::Option*> worldOptions = {seed};  // what a loaded world brings itself
    for (const ParameterOption& p : parameterOptions) {
        worldOptions.push_back(app.add_option(p.name, opt.texts.*p.text, p.help)
                                   ->type_name("TEXT")
                                   ->check(givenValue)
                                   ->capture_default_str());
    }
    auto* trace = app.add_flag_callback(
        "--trace", [&] { opt.rows = Rows::trace; },
        "Print the world state after every day instead of CSV");
    app.add_flag_callback(
           "--stats", [&] { opt.rows = Rows::stats; },
           "Print the day's statistics as CSV instead of the population")
        ->excludes(trace);
    auto* load = app.add_option_function<std::string>(
                        "--load", [&](const std::string& path) { opt.load = path; },
                        "Continue the world saved in FILE, from its day")
                     ->type_name("FILE")
                     ->check(givenValue);
    app.add_option_function<std::string>(
           "--save", [&](const std::string& path) { opt.save = path; },
           "Write the world to FILE after the last day run")
        ->type_name("FILE")
        ->check(givenValue);
    app.add_option_function<std::string>(
           "--phylogeny", [&](const std::string& path) { opt.phylogeny = path; },
           "Write every zib's parent, birth and death days to FILE (ALife standard CSV)")
        ->type_name("FILE")
        ->check(givenValue);
    app.add_option_function<std::string>(
           "--newick", [&](const std::string& path) { opt.newick = path; },
           "Write the tree of who descends from whom to FILE in Newick")
        ->type_name("FILE")
        ->check(givenValue);

    const std::optional<int> answered = parseCommandLine(app, argc, argv, [&] {
        if (*days && *toEnd) throw CLI::ExcludesError(days->get_name(), toEnd->get_name());
        if (*load) {
            std::string given;
            for (const CLI::Option* o : worldOptions) {
                if (*o) given += (given.empty() ? "" : ", ") + o->get_name();
            }
            if (!given.empty()) {
                throw CLI::ValidationError(
                    load->get_name(), "cannot be given with " + given +
                                          ": the world file holds its own seed and parameters");
            }
        }
    });
    if (answered) return *answered;
    return opt;
}

// Builds the world the options describe, as Initialize does. Refuses a parameter it cannot use.
std::optional<int> newWorld(const Options& opt, SavedWorld& saved, Rnd& rnd) {
    const ParameterCheck check = checkParameters(opt.texts);
    if (!check.values) {
        for (const ParameterOption& p : parameterOptions) {
            if (p.text == check.refused) {
                std::fprintf(stderr, "zibs-run: %s: %s\n", p.name, check.error.c_str());
            }
        }
        return refused;
    }
    if (opt.seed) {
        rnd.seed(*opt.seed);
    } else {
        std::fprintf(stderr, "seed %u\n", static_cast<unsigned>(rnd.seedFromTimer()));
    }
    saved.texts = opt.texts;
    saved.params = *check.values;
    saved.seed = rnd.currentSeed();
    NullPresentation view;
    saved.world.selzib = 1;  // the inspector's zib, as the program starts with
    initworld(saved.world, saved.params, rnd, view);
    saved.history = {tally(saved.world)};
    saved.lineage.begin(saved.world);
    return std::nullopt;
}

// Opens the world file of --load, generator and history included. Refuses a file that is not a
// sound world.
std::optional<int> loadedWorld(const std::string& path, SavedWorld& saved, Rnd& rnd) {
    WorldRead read = loadWorld(path);
    if (!read.saved) {
        std::fprintf(stderr, "zibs-run: %s\n", read.error.c_str());
        return refused;
    }
    saved = std::move(*read.saved);
    rnd.restore(saved.seed, saved.generator);  // the reader has checked the state
    return std::nullopt;
}

// The line above the rows (none above the world states).
std::string header(Rows rows) {
    switch (rows) {
        case Rows::population:
            return "day,population\n";
        case Rows::stats:
            return std::string(statsHeader) + '\n';
        case Rows::trace:
            break;
    }
    return {};
}

// Appends the row of the world as it stands at the end of a day.
void appendRow(std::string& out, Rows rows, const World& world) {
    switch (rows) {
        case Rows::population:
            appendNumber(out, world.day);
            out += ',';
            appendNumber(out, world.population);
            out += '\n';
            break;
        case Rows::stats:
            appendStatsRow(out, tally(world));
            break;
        case Rows::trace:
            appendTrace(out, world);
            break;
    }
}

// Builds or opens the world and runs it, printing every day's row; saves it with --save.
int run(const Options& opt) {
    SavedWorld saved;
    Rnd rnd;
    const std::optional<int> refusal =
        opt.load ? loadedWorld(*opt.load, saved, rnd) : newWorld(opt, saved, rnd);
    if (refusal) return *refusal;
    // The files to write are made now: a missing folder is found before a long run, not after.
    std::optional<FileWriter> saveFile, phylogenyFile, newickFile;
    try {
        if (opt.save) saveFile.emplace(*opt.save);
        if (opt.phylogeny) phylogenyFile.emplace(*opt.phylogeny);
        if (opt.newick) newickFile.emplace(*opt.newick);
    } catch (const FileWriter::FileError& e) {
        std::fprintf(stderr, "zibs-run: %s\n", e.what());
        return writeFailed;
    }
    World& world = saved.world;
    // Only a saved world needs its history, and only it and the tree files the lineage: without
    // them a day costs what it always did.
    const bool keepHistory = opt.save.has_value();
    const bool keepLineage = keepHistory || opt.phylogeny || opt.newick;
    NullPresentation view(keepLineage ? &saved.lineage : nullptr);

    put(header(opt.rows));
    std::string row;
    auto record = [&] {
        row.clear();
        appendRow(row, opt.rows, world);
        put(row);
    };
    record();

    int code = finished;
    const long long days = opt.days.value_or(100);
    for (long long d = 0; opt.toEnd || d < days; ++d) {
        if (!daystep(world, rnd, view)) {
            std::fputs("zibs-run: the day limit of 32767 is reached; the run ends here.\n", stderr);
            code = dayLimitReached;
            break;
        }
        if (keepHistory) saved.history.push_back(tally(world));
        record();
        if (opt.toEnd && world.population == 0) break;
    }
    finishOutput();
    if (opt.save) {
        saved.generator = rnd.state();
        if (const std::optional<std::string> failure = saveWorld(*saveFile, *opt.save, saved)) {
            std::fprintf(stderr, "zibs-run: %s\n", failure->c_str());
            return writeFailed;
        }
    }
    try {
        if (phylogenyFile) {
            phylogenyFile->write(phylogenyCsv(saved.lineage));
            phylogenyFile->commit();
        }
        if (newickFile) {
            newickFile->write(newickText(saved.lineage));
            newickFile->commit();
        }
    } catch (const FileWriter::FileError& e) {
        std::fprintf(stderr, "zibs-run: %s\n", e.what());
        return writeFailed;
    }
    return code;
}

}  // namespace

int main(int argc, char** argv) {
    guardTemporaryFiles();
    try {
        const std::variant<Options, int> parsed = parseOptions(argc, argv);
        if (const int* code = std::get_if<int>(&parsed)) return *code;
        return run(std::get<Options>(parsed));
    } catch (const std::system_error& e) {
        std::fprintf(stderr, "zibs-run: %s\n", e.what());
        return writeFailed;
    }
}
