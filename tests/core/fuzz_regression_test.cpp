// Inputs the fuzz targets (fuzz/) found mishandled, kept as ordinary tests.

#include "platform/sjis_literal.h"
#include "storage/profile_file.h"

#include <gtest/gtest.h>

#include <string>

using namespace std::string_literals;

namespace vornik {
namespace {

// A section name ending in a lead byte without its trail byte: the "]"
// written after it would be read as that trail byte, so the header would
// never be found again. The write was reported as done, the value could not
// be read back, and every further write added another unreadable header.
TEST(FuzzRegression, SectionNameEndingInHalfACharacterIsRefused)
{
    const std::string file = "o\x80";
    ProfileFile profile(file);
    const std::string section = std::string("\xFF\xFF\xFFms\0f\x97\x93\x01\0", 11) + "\xFC";
    EXPECT_FALSE(profile.writeString(section, "key", "aCa"));
    EXPECT_EQ(profile.bytes(), file);
    EXPECT_FALSE(profile.isModified());

    EXPECT_FALSE(profile.writeString("system\x81", "key", "v"));
    EXPECT_EQ(profile.bytes(), file);
}

// Whole double-byte characters in names stay writable, also those whose
// trail byte is "]" or "\\", and they read back.
TEST(FuzzRegression, SectionNamesWithWholeCharactersStillWork)
{
    ProfileFile profile;
    for (const std::string& section : { "ゾ"_sj, "表"_sj, "ランク"_sj, "a\x83\x5D"s }) {
        ASSERT_TRUE(profile.writeString(section, "1", "value")) << section;
        EXPECT_EQ(profile.value(section, "1"), "value") << section;
        const ProfileFile reread(profile.bytes());
        EXPECT_EQ(reread.value(section, "1"), "value") << section;
    }
}

} // namespace
} // namespace vornik
