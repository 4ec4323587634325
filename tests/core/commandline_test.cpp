#include "tools/commandline.h"

#include "shell.h"

namespace zibs::testing {

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
