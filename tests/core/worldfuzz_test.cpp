#include <cstdlib>
#include <random>

#include "savedworlds.h"

namespace zibs::testing {

// What every world the reader lets in must satisfy, so that its days can run.
::testing::AssertionResult invariantsHold(const SavedWorld& s) {
    const World& w = s.world;
    const ParameterCheck p = checkParameters(s.texts);
    if (!p.values) return ::testing::AssertionFailure() << "texts: " << p.error;
    const auto values = [](const auto& v) {
        return std::array{v.reprorate, v.maxgrass, v.growrate, v.radiation, v.mutations};
    };
    if (values(*p.values) != values(s.params) || values(s.params) != values(w) ||
        p.values->popstart != s.params.popstart) {
        return ::testing::AssertionFailure() << "parameters";
    }
    if (w.popstart < s.params.popstart) return ::testing::AssertionFailure() << "popstart";
    if (!Rnd::canHold(s.generator)) return ::testing::AssertionFailure() << "generator";
    if (const auto sound = soundWorld(w); !sound) return sound;
    if (s.history.size() != static_cast<std::size_t>(w.day) + 1 || s.history.back() != tally(w)) {
        return ::testing::AssertionFailure() << "history";
    }
    for (std::size_t k = 0; k < s.history.size(); ++k) {
        if (s.history[k].day != static_cast<int>(k)) {
            return ::testing::AssertionFailure() << "history day " << k;
        }
    }
    return ::testing::AssertionSuccess();
}

// Where the numbers of a world file's text stand: start and length.
std::vector<std::pair<std::size_t, std::size_t>> numbersOf(const std::string& t) {
    std::vector<std::pair<std::size_t, std::size_t>> v;
    const auto digit = [&](std::size_t i) { return i < t.size() && t[i] >= '0' && t[i] <= '9'; };
    for (std::size_t i = 0; i < t.size(); ++i) {
        if (!digit(i) && !(t[i] == '-' && digit(i + 1))) continue;
        std::size_t e = i + 1;
        while (digit(e)) ++e;
        v.emplace_back(i, e - i);
        i = e;
    }
    return v;
}

TEST(WorldFileFuzz, MutatedFilesAreRefusedOrGiveWorldsThatRun) {
    struct Base {
        std::string text;
        std::vector<std::pair<std::size_t, std::size_t>> numbers;
    };
    std::vector<Base> bases;
    // Small worlds keep the files short, so that many can be parsed; the last, full one, whose
    // file is twice as long, takes one file in ten.
    const std::tuple<ParameterTexts, std::uint32_t, int> worlds[] = {
        {{"0"}, 2, 0},
        {{"3"}, 11, 9},
        {{}, 12, 4},
        {{"100", "3", "40", "5", "32767", "32767"}, 5, 2}};
    for (const auto& [texts, seed, days] : worlds) {
        LiveWorld live(texts, seed);
        live.go(days);
        const std::string text = worldText(live.save());
        bases.push_back({text, numbersOf(text)});
    }

    const char* values[] = {
        "-1",    "0",      "1",      "2",          "3",          "4",
        "6",     "7",      "20",     "21",         "49",         "50",
        "99",    "100",    "101",    "624",        "625",        "32767",
        "32768", "-32768", "-32769", "4294967295", "4294967296", "18446744073709551616",
        "1.5",   "1e3",    "-0",     "true",       "null",       "\"5\"",
        "[]",    "{}"};
    std::mt19937 gen(20240613);
    const auto below = [&](std::size_t n) { return n == 0 ? 0 : gen() % n; };

    int files = 10000;  // ZIBS_FUZZ_FILES=N in the environment asks for another number
    if (const char* n = std::getenv("ZIBS_FUZZ_FILES")) files = std::atoi(n);
    int accepted = 0, refused = 0;
    for (int f = 0; f < files; ++f) {
        const Base& base = bases[below(10) == 0 ? bases.size() - 1 : below(bases.size() - 1)];
        std::string t = base.text;
        const int kind = static_cast<int>(below(10));
        if (kind < 4) {  // a number changed
            const auto [at, len] = base.numbers[below(base.numbers.size())];
            const std::string old = t.substr(at, len);
            const std::string by =
                below(3) ? values[below(std::size(values))] : std::to_string(std::stoll(old) + 1);
            t.replace(at, len, by);
        } else if (kind < 6) {  // a line removed: a field, or an entry of a list
            const std::size_t from = t.rfind('\n', below(t.size())) + 1;  // npos + 1 is 0
            t.erase(from, t.find('\n', from) - from + 1);
        } else if (kind < 8) {  // a byte with a bit flipped
            t[below(t.size())] ^= 1 << below(8);
        } else if (kind < 9) {  // a stretch cut out or written twice
            const std::size_t at = below(t.size()), len = 1 + below(64);
            below(2) ? t.erase(at, len) : t.insert(at, t.substr(at, len));
        } else {  // cut short
            t.resize(below(t.size()));
        }

        const WorldRead read = readWorld(t);
        if (!read.saved) {
            ++refused;
            ASSERT_FALSE(read.error.empty()) << "file " << f;
            continue;
        }
        ++accepted;
        ASSERT_TRUE(invariantsHold(*read.saved)) << "file " << f;
        // The world runs on and stays sound.
        LiveWorld live(read.saved->texts, 0);
        live.saved = *read.saved;
        live.rnd.restore(read.saved->seed, read.saved->generator);
        live.go(2);
        ASSERT_TRUE(invariantsHold(live.saved)) << "file " << f << " after 2 days";
    }
    // Both outcomes are common: the mutations reach the checks behind the parser.
    EXPECT_GT(accepted, files / 20);
    EXPECT_GT(refused, files / 2);
}

}  // namespace zibs::testing
