#include "app/core/craft_plan.h"

#include "platform/file_stamp.h"
#include "platform/sjis_literal.h"
#include "platform/sjis_text.h"
#include "storage/data_file.h"
#include "storage/numbers.h"
#include "storage/paths.h"
#include "storage/record.h"

#include <algorithm>
#include <limits>
#include <unordered_map>
#include <unordered_set>

namespace vornik {
namespace {

// Counts saturate far below overflow: a pathological tree gives huge
// numbers, never wrapped ones.
constexpr std::int64_t kMaxCount = std::numeric_limits<std::int64_t>::max() / 4;

std::int64_t addCount(std::int64_t a, std::int64_t b)
{
    return a > kMaxCount - b ? kMaxCount : a + b;
}

std::int64_t mulCount(std::int64_t a, std::int64_t b)
{
    if (a == 0 || b == 0)
        return 0;
    return a > kMaxCount / b ? kMaxCount : a * b;
}

std::int64_t craftsFor(std::int64_t quantity, std::int64_t yield)
{
    return quantity / yield + (quantity % yield != 0 ? 1 : 0);
}

bool allDigits(std::string_view text)
{
    return !text.empty()
        && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::int64_t digitsValue(std::string_view digits)
{
    std::int64_t value = 0;
    for (const char c : digits)
        value = addCount(mulCount(value, 10), c - '0');
    return value;
}

// The record is taken apart: the scan reads the next line into it next.
CraftRecipe recipeOf(RecipeRecord& record)
{
    CraftRecipe recipe;
    recipe.id = record.id();
    auto [item, yield] = splitYield(record.name());
    recipe.item = std::move(item);
    recipe.yield = yield;
    int used = 0;
    while (used < kMaterialSlots && !record.material(used + 1).empty())
        ++used;
    recipe.materials.reserve(static_cast<std::size_t>(used));
    for (int k = 1; k <= kMaterialSlots; ++k) {
        std::string& material = record.material(k);
        if (material.empty())
            continue;
        // A material needed several times fills consecutive slots.
        auto same = !recipe.materials.empty() && recipe.materials.back().first == material
            ? recipe.materials.end() - 1
            : std::find_if(recipe.materials.begin(), recipe.materials.end(),
                [&](const auto& entry) { return entry.first == material; });
        if (same != recipe.materials.end())
            ++same->second;
        else
            recipe.materials.emplace_back(std::move(material), 1);
    }
    recipe.crystal = std::max(0, textToInt(record.crystal()));
    recipe.skill = std::max(0, textToInt(record.skill()));
    recipe.rank = std::max(0, textToInt(record.rank()));
    if (recipe.skill >= 1 && recipe.skill <= kLevelSkills)
        recipe.level = std::move(record.needLevel(recipe.skill));
    return recipe;
}

struct IndexCache {
    std::string path;
    FileStamp stamp;
    std::shared_ptr<const CraftIndex> index;
    std::size_t scans = 0;
};

IndexCache& indexCache()
{
    static IndexCache cache;
    return cache;
}

} // namespace

std::pair<std::string, std::int64_t> splitYield(std::string_view name)
{
    // An ASCII blank is never the second byte of a double-byte character.
    const std::size_t blank = name.rfind(' ');
    if (blank == std::string_view::npos || !allDigits(name.substr(blank + 1)))
        return { std::string(name), 1 };
    const std::int64_t yield = digitsValue(name.substr(blank + 1));
    return { std::string(sjis::trimmed(name.substr(0, blank))), std::max<std::int64_t>(yield, 1) };
}

std::size_t CraftIndex::slotOf(std::string_view name, std::size_t hash) const
{
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
        const Slot slot = m_slots[at];
        if (slot == 0)
            return at;
        const Item& item = m_items[slot - 1];
        if (item.hash == hash && item.name == name)
            return at;
    }
}

void CraftIndex::growSlots()
{
    m_slots.assign(m_slots.empty() ? 1024 : 2 * m_slots.size(), 0);
    for (std::size_t place = 0; place < m_items.size(); ++place)
        m_slots[slotOf(m_items[place].name, m_items[place].hash)] = static_cast<Slot>(place + 1);
}

void CraftIndex::add(CraftRecipe recipe)
{
    // At most half the slots in use, so that probes stay short.
    if (2 * (m_items.size() + 1) > m_slots.size())
        growSlots();
    const std::size_t hash = std::hash<std::string_view> {}(recipe.item);
    const std::size_t at = slotOf(recipe.item, hash);
    if (m_slots[at] == 0) {
        m_items.push_back({ recipe.item, hash, ItemRecipes() });
        m_slots[at] = static_cast<Slot>(m_items.size());
    }
    ItemRecipes& recipes = m_items[m_slots[at] - 1].recipes;
    recipe.alternative = recipes.first ? recipes.size() : 0;
    if (m_usedInBlock == kBlock) {
        m_blocks.push_back(std::make_unique<CraftRecipe[]>(kBlock));
        m_usedInBlock = 0;
    }
    CraftRecipe* stored = &m_blocks.back()[m_usedInBlock++];
    *stored = std::move(recipe);
    if (!recipes.first)
        recipes.first = stored;
    else
        recipes.more.push_back(stored);
}

const ItemRecipes* CraftIndex::recipesFor(std::string_view item) const
{
    if (m_slots.empty())
        return nullptr;
    const Slot slot = m_slots[slotOf(item, std::hash<std::string_view> {}(item))];
    return slot == 0 ? nullptr : &m_items[slot - 1].recipes;
}

std::optional<CraftIndex> scanCraftIndex(StorageError& error)
{
    // The scan reads through the one record buffer; a dialog showing that
    // record must find it as it was.
    const RecipeRecord kept = currentRecord();
    if (!openDataFile(error))
        return std::nullopt;
    CraftIndex index;
    while (readNextRecord(error))
        index.add(recipeOf(currentRecord()));
    closeDataFile();
    currentRecord() = kept;
    if (error.failed())
        return std::nullopt;
    return index;
}

std::shared_ptr<const CraftIndex> currentCraftIndex(StorageError& error)
{
    IndexCache& cache = indexCache();
    const std::string path = dataFilePath();
    const std::optional<FileStamp> stamp = fileStamp(path);
    if (cache.index && stamp && cache.path == path && cache.stamp == *stamp)
        return cache.index;
    std::optional<CraftIndex> scanned = scanCraftIndex(error);
    ++cache.scans;
    cache.index = scanned ? std::make_shared<const CraftIndex>(std::move(*scanned)) : nullptr;
    cache.path = path;
    cache.stamp = stamp.value_or(FileStamp {});
    return cache.index;
}

std::size_t craftIndexScanCount()
{
    return indexCache().scans;
}

const CraftRecipe* chosenRecipe(const CraftIndex& index, const PlanChoices& choices, std::string_view item)
{
    if (choices.buy.count(item) != 0)
        return nullptr;
    const ItemRecipes* recipes = index.recipesFor(item);
    if (!recipes)
        return nullptr;
    const auto chosen = choices.recipe.find(item);
    const std::size_t pick = chosen == choices.recipe.end() ? 0 : chosen->second;
    return &(*recipes)[pick < recipes->size() ? pick : 0];
}

PlanNode planNode(const CraftIndex& index, const PlanChoices& choices, std::string_view item,
    std::int64_t quantity, bool cycle)
{
    PlanNode node;
    node.item = std::string(item);
    node.quantity = quantity;
    node.craftable = index.recipesFor(item) != nullptr;
    node.cycle = cycle;
    node.recipe = cycle ? nullptr : chosenRecipe(index, choices, item);
    if (node.recipe) {
        node.crafts = craftsFor(quantity, node.recipe->yield);
        node.surplus = mulCount(node.crafts, node.recipe->yield) - quantity;
    }
    return node;
}

std::vector<PlanNode> planChildren(const CraftIndex& index, const PlanChoices& choices, const PlanNode& node,
    const std::vector<std::string>& path)
{
    std::vector<PlanNode> children;
    if (!node.recipe)
        return children;
    for (const auto& [material, units] : node.recipe->materials) {
        const bool onPath = std::find(path.begin(), path.end(), material) != path.end();
        children.push_back(planNode(index, choices, material, mulCount(units, node.crafts), onPath));
    }
    return children;
}

Plan makePlan(const CraftIndex& index, const PlanChoices& choices, const std::vector<WantedItem>& wanted)
{
    Plan plan;
    // Depth-first over the items from every wanted one, without recursion
    // (a long chain of recipes must not exhaust the stack). A material that
    // is still on the path closes a cycle: that edge is bought instead.
    enum class State { OnPath, Done };
    std::unordered_map<std::string_view, State> state;
    std::unordered_map<std::string_view, std::size_t> firstMet;
    std::set<std::pair<std::string_view, std::string_view>> cut;
    std::vector<std::string_view> postorder;
    struct Frame {
        std::string_view item;
        const CraftRecipe* recipe;
        std::size_t next;
    };
    const auto meet = [&](std::string_view item) { firstMet.emplace(item, firstMet.size()); };
    for (const WantedItem& want : wanted) {
        if (!index.recipesFor(want.name))
            plan.unknown.push_back(want.name);
        if (state.count(want.name) != 0)
            continue;
        meet(want.name);
        std::vector<Frame> stack { { want.name, chosenRecipe(index, choices, want.name), 0 } };
        state[want.name] = State::OnPath;
        while (!stack.empty()) {
            Frame& top = stack.back();
            if (!top.recipe || top.next == top.recipe->materials.size()) {
                state[top.item] = State::Done;
                postorder.push_back(top.item);
                stack.pop_back();
                continue;
            }
            const std::string_view material = top.recipe->materials[top.next++].first;
            meet(material);
            const auto seen = state.find(material);
            if (seen == state.end()) {
                state[material] = State::OnPath;
                stack.push_back({ material, chosenRecipe(index, choices, material), 0 });
            } else if (seen->second == State::OnPath) {
                cut.emplace(top.item, material);
            }
        }
    }

    // Demand flows from the wanted items down: in reverse postorder every
    // item comes after all items that need it.
    std::unordered_map<std::string_view, std::int64_t> demand;
    std::unordered_map<std::string_view, std::int64_t> bought;
    std::unordered_set<std::string_view> cycles;
    for (const WantedItem& want : wanted)
        demand[want.name] = addCount(demand[want.name], want.quantity);
    std::map<int, std::int64_t> crystals;
    std::vector<int> crystalOrder;
    for (auto it = postorder.rbegin(); it != postorder.rend(); ++it) {
        const std::string_view item = *it;
        const std::int64_t needed = demand[item];
        const CraftRecipe* recipe = chosenRecipe(index, choices, item);
        if (!recipe) {
            bought[item] = addCount(bought[item], needed);
            continue;
        }
        CraftStep step { recipe, needed, craftsFor(needed, recipe->yield), 0 };
        step.surplus = mulCount(step.crafts, recipe->yield) - needed;
        plan.crafts.push_back(step);
        if (recipe->crystal != 0) {
            if (crystals.count(recipe->crystal) == 0)
                crystalOrder.push_back(recipe->crystal);
            crystals[recipe->crystal] = addCount(crystals[recipe->crystal], step.crafts);
        }
        for (const auto& [material, units] : recipe->materials) {
            const std::int64_t count = mulCount(units, step.crafts);
            std::string_view key = material;
            if (cut.count({ item, key }) != 0) {
                bought[key] = addCount(bought[key], count);
                cycles.insert(key);
            } else {
                demand[key] = addCount(demand[key], count);
            }
        }
    }
    std::reverse(plan.crafts.begin(), plan.crafts.end());
    for (const int crystal : crystalOrder)
        plan.crystals.emplace_back(crystal, crystals[crystal]);
    std::vector<std::pair<std::size_t, std::string_view>> rawOrder;
    for (const auto& [item, count] : bought) {
        if (count > 0)
            rawOrder.emplace_back(firstMet[item], item);
    }
    std::sort(rawOrder.begin(), rawOrder.end());
    for (const auto& [order, item] : rawOrder)
        plan.raw.push_back({ std::string(item), bought[item] });
    for (const std::string_view item : cycles)
        plan.cycles.emplace_back(item);
    std::sort(plan.cycles.begin(), plan.cycles.end(),
        [&](const std::string& a, const std::string& b) { return firstMet[a] < firstMet[b]; });
    return plan;
}

std::optional<WantedItem> parseWantedLine(std::string_view line)
{
    std::string_view text = sjis::trimmed(line);
    const std::string& fullSpace = "　"_sj;
    while (text.size() >= 2 && text.substr(0, 2) == fullSpace)
        text = sjis::trimmed(text.substr(2));
    while (text.size() >= 2 && sjis::boundaryAtOrBefore(text, text.size() - 2) == text.size() - 2
        && text.substr(text.size() - 2) == fullSpace)
        text = sjis::trimmed(text.substr(0, text.size() - 2));
    if (text.empty())
        return std::nullopt;
    // The count: ASCII or full-width digits at the end, after "×" or a blank.
    std::string digits;
    std::size_t end = text.size();
    const std::string& wideZero = "０"_sj;
    while (end > 0) {
        const std::size_t start = sjis::boundaryAtOrBefore(text, end - 1);
        const std::string_view ch = text.substr(start, end - start);
        if (ch.size() == 1 && ch[0] >= '0' && ch[0] <= '9') {
            digits.insert(digits.begin(), ch[0]);
        } else if (ch.size() == 2 && ch[0] == wideZero[0] && ch[1] >= wideZero[1]
            && ch[1] <= wideZero[1] + 9) {
            digits.insert(digits.begin(), static_cast<char>('0' + (ch[1] - wideZero[1])));
        } else {
            break;
        }
        end = start;
    }
    if (!digits.empty() && end > 0) {
        std::string_view head = text.substr(0, end);
        bool separated = false;
        for (const std::string_view separator : { std::string_view("×"_sj), std::string_view(fullSpace) }) {
            if (head.size() >= separator.size() && head.substr(head.size() - separator.size()) == separator
                && sjis::boundaryAtOrBefore(head, head.size() - separator.size())
                    == head.size() - separator.size()) {
                head.remove_suffix(separator.size());
                separated = true;
                break;
            }
        }
        if (!separated && sjis::isAsciiSpace(static_cast<unsigned char>(head.back())))
            separated = true;
        if (separated) {
            const std::string_view name = sjis::trimmed(head);
            const std::int64_t quantity = digitsValue(digits);
            if (name.empty())
                return std::nullopt;
            if (quantity == 0)
                return std::nullopt;
            return WantedItem { std::string(name), quantity };
        }
    }
    return WantedItem { std::string(text), 1 };
}

} // namespace vornik
