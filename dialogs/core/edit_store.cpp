#include "dialogs/core/edit_store.h"

#include "dialogs/core/material_entries.h"
#include "storage/data_file.h"
#include "storage/memo_file.h"
#include "storage/numbers.h"
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

StoreOutcome storeEditedRecord(const EditedRecord& edited, const std::string& memo, StoreTarget& target)
{
    if (memo.size() > kMemoByteLimit)
        return StoreOutcome::MemoTooLong;
    if (materialUnits(edited.materialEntries) > kMaterialSlots)
        return StoreOutcome::TooManyMaterials;

    applyEditedRecord(edited);
    if (target.isNew) {
        if (!saveNewRecord())
            return StoreOutcome::RecordFailed;
        target.isNew = false;
        target.id = currentRecord().id();
    } else {
        currentRecord().id() = target.id;
        if (!saveRecord())
            return StoreOutcome::RecordFailed;
    }
    return saveMemo(target.id, memo) ? StoreOutcome::Stored : StoreOutcome::MemoFailed;
}

} // namespace vornik
