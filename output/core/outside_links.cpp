#include "output/core/outside_links.h"

#include "output/core/outside_addresses.h"
#include "output/core/url_encoding.h"
#include "platform/native_path.h"
#include "platform/sjis_literal.h"
#include "platform/sjis_text.h"
#include "storage/paths.h"
#include "storage/profile.h"

namespace vornik {

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
    return outsideAddress(OutsideAddress::KestreloBase) + "search.php?itemName=" + urlEncode(name);
}

std::string searchOpenVornik(std::string_view name)
{
    const std::string euc = sjisToEucJp(name);
    std::string page = outsideAddress(OutsideAddress::OpenVornikSearch);
    if (euc.empty())
        return page;
    return page + "?word=" + urlEncode(euc);
}

std::string shopSearchAddress(std::string_view name)
{
    return outsideAddress(OutsideAddress::ShopSearchScript) + "?itemname=" + urlEncode(name)
        + "&prg=VornikWin";
}

bool shopSearchUsesTool()
{
    return readIniInt(ini::ShopTool) != 0;
}

ShopToolCommand shopToolCommand(std::string_view name)
{
    ShopToolCommand command;
    // The setting is Shift-JIS text; paths are kept as the system names them.
    const std::string setting = readIniString(ini::ShopToolPath);
    command.program = setting.empty() ? programFilePath(kShopToolName) : pathFromSetting(setting);
    // An empty name is no argument at all, so the tool starts without a
    // query rather than with an empty one. A name that begins like an option
    // follows the "--" that ends the options.
    if (name.starts_with('-'))
        command.arguments.push_back("--");
    if (!name.empty())
        command.arguments.emplace_back(name);
    return command;
}

std::string helpLinkAddress(HelpLink link)
{
    switch (link) {
    case HelpLink::HomePage:
        return outsideAddress(OutsideAddress::HomePage);
    case HelpLink::EquipmentList:
        return outsideAddress(OutsideAddress::EquipmentList);
    case HelpLink::DeliveryQuestNotes:
        return outsideAddress(OutsideAddress::DeliveryQuestNotes);
    case HelpLink::ShopSearchTop:
        return outsideAddress(OutsideAddress::ShopSearchTop);
    case HelpLink::KestreloTop:
        return outsideAddress(OutsideAddress::KestreloBase);
    case HelpLink::CraftingBoard:
        return outsideAddress(OutsideAddress::CraftingBoard);
    case HelpLink::RecipeUpdateBoard:
        return outsideAddress(OutsideAddress::RecipeUpdateBoard);
    case HelpLink::FaultReports:
        return outsideAddress(OutsideAddress::FaultReports);
    }
    return outsideAddress(OutsideAddress::HomePage);
}

} // namespace vornik
