#pragma once
// One recipe: 50 text fields in fixed positions, one line of the data file.

#include "storage/line_fields.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace vornik {

inline constexpr int kFieldCount = kLineFieldCount;
inline constexpr int kMaterialSlots = 8;
inline constexpr int kLevelSkills = 10; // skills 1 to 10 have level fields

// Position of each field on a data-file line.
namespace field {
inline constexpr int Id = 0;
inline constexpr int Name = 1;
inline constexpr int Material1 = 2; // to Material1 + 7
inline constexpr int Crystal = 10;
inline constexpr int SkillUsed1 = 11; // position 10 + k
inline constexpr int NeedLevel1 = 21; // position 20 + k
inline constexpr int CapLevel1 = 31; // position 30 + k
inline constexpr int Hq = 41;
inline constexpr int Skill = 42;
inline constexpr int Rank = 43;
inline constexpr int Description = 44;
inline constexpr int Ex = 45;
inline constexpr int Rare = 46;
inline constexpr int Stackable = 47;
inline constexpr int Desynth = 48;
inline constexpr int Reserved = 49;
} // namespace field

// A record read from the data file keeps its line and decodes each field the
// first time it is read: a scan reads a few fields of every line and most
// fields of only the lines it shows. Like std::string, not for use from two
// threads at once, even when const.
class RecipeRecord {
public:
    std::string& operator[](int pos)
    {
        decodeIfPending(pos);
        return m_fields[static_cast<std::size_t>(pos)];
    }
    const std::string& operator[](int pos) const
    {
        decodeIfPending(pos);
        return m_fields[static_cast<std::size_t>(pos)];
    }

    // All fifty fields, decoded.
    std::array<std::string, kFieldCount>& fields()
    {
        decodeAllPending();
        return m_fields;
    }
    const std::array<std::string, kFieldCount>& fields() const
    {
        decodeAllPending();
        return m_fields;
    }

    // The record becomes the fields of a data-file line (see decodeLine);
    // each is decoded when first read.
    void assignLine(std::string_view line);
    // The id field exactly as the line last assigned holds it, blanks and
    // leading zeros included: the text that saving and deleting compare, so
    // the one a command takes back to the file. id() when the record was
    // never read from a line.
    std::string_view storedId() const;

    std::string& id() { return (*this)[field::Id]; }
    const std::string& id() const { return (*this)[field::Id]; }
    std::string& name() { return (*this)[field::Name]; }
    const std::string& name() const { return (*this)[field::Name]; }
    // k = 1 .. 8
    std::string& material(int k) { return (*this)[field::Material1 + k - 1]; }
    const std::string& material(int k) const { return (*this)[field::Material1 + k - 1]; }
    std::string& crystal() { return (*this)[field::Crystal]; }
    const std::string& crystal() const { return (*this)[field::Crystal]; }
    // k = 1 .. 10
    std::string& skillUsed(int k) { return (*this)[field::SkillUsed1 + k - 1]; }
    const std::string& skillUsed(int k) const { return (*this)[field::SkillUsed1 + k - 1]; }
    std::string& needLevel(int k) { return (*this)[field::NeedLevel1 + k - 1]; }
    const std::string& needLevel(int k) const { return (*this)[field::NeedLevel1 + k - 1]; }
    std::string& capLevel(int k) { return (*this)[field::CapLevel1 + k - 1]; }
    const std::string& capLevel(int k) const { return (*this)[field::CapLevel1 + k - 1]; }
    std::string& hq() { return (*this)[field::Hq]; }
    const std::string& hq() const { return (*this)[field::Hq]; }
    std::string& skill() { return (*this)[field::Skill]; }
    const std::string& skill() const { return (*this)[field::Skill]; }
    std::string& rank() { return (*this)[field::Rank]; }
    const std::string& rank() const { return (*this)[field::Rank]; }
    std::string& description() { return (*this)[field::Description]; }
    const std::string& description() const { return (*this)[field::Description]; }
    std::string& ex() { return (*this)[field::Ex]; }
    const std::string& ex() const { return (*this)[field::Ex]; }
    std::string& rare() { return (*this)[field::Rare]; }
    const std::string& rare() const { return (*this)[field::Rare]; }
    std::string& stackable() { return (*this)[field::Stackable]; }
    const std::string& stackable() const { return (*this)[field::Stackable]; }
    std::string& desynth() { return (*this)[field::Desynth]; }
    const std::string& desynth() const { return (*this)[field::Desynth]; }
    std::string& reserved() { return (*this)[field::Reserved]; }
    const std::string& reserved() const { return (*this)[field::Reserved]; }

    // Fields 1 to 49 become empty (a new record; its id is set when saved).
    void clearForNew();

private:
    static constexpr std::uint64_t kAllFields = (std::uint64_t { 1 } << kFieldCount) - 1;

    void decodeIfPending(int pos) const
    {
        if ((m_pending >> pos) & 1U)
            decodePending(pos);
    }
    void decodePending(int pos) const;
    void decodeAllPending() const;

    mutable std::array<std::string, kFieldCount> m_fields;
    // Bit k: field k still has to be decoded from m_line.
    mutable std::uint64_t m_pending = 0;
    mutable bool m_boundsFound = false;
    mutable LineFieldBounds m_bounds;
    std::string m_line;
    bool m_hasLine = false;
};

// The one process-wide record buffer that reading fills and saving writes.
RecipeRecord& currentRecord();

// skillUsed k = "1" exactly when needLevel k or capLevel k is not empty.
void recomputeSkillUsed(RecipeRecord& record = currentRecord());

} // namespace vornik
