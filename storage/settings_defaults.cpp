#include "storage/settings_defaults.h"

#include "platform/sjis_literal.h"
#include "storage/numbers.h"
#include "storage/paths.h"
#include "storage/profile.h"
#include "storage/profile_file.h"
#include "storage/settings_keys.h"
#include "storage/vocabulary.h"

#include <initializer_list>

namespace vornik {
namespace {

void addNumbered(std::vector<SettingsDefault>& table, int step, std::string_view section, int firstKey,
    std::initializer_list<std::string> values)
{
    int key = firstKey;
    for (const std::string& value : values)
        table.push_back({ step, section, intToText(key++), value });
}

void addStep1(std::vector<SettingsDefault>& t)
{
    const std::string& note = "説明"_sj;
    t.push_back({ 1, ini::RankSection, note, "ランクの追加(最大99)が行えます。"_sj });
    addNumbered(t, 1, ini::RankSection, 1,
        { "素人"_sj, "見習い"_sj, "徒弟"_sj, "下級職人"_sj, "名取"_sj, "目録"_sj, "印可"_sj, "高弟"_sj,
            "次ランク"_sj });
    t.push_back({ 1, ini::RankSection, "99", "隠し"_sj });
    t.push_back({ 1, ini::ClassSection, note, "分類の変更、追加(最大199)が行えます。"_sj });
    t.push_back({ 1, ini::JobSection, note, "ジョブの変更、追加(最大29)が行えます。"_sj });
    addNumbered(t, 1, ini::JobSection, 1,
        { "戦士"_sj, "モンク"_sj, "赤魔"_sj, "黒魔"_sj, "白魔"_sj, "シーフ"_sj, "ナイト"_sj, "暗黒"_sj,
            "狩人"_sj, "吟遊"_sj, "獣使い"_sj, "侍"_sj, "竜騎士"_sj, "忍者"_sj, "召喚士"_sj, "All Job" });
    t.push_back({ 1, ini::SkillSection, note, "スキルの追加(最大19)が行えます。"_sj });
    addNumbered(t, 1, ini::SkillSection, 1,
        { "鍛冶"_sj, "裁縫"_sj, "錬金術"_sj, "木工"_sj, "彫金"_sj, "革細工"_sj, "骨細工"_sj, "釣り"_sj,
            "調理"_sj });
    t.push_back({ 1, ini::CrystalSection, note, "クリスタルの追加(最大19)が行えます。"_sj });
    addNumbered(t, 1, ini::CrystalSection, 1,
        { "炎"_sj, "水"_sj, "土"_sj, "風"_sj, "雷"_sj, "氷"_sj, "光"_sj, "闇"_sj });
}

void addSteps2To6(std::vector<SettingsDefault>& t)
{
    t.push_back({ 2, ini::SkillSection, "10", "栽培"_sj });
    // "（短剣" has always been written without its closing parenthesis; class
    // names are matched as substrings of descriptions, so it still finds them.
    addNumbered(t, 3, ini::ClassSection, 1,
        { "（格闘）"_sj, "（短剣"_sj, "（片手剣）"_sj, "（両手剣）"_sj, "（片手斧）"_sj, "（両手斧）"_sj,
            "（両手鎌）"_sj, "（両手槍）"_sj, "（片手刀）"_sj, "（両手刀）"_sj, "（片手棍）"_sj,
            "（両手棍）"_sj, "（弦楽器）"_sj, "（管楽器）"_sj, "（弓術）"_sj, "（射撃）"_sj, "（投てき）"_sj,
            "（釣り具）"_sj });
    addNumbered(t, 3, ini::ClassSection, 20,
        { "【盾】"_sj, "【頭】"_sj, "【首】"_sj, "【胴】"_sj, "【両手】"_sj, "【腰】"_sj, "【両脚】"_sj,
            "【両足】"_sj, "【背】"_sj, "【耳】"_sj, "【指】"_sj });
    t.push_back({ 4, ini::RankSection, "9", "皆伝"_sj });
    t.push_back({ 4, ini::RankSection, "10", "次ランク"_sj });
    t.push_back({ 5, ini::ClassSection, "19", "（触媒）"_sj });
    t.push_back({ 6, ini::RankSection, "10", "師範"_sj });
}

void addSteps7To9(std::vector<SettingsDefault>& t)
{
    t.push_back({ 7, ini::ColumnWidths.section, std::string(ini::ColumnWidths.key), "166,68,132,246,367" });
    t.push_back({ 7, ini::ColumnFlags.section, std::string(ini::ColumnFlags.key), "x1x111xxxxx1" });
    t.push_back({ 8, ini::RankSection, "98", "不明"_sj });
    t.push_back({ 9, ini::RankSection, "11", "次期"_sj });
    addNumbered(t, 9, ini::ImeSection, 1,
        { "＠かじ"_sj, "＠さいほう"_sj, "＠れんきん"_sj, "＠もっこう"_sj, "＠ちょうきん"_sj, "＠かわ"_sj,
            "＠ほね"_sj, "＠つり"_sj, "＠ちょうり"_sj, "＠さいばい"_sj });
}

std::vector<SettingsDefault> buildDefaults()
{
    std::vector<SettingsDefault> table;
    addStep1(table);
    addSteps2To6(table);
    addSteps7To9(table);
    return table;
}

// Set by loadSettings when the defaults could not be written into
// vornik.ini: every later read then adds them in memory again.
bool& defaultsOnlyInMemory()
{
    static bool inMemory = false;
    return inMemory;
}

void loadVocabularies(const ProfileFile& content)
{
    rankVocabulary().load(content, ini::RankSection);
    skillVocabulary().load(content, ini::SkillSection);
    imeVocabulary().load(content, ini::ImeSection);
    crystalVocabulary().load(content, ini::CrystalSection);
}

} // namespace

const std::vector<SettingsDefault>& settingsDefaults()
{
    static const std::vector<SettingsDefault> table = buildDefaults();
    return table;
}

void applySettingsDefaults(ProfileFile& file, int level)
{
    if (level >= kLastDefaultsStep)
        return;
    for (const SettingsDefault& entry : settingsDefaults()) {
        if (level < entry.step)
            file.writeString(entry.section, entry.key, entry.value);
    }
    file.writeInt(ini::Setup, kSettingsLevel);
}

bool loadSettings()
{
    const std::string path = settingsFilePath();
    std::optional<ProfileFile> file = ProfileFile::load(path);
    const bool readable = file.has_value();
    if (!readable) {
        // The defaults in memory only: the unreadable file is never replaced.
        file.emplace();
        applySettingsDefaults(*file, 0);
    } else {
        applySettingsDefaults(*file, file->readInt(ini::Setup));
    }
    // One write for all the defaults. When it fails (read-only folder) the
    // tables and every later read still get them, and the steps run again on
    // the next start.
    defaultsOnlyInMemory() = !readable || (file->isModified() && !file->save(path));
    loadVocabularies(*file);
    return readable;
}

ProfileFile settingsContent()
{
    std::optional<ProfileFile> file = ProfileFile::load(settingsFilePath());
    if (!file)
        file.emplace();
    if (defaultsOnlyInMemory())
        applySettingsDefaults(*file, file->readInt(ini::Setup));
    return std::move(*file);
}

std::optional<ProfileFile> loadSettingsReadOnly()
{
    std::optional<ProfileFile> file = ProfileFile::load(settingsFilePath());
    if (!file)
        return std::nullopt;
    applySettingsDefaults(*file, file->readInt(ini::Setup));
    loadVocabularies(*file);
    return file;
}

} // namespace vornik
