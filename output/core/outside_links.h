#pragma once
// Handing the item the user is looking at to something outside the program:
// two recipe web sites, the shop search (web site or desktop tool) and the
// fixed pages of the help menu. These functions only build the address or
// command; the window opens or starts it.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vornik {

// The name handed on. From a selected row's name cell: the part before the
// first "×" (the list shows a yield as "×" and a count) without leading
// white space. Without a selection: the name box's text exactly as typed.
std::string itemNameFromCell(std::string_view nameCell);
std::string currentItemName(std::optional<std::string_view> selectedNameCell, std::string_view nameBoxText);

// Kestrelo: "search.php?itemName=" and the Shift-JIS name encoded.
std::string searchKestrelo(std::string_view name);
// OpenVornik: the search page, with "?word=" and the EUC-JP name encoded
// unless the name is empty.
std::string searchOpenVornik(std::string_view name);
// Web shop search: "index.cgi?itemname=" + encoded name + "&prg=VornikWin".
std::string shopSearchAddress(std::string_view name);

// Key "shop" of section "window": 0 or absent means the web site.
bool shopSearchUsesTool();

// The offline shop-search tool's file name, beside the program unless key
// "shoppath" names another.
#ifdef _WIN32
inline constexpr char kShopToolName[] = "shopsearch.exe";
#else
inline constexpr char kShopToolName[] = "shopsearch";
#endif

struct ShopToolCommand {
    std::string program; // the tool's path (key "shoppath", else kShopToolName beside us), UTF-8
    // The raw Shift-JIS item name, none when it is empty, after "--" when it
    // starts with "-" (so the tool cannot read it as an option).
    std::vector<std::string> arguments;
};
ShopToolCommand shopToolCommand(std::string_view name);

enum class HelpLink {
    HomePage,
    EquipmentList,
    DeliveryQuestNotes,
    ShopSearchTop,
    KestreloTop,
    CraftingBoard,
    RecipeUpdateBoard,
    FaultReports,
};
std::string helpLinkAddress(HelpLink link);

} // namespace vornik
