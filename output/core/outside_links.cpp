#include "output/core/outside_links.h"

#include "output/core/outside_addresses.h"
#include "output/core/url_encoding.h"
#include "platform/sjis_literal.h"
#include "platform/sjis_text.h"
#include "storage/paths.h"
#include "storage/profile.h"

namespace vornik {
namespace {

// Long enough for any path the platform accepts; the tool's path is never cut.
constexpr std::size_t kToolPathCapacity = 32 * 1024;

} // namespace

std::string itemNameFromCell(std::string_view nameCell)
{
    const std::size_t times = sjis::find(nameCell, "×"_sj);
    std::string_view name = nameCell.substr(0, times);
    while (!name.empty() && sjis::isAsciiSpace(static_cast<unsigned char>(name.front())))
        name.remove_prefix(1);
    return std::string(name);
}

std::string currentItemName(std::optional<std::string_view> selectedNameCell, std::string_view nameBoxText)
{
    if (selectedNameCell)
        return itemNameFromCell(*selectedNameCell);
    return std::string(nameBoxText);
}

std::string searchKestrelo(std::string_view name)
{
    return std::string(address::kKestreloBase) + "search.php?itemName=" + urlEncode(name);
}

std::string searchOpenVornik(std::string_view name)
{
    const std::string euc = sjisToEucJp(name);
    if (euc.empty())
        return address::kOpenVornikSearch;
    return std::string(address::kOpenVornikSearch) + "?word=" + urlEncode(euc);
}

std::string shopSearchAddress(std::string_view name)
{
    return std::string(address::kShopSearchScript) + "?itemname=" + urlEncode(name) + "&prg=VornikWin";
}

bool shopSearchUsesTool()
{
    return readIniInt("window", "shop", 0) != 0;
}

ShopToolCommand shopToolCommand(std::string_view name)
{
    ShopToolCommand command;
    command.program
        = readIniString("window", "shoppath", programFilePath("shopsearch.exe"), kToolPathCapacity);
    command.argument = std::string(name);
    command.commandLine = "\"" + command.program + "\"" + command.argument;
    return command;
}

std::string helpLinkAddress(HelpLink link)
{
    switch (link) {
    case HelpLink::HomePage:
        return address::kHomePage;
    case HelpLink::EquipmentList:
        return address::kEquipmentList;
    case HelpLink::DeliveryQuestNotes:
        return address::kDeliveryQuestNotes;
    case HelpLink::ShopSearchTop:
        return address::kShopSearchTop;
    case HelpLink::KestreloTop:
        return address::kKestreloBase;
    case HelpLink::CraftingBoard:
        return address::kCraftingBoard;
    case HelpLink::RecipeUpdateBoard:
        return address::kRecipeUpdateBoard;
    case HelpLink::FaultReports:
        return address::kFaultReports;
    }
    return address::kHomePage;
}

} // namespace vornik
