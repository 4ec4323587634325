#include <algorithm>
#include <cstring>

#include "files/worldfile.h"
#include "tools/commandline.h"

#include "shell.h"

namespace zibs::testing {

TEST(Runner, StatisticsParameterTextsAndExitCodesThatTellHowTheRunEnded) {
    // No days: the world as Initialize left it. The statistics as pinned
    // (tests/data/pin_outputs.sh); the trace and the CSV: the pinned worlds test.
    EXPECT_EQ(zibsRun("--days 0").out, "day,population\n0,10\n");
    EXPECT_EQ(zibsRun("--seed 31 --days 5 --stats").out, slurp(ZIBS_TEST_DATA "/stats_seed31.csv"));

    // Parameter texts reach the check as typed: a negative number is no option, and blanks in
    // front are skipped by the conversion.
    const std::string typed = zibsRun("--seed 2 --growth-rate -1 --repro-rate ' 5'").out;
    EXPECT_TRUE(typed == zibsRun("--seed 2 --growth-rate=-1 --repro-rate=5").out &&
                std::ranges::count(typed, '\n') == 102);  // days 0 to 100 by default

    // With no seed given the clock's seed is reported on stderr; stdout is CSV from its first line.
    const Ran clock = zibsRun("--days 3");
    ASSERT_EQ(clock.status, 0);
    EXPECT_EQ(clock.out.rfind("day,population\n0,10\n", 0), 0u);
    ASSERT_EQ(clock.err.rfind("seed ", 0), 0u);
    EXPECT_EQ(zibsRun("--days 3 --seed " + clock.err.substr(5, clock.err.find('\n') - 5)).out,
              clock.out);

    // Grass that dies back starves every zib; the run stops on the day population reaches 0.
    const std::string end = zibsRun("--seed 5 --to-end --growth-rate -32768").out;
    EXPECT_EQ(end.find(",0\n"), end.size() - 3);  // the last line, and only that one

    // A run cut short by the day limit prints every day it ran and ends with code 3; the world is
    // saved all the same.
    const std::string saved = ::testing::TempDir() + "cut-" + std::to_string(getpid()) + ".zibs";
    const Ran cut = zibsRun("--seed 1 --days 32768 --save " + saved);
    EXPECT_NE(slurp(saved).find("\n    \"day\": 32767,\n"), std::string::npos);
    // The inspector opens it on zib 1, as on the program's own worlds.
    EXPECT_NE(slurp(saved).find("\n    \"selzib\": 1,\n"), std::string::npos);
    const Ran opened = zibsRun("--load " + saved + " --days 0");
    EXPECT_EQ(std::tuple(opened.status, opened.out), std::tuple(0, "day,population\n32767,0\n"));
    std::remove(saved.c_str());
    EXPECT_TRUE(cut.status == 3 && std::ranges::count(cut.out, '\n') == 32769 &&
                cut.out.ends_with("\n32767,0\n") && cut.err.find("32767") != std::string::npos)
        << cut.status << " " << cut.err;

    // /dev/full refuses every write: the rows of a short run fail at the final flush.
    const Ran full = zibsRun("--seed 1 --days 3 >/dev/full");
    EXPECT_TRUE(full.status == 1 && full.err.find("No space left on device") != std::string::npos)
        << full.err;

    // A file that may not grow beyond 1 KiB stands in for a full disk in the middle of a run.
    // The size limit's signal does not end the program: the write fails with a message.
    const Ran limited = shell("ulimit -f 2; " ZIBS_RUN_PATH " --seed 1 --days 300 --trace");
    EXPECT_TRUE(limited.status == 1 && limited.err.find("File too large") != std::string::npos)
        << limited.err;
    EXPECT_EQ(limited.out, zibsRun("--seed 1 --days 300 --trace").out.substr(0, 1024));

    // Every refusal (tests/data/runner_refusals.txt): code 2, nothing on stdout, a short message
    // naming what was refused.
    EXPECT_EQ(zibsRun("--seed 1 --start-population 101").err,
              "zibs-run: --start-population: \"Start population\" must be a number from 0 to 100 "
              "after rounding to a whole number; \"101\" is not accepted.\n");
    for (const auto& c : cases("runner_refusals.txt")) {
        const Ran r = zibsRun(c[0]);
        EXPECT_TRUE(r.status == 2 && r.out.empty() && r.err.size() < 250) << c[0] << r.err;
        for (std::size_t k = 1; k < c.size(); ++k)
            EXPECT_NE(r.err.find(c[k]), std::string::npos) << c[0] << " -> " << r.err;
    }
}

TEST(Runner, ALoadedWorldGoesOnAsARunThatNeverStopped) {
    const std::string file = ::testing::TempDir() + "runner-" + std::to_string(getpid());
    const std::string world = "--seed 7 --start-population 100 --radiation 32767 --mutations 9";
    const std::string straight = zibsRun(world + " --days 75 --trace").out;
    ASSERT_EQ(zibsRun(world + " --days 25 --save " + file).status, 0);
    const Ran loaded = zibsRun("--load " + file + " --days 50 --trace");
    EXPECT_EQ(std::tuple(loaded.status, loaded.out),
              std::tuple(0, straight.substr(straight.find("end\nday 25 ") + 4)));

    // Saved again after a load, the world carries its history on; CSV starts with the loaded day.
    ASSERT_EQ(zibsRun("--seed 3 --days 20 --save " + file).status, 0);
    ASSERT_EQ(zibsRun("--load " + file + " --days 30 --save " + file).status, 0);
    const std::string csv = zibsRun("--seed 3 --days 100").out;
    EXPECT_EQ(zibsRun("--load " + file + " --days 50").out,
              "day,population\n" + csv.substr(csv.find("\n50,") + 1));

    // A file that is no world is refused with the reader's message, one that cannot be written
    // with the system's reason; the rows were printed all the same.
    std::ofstream(file) << "day,population\n0,10\n";
    const Ran refused = zibsRun("--load " + file);
    EXPECT_EQ(std::tuple(refused.status, refused.err),
              std::tuple(2, "zibs-run: \"" + file +
                                "\" cannot be opened as a world: this is not a Zibs world file\n"));
    // The file to save to is made before the first day: a long run does not find out at its end.
    const Ran unwritable = zibsRun("--seed 31 --to-end --save " + file + "/a.zibs");
    EXPECT_EQ(std::tuple(unwritable.status, unwritable.out), std::tuple(1, ""));
    EXPECT_NE(unwritable.err.find("\"" + file + "/a.zibs\" could not be written: "),
              std::string::npos);
    std::remove(file.c_str());
}

TEST(Runner, AHostileFileOfTheLargestSizeIsRefusedInLittleMemory) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizers reserve far more address space of their own";
#endif
    // Five million empty lists: as a tree of values, hundreds of MB.
    const std::string file = ::testing::TempDir() + "hostile-" + std::to_string(getpid());
    std::string text = "{\"history\": [[]";
    while (text.size() < worldFileLimit - 8) text += ",[]";
    std::ofstream(file) << text << "]}";
    // Refused within 100 MB of address space, let alone of memory in use.
    const Ran refused = shell("ulimit -v 102400; " ZIBS_RUN_PATH " --load " + file);
    std::remove(file.c_str());
    EXPECT_TRUE(refused.status == 2 && refused.err.find("more rows than") != std::string::npos)
        << refused.status << refused.err;

