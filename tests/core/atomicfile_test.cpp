#include <gmock/gmock.h>
#include <sys/stat.h>

#include <filesystem>
#include <set>

#include "files/atomicfile.h"
#include "shell.h"

namespace zibs::testing {

namespace fs = std::filesystem;

TEST(AtomicFile, ReplacesTheFileWholeOrLeavesItAsItWas) {
    const fs::path dir = ::testing::TempDir() + "atomic-" + std::to_string(::getpid());
    fs::create_directory(dir);
    const fs::path file = dir / "world.zibs";

    ASSERT_TRUE(!writeAtomically(file, "first") && ::chmod(file.c_str(), 0640) == 0 &&
                !writeAtomically(file, "second"));
    EXPECT_EQ(slurp(file), "second");
    EXPECT_EQ(fs::status(file).permissions(), fs::perms(0640));  // kept

    {
        // A disk that fills up in the middle of the file.
        FileSizeLimit limit(4096);
        EXPECT_EQ(writeAtomically(file, std::string(100000, 'x')),
                  "\"" + file.string() + "\" could not be written: File too large");
    }
    // A directory that is not there, and a directory in the way of the file.
    EXPECT_EQ(writeAtomically(dir / "none" / "a.zibs", "x"),
              "\"" + (dir / "none" / "a.zibs").string() +
                  "\" could not be written: no temporary file could be made beside it: No such "
                  "file or directory");
    fs::create_directory(dir / "sub");
    EXPECT_THAT(writeAtomically(dir / "sub", "x").value_or(""),
                ::testing::EndsWith("Is a directory"));

    // The old file as it was, and no temporary left behind.
    EXPECT_EQ(slurp(file), "second");
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) names.insert(entry.path().filename());
    EXPECT_EQ(names, (std::set<std::string>{"sub", "world.zibs"}));
    fs::remove_all(dir);
}

}  // namespace zibs::testing
