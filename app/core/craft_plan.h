#pragma once
// The crafting planner: what it takes, in raw materials, crystals and
// crafts, to make a number of an item from the recipes of the data file.
//
// Every text here is Shift-JIS like the records. An item is craftable when
// some record's name, cut before the blank of its yield count, is exactly the
// item's name; the first such record in file order is used unless the user
// chose another for that item.

#include "storage/storage_error.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vornik {

// What the planner needs of one record.
struct CraftRecipe {
    std::string id; // the record's id text, as its line holds it
    std::string item; // name without the yield count
    std::int64_t yield = 1; // items one craft makes, at least 1
    // Materials of one craft in slot order, a name needed in several slots
    // counted once with the number of its slots.
    std::vector<std::pair<std::string, std::int64_t>> materials;
    std::size_t alternative = 0; // place among the records making the item, from 0
    int crystal = 0; // crystal vocabulary index; 0 = none
    int skill = 0;
    int rank = 0;
    std::string level; // needLevel of the main skill, empty when none
};

// Splits a record name into the item and its yield: 'X 12' is X made 12 at a
// time; a name without a trailing blank and digits makes 1.
std::pair<std::string, std::int64_t> splitYield(std::string_view name);

// The records making one item, in file order.
struct ItemRecipes {
    const CraftRecipe* first = nullptr;
    std::vector<const CraftRecipe*> more; // the second and later (most items have none)
    std::size_t size() const { return 1 + more.size(); }
    const CraftRecipe& operator[](std::size_t n) const { return n == 0 ? *first : *more[n - 1]; }
};

// Every item some record makes, with all records making it in file order.
// The recipes stay where they are while the index lives (plans point into
// it), so the index can be moved but not copied.
class CraftIndex {
public:
    CraftIndex() = default;
    CraftIndex(CraftIndex&&) = default;
    CraftIndex& operator=(CraftIndex&&) = default;
    CraftIndex(const CraftIndex&) = delete;
    CraftIndex& operator=(const CraftIndex&) = delete;
    ~CraftIndex() = default;

    void add(CraftRecipe recipe);
    // nullptr when no record makes `item`.
    const ItemRecipes* recipesFor(std::string_view item) const;
    std::size_t itemCount() const { return m_items.size(); }
    template <typename Visit> void forEachItem(Visit visit) const
    {
        for (const Item& item : m_items)
            visit(item.name);
    }

private:
    struct Item {
        std::string name;
        std::size_t hash = 0;
        ItemRecipes recipes;
    };
    // A slot of the item table: 0 when empty, else the item's place + 1.
    using Slot = std::uint32_t;
    // Where `name` stands in m_slots, or the empty slot where it would go.
    std::size_t slotOf(std::string_view name, std::size_t hash) const;
    void growSlots();

    // Recipes in blocks that never move: plans point into them, and a
    // block of many recipes is one allocation.
    static constexpr std::size_t kBlock = 1024;
    std::vector<std::unique_ptr<CraftRecipe[]>> m_blocks;
    std::size_t m_usedInBlock = kBlock;
    // The items in the order first seen, found through a table of slots
    // probed one after the other: one index looks up each record's item, and
    // a table of nodes cost a cache miss for every step of the way.
    std::vector<Item> m_items;
    std::vector<Slot> m_slots;
};

// Reads the data file once into an index. Nothing, with `error` set, when it
// cannot be opened (the open-error handler has been told) or read.
std::optional<CraftIndex> scanCraftIndex(StorageError& error);
// The index of the current data file, read again only when the file's size
// or modification time changed since the last read. nullptr, with `error`
// set, when it cannot be read. Shared: a window planning on it keeps its
// index (and the recipes its plan points into) while a later call reads a
// changed file.
std::shared_ptr<const CraftIndex> currentCraftIndex(StorageError& error);
// How many times currentCraftIndex read the whole file (for measuring).
std::size_t craftIndexScanCount();

// The user's choices for one planning session.
struct PlanChoices {
    std::set<std::string, std::less<>> buy; // craftable items bought instead
    std::map<std::string, std::size_t, std::less<>> recipe; // item -> alternative in file order
};

// The record used for `item`, or nullptr when it is bought (not craftable or
// marked to buy).
const CraftRecipe* chosenRecipe(const CraftIndex& index, const PlanChoices& choices, std::string_view item);

// One item of the material tree.
struct PlanNode {
    std::string item;
    std::int64_t quantity = 0;
    const CraftRecipe* recipe = nullptr; // nullptr: bought
    std::int64_t crafts = 0;
    std::int64_t surplus = 0;
    bool craftable = false; // some record makes it (even when bought)
    bool cycle = false; // met again on its own path: not expanded
};

PlanNode planNode(const CraftIndex& index, const PlanChoices& choices, std::string_view item,
    std::int64_t quantity, bool cycle = false);
// The materials of `node`; `path` holds the items from the root down to and
// including node's item, to mark an item met again on it.
std::vector<PlanNode> planChildren(const CraftIndex& index, const PlanChoices& choices, const PlanNode& node,
    const std::vector<std::string>& path);

struct PlanCount {
    std::string name;
    std::int64_t count = 0;
};

struct CraftStep {
    const CraftRecipe* recipe = nullptr;
    std::int64_t needed = 0; // items wanted of this craft
    std::int64_t crafts = 0;
    std::int64_t surplus = 0;
};

struct WantedItem {
    std::string name;
    std::int64_t quantity = 1;
};

// Totals for several wanted items together: an item needed in several places
// is crafted once for all of them.
struct Plan {
    std::vector<PlanCount> raw; // bought items, first met first
    std::vector<std::pair<int, std::int64_t>> crystals; // crystal index, count
    std::vector<CraftStep> crafts; // every craft after the crafts of its materials
    std::vector<std::string> cycles; // items left unexpanded because they close a cycle
    std::vector<std::string> unknown; // wanted names no record makes
};

Plan makePlan(const CraftIndex& index, const PlanChoices& choices, const std::vector<WantedItem>& wanted);

// A shopping-list line: "名前", "名前×3", "名前 3" (full-width digits and
// space too). Nothing for a blank line or a count of 0.
std::optional<WantedItem> parseWantedLine(std::string_view line);

} // namespace vornik
