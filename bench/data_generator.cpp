#include "bench/data_generator.h"

#include "platform/sjis_codec.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <fstream>
#include <string_view>
#include <vector>

namespace vornik {
namespace {

enum class Kind { Weapon, Armour, Consumable, Material };

struct ItemType {
    const char* suffix;
    const char* itemClass; // "" for items without a class
    int skill;
    Kind kind;
    bool stackable;
};

// Names and texts are written in UTF-8 here and converted once.
constexpr ItemType kItemTypes[] = {
    { "の短剣", "（短剣）", 1, Kind::Weapon, false },
    { "の細剣", "（片手剣）", 1, Kind::Weapon, false },
    { "の大剣", "（両手剣）", 1, Kind::Weapon, false },
    { "の手斧", "（片手斧）", 1, Kind::Weapon, false },
    { "の戦斧", "（両手斧）", 1, Kind::Weapon, false },
    { "の大鎌", "（両手鎌）", 1, Kind::Weapon, false },
    { "の長槍", "（両手槍）", 4, Kind::Weapon, false },
    { "の小太刀", "（片手刀）", 1, Kind::Weapon, false },
    { "の大太刀", "（両手刀）", 7, Kind::Weapon, false },
    { "の戦棍", "（片手棍）", 5, Kind::Weapon, false },
    { "の長杖", "（両手棍）", 4, Kind::Weapon, false },
    { "の竪琴", "（弦楽器）", 4, Kind::Weapon, false },
    { "の横笛", "（管楽器）", 4, Kind::Weapon, false },
    { "の短弓", "（弓術）", 4, Kind::Weapon, false },
    { "の矢", "（射撃）", 4, Kind::Weapon, true },
    { "の投げ矢", "（投てき）", 7, Kind::Weapon, true },
    { "の釣り竿", "（釣り具）", 4, Kind::Weapon, false },
    { "の触媒", "（触媒）", 3, Kind::Weapon, false },
    { "の拳当て", "（格闘）", 6, Kind::Weapon, false },
    { "の円盾", "【盾】", 1, Kind::Armour, false },
    { "の頭巾", "【頭】", 2, Kind::Armour, false },
    { "の首飾り", "【首】", 5, Kind::Armour, false },
    { "の胴着", "【胴】", 6, Kind::Armour, false },
    { "の手袋", "【両手】", 2, Kind::Armour, false },
    { "の腰帯", "【腰】", 6, Kind::Armour, false },
    { "の脚衣", "【両脚】", 2, Kind::Armour, false },
    { "の長靴", "【両足】", 6, Kind::Armour, false },
    { "の外套", "【背】", 2, Kind::Armour, false },
    { "の耳飾り", "【耳】", 5, Kind::Armour, false },
    { "の指輪", "【指】", 7, Kind::Armour, false },
    { "の水薬", "", 3, Kind::Consumable, true },
    { "の串焼き", "", 9, Kind::Consumable, true },
    { "の煮込み", "", 9, Kind::Consumable, true },
    { "の練り餌", "", 8, Kind::Consumable, true },
    { "の種", "", 10, Kind::Material, true },
    { "塊", "", 1, Kind::Material, true },
    { "の布", "", 2, Kind::Material, true },
};

constexpr const char* kEpithets[]
    = { "頑丈な", "軽い", "古びた", "輝く", "呪われた", "祝福された", "粗末な", "精巧な" };

// The half-width katakana entries exercise single-byte characters.
constexpr const char* kPrefixes[] = { "灰銅", "緋鉄", "蒼鋼", "月輝鋼", "星鉄", "黒曜鋼", "天鳴鋼", "霧麻",
    "紅絹", "月影", "星綿", "灰樫", "白楡", "紅楓", "黒檀木", "霊樹", "水晶", "紫水", "紅玉", "碧玉", "虹彩",
    "兎革", "狼革", "蜥蜴革", "翼竜革", "獣骨", "竜骨", "鮫牙", "森", "湖", "砂漠", "雪原", "旅人", "見習い",
    "古代", "聖者", "宵闇", "暁", "ﾙﾐﾅ", "ｸﾞﾛｳ", "ｾﾞﾌｨﾙ", "ｱﾙﾃ" };

constexpr const char* kMaterials[] = { "灰銅塊", "緋鉄塊", "蒼鋼塊", "月輝鋼塊", "星鉄塊", "綿糸", "霧麻糸",
    "紅絹布", "月影布", "鞣し革", "狼革", "蜥蜴革", "翼竜革", "獣の骨", "狼の牙", "竜の骨", "蒸留霊水",
    "光苔", "夜光石", "紅玉", "碧玉", "水晶石", "細銀線", "錬金銀", "樫の柄", "革紐", "鳥の羽根", "蜜蝋",
    "岩塩", "香草", "小麦粉", "山苺", "銀鱗魚", "魔鳥の肉", "竜の涙", "不死鳥の羽", "ｸﾞﾛｳ鉱", "霊樹の木材",
    "灰樫の木材", "紅楓の木材" };

// First character of each default job name.
constexpr const char* kJobs[]
    = { "戦", "モ", "赤", "黒", "白", "シ", "ナ", "暗", "狩", "吟", "獣", "侍", "竜", "忍", "召" };

constexpr const char* kBonuses[]
    = { "攻+", "命中+", "回避+", "魔力+", "HP+", "MP+", "敏捷+", "腕力+", "魔防+" };
constexpr const char* kEffects[] = { "HP+", "MP+", "攻+", "器用+", "精神+", "体力+", "知力+" };
constexpr const char* kDurations[] = { "効果時間 30分", "効果時間 60分", "効果時間 3時間" };
constexpr const char* kMaterialNotes[] = { "鍛冶ギルドで扱う素材。<br>合成に使う。",
    "ｸﾞﾛｳ地方の職人が好んで使う。", "各地で手に入る。<br>市場でよく見かける。" };
constexpr const char* kFlavours[] = { "古い言い伝えが残る逸品。", "職人の技が光る。",
    "手に取るとほのかに温かい。", "旅の商人が持ち込んだ品。", "表面に細かな紋様が刻まれている。" };
constexpr const char* kStoredGreater[] = { "強化段階：壱&gt弐", "品質：並&gt上" };

struct SjisType {
    std::string suffix;
    std::string itemClass;
    int skill;
    Kind kind;
    bool stackable;
};

template <std::size_t N> std::vector<std::string> toSjis(const char* const (&texts)[N])
{
    std::vector<std::string> out;
    out.reserve(N);
    for (const char* text : texts)
        out.push_back(utf8ToSjis(text));
    return out;
}

struct Tables {
    std::vector<SjisType> types;
    std::vector<std::string> epithets = toSjis(kEpithets);
    std::vector<std::string> prefixes = toSjis(kPrefixes);
    std::vector<std::string> materials = toSjis(kMaterials);
    std::vector<std::string> jobs = toSjis(kJobs);
    std::vector<std::string> bonuses = toSjis(kBonuses);
    std::vector<std::string> effects = toSjis(kEffects);
    std::vector<std::string> durations = toSjis(kDurations);
    std::vector<std::string> materialNotes = toSjis(kMaterialNotes);
    std::vector<std::string> flavours = toSjis(kFlavours);
    std::vector<std::string> storedGreater = toSjis(kStoredGreater);
    std::string improved = utf8ToSjis("改");
    std::string power = utf8ToSjis("威力");
    std::string delay = utf8ToSjis(" 間隔");
    std::string defence = utf8ToSjis("防");
    std::string levelEnd = utf8ToSjis("～ ");
    std::string noLevel = utf8ToSjis("Lv制限なし");
    std::string percent = utf8ToSjis("％");
    std::string allJob = "All Job";

