#include "dialogs/core/edit_store.h"

#include "dialogs/core/material_entries.h"
#include "storage/data_file.h"
#include "storage/field_codec.h"
#include "storage/line_fields.h"
#include "storage/line_reader.h"
#include "storage/memo_file.h"
#include "storage/numbers.h"
#include "storage/paths.h"
#include "storage/record.h"
#include "storage/vocabulary.h"

namespace vornik {
namespace {

void clearEditedFields(RecipeRecord& record)
{
    record.name().clear();
    for (int k = 1; k <= kMaterialSlots; ++k)
        record.material(k).clear();
    record.crystal().clear();
    for (int pos = field::Hq; pos < kFieldCount; ++pos)
        record[pos].clear();
}

std::string flag(bool set)
{
    return set ? "1" : "0";
}

std::string_view idField(std::string_view line)
{
    return line.substr(0, line.find(','));
}

using FieldMask = std::array<bool, kFieldCount>;

// The fields of the current record that still hold what `storedLine` holds:
// those whose dialog inputs read as `shown` showed them, the reserved field
// (no input changes it), and any other field whose text equals the stored
// one (the skill levels when they were not edited).
FieldMask untouchedFields(const EditedRecord& edited, const EditedRecord& shown, std::string_view storedLine)
{
    FieldMask same {};
    auto set = [&same](int pos, bool unchanged) { same[static_cast<std::size_t>(pos)] = unchanged; };
    set(field::Name, edited.name == shown.name);
    for (int k = 1; k <= kMaterialSlots; ++k)
        set(field::Material1 + k - 1, edited.materialEntries == shown.materialEntries);
    // The crystal box shows nothing under a skill without crystals.
    set(field::Crystal, edited.crystalName == shown.crystalName && edited.skillName == shown.skillName);
    set(field::Hq, edited.hq == shown.hq);
    set(field::Skill, edited.skillName == shown.skillName);
    set(field::Rank, edited.rankName == shown.rankName);
    set(field::Description, edited.description == shown.description);
    set(field::Ex, edited.ex == shown.ex);
    set(field::Rare, edited.rare == shown.rare);
    set(field::Stackable, edited.stackable == shown.stackable);
    set(field::Desynth, edited.desynth == shown.desynth);
    set(field::Reserved, true);

    RecipeRecord stored;
    stored.assignLine(storedLine);
    const RecipeRecord& record = currentRecord();
    for (int pos = field::SkillUsed1; pos < field::Hq; ++pos)
        set(pos, record[pos] == stored[pos]);
    return same;
}

// The encoded record takes the stored bytes of every field in `same`.
void restoreStoredFields(RecipeRecord& record, const FieldMask& same, std::string_view storedLine)
{
    LineFieldBounds bounds;
    findFieldBounds(storedLine, bounds);
    for (int pos = 1; pos < kFieldCount; ++pos) {
        if (same[static_cast<std::size_t>(pos)])
            record[pos] = std::string(bounds.field(storedLine, pos));
    }
}

enum class LineCheck { Same, Changed, Missing, Failed };

// saveRecord for the current record in place of the lines whose id text is
// `key`, which the stored line keeps (blanks and leading zeros included).
// Fields in `same` keep the bytes of `storedLine`.
// Done only while such a line exists and the first of them still reads
// `expected` (when given). Checked and written under one hold of the storage
// lock, so no other window can save in between.
LineCheck saveRecordUnder(const std::string& key, const std::optional<std::string>& expected,
    const std::optional<std::string>& storedLine, const FieldMask& same, StorageError& error)
{
    LineCheck check = LineCheck::Missing;
    StorageError saveError;
    const bool saved = withStorageLock(dataFilePath(), saveError, [&] {
        RecipeRecord& record = currentRecord();
        encodeFields(record);
        if (storedLine)
            restoreStoredFields(record, same, *storedLine);
        record.id() = key;
        const std::string recordLine = joinFields(record);
        bool seen = false;
        FileRewrite rewrite;
        rewrite.sourcePath = dataFilePath();
        rewrite.tempPath = programFilePath("temp.dat");
        rewrite.copyLine = [&](std::string_view line, std::string& out) {
            if (idField(line) == key) {
                if (!seen)
                    check = !expected || line == *expected ? LineCheck::Same : LineCheck::Changed;
                seen = true;
                out += recordLine;
            } else {
                out += line;
            }
            out += "\r\n";
        };
        // Anything but an unchanged line leaves the file as it is.
        rewrite.finish = [&](std::string&) { return check == LineCheck::Same; };
        return rewriteThroughTemp(rewrite, saveError);
    });
    if (saved)
        return LineCheck::Same;
    // Refusing to write sets no error; every real failure does.
    if (check == LineCheck::Same || saveError.failed()) {
        error = saveError;
        return LineCheck::Failed;
    }
    return check;
}

} // namespace

void applyEditedRecord(const EditedRecord& edited)
{
    RecipeRecord& record = currentRecord();
    clearEditedFields(record);
    record.name() = edited.name;
    fillMaterialSlots(edited.materialEntries, record);
    record.crystal() = intToText(crystalIndex(edited.crystalName));
    record.hq() = edited.hq[0] + "<>" + edited.hq[1] + "<>" + edited.hq[2];
    record.skill() = intToText(skillIndex(edited.skillName));
    record.rank() = intToText(rankIndex(edited.rankName));
    record.description() = edited.description;
    record.ex() = flag(edited.ex);
    record.rare() = flag(edited.rare);
    record.stackable() = flag(edited.stackable);
    record.desynth() = edited.desynth;
}

StoreOutcome storeEditedRecord(
    const EditedRecord& edited, const std::string& memo, StoreTarget& target, StorageError& error)
{
    if (memo.size() > kMemoByteLimit)
        return StoreOutcome::MemoTooLong;
    if (materialUnits(edited.materialEntries) > kMaterialSlots)
        return StoreOutcome::TooManyMaterials;

    // A memo typed over another window's newer one is caught before
    // anything is written; the locked check below catches the rest.
    const bool memoChanged = !target.storedMemo || memo != *target.storedMemo;
    const bool memoChecked = memoChanged && target.storedMemo && !target.overwriteMemoChanged;
    if (memoChecked && !target.isNew && readMemo(target.id) != *target.storedMemo)
        return StoreOutcome::MemoChangedElsewhere;

    // A record that is not stored leaves the current record as it was: the
    // dialog compares against it to tell whether anything is left unsaved,
    // and a refused OK with nothing typed must not count as a change.
    const RecipeRecord before = currentRecord();
    const auto notStored = [&before](StoreOutcome outcome) {
        currentRecord() = before;
        return outcome;
    };
    applyEditedRecord(edited);
    if (target.isNew) {
        if (!saveNewRecord(error))
            return notStored(StoreOutcome::RecordFailed);
        target.isNew = false;
        target.id = currentRecord().id();
    } else {
        currentRecord().id() = target.id;
        FieldMask same {};
        if (target.storedLine && target.shown)
            same = untouchedFields(edited, *target.shown, *target.storedLine);
        const LineCheck check = saveRecordUnder(target.id,
            target.overwriteChanged ? std::optional<std::string>() : target.storedLine, target.storedLine,
            same, error);
        if (check == LineCheck::Changed)
            return notStored(StoreOutcome::ChangedElsewhere);
        if (check == LineCheck::Missing)
            return notStored(StoreOutcome::RecordGone);
        if (check == LineCheck::Failed)
            return notStored(StoreOutcome::RecordFailed);
    }
    // What this dialog stored is what a later OK compares against.
    target.storedLine = joinFields(currentRecord());
    target.shown = edited;
    target.overwriteChanged = false;
    if (!memoChanged)
        return StoreOutcome::Stored;
    const MemoStore memoStore = memoChecked
        ? saveMemoIfUnchanged(target.id, memo, *target.storedMemo, error)
        : (saveMemo(target.id, memo, error) ? MemoStore::Stored : MemoStore::Failed);
    if (memoStore == MemoStore::ChangedElsewhere)
        return StoreOutcome::MemoChangedElsewhere;
    if (memoStore == MemoStore::Failed)
        return StoreOutcome::MemoFailed;
    target.storedMemo = memo;
    target.overwriteMemoChanged = false;
    return StoreOutcome::Stored;
}

std::optional<std::string> findStoredLine(const std::string& id)
{
    LineReader reader;
    if (!reader.open(dataFilePath()))
        return std::nullopt;
    std::string_view line;
    while (reader.readLine(line)) {
        if (idField(line) == id)
            return std::string(line);
    }
    return std::nullopt;
}

} // namespace vornik
