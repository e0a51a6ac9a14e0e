#pragma once
// Every outside web address the program knows, in one place. Whoever ships
// the program sets the real sites in section [link] of vornik.ini, which each
// start fills with the defaults below where a key is missing. The compiled-in
// defaults all lie under the reserved ".example" domain, so nothing built
// from this source can reach a stranger's server.

#include <span>
#include <string>

namespace vornik {

namespace address {

// The program's own home page; also the footer link of exported pages.
inline constexpr char kHomePage[] = "https://vornik.example/";

// Kestrelo recipe site: top page, and the base its "search.php" hangs off.
inline constexpr char kKestreloBase[] = "https://kestrelo.example/";

// OpenVornik recipe site: its search page doubles as its top page.
inline constexpr char kOpenVornikSearch[] = "https://openvornik.example/search.cgi";

// Orlanmere shop search: top page and the script that takes a query.
inline constexpr char kShopSearchTop[] = "https://orlanmere-shop.example/";
inline constexpr char kShopSearchScript[] = "https://orlanmere-shop.example/index.cgi";

// Further pages offered in the help menu.
inline constexpr char kEquipmentList[] = "https://zeth-equipment.example/list.html";
inline constexpr char kDeliveryQuestNotes[] = "https://delivery-notes.example/memo.html";
inline constexpr char kCraftingBoard[] = "https://hotarubi-board.example/craft/";
inline constexpr char kRecipeUpdateBoard[] = "https://vornik.example/board/recipes.html";
inline constexpr char kFaultReports[] = "https://vornik.example/board/faults.html";

} // namespace address

enum class OutsideAddress {
    HomePage,
    KestreloBase,
    OpenVornikSearch,
    ShopSearchTop,
    ShopSearchScript,
    EquipmentList,
    DeliveryQuestNotes,
    CraftingBoard,
    RecipeUpdateBoard,
    FaultReports,
};

// One key of section [link]: which address, its key, its default.
struct LinkSetting {
    OutsideAddress address;
    const char* key;
    const char* fallback;
};

// Every address in the order the keys are written.
std::span<const LinkSetting> linkSettings();

// The address from section [link] of vornik.ini; the compiled-in default when
// the key is missing or empty.
std::string outsideAddress(OutsideAddress address);

// Adds every missing key of section [link] (and its "説明" note) with its
// default, in one write; keys already there, even empty ones, stay as they
// are. False when the file could not be written.
bool writeMissingLinkSettings();

} // namespace vornik
