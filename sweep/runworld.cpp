#include "sweep/runworld.h"

#include "runtime/random.h"
#include "sim/sim.h"
#include "sim/statscsv.h"

namespace zibs::sweep {

namespace {

std::string runHeader() {
    std::string h = "seed";
    for (const ParameterColumn& c : parameterColumns) h += std::string(",") + c.column;
    return h;
}

}  // namespace

Summary runWorld(const Run& run, std::optional<long long> days, std::string* series) {
    World world;
    Rnd rnd(run.seed);
    Lineage lineage;
    NullPresentation view(&lineage);
    initworld(world, run.params, rnd, view);
    lineage.begin(world);

    Summary s;
    s.peakPopulation = world.population;
    auto record = [&] {
        appendRunColumns(*series, run);
        appendStatsRow(*series, tally(world));
    };
    if (series) record();

    for (long long d = 0; !days || d < *days; ++d) {
        if (!daystep(world, rnd, view)) {
            s.reachedDayLimit = true;
            break;
        }
        s.births += world.counts.births;
        s.deathsAge += world.counts.deathsAge;
        s.deathsHunger += world.counts.deathsHunger;
        if (world.population > s.peakPopulation) {
            s.peakPopulation = world.population;
            s.peakDay = world.day;
        }
        if (series) record();
        if (!days && world.population == 0) break;
    }
    s.endDay = world.day;
    s.endPopulation = world.population;
    const LineageSummary families = summarise(lineage);
    s.familiesLeft = families.familiesLeft;
    s.maxGeneration = families.maxGeneration;
    return s;
}

void appendRunColumns(std::string& out, const Run& run) {
    appendNumber(out, run.seed);
    for (const ParameterColumn& c : parameterColumns) {
        out += ',';
        appendNumber(out, run.params.*c.value);
    }
    out += ',';
}

std::string resultHeader() {
    return runHeader() +
           ",end_day,end_population,peak_population,peak_day,births,deaths_age,deaths_hunger,"
           "reached_day_limit,families_left,max_generation\n";
}

void appendResultRow(std::string& out, const Run& run, const Summary& s) {
    appendRunColumns(out, run);
    for (const long long v : {s.endDay, s.endPopulation, s.peakPopulation, s.peakDay}) {
        appendNumber(out, v);
        out += ',';
    }
    for (const long long v : {s.births, s.deathsAge, s.deathsHunger}) {
        appendNumber(out, v);
        out += ',';
    }
    out += s.reachedDayLimit ? "1," : "0,";
    appendNumber(out, s.familiesLeft);
    out += ',';
    appendNumber(out, s.maxGeneration);
    out += '\n';
}

std::string seriesHeader() {
    return runHeader() + "," + std::string(statsHeader) + "\n";
}

}  // namespace zibs::sweep
