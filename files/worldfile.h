#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "files/filewriter.h"
#include "runtime/random.h"
#include "sim/daystats.h"
#include "sim/lineage.h"
#include "sim/params.h"
#include "sim/world.h"

namespace zibs {

// A world as a file keeps it: everything needed to continue exactly where it stopped. The layout
// is described in docs/world-format.md.
//
// Saving (after Initialize, or after a world was opened):
//   SavedWorld s{texts, params, rnd.currentSeed(), rnd.state(), world, history};
//   if (auto error = saveWorld(path, s)) show(*error);
// where texts and params are those Initialize read and converted, and history holds
// tally(world) after Initialize and after every day since (one row per day, day 0 first).
// A world that was never initialised has no parameters it came from: do not offer to save it.
//
// Opening:
//   WorldRead r = loadWorld(path);
//   if (!r.saved) { show(r.error); return; }   // nothing has changed
//   world = r.saved->world;                     // world.counts: those of the last row
//   rnd.restore(r.saved->seed, r.saved->generator);  // cannot fail: the state was checked
//   history = r.saved->history;                 // the population of every day for the graph
//   texts = r.saved->texts;                     // for the parameters window
// The world picture is then drawn from the state; days go on with daystep(world, rnd, view).
struct SavedWorld {
    ParameterTexts texts;  // as Initialize read them
    Parameters params;     // what checkParameters made of them
    std::uint32_t seed = 0;
    Rnd::State generator{};
    World world;
    StatsHistory history;  // day 0 .. world.day; the last row is tally(world)
    // Who descends from whom, as at the world's day (RunLog::lineage().at(world.day)). A file of
    // version 1 has none: its living zibs become first zibs, born on the day it was saved at.
    Lineage lineage;
};

// The format this program writes and the newest it reads; older ones are read too.
inline constexpr int worldFormatVersion = 2;
// No world file is larger (the longest history, re-indented by hand, stays under half of it).
inline constexpr std::size_t worldFileLimit = 16u << 20;

// The file's text. The world must be consistent (worldProblem gives "").
std::string worldText(const SavedWorld& saved);

// Either the world read or a message naming the first problem found; nothing in between.
struct WorldRead {
    std::optional<SavedWorld> saved;
    std::string error;
};

// Checks the whole text before anything is returned: that it is a world file of a version this
// program reads, no larger than worldFileLimit, with every value one a world can hold (see
// worldProblem). The message does not name the file and starts in lower case.
WorldRead readWorld(std::string_view text);

// The first thing about a world that cannot be, or "" when there is none: parameters that do not
// come from their texts or are not the world's, a global or a field outside what the rules can
// give it, a population that does not count the living records, a history that is not one row
// per day from day 0 ending with tally(world), a generator state the engine cannot hold, a
// lineage whose living zibs are not the world's.
std::string worldProblem(const SavedWorld& saved);
// The same without the lineage.
std::string worldStateProblem(const SavedWorld& saved);

// Reads and checks the file, which must be a regular one (a FIFO or a device is refused
// without waiting for it). The message names the file and the first problem or the system's
// reason: "\"a.zibs\" cannot be opened as a world: the file is empty".
WorldRead loadWorld(const std::string& path);

// Writes the world with a FileWriter (the file is complete or the old one untouched). Refuses,
// writing nothing, a world that worldProblem finds fault with. Returns the message naming the
// file and the reason on failure, nothing on success.
std::optional<std::string> saveWorld(const std::string& path, const SavedWorld& saved);
// The same into a writer opened before, at `path` (a long run finds a missing folder at once).
std::optional<std::string> saveWorld(FileWriter& file, const std::string& path,
                                     const SavedWorld& saved);

}  // namespace zibs
