#include <algorithm>
#include <array>
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

    const auto valueLines = cases("fuzz_values.txt");
    const std::vector<std::string>&values = valueLines.at(0), &hostile = valueLines.at(1);
    std::mt19937 gen(20240613);
    const auto below = [&](std::size_t n) { return n == 0 ? 0 : gen() % n; };
    const auto digits = [&](std::size_t n) { return std::string(n, "123456789"[below(9)]); };

    int files = 10000;  // ZIBS_FUZZ_FILES=N in the environment asks for another number
    if (const char* n = std::getenv("ZIBS_FUZZ_FILES")) files = std::atoi(n);
    int accepted = 0, refused = 0;
    for (int f = 0; f < files; ++f) {
        const auto& [text, numbers] =
            bases[below(10) == 0 ? bases.size() - 1 : below(bases.size() - 1)];
        std::string t = text;
        // The kinds of change: a number, a hostile number, nesting, a key, the encoding, a trailer,
        // a line removed, a bit flipped, a stretch cut or doubled, the file cut short.
        const int kind = static_cast<int>(below(14)) % 10;  // numbers more often
        const auto [at, len] = numbers[below(numbers.size())];
        // A key: the quoted text before a colon.
        const std::size_t colon = t.find("\": ", below(t.size()));
        const std::size_t keyEnd = colon == std::string::npos ? t.find("\": ") : colon;
        const std::size_t keyStart = t.rfind('"', keyEnd - 1) + 1;
        switch (kind) {
            case 0:
                t.replace(at, len,
                          below(3) ? values[below(values.size())]
                                   : std::to_string(std::stoll(t.substr(at, len)) + 1));
                break;
            case 1:  // huge, tiny, long digit strings, exponents
                t.replace(at, len,
                          below(2) ? hostile[below(hostile.size())]
                                   : (below(2) ? "-" : "") + digits(1 + below(40000)) +
                                         (below(2) ? "e" + digits(1 + below(6)) : ""));
                break;
            case 2: {  // a number, or anything, nested in lists or objects
                const std::size_t depth = 1 + below(below(2) ? 8 : 100000);
                std::string open, close(depth, below(2) ? ']' : '}');
                for (std::size_t k = 0; k < depth; ++k) open += close[0] == ']' ? "[" : "{\"a\": ";
                below(2) ? t.replace(at, len, open + t.substr(at, len) + close)
                         : t.insert(below(t.size()), open);
                break;
            }
            case 3: {  // a field twice, or a key with escapes and control characters
                const std::size_t lineStart = t.rfind('\n', keyStart) + 1;
                const std::string line = t.substr(lineStart, t.find('\n', keyStart) - lineStart);
                const char* keyed[] = {"\\u001b]0;", "\x1b[2J", "\\\"",   "\\u0000",
                                       "\\e",        "\x01",    "\\ud800"};
                below(2) ? t.insert(lineStart, line.back() == ',' ? line + "\n" : line + ",\n")
                         : t.insert(keyStart + below(keyEnd - keyStart + 1),
                                    keyed[below(std::size(keyed))]);
                break;
            }
            case 4: {  // a byte order mark, bytes that are not UTF-8, or UTF-16
                const char* bytes[] = {"\xEF\xBB\xBF",     "\xFF",    "\xC0\xAF", "\xED\xA0\x80",
                                       "\xF4\x90\x80\x80", "\xE2\x82"};
                const std::size_t choice = below(std::size(bytes) + 1);
                if (choice == std::size(bytes)) {
                    std::string wide;
                    for (const char c : t) wide += std::string{c, '\0'};
                    t = "\xFF\xFE" + wide;
                } else {
                    t.insert(below(2) ? 0 : keyStart, bytes[choice]);
                }
                break;
            }
            case 5: {  // something after the closing brace
                const std::string trailers[] = {"}",           "\n{}", "  \n\t",  "x",
                                                {"\0junk", 5}, "[]",   "\x1b[2J", ","};
                t += trailers[below(std::size(trailers))];
                break;
            }
            case 6: {  // a line removed: a field, or an entry of a list
                const std::size_t from = t.rfind('\n', below(t.size())) + 1;  // npos + 1 is 0
                t.erase(from, t.find('\n', from) - from + 1);
                break;
            }
            case 7:
                t[below(t.size())] ^= static_cast<char>(1 << below(8));
                break;
            case 8: {  // a stretch cut out or written twice
                const std::size_t from = below(t.size()), n = 1 + below(64);
                below(2) ? t.erase(from, n) : t.insert(from, t.substr(from, n));
                break;
            }
            default:
                t.resize(below(t.size()));
        }

        const WorldRead read = readWorld(t);
        if (!read.saved) {
            ++refused;
            // A message that says why, with nothing in it that steers a terminal.
            ASSERT_FALSE(read.error.empty()) << "file " << f;
            ASSERT_EQ(std::ranges::count_if(read.error, [](unsigned char c) { return c < 32; }), 0)
                << "file " << f << ": " << read.error;
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