    Tables()
    {
        for (const ItemType& t : kItemTypes)
            types.push_back({ utf8ToSjis(t.suffix), utf8ToSjis(t.itemClass), t.skill, t.kind, t.stackable });
    }
};

const Tables& tables()
{
    static const Tables instance;
    return instance;
}

// rng() % n rather than a standard distribution, whose output is not fixed
// across standard libraries.
std::uint32_t pick(std::mt19937& rng, std::uint32_t n)
{
    return static_cast<std::uint32_t>(rng() % n);
}

bool chance(std::mt19937& rng, std::uint32_t percent)
{
    return pick(rng, 100) < percent;
}

template <typename T> const T& pickFrom(std::mt19937& rng, const std::vector<T>& items)
{
    return items[pick(rng, static_cast<std::uint32_t>(items.size()))];
}

void appendNumber(std::string& out, std::uint32_t n)
{
    char buffer[16];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, n);
    out.append(buffer, result.ptr);
}

// Everything decided about one record before it is written out.
struct Draft {
    const SjisType* type = nullptr;
    std::string name; // without the yield
    std::uint32_t yield = 0;
    std::uint32_t skill = 0;
    std::uint32_t rank = 0;
    std::uint32_t crystal = 0;
    std::array<std::uint32_t, 10> need {};
    std::array<std::uint32_t, 10> cap {};
};

std::uint32_t drawRank(std::mt19937& rng)
{
    const std::uint32_t roll = pick(rng, 100);
    if (roll == 0)
        return 98;
    if (roll == 1)
        return 99;
    return 1 + pick(rng, 11);
}

std::uint32_t bandLevel(std::uint32_t rank, std::mt19937& rng)
{
    const std::uint32_t band = rank <= 11 ? rank - 1 : 2 + pick(rng, 8);
    return band * 10 + 1 + pick(rng, 10);
}

Draft drawDraft(std::mt19937& rng)
{
    const Tables& t = tables();
    Draft d;
    d.type = &pickFrom(rng, t.types);
    if (chance(rng, 35))
        d.name = pickFrom(rng, t.epithets);
    d.name += pickFrom(rng, t.prefixes);
    d.name += d.type->suffix;
    static constexpr std::uint32_t kYields[] = { 2, 3, 4, 6, 12, 33, 99 };
    if (d.type->stackable && chance(rng, 50))
        d.yield = kYields[pick(rng, 7)];
    d.crystal = 1 + pick(rng, 8);
    if (chance(rng, 1))
        return d; // an item without a skill, rank or levels
    d.skill = chance(rng, 85) ? static_cast<std::uint32_t>(d.type->skill) : 1 + pick(rng, 10);
    d.rank = drawRank(rng);
    const std::uint32_t need = bandLevel(d.rank, rng);
    d.need[d.skill - 1] = need;
    d.cap[d.skill - 1] = need + 5 + pick(rng, 8);
    if (chance(rng, 30)) {
        const std::uint32_t sub = 1 + pick(rng, 10);
        if (sub != d.skill)
            d.need[sub - 1] = 1 + pick(rng, need);
    }
    return d;
}

void appendMaterials(std::string& out, std::mt19937& rng)
{
    const Tables& t = tables();
    std::uint32_t units = 0;
    const std::uint32_t distinct = 1 + pick(rng, 5);
    for (std::uint32_t m = 0; m < distinct && units < 8; ++m) {
        const std::string& material = pickFrom(rng, t.materials);
        const std::uint32_t repeats = std::min<std::uint32_t>(1 + pick(rng, 3), 8 - units);
        for (std::uint32_t r = 0; r < repeats; ++r, ++units) {
            out += material;
            out += ',';
        }
    }
    out.append(8 - units, ',');
}

void appendLevels(std::string& out, const Draft& d)
{
    for (std::size_t k = 0; k < 10; ++k) {
        if (d.need[k] != 0 || d.cap[k] != 0)
            out += '1';
        out += ',';
    }
    for (const auto* levels : { &d.need, &d.cap }) {
        for (std::uint32_t level : *levels) {
            if (level != 0)
                appendNumber(out, level);
            out += ',';
        }
    }
}

void appendHq(std::string& out, const Draft& d, std::mt19937& rng)
{
    const Tables& t = tables();
    const std::uint32_t roll = pick(rng, 10);
    if (roll < 2) {
        out += "<><>";
    } else if (d.type->stackable) {
        const std::uint32_t base = d.yield == 0 ? 1 : d.yield;
        for (std::uint32_t i = 2; i <= 4; ++i) {
            out += d.name;
            out += ' ';
            appendNumber(out, base * i);
            if (i < 4)
                out += "<>";
        }
    } else {
        out += d.name + t.improved + "<>";
        if (roll >= 7)
            out += d.name + t.improved;
        out += "<>";
    }
}

void appendJobs(std::string& out, std::mt19937& rng)
{
    const Tables& t = tables();
    if (chance(rng, 12)) {
        out += t.allJob;
        return;
    }
    const std::uint32_t count = 1 + pick(rng, 5);
    const std::uint32_t start = pick(rng, static_cast<std::uint32_t>(t.jobs.size()));
    for (std::uint32_t i = 0; i < count; ++i)
        out += t.jobs[(start + i) % t.jobs.size()];
}

// Equipment often lists a bonus or two on its own line.
void appendBonuses(std::string& out, std::mt19937& rng)
{
    const Tables& t = tables();
    if (!chance(rng, 70))
        return;
    const std::uint32_t count = 1 + pick(rng, 3);
    for (std::uint32_t i = 0; i < count; ++i) {
        out += i == 0 ? "<br>" : " ";
        out += pickFrom(rng, t.bonuses);
        appendNumber(out, 1 + pick(rng, 15));
    }
}

void appendItemLevel(std::string& out, const Draft& d, std::mt19937& rng)
{
    const Tables& t = tables();
    if (chance(rng, 2)) {
        out += t.noLevel;
        out += ' ';
    } else {
        const std::uint32_t band = d.rank >= 1 && d.rank <= 11 ? d.rank - 1 : 4 + pick(rng, 6);
        out += "Lv";
        appendNumber(out, std::min<std::uint32_t>(99, band * 7 + 1 + pick(rng, 8)));
        out += t.levelEnd;
    }
    appendJobs(out, rng);
}

void appendDescription(std::string& out, const Draft& d, std::mt19937& rng)
{
    const Tables& t = tables();
    switch (d.type->kind) {
    case Kind::Weapon:
        out += d.type->itemClass + ' ' + t.power;
        appendNumber(out, 5 + d.rank % 20 * 5 + pick(rng, 10));
        out += t.delay;
        appendNumber(out, 180 + pick(rng, 300));
        appendBonuses(out, rng);
        out += "<br>";
        appendItemLevel(out, d, rng);
        break;
    case Kind::Armour:
        out += d.type->itemClass + ' ' + t.defence;
        appendNumber(out, 1 + d.rank % 20 * 3 + pick(rng, 6));
        appendBonuses(out, rng);
        out += "<br>";
        appendItemLevel(out, d, rng);
        break;
    case Kind::Consumable:
        for (std::uint32_t i = 0, n = 1 + pick(rng, 3); i < n; ++i) {
            if (i != 0)
                out += ' ';
            out += pickFrom(rng, t.effects);
            appendNumber(out, 2 + pick(rng, 40));
            if (chance(rng, 30))
                out += t.percent;
        }
        out += "<br>";
        out += pickFrom(rng, t.durations);
        break;
    case Kind::Material:
        out += pickFrom(rng, t.materialNotes);
        break;
    }
    if (chance(rng, 40)) {
        out += "<br>";
        out += pickFrom(rng, t.flavours);
    }
    if (chance(rng, 3)) {
        out += "<br>";
        out += pickFrom(rng, t.storedGreater);
    }
}

void appendDesynth(std::string& out, std::mt19937& rng)
{
    if (!chance(rng, 60))
        return;
    out += pickFrom(rng, tables().materials);
    if (chance(rng, 50)) {
        out += ' ';
        appendNumber(out, 2 + pick(rng, 3));
    }
}

void appendFlag(std::string& out, bool on)
{
    out += on ? '1' : '0';
    out += ',';
}

} // namespace

