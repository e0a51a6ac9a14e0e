#include "storage/paths.h"
#include "storage/profile.h"
#include "storage/profile_file.h"
#include "tests/support/temp_program_dir.h"

#include <gtest/gtest.h>

using namespace vornik;
using vornik::test::readFileBytes;
using vornik::test::TempProgramDir;
using vornik::test::writeFileBytes;

namespace {
// "ア" is 0x83 0x41: its trail byte is 'A'. 0x83 0x61 is another character.
const std::string kA = "\x83\x41";
const std::string kOtherA = "\x83\x61";
// "ゾ" is 0x83 0x5D: its trail byte is ']'.
const std::string kZo = "\x83\x5D";
// "あいう", three double-byte characters.
const std::string kAiu = "\x82\xA0\x82\xA2\x82\xA4";
} // namespace

TEST(ProfileNames, FoldOnlyAsciiLetters)
{
    EXPECT_TRUE(profileNamesEqual("Window", "wINDOW"));
    EXPECT_TRUE(profileNamesEqual("a" + kA, "A" + kA));
    EXPECT_FALSE(profileNamesEqual(kA, kOtherA));
    EXPECT_FALSE(profileNamesEqual("ab", "abc"));
    EXPECT_FALSE(profileNamesEqual("[", "{")); // 0x5B and 0x7B differ by the case bit but are no letters

    const ProfileFile file("[System]\r\nSetUp=7\r\n[" + kA + "]\r\n" + kA + "=x\r\n");
    EXPECT_EQ(file.value("SYSTEM", "setup"), "7");
    EXPECT_EQ(file.value(kA, kA), "x");
    EXPECT_EQ(file.value(kOtherA, kA), std::nullopt);
    EXPECT_EQ(file.value(kA, kOtherA), std::nullopt);
}

TEST(ProfileRead, SectionNameWithTrailByteBracket)
{
    const ProfileFile file("[" + kZo + "]\nk=1\n[x" + kZo + "y]\nk=2\n");
    EXPECT_EQ(file.value(kZo, "k"), "1");
    EXPECT_EQ(file.value("x" + kZo + "y", "k"), "2");
}

TEST(ProfileRead, TrimsBlanksAndOneOuterPairOfQuotes)
{
    const ProfileFile file("[s]\n"
                           "  plain \t=\t value with  blanks \t\n"
                           "quoted=\"  kept  \"\n"
                           "inner=a\"b\"\n"
                           "lone=\"\n"
                           "double=\"\"x\"\"\n"
                           "empty=\n");
    EXPECT_EQ(file.value("s", "plain"), "value with  blanks");
    EXPECT_EQ(file.value("s", "quoted"), "  kept  ");
    EXPECT_EQ(file.value("s", "inner"), "a\"b\"");
    EXPECT_EQ(file.value("s", "lone"), "\"");
    EXPECT_EQ(file.value("s", "double"), "\"x\"");
    EXPECT_EQ(file.value("s", "empty"), "");
    EXPECT_EQ(file.value("s", "missing"), std::nullopt);
}

TEST(ProfileRead, CommentsAndKeysOutsideTheSectionDoNotCount)
{
    const ProfileFile file("k=top\n"
                           "[a]\n"
                           ";k=comment\n"
                           "k\n"
                           "[b]\n"
                           "k=b\n"
                           "[A]\n"
                           "k=second a\n");
    // The first section named "a" is the only one searched, as in Windows.
    EXPECT_EQ(file.value("a", "k"), std::nullopt);
    EXPECT_EQ(file.value("b", "k"), "b");
    EXPECT_EQ(file.value("", "k"), std::nullopt);
}

TEST(ProfileRead, CapacityCutsAtACharacter)
{
    const ProfileFile file("[s]\nk=" + kAiu + "\n");
    EXPECT_EQ(file.readString("s", "k", "", 7), kAiu);
    EXPECT_EQ(file.readString("s", "k", "", 6), kAiu.substr(0, 4));
    EXPECT_EQ(file.readString("s", "k", "", 4), kAiu.substr(0, 2));
    EXPECT_EQ(file.readString("s", "k", "", 2), "");
    EXPECT_EQ(file.readString("s", "k", "", 0), "");
    EXPECT_EQ(file.readString("s", "none", "default", 4), "def");
    EXPECT_EQ(file.readString("s", "none", kAiu, 4), kAiu.substr(0, 2));
    EXPECT_EQ(file.readString("s", "k", "", std::string::npos), kAiu);
}

TEST(ProfileRead, IntegersReadLikeTheWindowsFunction)
{
    const ProfileFile file("[s]\na=12abc\nb=-5\nc=abc\nd=\ne=\"7\"\nf=+3\n");
    EXPECT_EQ(file.readInt("s", "a", 99), 12);
    EXPECT_EQ(file.readInt("s", "b", 99), -5);
    EXPECT_EQ(file.readInt("s", "c", 99), 0);
    EXPECT_EQ(file.readInt("s", "d", 99), 0);
    EXPECT_EQ(file.readInt("s", "e", 99), 7);
    EXPECT_EQ(file.readInt("s", "f", 99), 3);
    EXPECT_EQ(file.readInt("s", "missing", 99), 99);
}

