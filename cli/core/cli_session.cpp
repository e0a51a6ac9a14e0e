#include "cli/core/cli_session.h"

#include "app/core/saved_searches.h"

#include "platform/native_path.h"
#include "platform/sjis_codec.h"
#include "storage/data_file.h"
#include "storage/paths.h"
#include "storage/profile.h"
#include "storage/settings_defaults.h"
#include "storage/vocabulary.h"

#include <ostream>

namespace vornik::cli {

Session::Session(const Options& options, std::ostream& err)
    : m_options(options)
    , m_err(err)
{
    setOpenErrorHandler([this](const std::string& path) { m_unopened = path; });
}

Session::~Session()
{
    setOpenErrorHandler({});
    setDataFilePathOverride(std::nullopt);
}

bool Session::open(const std::string& defaultProgramDir)
{
    std::string dir = defaultProgramDir;
    if (m_options.programDir) {
        const std::optional<std::string> typed = programPath(*m_options.programDir);
        if (!typed)
            return false;
        dir = *typed;
    }
    setProgramDir(dir);
    const std::optional<ProfileFile> settings = loadSettingsReadOnly();
    if (!settings) {
        error("設定ファイルを読めません。\n" + settingsFilePath());
        return false;
    }
    m_layout = loadColumnLayout(*settings);
    if (m_options.dataFile) {
        const std::optional<std::string> data = programPath(*m_options.dataFile);
        if (!data)
            return false;
        setDataFilePathOverride(*data);
    }
    return true;
}

std::optional<std::string> Session::programPath(const std::string& typed)
{
    // Paths are UTF-8 inside the program, as the command line gives them:
    // any name the system can hold is used as typed.
    return typed;
}

std::optional<SearchInputs> Session::searchInputs()
{
    if (m_options.savedSearch)
        return savedSearchInputs(*m_options.savedSearch);
    SearchInputs inputs = m_options.inputs;
    for (std::string* text : { &inputs.name, &inputs.skill, &inputs.rank, &inputs.crystal, &inputs.itemClass,
             &inputs.job, &inputs.levelFrom, &inputs.levelTo }) {
        const std::string typed = *text;
        *text = utf8ToSjis(typed);
        if (sjisToUtf8(*text) != typed) {
            error("検索条件に Shift-JIS で書けない文字が含まれています: " + typed);
            return std::nullopt;
        }
    }
    return checkedListNames(inputs);
}

std::optional<SearchInputs> Session::savedSearchInputs(const std::string& utf8Name)
{
    const std::optional<SearchInputs> saved = loadSavedSearch(utf8ToSjis(utf8Name));
    if (!saved) {
        error("保存した検索「" + utf8Name + "」は vornik.ini にありません。");
        return std::nullopt;
    }
    if (!hasAnyCriterion(*saved)) {
        error("保存した検索「" + utf8Name + "」には検索条件がありません。");
        return std::nullopt;
    }
    return checkedListNames(*saved);
}

std::optional<SearchInputs> Session::checkedListNames(const SearchInputs& inputs)
{
    // In the window these are drop-down lists; a name that is not in the
    // table would silently drop the criterion and find too much.
    if (!inputs.rank.empty() && rankIndex(inputs.rank) == 0) {
        error("ランク「" + sjisToUtf8(inputs.rank) + "」は vornik.ini のランクにありません。");
        return std::nullopt;
    }
    if (!inputs.crystal.empty() && crystalIndex(inputs.crystal) == 0) {
        error("クリスタル「" + sjisToUtf8(inputs.crystal) + "」は vornik.ini のクリスタルにありません。");
        return std::nullopt;
    }
    return inputs;
}

void Session::error(std::string_view utf8)
{
    m_err << "vornik: " << utf8 << '\n';
    m_err.flush();
}

void Session::errorSjis(std::string_view sjis)
{
    error(sjisToUtf8(sjis));
}

bool Session::reportOpenError()
{
    if (!m_unopened)
        return false;
    error("下記ファイルが見つかりませんでした。\n" + sjisToUtf8(*m_unopened));
    return true;
}

} // namespace vornik::cli
