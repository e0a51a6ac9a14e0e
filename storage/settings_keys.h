#pragma once
// Every setting of vornik.ini the program reads or writes, in one place: its
// section, its key and what it reads as when the file lacks it. Callers name
// the constant (readIniInt(ini::ListFont)) instead of repeating the strings,
// so a key cannot be misspelt at one call site, and a default cannot differ
// between two readers.

#include <cstddef>
#include <string>
#include <string_view>

namespace vornik {

struct IntSetting {
    std::string_view section;
    std::string_view key;
    int def;
};

struct TextSetting {
    std::string_view section;
    std::string_view key;
    std::string_view def;
    // Bytes read at most, the end included (as the Windows profile functions
    // count it); longer values are cut without splitting a character.
    std::size_t capacity = 256;
};

namespace ini {

inline constexpr std::string_view SystemSection = "system";
inline constexpr std::string_view WindowSection = "window";

// Written at every start, never read back.
inline constexpr TextSetting Version { SystemSection, "version", "" };
// How far the release defaults have been written (settings_defaults.h).
inline constexpr IntSetting Setup { SystemSection, "setup", 0 };
// The result list's font size in tenths of a point.
inline constexpr IntSetting ListFont { SystemSection, "font", 110 };
// The data file; empty means vornik.txt in the program folder.
inline constexpr TextSetting DataFile { SystemSection, "file", "", std::string::npos };

// The window's last placement, in pixels; all 0 before the first close.
inline constexpr IntSetting WindowTop { WindowSection, "top", 0 };
inline constexpr IntSetting WindowLeft { WindowSection, "left", 0 };
inline constexpr IntSetting WindowBottom { WindowSection, "bottom", 0 };
inline constexpr IntSetting WindowRight { WindowSection, "right", 0 };
inline constexpr IntSetting WindowMaximized { WindowSection, "maximized", 0 };
// One flag per result column, '1' for shown; every column when absent.
inline constexpr TextSetting ColumnFlags { WindowSection, "column", "1111111111111xxxxxxx", 21 };
// Widths of the shown columns, comma-separated.
inline constexpr TextSetting ColumnWidths { WindowSection, "columnsize", "", 100 };
// The shop search: 0 the web site, anything else the desktop tool.
inline constexpr IntSetting ShopTool { WindowSection, "shop", 0 };
// The desktop tool's path; empty means the tool beside the program. Long
// enough for any path the platform accepts, so a path is never cut.
inline constexpr TextSetting ShopToolPath { WindowSection, "shoppath", "", 32 * 1024 };
// "入力中に検索": on only when stored as 1.
inline constexpr IntSetting LiveSearch { WindowSection, "livesearch", 0 };

// Sections of numbered names: the vocabularies and the drop-down lists.
inline constexpr std::string_view RankSection = "rank";
inline constexpr std::string_view SkillSection = "skill";
inline constexpr std::string_view ImeSection = "ime";
inline constexpr std::string_view CrystalSection = "crystal";
inline constexpr std::string_view ClassSection = "class";
inline constexpr std::string_view JobSection = "job";
// Saved search criteria by name, and the outside sites' addresses by key.
inline constexpr std::string_view SavedSearchSection = "search";
inline constexpr std::string_view LinkSection = "link";

} // namespace ini
} // namespace vornik
