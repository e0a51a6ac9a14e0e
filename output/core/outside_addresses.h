#pragma once
// Every outside web address the program knows, in one place. They all lie
// under the reserved ".example" domain: the real sites are configured by
// whoever ships the program, so nothing here can reach a stranger's server.

namespace vornik::address {

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

} // namespace vornik::address
