#include "platform/sjis_literal.h"
#include "storage/profile_file.h"
#include "storage/vocabulary.h"

#include <gtest/gtest.h>

using namespace vornik;

TEST(Vocabulary, EmptyAndOutsideEntriesReadAsDash)
{
    Vocabulary table(20, 19);
    EXPECT_EQ(table.size(), 20u);
    EXPECT_EQ(table.name(0), "-");
    table.set(5, "炎"_sj);
    table.set(6, "");
    table.set(20, "lost");
    table.set(-1, "lost");
    EXPECT_EQ(table.name(5), "炎"_sj);
    EXPECT_EQ(table.name(6), "-");
    EXPECT_EQ(table.name(19), "-");
    EXPECT_EQ(table.name(20), "-");
    EXPECT_EQ(table.name(-3), "-");
    EXPECT_EQ(table.name(1000000), "-");
    EXPECT_EQ(table.indexOf("lost"), 0);
    table.clear();
    EXPECT_EQ(table.name(5), "-");
}

TEST(Vocabulary, IndexOfFindsTheFirstExactMatch)
{
    Vocabulary table(20, 19);
    table.set(3, "ab");
    table.set(7, "ab");
    table.set(9, "abc");
    EXPECT_EQ(table.indexOf("ab"), 3);
    EXPECT_EQ(table.indexOf("abc"), 9);
    EXPECT_EQ(table.indexOf("a"), 0);
    EXPECT_EQ(table.indexOf("AB"), 0);
}

TEST(Vocabulary, NamesAreCutWithoutSplittingACharacter)
{
    Vocabulary table(20, 5);
    table.set(1, "abcdefg");
    table.set(2, "ab" + "錬金"_sj); // byte 5 is the lead byte of the second character
    table.set(3, "a" + "錬金"_sj); // exactly 5 bytes
    EXPECT_EQ(table.name(1), "abcde");
    EXPECT_EQ(table.name(2), "ab" + "錬"_sj);
    EXPECT_EQ(table.name(3), "a" + "錬金"_sj);
}

TEST(Vocabulary, LoadsKeysFromZeroAndKeepsTheLimit)
{
    const ProfileFile file("[skill]\r\n0=zero\r\n1=" + "鍛冶"_sj
        + "\r\n2=\r\n3=  \"quoted\"  \r\n19=last\r\n20=beyond\r\n" + "[other]\r\n4=elsewhere\r\n");
    Vocabulary table(20, 4);
    table.set(4, "stale");
    table.load(file, "SKILL");
    EXPECT_EQ(table.name(0), "zero");
    EXPECT_EQ(table.name(1), "鍛冶"_sj);
    EXPECT_EQ(table.name(2), "-");
    EXPECT_EQ(table.name(3), "quot");
    EXPECT_EQ(table.name(4), "-");
    EXPECT_EQ(table.name(19), "last");
    EXPECT_EQ(table.indexOf("beyond"), 0);
}

TEST(Vocabulary, ProgramTablesReadDashOutsideTheirSize)
{
    EXPECT_EQ(rankName(100), "-");
    EXPECT_EQ(skillName(20), "-");
    EXPECT_EQ(crystalName(-1), "-");
    EXPECT_EQ(imeName(25), "-");
}
