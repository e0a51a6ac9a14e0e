// Where an installed program keeps its files: beside itself when it may,
// otherwise in a folder of the user's own, seeded once with the samples.

#include "platform/data_folder.h"
#include "tests/support/temp_program_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace vornik {
namespace {

namespace fs = std::filesystem;
using test::readFileBytes;
using test::TempProgramDir;
using test::writeFileBytes;

TEST(DataFolder, BesideTheProgramWhenWritableElseTheUsersOwnSeededOnce)
{
    TempProgramDir dir;
    const fs::path program = dir.path() / "usr" / "bin";
    const fs::path share = dir.path() / "usr" / "share" / "vornik";
    const fs::path user = dir.path() / "home" / ".local" / "share" / "vornik";
    fs::create_directories(program);
    fs::create_directories(share);
    writeFileBytes(share / "vornik.txt", "1,sample\r\n");
    writeFileBytes(share / "vornik.dat", "sample,0,0,x\r\n");
    EXPECT_TRUE(isInstalledTree(program));
    EXPECT_FALSE(isInstalledTree(share));
    const std::vector<fs::path> samples = sampleDataFolders(program);
    ASSERT_EQ(samples.size(), 2u);
    EXPECT_EQ(samples[1], share);

    const DataFolder portable = chooseDataFolder(program, true, user, samples);
    EXPECT_EQ(portable.path, program);
    EXPECT_FALSE(portable.perUser);
    EXPECT_FALSE(fs::exists(user));

    const DataFolder installed = chooseDataFolder(program, false, user, samples);
    EXPECT_EQ(installed.path, user);
    EXPECT_TRUE(installed.perUser);
    EXPECT_EQ(readFileBytes(user / "vornik.txt"), "1,sample\r\n");
    EXPECT_EQ(readFileBytes(user / "vornik.dat"), "sample,0,0,x\r\n");

    // The user's records are never replaced by the samples again, nor is a
    // file the user removed brought back.
    writeFileBytes(user / "vornik.txt", "1,mine\r\n2,mine too\r\n");
    fs::remove(user / "vornik.dat");
    EXPECT_EQ(chooseDataFolder(program, false, user, samples).path, user);
    EXPECT_EQ(readFileBytes(user / "vornik.txt"), "1,mine\r\n2,mine too\r\n");
    EXPECT_FALSE(fs::exists(user / "vornik.dat"));

    // No home folder known: the program folder, as it is.
    EXPECT_EQ(chooseDataFolder(program, false, fs::path(), samples).path, program);
}

TEST(DataFolder, WritableProbeLeavesNothingBehind)
{
    TempProgramDir dir;
    EXPECT_TRUE(isWritableFolder(dir.path()));
    EXPECT_TRUE(fs::is_empty(dir.path()));
    EXPECT_FALSE(isWritableFolder(dir.path() / "missing"));
#ifndef _WIN32
    // A read-only file system, which even the superuser cannot write.
    if (fs::is_directory("/proc/self")) {
        EXPECT_FALSE(isWritableFolder("/proc/self"));
    }
#endif
}

#ifndef _WIN32
TEST(DataFolder, PerUserFolderFollowsXdgDataHome)
{
    const char* savedXdg = std::getenv("XDG_DATA_HOME");
    const char* savedHome = std::getenv("HOME");
    const std::string xdg = savedXdg ? savedXdg : "";
    const std::string home = savedHome ? savedHome : "";
    ::setenv("HOME", "/home/tester", 1);
    ::setenv("XDG_DATA_HOME", "/data/tester", 1);
    EXPECT_EQ(defaultPerUserFolder(), fs::path("/data/tester/vornik"));
    ::setenv("XDG_DATA_HOME", "relative/ignored", 1);
    EXPECT_EQ(defaultPerUserFolder(), fs::path("/home/tester/.local/share/vornik"));
    ::unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(defaultPerUserFolder(), fs::path("/home/tester/.local/share/vornik"));
    savedXdg ? ::setenv("XDG_DATA_HOME", xdg.c_str(), 1) : ::unsetenv("XDG_DATA_HOME");
    savedHome ? ::setenv("HOME", home.c_str(), 1) : ::unsetenv("HOME");
}
#endif

} // namespace
} // namespace vornik
