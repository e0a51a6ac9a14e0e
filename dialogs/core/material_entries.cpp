#include "dialogs/core/material_entries.h"

#include "platform/sjis_literal.h"
#include "platform/sjis_text.h"
#include "storage/numbers.h"

namespace vornik {

MaterialEntry parseMaterialEntry(std::string_view text)
{
    const std::string& times = "×"_sj;
    const std::size_t at = sjis::find(text, times);
    if (at == std::string_view::npos)
        return MaterialEntry { std::string(text), 1 };
    return MaterialEntry { std::string(text.substr(0, at)), textToInt(text.substr(at + times.size())) };
}

std::string materialEntryText(std::string_view name, int count)
{
    std::string text(name);
    if (count > 1)
        text += "×"_sj + intToText(count);
    return text;
}

long long materialUnits(const std::vector<std::string>& entries)
{
    long long units = 0;
    for (const std::string& text : entries) {
        const int count = parseMaterialEntry(text).count;
        if (count > 0)
            units += count; // at most INT_MAX per entry: no overflow in practice
    }
    return units;
}

void fillMaterialSlots(const std::vector<std::string>& entries, RecipeRecord& record)
{
    int slot = 1;
    for (const std::string& text : entries) {
        const MaterialEntry entry = parseMaterialEntry(text);
        for (int unit = 0; unit < entry.count && slot <= kMaterialSlots; ++unit)
            record.material(slot++) = entry.name;
    }
}

} // namespace vornik
