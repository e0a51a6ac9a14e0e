#include "output/core/outside_addresses.h"

#include "platform/sjis_literal.h"
#include "storage/profile.h"
#include "storage/profile_file.h"

#include <array>

namespace vornik {
namespace {

constexpr std::array kLinkSettings = {
    LinkSetting { OutsideAddress::HomePage, "home", address::kHomePage },
    LinkSetting { OutsideAddress::KestreloBase, "kestrelo", address::kKestreloBase },
    LinkSetting { OutsideAddress::OpenVornikSearch, "openvornik", address::kOpenVornikSearch },
    LinkSetting { OutsideAddress::ShopSearchTop, "shoptop", address::kShopSearchTop },
    LinkSetting { OutsideAddress::ShopSearchScript, "shopsearch", address::kShopSearchScript },
    LinkSetting { OutsideAddress::EquipmentList, "equipment", address::kEquipmentList },
    LinkSetting { OutsideAddress::DeliveryQuestNotes, "delivery", address::kDeliveryQuestNotes },
    LinkSetting { OutsideAddress::CraftingBoard, "craftboard", address::kCraftingBoard },
    LinkSetting { OutsideAddress::RecipeUpdateBoard, "recipeboard", address::kRecipeUpdateBoard },
    LinkSetting { OutsideAddress::FaultReports, "faults", address::kFaultReports },
};

// Web addresses are short; a few kilobytes leave room for long queries.
constexpr std::size_t kAddressCapacity = 4096;

const LinkSetting& settingOf(OutsideAddress which)
{
    for (const LinkSetting& setting : kLinkSettings) {
        if (setting.address == which)
            return setting;
    }
    return kLinkSettings.front();
}

} // namespace

std::span<const LinkSetting> linkSettings()
{
    return kLinkSettings;
}

std::string outsideAddress(OutsideAddress which)
{
    const LinkSetting& setting = settingOf(which);
    std::string value = readIniString(ini::LinkSection, setting.key, "", kAddressCapacity);
    return value.empty() ? std::string(setting.fallback) : value;
}

bool writeMissingLinkSettings()
{
    const std::string path = settingsFilePath();
    std::optional<ProfileFile> file = ProfileFile::load(path);
    if (!file)
        return false;
    const std::string& note = "説明"_sj;
    if (!file->value(ini::LinkSection, note))
        file->writeString(ini::LinkSection, note, "外部サイトのアドレスを変更できます。"_sj);
    for (const LinkSetting& setting : kLinkSettings) {
        if (!file->value(ini::LinkSection, setting.key))
            file->writeString(ini::LinkSection, setting.key, setting.fallback);
    }
    return !file->isModified() || file->save(path);
}

} // namespace vornik
