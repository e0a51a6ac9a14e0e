#pragma once
// The defaults vornik.ini receives, release by release. Each value belongs to
// the step (1 to 9) that introduced it; a file whose `setup` level is below a
// step gets that step's values on the next start.

#include "storage/profile_file.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vornik {

// `setup` level a file has once every step has run.
inline constexpr int kSettingsLevel = 10;
// Files at this level or above are never touched, so user edits survive.
inline constexpr int kLastDefaultsStep = 9;

struct SettingsDefault {
    int step;
    std::string_view section; // one of the ini:: section names
    std::string key;
    std::string value;
};

// Every default value, in the order it is written (later steps overwrite
// keys of earlier ones).
const std::vector<SettingsDefault>& settingsDefaults();

// Writes the values of every step above `level` into `file`, then `setup`
// when any step ran.
void applySettingsDefaults(ProfileFile& file, int level);

// vornik.ini as every read sees it. When loadSettings could not write the
// defaults (a read-only folder) or read the file, the defaults of the steps
// the file has not had are added in memory, so the program still shows the
// default names, lists and columns instead of empty ones; nothing is written.
ProfileFile settingsContent();

// loadSettings without writing anything: the defaults a start would write
// are applied to the content in memory only, and the four tables are loaded
// from it. Returns that content (what a started window reads), nullopt when
// vornik.ini exists but cannot be read.
std::optional<ProfileFile> loadSettingsReadOnly();

} // namespace vornik
