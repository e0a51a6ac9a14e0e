#pragma once
// The crafting planner window: what it takes to make a number of one item
// (opened from the detail dialog) or of several (the shopping list). The
// material tree opens craftable items on demand; any craftable item can be
// bought instead or made by another of its records, and the totals follow
// at once. The totals can be copied or written as CSV.

#include "app/core/craft_plan.h"
#include "app/core/craft_plan_table.h"

#include <QDialog>

#include <memory>
#include <string>
#include <vector>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace vornik {

class CPlannerDlg : public QDialog {
    Q_OBJECT
public:
    // For one item (Shift-JIS, without its yield count).
    CPlannerDlg(QWidget* parent, std::string item);
    // The shopping list: lines of "名前", "名前×3" or "名前 3".
    explicit CPlannerDlg(QWidget* parent);

    // Reads the recipes (once per version of the data file) and plans;
    // false after telling the user when the data file cannot be read.
    bool OnInitDialog();
    int DoModal();

    QSpinBox* quantityBox() const { return m_quantity; }
    QPlainTextEdit* listBox() const { return m_list; }
    QTreeWidget* tree() const { return m_tree; }
    const PlanTable& totals() const { return m_totals; }
    const std::vector<std::string>& unknownNames() const { return m_plan.unknown; }

public slots:
    void OnCalculate(); // plans anew from the quantity box or the list
    void OnToggleBuy(); // the selected item: bought <-> crafted
    void OnNextRecipe(); // the selected item: made by its next record
    void OnCopy();
    void OnExportCsv();

private:
    void build(bool shoppingList);
    std::vector<WantedItem> wantedItems() const;
    void fillTree();
    void fillChildren(QTreeWidgetItem* item);
    QTreeWidgetItem* makeItem(const PlanNode& node) const;
    void fillTotals();
    std::string selectedItem() const;

    std::string m_item; // empty for the shopping list
    std::shared_ptr<const CraftIndex> m_index;
    PlanChoices m_choices;
    Plan m_plan;
    PlanTable m_totals;

    QSpinBox* m_quantity = nullptr;
    QPlainTextEdit* m_list = nullptr;
    QLabel* m_unknown = nullptr;
    QTreeWidget* m_tree = nullptr;
    QTableWidget* m_table = nullptr;
    QPushButton* m_buy = nullptr;
    QPushButton* m_nextRecipe = nullptr;
};

} // namespace vornik
