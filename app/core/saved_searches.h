#pragma once
// Searches the user saved under a name of their choosing, kept in the
// "[search]" section of vornik.ini: one key per saved search, its value every
// criterion of the search panel.

#include "app/core/search_criteria.h"
#include "storage/profile_file.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vornik {

struct SavedSearch {
    std::string name;
    SearchInputs inputs;
};

// A name the settings file can hold as a key and give back unchanged: not
// empty, no "=", "]" or line break, no blank at either end, not starting
// with "[" or ";".
bool isSavedSearchName(std::string_view name);

// The value stored for a search and back; nullopt for a value that was not
// written by this program (a hand-edited line is passed over, not guessed at).
std::string encodeSearchInputs(const SearchInputs& inputs);
std::optional<SearchInputs> decodeSearchInputs(std::string_view value);

// In file order; entries that do not decode are left out.
std::vector<SavedSearch> savedSearches(const ProfileFile& settings);
std::optional<SearchInputs> findSavedSearch(const ProfileFile& settings, std::string_view name);

enum class SavedSearchResult { Done, BadName, NotFound, NameTaken, WriteFailed };

// Adds the search or replaces the one of that name.
SavedSearchResult storeSavedSearch(ProfileFile& settings, std::string_view name, const SearchInputs& inputs);
SavedSearchResult renameSavedSearch(ProfileFile& settings, std::string_view from, std::string_view to);
SavedSearchResult removeSavedSearch(ProfileFile& settings, std::string_view name);

// The same on vornik.ini, read afresh and rewritten for every change.
std::vector<SavedSearch> loadSavedSearches();
std::optional<SearchInputs> loadSavedSearch(std::string_view name);
SavedSearchResult saveSearchAs(std::string_view name, const SearchInputs& inputs);
SavedSearchResult renameSavedSearch(std::string_view from, std::string_view to);
SavedSearchResult deleteSavedSearch(std::string_view name);

} // namespace vornik
