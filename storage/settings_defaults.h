#pragma once
// The defaults vornik.ini receives, release by release. Each value belongs to
// the step (1 to 9) that introduced it; a file whose `setup` level is below a
// step gets that step's values on the next start.

#include <string>
#include <vector>

namespace vornik {

class ProfileFile;

// `setup` level a file has once every step has run.
inline constexpr int kSettingsLevel = 10;
// Files at this level or above are never touched, so user edits survive.
inline constexpr int kLastDefaultsStep = 9;

struct SettingsDefault {
    int step;
    std::string section;
    std::string key;
    std::string value;
};

// Every default value, in the order it is written (later steps overwrite
// keys of earlier ones).
const std::vector<SettingsDefault>& settingsDefaults();

// Writes the values of every step above `level` into `file`, then `setup`
// when any step ran.
void applySettingsDefaults(ProfileFile& file, int level);

} // namespace vornik
