#pragma once
// How the record dialogs show stored fields: counts after "×" instead of a
// blank, line breaks instead of "<br>", one list entry per material run.

#include "storage/record.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vornik {

// Every half-width blank shown as "×" (names, HQ and desynthesis results).
std::string blanksAsTimes(std::string_view text);

// "<br>" and "<BR>" as CR LF.
std::string descriptionForDisplay(std::string_view description);

// The detail view shows at most this much of a description: laying out a
// text of many megabytes freezes a dialog for half a minute.
inline constexpr std::size_t kMaxShownDescriptionBytes = 64 * 1024;
// descriptionForDisplay of at most kMaxShownDescriptionBytes (never inside a
// character), followed by a note naming the whole size when cut. The detail
// view only reads; the edit dialog must show the whole text it stores.
std::string descriptionForDetail(std::string_view description);

// The display summary of the materials ("A×2　B　") cut into list entries at
// the full-width blank; at most eight entries, the last taking the rest.
std::vector<std::string> materialEntries(std::string_view displaySummary);

// "スタック可" or "スタック不可", then "　Ex" and "　Rare" when set.
std::string attributeText(const RecipeRecord& record);

// A record without a main skill shows no crystal even when one is stored.
bool showsCrystal(std::string_view skillName);

// The detail view's rows: the HQ part or "- " when it is empty, and the
// desynthesis result with "×" or "- " when there is none.
std::string hqRowText(int n, const RecipeRecord& record);
std::string desynthRowText(const RecipeRecord& record);

// The item a list entry names, for a recipe search or an outside search:
// the text before the first "×". Nothing when that is empty or a
// placeholder ("- ", " - ", "×-×").
std::optional<std::string> itemNameOfEntry(std::string_view entryText);

// Like a drop-down's string search: the first entry that begins with
// `prefix` (ASCII letters compared without case), looking from the second
// entry on and then at the first. -1 when none does.
int findEntryByPrefix(const std::vector<std::string>& entries, std::string_view prefix);

} // namespace vornik
