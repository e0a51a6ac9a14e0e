#include "app/core/saved_searches.h"

#include "platform/sjis_text.h"
#include "storage/profile.h"

#include <array>
#include <functional>

namespace vornik {
namespace {

// Fields of a stored value, in this order, separated by ",": the three check
// boxes as "0"/"1", then the texts. Bytes that would split the value or the
// line are written as "%XX"; all of them are below 0x40, so none is the
// second byte of a double-byte character.
constexpr std::size_t kFieldCount = 11;
constexpr std::string_view kEscaped = "%,\r\n";

std::array<std::string*, 8> textFields(SearchInputs& in)
{
    return { &in.name, &in.skill, &in.rank, &in.crystal, &in.itemClass, &in.job, &in.levelFrom, &in.levelTo };
}

std::string escapeField(std::string_view text)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : text) {
        if (kEscaped.find(c) == std::string_view::npos) {
            out.push_back(c);
            continue;
        }
        const auto byte = static_cast<unsigned char>(c);
        out += '%';
        out += kHex[byte >> 4];
        out += kHex[byte & 0x0F];
    }
    return out;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Only the codes escapeField writes are read back; any other "%" stays.
std::string unescapeField(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            const int high = hexDigit(text[i + 1]);
            const int low = hexDigit(text[i + 2]);
            const char byte = static_cast<char>(high * 16 + low);
            if (high >= 0 && low >= 0 && kEscaped.find(byte) != std::string_view::npos) {
                out.push_back(byte);
                i += 2;
                continue;
            }
        }
        out.push_back(text[i]);
    }
    return out;
}

std::vector<std::string_view> splitFields(std::string_view value)
{
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = value.find(',', start);
        fields.push_back(
            value.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
        if (comma == std::string_view::npos)
            return fields;
        start = comma + 1;
    }
}

std::optional<bool> readFlag(std::string_view field)
{
    if (field == "0" || field == "1")
        return field == "1";
    return std::nullopt;
}

bool nameTakenByAnother(const ProfileFile& settings, std::string_view name, std::string_view except)
{
    return !profileNamesEqual(name, except) && settings.value(ini::SavedSearchSection, name).has_value();
}

SavedSearchResult changeSettings(const std::function<SavedSearchResult(ProfileFile&)>& change)
{
    std::optional<ProfileFile> settings = ProfileFile::load(settingsFilePath());
    if (!settings)
        return SavedSearchResult::WriteFailed;
    const SavedSearchResult result = change(*settings);
    if (result != SavedSearchResult::Done)
        return result;
    return settings->save(settingsFilePath()) ? result : SavedSearchResult::WriteFailed;
}

} // namespace

bool isSavedSearchName(std::string_view name)
{
    if (name.empty() || name.front() == ' ' || name.front() == '\t' || name.back() == ' '
        || name.back() == '\t')
        return false;
    if (name.front() == '[' || name.front() == ';')
        return false;
    return name.find_first_of("=\r\n") == std::string_view::npos && !sjis::contains(name, "]");
}

std::string encodeSearchInputs(const SearchInputs& inputs)
{
    SearchInputs in = inputs;
    std::string value;
    for (const bool flag : { in.includeMaterials, in.exactOnly, in.includeMemo })
        value += flag ? "1," : "0,";
    for (const std::string* text : textFields(in))
        value += escapeField(*text) + ",";
    value.pop_back();
    // The quotes keep blanks at either end, which the file's reader trims.
    return "\"" + value + "\"";
}

std::optional<SearchInputs> decodeSearchInputs(std::string_view value)
{
    const std::vector<std::string_view> fields = splitFields(value);
    if (fields.size() != kFieldCount)
        return std::nullopt;
    SearchInputs in;
    bool* flags[] = { &in.includeMaterials, &in.exactOnly, &in.includeMemo };
    for (std::size_t i = 0; i < 3; ++i) {
        const std::optional<bool> flag = readFlag(fields[i]);
        if (!flag)
            return std::nullopt;
        *flags[i] = *flag;
    }
    std::size_t next = 3;
    for (std::string* text : textFields(in))
        *text = unescapeField(fields[next++]);
    return in;
}

std::vector<SavedSearch> savedSearches(const ProfileFile& settings)
{
    std::vector<SavedSearch> found;
    for (const auto& [name, value] : settings.entries(ini::SavedSearchSection)) {
        if (std::optional<SearchInputs> inputs = decodeSearchInputs(value))
            found.push_back({ name, std::move(*inputs) });
    }
    return found;
}

std::optional<SearchInputs> findSavedSearch(const ProfileFile& settings, std::string_view name)
{
    const std::optional<std::string> value = settings.value(ini::SavedSearchSection, name);
    return value ? decodeSearchInputs(*value) : std::nullopt;
}

SavedSearchResult storeSavedSearch(ProfileFile& settings, std::string_view name, const SearchInputs& inputs)
{
    if (!isSavedSearchName(name))
        return SavedSearchResult::BadName;
    return settings.writeString(ini::SavedSearchSection, name, encodeSearchInputs(inputs))
        ? SavedSearchResult::Done
        : SavedSearchResult::BadName;
}

SavedSearchResult renameSavedSearch(ProfileFile& settings, std::string_view from, std::string_view to)
{
    const std::optional<std::string> value = settings.value(ini::SavedSearchSection, from);
    if (!value)
        return SavedSearchResult::NotFound;
    if (!isSavedSearchName(to))
        return SavedSearchResult::BadName;
    if (nameTakenByAnother(settings, to, from))
        return SavedSearchResult::NameTaken;
    settings.removeKey(ini::SavedSearchSection, from);
    // The stored value goes back with its quotes, so blanks it holds survive.
    settings.writeString(ini::SavedSearchSection, to, "\"" + *value + "\"");
    return SavedSearchResult::Done;
}

SavedSearchResult removeSavedSearch(ProfileFile& settings, std::string_view name)
{
    return settings.removeKey(ini::SavedSearchSection, name) ? SavedSearchResult::Done
                                                             : SavedSearchResult::NotFound;
}

std::vector<SavedSearch> loadSavedSearches()
{
    const std::optional<ProfileFile> settings = ProfileFile::load(settingsFilePath());
    return settings ? savedSearches(*settings) : std::vector<SavedSearch> {};
}

std::optional<SearchInputs> loadSavedSearch(std::string_view name)
{
    const std::optional<ProfileFile> settings = ProfileFile::load(settingsFilePath());
    return settings ? findSavedSearch(*settings, name) : std::nullopt;
}

SavedSearchResult saveSearchAs(std::string_view name, const SearchInputs& inputs)
{
    return changeSettings([&](ProfileFile& s) { return storeSavedSearch(s, name, inputs); });
}

SavedSearchResult renameSavedSearch(std::string_view from, std::string_view to)
{
    return changeSettings([&](ProfileFile& s) { return renameSavedSearch(s, from, to); });
}

SavedSearchResult deleteSavedSearch(std::string_view name)
{
    return changeSettings([&](ProfileFile& s) { return removeSavedSearch(s, name); });
}

} // namespace vornik
