#include <cstdlib>
#include <random>

#include "savedworlds.h"

namespace zibs::testing {

// What every world the reader lets in must satisfy, so that its days can run.
::testing::AssertionResult invariantsHold(const SavedWorld& s) {
    const auto in = [](int v, int lo, int hi) { return v >= lo && v <= hi; };
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
    if (!in(w.popstart, s.params.popstart, 100) || !in(w.selzib, 0, 100) || w.day < 0) {
        return ::testing::AssertionFailure() << "globals";
    }
    if (!Rnd::canHold(s.generator)) return ::testing::AssertionFailure() << "generator";
    int living = 0;
    for (int i = 1; i <= lastRecord; ++i) {
        const Zib& z = w.zibs[i];
        const bool noGoal = z.goalx == 0 && z.goaly == 0;
        bool ok = z == Zib{} || (in(z.x, 0, 20) && in(z.y, 0, 20) && in(z.alive, 0, 1) &&
                                 in(z.mode, 0, 2) && z.age >= 0 && in(z.reproage, 3, 6) &&
                                 (noGoal || (in(z.goalx, 1, 20) && in(z.goaly, 1, 20))));
        for (int j = 0; j <= 10; ++j) {
            const ZibCell& c = z.cells[j];
            ok = ok && ((j >= 1 && j <= 8) ? in(c.kind, 0, 3) && in(c.mode, 0, 2) && c.food >= 0
                                           : c == ZibCell{});
        }
        if (!ok) return ::testing::AssertionFailure() << "zib " << i;
        if (i <= w.popstart) living += z.alive;
    }
    if (w.population != living) return ::testing::AssertionFailure() << "population";
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

// Spans of a world file's text that mutations aim at.
struct Spans {
    std::vector<std::pair<std::size_t, std::size_t>> numbers;  // start, length
    std::vector<std::pair<std::size_t, std::size_t>> members;  // "key": value, with its comma
};

Spans spansOf(const std::string& t) {
    Spans s;
    const auto digit = [&](std::size_t i) { return i < t.size() && t[i] >= '0' && t[i] <= '9'; };
    for (std::size_t i = 0; i < t.size(); ++i) {
        if (digit(i) || (t[i] == '-' && digit(i + 1))) {
            std::size_t e = i + 1;
            while (digit(e)) ++e;
            s.numbers.emplace_back(i, e - i);
            i = e;
        } else if (t[i] == '"' && t.compare(t.find('"', i + 1), 3, "\": ") == 0) {
            // The value ends where its brackets close, or at the next , } or ].
            std::size_t e = t.find('"', i + 1) + 3;
            int depth = 0;
            for (; e < t.size(); ++e) {
                if (t[e] == '[' || t[e] == '{') ++depth;
                if ((t[e] == ']' || t[e] == '}') && depth-- == 0) break;
                if (t[e] == ',' && depth == 0) break;
            }
            const bool comma = e < t.size() && t[e] == ',';
            // Without a comma after it, the member takes the comma before it.
            const std::size_t from = comma ? i : t.rfind(',', i);
            s.members.emplace_back(from, e + comma - from);
            i = t.find('"', i + 1);
        }
    }
    return s;
}

TEST(WorldFileFuzz, MutatedFilesAreRefusedOrGiveWorldsThatRun) {
    struct Base {
        std::string text;
        Spans spans;
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
        bases.push_back({text, spansOf(text)});
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
            const auto [at, len] = base.spans.numbers[below(base.spans.numbers.size())];
            const std::string old = t.substr(at, len);
            const std::string by =
                below(3) ? values[below(std::size(values))] : std::to_string(std::stoll(old) + 1);
            t.replace(at, len, by);
        } else if (kind < 6) {  // a field removed
            const auto [at, len] = base.spans.members[below(base.spans.members.size())];
            t.erase(at, len);
        } else if (kind < 8) {  // a byte with a bit flipped, perhaps two
            for (int k = static_cast<int>(below(2)); k >= 0; --k)
                t[below(t.size())] ^= 1 << below(8);
        } else if (kind < 9) {  // a stretch cut out or written twice
            const std::size_t at = below(t.size()), len = 1 + below(64);
            if (below(2)) {
                t.erase(at, len);
            } else {
                t.insert(at, t.substr(at, len));
            }
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
