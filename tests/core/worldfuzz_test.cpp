#include <random>
#include <regex>

#include "savedworlds.h"
#include "shell.h"

namespace zibs::testing {

// What every world the reader lets in must satisfy, so that its days can run.
::testing::AssertionResult invariantsHold(const SavedWorld& s) {
    const World& w = s.world;
    const ParameterCheck p = checkParameters(s.texts);
    if (!p.values) return ::testing::AssertionFailure() << "texts: " << p.error;
    const auto values = [](const auto& v) {
        return std::array{v.reprorate, v.maxgrass, v.growrate, v.radiation, v.mutations};
    };
    if (const auto sound = soundWorld(w); !sound) return sound;
    bool ok = values(*p.values) == values(s.params) && values(s.params) == values(w) &&
              p.values->popstart == s.params.popstart && w.popstart >= s.params.popstart &&
              Rnd::canHold(s.generator) &&
              s.history.size() == static_cast<std::size_t>(w.day) + 1 &&
              s.history.back() == tally(w);
    for (std::size_t k = 0; ok && k < s.history.size(); ++k) ok = s.history[k].day == int(k);
    if (ok) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "parameters, popstart, generator or history";
}

TEST(WorldFileFuzz, MutatedFilesAreRefusedOrGiveWorldsThatRun) {
    // Each world's text and where its numbers stand: start and length.
    std::vector<std::pair<std::string, std::vector<std::pair<long, long>>>> bases;
    const std::regex number("-?[0-9]+");
    for (const auto& c : cases("fuzz_worlds.txt")) {
        LiveWorld live(textsOf(c[0]), std::stoul(c[1]));
        live.go(std::stoi(c[2]));
        auto& [text, numbers] = bases.emplace_back();
        text = worldText(live.save());
        for (std::sregex_iterator m(text.begin(), text.end(), number), end; m != end; ++m)
            numbers.emplace_back(m->position(), m->length());
    }

    const std::vector<std::string> values = cases("fuzz_values.txt").at(0);
    std::mt19937 gen(20240613);
    const auto below = [&](std::size_t n) { return n == 0 ? 0 : gen() % n; };

    int files = 10000;  // ZIBS_FUZZ_FILES=N in the environment asks for another number
    if (const char* n = std::getenv("ZIBS_FUZZ_FILES")) files = std::atoi(n);
    int accepted = 0, refused = 0;
    for (int f = 0; f < files; ++f) {
        const auto& [text, numbers] =
            bases[below(10) == 0 ? bases.size() - 1 : below(bases.size() - 1)];
        std::string t = text;
        const int kind = static_cast<int>(below(10));
        if (kind < 4) {  // a number changed
            const auto [at, len] = numbers[below(numbers.size())];
            const std::string old = t.substr(at, len);
            const std::string by =
                below(3) ? values[below(values.size())] : std::to_string(std::stoll(old) + 1);
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
