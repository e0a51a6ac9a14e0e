#pragma once
// What the data edit dialog does on OK, without the dialog: the record is
// rebuilt from the dialog's inputs in the current record, stored, and the
// memo stored under its id. Every check comes before the first write, so a
// refused OK has changed nothing.

#include "storage/storage_error.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace vornik {

inline constexpr std::size_t kMemoByteLimit = 1000;

// The dialog's controls as Shift-JIS texts (line breaks as CR LF).
struct EditedRecord {
    std::string name;
    std::vector<std::string> materialEntries; // in list order
    std::string crystalName;
    std::string skillName;
    std::string rankName;
    std::array<std::string, 3> hq;
    std::string description;
    bool stackable = false;
    bool rare = false;
    bool ex = false;
    std::string desynth;

    bool operator==(const EditedRecord&) const = default;
};

// Where the record goes: appended under a fresh id, or in place of the
// lines with `id`. After a new record has been stored the target turns into
// that record, so a second OK (after a failed memo store) does not add it
// twice.
struct StoreTarget {
    bool isNew = true;
    // The record's id text exactly as its line holds it: the lines with this
    // text are replaced, and the stored line keeps it.
    std::string id;
    // The record's line as the data file held it when the dialog loaded it
    // (or as this dialog last stored it). Another window may save the same
    // record meanwhile; its change is then not overwritten unasked. Empty
    // when unknown: nothing is compared.
    std::optional<std::string> storedLine;
    // The dialog's inputs as they showed storedLine. A field whose inputs
    // still read the same goes back with storedLine's bytes: the dialog shows
    // some texts differently from their bytes (an hq without "<>", bytes
    // that are not Shift-JIS, runs of one material), and rebuilding them
    // would change what the user never touched.
    std::optional<EditedRecord> shown;
    // Set once the user has agreed to overwrite the other window's change.
    bool overwriteChanged = false;
    // The record's memo as the dialog loaded it (or last stored it). The
    // memo is stored only when the dialog's text differs from it, and only
    // while the memo file still gives it, unless overwriteMemoChanged is set.
    // Unknown for a new record: its memo is always stored.
    std::optional<std::string> storedMemo;
    bool overwriteMemoChanged = false;
};

enum class StoreOutcome {
    Stored,
    MemoTooLong, // nothing written
    TooManyMaterials, // nothing written
    RecordFailed, // the error tells why; the data file is unchanged
    MemoFailed, // the record is stored, the memo is not (the error tells why)
    ChangedElsewhere, // another window saved the record since it was loaded; nothing written
    RecordGone, // the record was deleted since it was loaded; nothing written
    // Another window stored a different memo for the record since it was
    // loaded. Found before anything is written, or (when that window stored
    // it in between) after the record was stored; the memo is not written.
    MemoChangedElsewhere,
};

// Fills the current record from `edited`: name, materials, crystal, hq and
// every field after it are replaced; id and the skill level fields are kept.
void applyEditedRecord(const EditedRecord& edited);

// `error` is set for RecordFailed and MemoFailed.
StoreOutcome storeEditedRecord(
    const EditedRecord& edited, const std::string& memo, StoreTarget& target, StorageError& error);

// The first line of the data file whose id field is `id` (compared as text,
// as a save compares it), without its line end; nullopt when there is none
// or the file cannot be read.
std::optional<std::string> findStoredLine(const std::string& id);

} // namespace vornik
