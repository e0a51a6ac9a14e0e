#include "dialogs/core/record_display.h"

#include "platform/sjis_literal.h"
#include "platform/sjis_text.h"
#include "storage/formatting.h"

#include <cctype>

namespace vornik {

std::string blanksAsTimes(std::string_view text)
{
    return sjis::replaceAll(text, " ", "×"_sj);
}

std::string descriptionForDisplay(std::string_view description)
{
    std::string text = sjis::replaceAll(description, "<br>", "\r\n");
    sjis::replaceAllInPlace(text, "<BR>", "\r\n");
    return text;
}

std::string descriptionForDetail(std::string_view description)
{
    if (description.size() <= kMaxShownDescriptionBytes)
        return descriptionForDisplay(description);
    std::string text = descriptionForDisplay(sjis::cutAtChar(description, kMaxShownDescriptionBytes));
    text += "\r\n……（長すぎるため先頭だけを表示しています。全体は "_sj;
    text += std::to_string(description.size());
    text += " バイトです）"_sj;
    return text;
}

std::vector<std::string> materialEntries(std::string_view displaySummary)
{
    const std::string& separator = "　"_sj;
    std::string_view rest = displaySummary;
    while (rest.size() >= separator.size() && rest.substr(rest.size() - separator.size()) == separator
        && sjis::boundaryAtOrBefore(rest, rest.size() - separator.size()) == rest.size() - separator.size())
        rest.remove_suffix(separator.size());

    std::vector<std::string> entries;
    for (int pass = 0; pass < kMaterialSlots; ++pass) {
        const std::size_t at = sjis::find(rest, separator);
        if (at == std::string_view::npos) {
            if (!rest.empty())
                entries.emplace_back(rest);
            break;
        }
        entries.emplace_back(rest.substr(0, at));
        rest.remove_prefix(at + separator.size());
    }
    return entries;
}

std::string attributeText(const RecipeRecord& record)
{
    std::string text = record.stackable() == "1" ? "スタック可"_sj : "スタック不可"_sj;
    if (record.ex() == "1")
        text += "　Ex"_sj;
    if (record.rare() == "1")
        text += "　Rare"_sj;
    return text;
}

bool showsCrystal(std::string_view skillName)
{
    return skillName.size() > 2;
}

std::string hqRowText(int n, const RecipeRecord& record)
{
    std::string part = hqPart(n, record);
    return part.empty() ? std::string("- ") : part;
}

std::string desynthRowText(const RecipeRecord& record)
{
    return record.desynth().empty() ? std::string("- ") : blanksAsTimes(record.desynth());
}

std::optional<std::string> itemNameOfEntry(std::string_view entryText)
{
    // hqPart gives " - " for a missing part and the rows show "- " for an
    // empty one; a part stored as " - " shows as "×-×". None names an item,
    // and searching for nothing would only close the dialog.
    const std::string_view name = entryText.substr(0, sjis::find(entryText, "×"_sj));
    const std::string_view bare = sjis::trimmed(name);
    if (bare.empty() || bare == "-")
        return std::nullopt;
    return std::string(name);
}

namespace {

bool beginsWithIgnoringAsciiCase(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size())
        return false;
    std::size_t pos = 0;
    while (pos < prefix.size()) {
        const std::size_t length = sjis::charLength(prefix, pos);
        if (length == 1) {
            const auto a = static_cast<unsigned char>(text[pos]);
            const auto b = static_cast<unsigned char>(prefix[pos]);
            if (std::tolower(a) != std::tolower(b))
                return false;
        } else if (text.substr(pos, length) != prefix.substr(pos, length)) {
            return false;
        }
        pos += length;
    }
    // A prefix that ends where a double-byte character of the entry begins
    // its second half is no prefix of that entry.
    return sjis::boundaryAtOrBefore(text, pos) == pos;
}

} // namespace

int findEntryByPrefix(const std::vector<std::string>& entries, std::string_view prefix)
{
    const std::size_t count = entries.size();
    for (std::size_t step = 0; step < count; ++step) {
        const std::size_t i = (step + 1) % count;
        if (beginsWithIgnoringAsciiCase(entries[i], prefix))
            return static_cast<int>(i);
    }
    return -1;
}

} // namespace vornik
