// Headless runner: builds a world from the six parameter texts and runs its days without
// windows, printing the population per day as CSV or the whole world state with --trace.

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "runtime/convert.h"
#include "runtime/random.h"
#include "sim/params.h"
#include "sim/sim.h"
#include "sim/trace.h"

namespace {

using namespace zibs;

constexpr const char* usageText =
    "usage: zibs-run [--seed N] [--days N | --to-end] [--start-population T] [--repro-rate T]\n"
    "                [--max-grass T] [--growth-rate T] [--radiation T] [--mutations T] "
    "[--trace]\n";

int usage() {
    std::fputs(usageText, stderr);
    return 2;
}

// A whole number of decimal digits only, within 0..highest.
template <typename T>
std::optional<T> wholeNumber(std::string_view text) {
    T value{};
    if (text.empty()) return std::nullopt;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{} || end != text.data() + text.size() || text.front() == '-') {
        return std::nullopt;
    }
    return value;
}

struct Options {
    std::optional<std::uint32_t> seed;
    std::optional<long long> days;
    bool toEnd = false;
    bool trace = false;
    ParameterTexts texts;
};

}  // namespace

int main(int argc, char** argv) {
    Options opt;
    for (int a = 1; a < argc; ++a) {
        const std::string_view arg = argv[a];
        if (arg == "--trace") {
            opt.trace = true;
            continue;
        }
        if (arg == "--to-end") {
            opt.toEnd = true;
            continue;
        }
        if (a + 1 >= argc) return usage();
        const std::string value = argv[++a];
        if (arg == "--seed") {
            opt.seed = seedValue(value);
            if (!opt.seed) {
                std::fprintf(stderr,
                             "zibs-run: the seed must be a whole number from 0 to 4294967295; "
                             "\"%s\" is not accepted.\n",
                             value.c_str());
                return 2;
            }
        } else if (arg == "--days") {
            opt.days = wholeNumber<long long>(value);
            if (!opt.days) return usage();
        } else if (arg == "--start-population") {
            opt.texts.startpop = value;
        } else if (arg == "--repro-rate") {
            opt.texts.repro = value;
        } else if (arg == "--max-grass") {
            opt.texts.grass = value;
        } else if (arg == "--growth-rate") {
            opt.texts.grow = value;
        } else if (arg == "--radiation") {
            opt.texts.rad = value;
        } else if (arg == "--mutations") {
            opt.texts.mute = value;
        } else {
            return usage();
        }
    }
    if (opt.toEnd && opt.days) return usage();

    const ParameterCheck check = checkParameters(opt.texts);
    if (!check.values) {
        std::fprintf(stderr, "zibs-run: %s\n", check.error.c_str());
        return 2;
    }

    Rnd rnd;
    if (opt.seed) {
        rnd.seed(*opt.seed);
    } else {
        std::fprintf(stderr, "seed %u\n", static_cast<unsigned>(rnd.seedFromTimer()));
    }

    World world;
    NullPresentation view;
    initworld(world, *check.values, rnd, view);

    std::string out = opt.trace ? std::string() : std::string("day,population\n");
    auto record = [&] {
        if (opt.trace) {
            appendTrace(out, world);
        } else {
            out += std::to_string(world.day) + ',' + std::to_string(world.population) + '\n';
        }
        if (out.size() > (1u << 16)) {
            std::fwrite(out.data(), 1, out.size(), stdout);
            out.clear();
        }
    };
    record();

    const long long days = opt.days.value_or(100);
    for (long long d = 0; opt.toEnd || d < days; ++d) {
        if (!daystep(world, rnd, view)) {
            std::fputs("zibs-run: the day limit of 32767 is reached\n", stderr);
            break;
        }
        record();
        if (opt.toEnd && world.population == 0) break;
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}
