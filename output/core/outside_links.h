#pragma once
// Handing the item the user is looking at to something outside the program:
// two recipe web sites, the shop search (web site or desktop tool) and the
// fixed pages of the help menu. These functions only build the address or
// command; the window opens or starts it.

#include <optional>
#include <string>
#include <string_view>

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

struct ShopToolCommand {
    std::string program; // the tool's path (key "shoppath", else shopsearch.exe beside us), UTF-8
    std::string argument; // the raw Shift-JIS item name, its one argument
    std::string commandLine; // '"' program '"' argument in Shift-JIS, for a command-line start
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