void appendRecordLine(std::string& out, std::uint32_t id, std::mt19937& rng)
{
    const Draft d = drawDraft(rng);
    appendNumber(out, id);
    out += ',';
    out += d.name;
    if (d.yield != 0) {
        out += ' ';
        appendNumber(out, d.yield);
    }
    out += ',';
    appendMaterials(out, rng);
    appendNumber(out, d.crystal);
    out += ',';
    appendLevels(out, d);
    appendHq(out, d, rng);
    out += ',';
    appendNumber(out, d.skill);
    out += ',';
    appendNumber(out, d.rank);
    out += ',';
    appendDescription(out, d, rng);
    out += ',';
    appendFlag(out, chance(rng, 5));
    appendFlag(out, chance(rng, 10));
    appendFlag(out, d.type->stackable);
    appendDesynth(out, rng);
    out += ','; // the reserved field stays empty
}

std::string generateRecordLine(std::uint32_t id, std::mt19937& rng)
{
    std::string line;
    appendRecordLine(line, id, rng);
    return line;
}

bool writeDataFile(const std::filesystem::path& path, std::uint32_t count, std::uint32_t seed)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file)
        return false;
    constexpr std::size_t kBlockSize = 1 << 20;
    std::mt19937 rng(seed);
    std::string block;
    block.reserve(kBlockSize + 4096);
    for (std::uint64_t id = 1; id <= count; ++id) {
        appendRecordLine(block, static_cast<std::uint32_t>(id), rng);
        block += "\r\n";
        if (block.size() >= kBlockSize) {
            file.write(block.data(), static_cast<std::streamsize>(block.size()));
            block.clear();
        }
    }
    file.write(block.data(), static_cast<std::streamsize>(block.size()));
    file.close();
    return !file.fail();
}

} // namespace vornik