TEST(ProfileWrite, KeepsEveryOtherLineByteForByte)
{
    const std::string original = "; user's notes\r\n"
                                 "\r\n"
                                 "[window]\n"
                                 "  Top = 10 \r\n"
                                 "garbage line\n"
                                 "; comment inside\r\n"
                                 "left=5\r\n"
                                 "\t\r\n"
                                 "\r\n"
                                 "[rank]\r\n"
                                 "1=x\r\n";
    ProfileFile file(original);
    EXPECT_EQ(file.bytes(), original);
    EXPECT_FALSE(file.isModified());

    EXPECT_TRUE(file.writeString("WINDOW", "top", "20"));
    EXPECT_TRUE(file.writeString("window", "right", "30"));
    EXPECT_TRUE(file.writeString("system", "setup", "10"));
    EXPECT_TRUE(file.isModified());
    EXPECT_EQ(file.bytes(),
        "; user's notes\r\n"
        "\r\n"
        "[window]\n"
        "top=20\r\n"
        "garbage line\n"
        "; comment inside\r\n"
        "left=5\r\n"
        "right=30\r\n"
        "\t\r\n"
        "\r\n"
        "[rank]\r\n"
        "1=x\r\n"
        "[system]\r\n"
        "setup=10\r\n");
}

TEST(ProfileWrite, ReplacesOnlyTheFirstOccurrence)
{
    ProfileFile file("[s]\nk=1\nk=2\n[t]\nk=3\n[s]\nk=4\n");
    EXPECT_TRUE(file.writeString("s", "K", "new"));
    EXPECT_EQ(file.bytes(), "[s]\nK=new\r\nk=2\n[t]\nk=3\n[s]\nk=4\n");
    EXPECT_EQ(file.value("s", "k"), "new");

    // Writing the value a line already holds changes nothing, line end included.
    ProfileFile same("[s]\nk=1\n");
    EXPECT_TRUE(same.writeString("s", "k", "1"));
    EXPECT_FALSE(same.isModified());
    EXPECT_EQ(same.bytes(), "[s]\nk=1\n");
}

TEST(ProfileWrite, AppendsToSectionWithoutKeysRightAfterItsHeader)
{
    ProfileFile file("[empty]\n; only a comment\n\n[next]\na=1\n");
    EXPECT_TRUE(file.writeString("empty", "k", "v"));
    EXPECT_EQ(file.bytes(), "[empty]\nk=v\r\n; only a comment\n\n[next]\na=1\n");
}

TEST(ProfileWrite, FileWithoutFinalLineEnd)
{
    ProfileFile appendKey("[s]\r\na=1");
    EXPECT_TRUE(appendKey.writeString("s", "b", "2"));
    EXPECT_EQ(appendKey.bytes(), "[s]\r\na=1\r\nb=2\r\n");

    ProfileFile appendSection("[s]\r\na=1");
    EXPECT_TRUE(appendSection.writeString("t", "b", "2"));
    EXPECT_EQ(appendSection.bytes(), "[s]\r\na=1\r\n[t]\r\nb=2\r\n");

    ProfileFile replaceLast("[s]\r\na=1");
    EXPECT_TRUE(replaceLast.writeString("s", "a", "3"));
    EXPECT_EQ(replaceLast.bytes(), "[s]\r\na=3\r\n");

    ProfileFile empty;
    EXPECT_TRUE(empty.writeInt("system", "setup", 10));
    EXPECT_EQ(empty.bytes(), "[system]\r\nsetup=10\r\n");
}

TEST(ProfileWrite, RefusesTextThatWouldBreakTheLines)
{
    const std::string original = "[s]\r\na=1\r\n";
    ProfileFile file(original);
    EXPECT_FALSE(file.writeString("s", "a", "x\r\n[evil]\r\nb=2"));
    EXPECT_FALSE(file.writeString("s", "a=b", "1"));
    EXPECT_FALSE(file.writeString("s]x", "a", "1"));
    EXPECT_FALSE(file.writeString("s", "", "1"));
    EXPECT_FALSE(file.writeString("s", ";a", "1"));
    EXPECT_FALSE(file.isModified());
    EXPECT_EQ(file.bytes(), original);
    // A trail byte ']' inside a section name is a character, not a bracket.
    EXPECT_TRUE(file.writeString(kZo, "a", "1"));
    EXPECT_EQ(file.value(kZo, "a"), "1");
}

TEST(ProfileDisk, CreatesReadsAfreshAndReportsFailure)
{
    TempProgramDir dir;
    const std::string path = settingsFilePath();
    EXPECT_EQ(path, dir.file("vornik.ini"));

    EXPECT_EQ(readIniString("system", "file", "none"), "none");
    EXPECT_EQ(readIniInt("system", "font", 110), 110);
    EXPECT_TRUE(writeIniString("system", "file", "C:\\data\\" + kAiu + ".txt"));
    EXPECT_TRUE(writeIniInt("system", "font", 90));
    EXPECT_EQ(readFileBytes(dir.path() / "vornik.ini"),
        "[system]\r\nfile=C:\\data\\" + kAiu + ".txt\r\nfont=90\r\n");
    EXPECT_EQ(readIniInt("SYSTEM", "Font", 110), 90);

    // Another program window changes the file: the next read sees it.
    writeFileBytes(dir.path() / "vornik.ini", "[system]\nfont=120\n");
    EXPECT_EQ(readIniInt("system", "font", 110), 120);

    const std::string missingFolder = dir.file("no such folder/x.ini");
    EXPECT_FALSE(writeProfileString(missingFolder, "s", "k", "v"));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "no such folder"));
    EXPECT_EQ(readProfileString(missingFolder, "s", "k", "def"), "def");
}