    // A world whose lineage lists hold 800,000 zibs each, all within their bounds.
    ASSERT_EQ(zibsRun("--seed 3 --days 20 --save " + file).status, 0);
    text = slurp(file);
    for (const auto& [key, entry] : {std::pair{"parent", "0,"},
                                     {"origin", "0,"},
                                     {"destruction", "0,"},
                                     {"record", "1,"},
                                     {"body", "\"SSSSSSSS\","}}) {
        std::string entries;
        for (int i = 0; i < 800'000; ++i) entries += entry;
        text.insert(text.find("\"" + std::string(key) + "\": [") + std::strlen(key) + 5, entries);
    }
    std::ofstream(file, std::ios::trunc) << text;
    const Ran lineage = shell("ulimit -v 102400; " ZIBS_RUN_PATH " --load " + file);
    std::remove(file.c_str());
    EXPECT_TRUE(lineage.status == 2 && lineage.err.find("lineage") != std::string::npos)
        << lineage.status << lineage.err;
}

TEST(Runner, HostileFilesAndOddTargetsEndInAMessageNotACrashOrAHang) {
    const TempFolder folder("hostile");
    const std::string dir = folder.dir.string();
    ASSERT_EQ(shell("mkfifo " + dir + "/fifo").status, 0);
    const std::string file = dir + "/q.zibs";
    // Opened again after a save, whatever the texts hold.
    ASSERT_EQ(zibsRun("--seed 4 --days 5 --repro-rate '1\"[[[[' --save " + file).status, 0);
    EXPECT_EQ(zibsRun("--load " + file + " --days 1").status, 0);
    // A number beyond a double, and a FIFO no one writes to: refused at once.
    ASSERT_EQ(shell("sed -i 's/\"seed\": 4/\"seed\": 1e400/' " + file).status, 0);
    const Ran huge = zibsRun("--load " + file);
    const Ran fifo = shell("timeout 10 " ZIBS_RUN_PATH " --load " + dir + "/fifo");
    EXPECT_TRUE(huge.status == 2 && huge.err.find("too large for any field") != std::string::npos)
        << huge.status << huge.err;
    EXPECT_TRUE(fifo.status == 2 && fifo.err.find("not a regular file") != std::string::npos)
        << fifo.status << fifo.err;

    // Stopped in the middle of a run, by a signal or a size limit, nothing is left behind.
    // The run's output goes to a reader that takes none of it: it stops there, its temporary
    // file beside the target, until SIGTERM ends it.
    const Ran stopped =
        shell("sh -c 'echo $$ >" + dir +
              "/pid; exec " ZIBS_RUN_PATH " --seed 1 --days 32767 --trace --save " + file +
              "' | sleep 30 & for t in 1 2 3 4 5 6 7 8 9 10; do sleep 1; ls -A " + dir +
              " | grep zibs- && break; done; kill -TERM $(cat " + dir + "/pid); kill $!; rm " +
              dir + "/pid");
    EXPECT_NE(stopped.out.find(".zibs-"), std::string::npos) << stopped.out;
    const Ran limited = shell("ulimit -f 8; " ZIBS_RUN_PATH " --seed 1 --days 300 --save " + file);
    EXPECT_TRUE(limited.status == 1 && limited.err.find("File too large") != std::string::npos)
        << limited.err;
    // Standard output (here a file) is written where it is, after the rows.
    const std::string both = zibsRun("--seed 1 --days 2 --save /dev/stdout").out;
    EXPECT_EQ(both.find("day,population\n0,10\n"), 0u);
    EXPECT_NE(both.find("\n{\n  \"format\": \"zibs-world\""), std::string::npos);
    EXPECT_EQ(shell("ls -A " + dir).out, "fifo\nq.zibs\n");

    // What is typed is shown with its control characters escaped.
    const Ran typed = zibsRun("--seed 1 --$(printf 'x\\033]0;owned\\007')");
    EXPECT_TRUE(typed.status == 2 && typed.err.find("--x\\x1b]0;owned\\x07") != std::string::npos)
        << typed.err;
}

TEST(CommandLine, HelpIsFilledAtWholeWords) {
    // A list entry goes on below the word after its number; a "~" keeps two words together.
    EXPECT_EQ(tools::wrapText("  2  an option, a parameter or a world file was refused (the "
                              "message says which and why)",
                              40),
              "  2  an option, a parameter or a world\n"
              "     file was refused (the message says\n"
              "     which and why)\n");
    EXPECT_EQ(tools::wrapText("a b~c\n\n  x", 3), "a\nb c\n\n  x\n");
    EXPECT_EQ(tools::wrapText("longer-than-the-line", 5), "longer-than-the-line\n");

    // Both programs' help, on stdout with code 0, fits 79 columns, its joined phrases whole.
    for (const std::string program : {ZIBS_RUN_PATH, ZIBS_SWEEP_PATH}) {
        const Ran help = shell(program + " --help");
        for (const std::string& line : split(help.out, '\n')) EXPECT_LE(line.size(), 79u) << line;
        EXPECT_TRUE(help.status == 0 && help.err.empty() &&
                    help.out.find('~') == std::string::npos);
    }
    EXPECT_NE(zibsRun("--help").out.find("(\"seed N\")"), std::string::npos);
}

}  // namespace zibs::testing
