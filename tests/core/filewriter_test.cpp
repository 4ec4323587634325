#include <gmock/gmock.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <set>

#include "files/filewriter.h"
#include "shell.h"

namespace zibs::testing {

namespace fs = std::filesystem;

// The names in a folder.
std::set<std::string> names(const fs::path& dir) {
    std::set<std::string> out;
    for (const auto& entry : fs::directory_iterator(dir)) out.insert(entry.path().filename());
    return out;
}

TEST(FileWriter, ReplacesARegularFileWholeOrLeavesItAsItWas) {
    const TempFolder t("writer");
    const fs::path file = t.dir / "world.zibs";
    ASSERT_TRUE(!writeWholeFile(file, "first") && ::chmod(file.c_str(), 0640) == 0 &&
                !writeWholeFile(file, "second"));
    EXPECT_EQ(slurp(file), "second");
    EXPECT_EQ(fs::status(file).permissions(), fs::perms(0640));  // kept
    {
        // A disk that fills up in the middle of the file; the size limit is no signal.
        FileSizeLimit limit(4096);
        std::signal(SIGXFSZ, SIG_DFL);
        guardTemporaryFiles();
        EXPECT_EQ(writeWholeFile(file, std::string(100000, 'x')),
                  "\"" + file.string() + "\" could not be written: File too large");
    }
    EXPECT_EQ(writeWholeFile(t.dir / "none" / "a.zibs", "x"),
              "\"" + (t.dir / "none" / "a.zibs").string() +
                  "\" could not be written: No such file or directory");
    fs::create_directory(t.dir / "sub");
    EXPECT_EQ(writeWholeFile(t.dir / "sub", "x"),
              "\"" + (t.dir / "sub").string() + "\" could not be written: Is a directory");
    // A name is shown with its control characters escaped.
    EXPECT_THAT(writeWholeFile(t.dir / "\x1b]0;x\x07" / "a", "x").value_or(""),
                ::testing::HasSubstr("/\\x1b]0;x\\x07/a\" could not"));

    // The longest name a folder takes still has room for the temporary file beside it.
    const std::string longest(255, 'n');
    EXPECT_EQ(writeWholeFile(t.dir / longest, "long"), std::nullopt);
    EXPECT_EQ(slurp(t.dir / longest), "long");

    // The old file as it was, and no temporary left behind.
    EXPECT_EQ(slurp(file), "second");
    EXPECT_EQ(names(t.dir), (std::set<std::string>{"sub", "world.zibs", longest}));
}

TEST(FileWriter, WritesThroughLinksAndIntoFifosAndDevicesInPlace) {
    const TempFolder t("writer-odd");
    // A link is followed, also to a file that is not there yet; the link stays a link.
    fs::create_symlink("real.csv", t.dir / "link.csv");
    ASSERT_EQ(writeWholeFile(t.dir / "link.csv", "one"), std::nullopt);
    ASSERT_EQ(writeWholeFile(t.dir / "link.csv", "two"), std::nullopt);
    EXPECT_TRUE(fs::is_symlink(t.dir / "link.csv"));
    EXPECT_EQ(slurp(t.dir / "real.csv"), "two");

    // A FIFO gets the text as it is written and stays a FIFO. Its reader gives up after 10 s: a
    // writer that put a file in its place sends it nothing.
    const fs::path fifo = t.dir / "fifo", got = t.dir / "got";
    shell("mkfifo " + fifo.string() + "; timeout 10 cat " + fifo.string() + " >" + got.string() +
          " & true");
    EXPECT_EQ(writeWholeFile(fifo, std::string(200000, 'f')), std::nullopt);
    for (int wait = 0; wait < 100 && fs::file_size(got) < 200000; ++wait) ::usleep(100000);
    EXPECT_TRUE(slurp(got) == std::string(200000, 'f') && fs::is_fifo(fifo));

    // A device node: the null device, made where only this test sees it.
    if (::geteuid() != 0) GTEST_SKIP() << "not root: no device node could be made to write to";
    const fs::path null = t.dir / "null";
    ASSERT_EQ(::mknod(null.c_str(), S_IFCHR | 0666, ::makedev(1, 3)), 0);
    EXPECT_EQ(writeWholeFile(null, "gone"), std::nullopt);
    EXPECT_TRUE(fs::is_character_file(null));
    EXPECT_EQ(names(t.dir), (std::set<std::string>{"fifo", "got", "link.csv", "null", "real.csv"}));
}

TEST(FileWriter, RefusesAFileTheUserMayNotWrite) {
    const TempFolder t("writer-ro");
    const fs::path file = t.dir / "kept.zibs";
    ASSERT_TRUE(!writeWholeFile(file, "kept") && ::chmod(file.c_str(), 0444) == 0 &&
                ::chmod(t.dir.c_str(), 0777) == 0);
    // Root may write anything, as the shell lets it: the check runs as another user.
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(3);
        const auto refused = writeWholeFile(file, "replaced");
        ::_exit(refused == "\"" + file.string() + "\" could not be written: Permission denied" ? 0
                                                                                               : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(slurp(file), "kept");
}

}  // namespace zibs::testing
