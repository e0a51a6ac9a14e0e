#include "dialogs/planner_dlg.h"

#include "output/core/csv_export.h"
#include "output/export_commands.h"
#include "platform/qt/platform_services.h"
#include "platform/qt/qt_text.h"
#include "storage/vocabulary.h"
#include "ui/dialog_parts.h"
#include "ui/file_error.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace vornik {
namespace {

enum Column { ItemColumn, CountColumn, CraftsColumn, SurplusColumn, SkillColumn, CrystalColumn };
enum Role { NameRole = Qt::UserRole, QuantityRole, CycleRole, FilledRole };

// A record chosen for an item stays chosen for the rest of the session, in
// every planner window.
std::map<std::string, std::size_t, std::less<>>& sessionRecipeChoices()
{
    static std::map<std::string, std::size_t, std::less<>> choices;
    return choices;
}

QString countText(std::int64_t count)
{
    return QString::number(count);
}

} // namespace

CPlannerDlg::CPlannerDlg(QWidget* parent, std::string item)
    : QDialog(parent)
    , m_item(std::move(item))
{
    build(false);
}

CPlannerDlg::CPlannerDlg(QWidget* parent)
    : QDialog(parent)
{
    build(true);
}

void CPlannerDlg::build(bool shoppingList)
{
    setWindowTitle(shoppingList ? QStringLiteral("買い物リスト")
                                : QStringLiteral("必要素材 - ") + fromSjis(m_item) + QStringLiteral(" -"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    if (shoppingList) {
        m_list = new QPlainTextEdit;
        m_list->setPlaceholderText(QStringLiteral("1 行に 1 つ: 名前、名前×3、名前 3"));
        addLabelledRow(form, QStringLiteral("作るもの(&L)："), m_list);
        auto* calculate = new QPushButton(QStringLiteral("計算(&C)"));
        nameControl(calculate, calculate->text());
        connect(calculate, &QPushButton::clicked, this, &CPlannerDlg::OnCalculate);
        form->addRow(QString(), calculate);
    } else {
        m_quantity = new QSpinBox;
        m_quantity->setRange(1, 99999);
        addLabelledRow(form, QStringLiteral("個数(&Q)："), m_quantity);
        // The text box inside the spin box is what a screen reader lands on.
        if (auto* text = m_quantity->findChild<QLineEdit*>())
            text->setAccessibleName(m_quantity->accessibleName());
        connect(m_quantity, &QSpinBox::valueChanged, this, &CPlannerDlg::OnCalculate);
    }
    layout->addLayout(form);
    m_unknown = new QLabel;
    m_unknown->setWordWrap(true);
    m_unknown->setTextFormat(Qt::PlainText);
    m_unknown->hide();
    layout->addWidget(m_unknown);

    m_tree = new QTreeWidget;
    m_tree->setHeaderLabels({ QStringLiteral("アイテム"), QStringLiteral("個数"), QStringLiteral("合成回数"),
        QStringLiteral("余り"), QStringLiteral("スキル/ランク"), QStringLiteral("クリスタル") });
    nameControl(m_tree, QStringLiteral("素材の内訳"));
    connect(m_tree, &QTreeWidget::itemExpanded, this, &CPlannerDlg::fillChildren);
    layout->addWidget(new QLabel(QStringLiteral("素材の内訳（合成できる素材は開けます）")));
    layout->addWidget(m_tree, 1);

    auto* treeButtons = new QHBoxLayout;
    m_buy = new QPushButton(QStringLiteral("買う/作るを切り替え(&B)"));
    m_nextRecipe = new QPushButton(QStringLiteral("別のレシピで作る(&R)"));
    for (QPushButton* button : { m_buy, m_nextRecipe }) {
        nameControl(button, button->text());
        treeButtons->addWidget(button);
    }
    treeButtons->addStretch();
    connect(m_buy, &QPushButton::clicked, this, &CPlannerDlg::OnToggleBuy);
    connect(m_nextRecipe, &QPushButton::clicked, this, &CPlannerDlg::OnNextRecipe);
    layout->addLayout(treeButtons);

    m_table = new QTableWidget;
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();
    nameControl(m_table, QStringLiteral("合計"));
    layout->addWidget(new QLabel(QStringLiteral("合計（買う素材、クリスタル、合成の順番）")));
    layout->addWidget(m_table, 1);

    auto* bottom = new QHBoxLayout;
    auto* copy = new QPushButton(QStringLiteral("クリップボードにコピー(&P)"));
    auto* csv = new QPushButton(QStringLiteral("CSVファイルに出力(&O)..."));
    auto* close = new QPushButton(QStringLiteral("閉じる"));
    bottom->addStretch();
    for (QPushButton* button : { copy, csv, close }) {
        nameControl(button, button->text());
        bottom->addWidget(button);
    }
    connect(copy, &QPushButton::clicked, this, &CPlannerDlg::OnCopy);
    connect(csv, &QPushButton::clicked, this, &CPlannerDlg::OnExportCsv);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    layout->addLayout(bottom);
    resize(720, 640);
}

bool CPlannerDlg::OnInitDialog()
{
    StorageError error;
    {
        BusyCursor busy;
        m_index = currentCraftIndex(error);
    }
    if (!m_index) {
        // An open failure has been reported by the open-error handler.
        if (error.failed())
            showFileError(this, error);
        return false;
    }
    m_choices.recipe = sessionRecipeChoices();
    OnCalculate();
    return true;
}

int CPlannerDlg::DoModal()
{
    if (!OnInitDialog())
        return Rejected;
    return exec();
}

std::vector<WantedItem> CPlannerDlg::wantedItems() const
{
    std::vector<WantedItem> wanted;
    if (m_quantity) {
        wanted.push_back({ m_item, m_quantity->value() });
        return wanted;
    }
    for (const QString& line : m_list->toPlainText().split(QLatin1Char('\n'))) {
        if (const std::optional<WantedItem> item = parseWantedLine(toSjis(line)))
            wanted.push_back(*item);
    }
    return wanted;
}

void CPlannerDlg::OnCalculate()
{
    if (!m_index)
        return;
    const std::vector<WantedItem> wanted = wantedItems();
    m_plan = makePlan(*m_index, m_choices, wanted);
    m_totals = planTotalsTable(m_plan);
    QStringList unknown;
    for (const std::string& name : m_plan.unknown)
        unknown << fromSjis(name);
    m_unknown->setText(QStringLiteral("レシピが見つからない名前（買う素材に入れました）：")
        + unknown.join(QStringLiteral("、")));
    m_unknown->setVisible(!unknown.isEmpty());
    fillTree();
    fillTotals();
}

QTreeWidgetItem* CPlannerDlg::makeItem(const PlanNode& node) const
{
    auto* item = new QTreeWidgetItem;
    QString name = fromSjis(node.item);
    const ItemRecipes* recipes = m_index->recipesFor(node.item);
    if (node.recipe && recipes && recipes->size() > 1) {
        name += QStringLiteral("（レシピ %1/%2）").arg(node.recipe->alternative + 1).arg(recipes->size());
    }
    item->setText(ItemColumn, name);
    item->setText(CountColumn, countText(node.quantity));
    if (node.cycle)
        item->setText(CraftsColumn, QStringLiteral("循環（買う）"));
    else if (node.recipe)
        item->setText(CraftsColumn, countText(node.crafts));
    else
        item->setText(CraftsColumn, node.craftable ? QStringLiteral("買う") : QStringLiteral("-"));
    if (node.recipe) {
        item->setText(SurplusColumn, countText(node.surplus));
        item->setText(SkillColumn,
            fromSjis(skillName(node.recipe->skill)) + QStringLiteral("/")
                + fromSjis(rankName(node.recipe->rank)));
        item->setText(CrystalColumn, fromSjis(crystalName(node.recipe->crystal)));
        item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    }
    item->setData(ItemColumn, NameRole, QByteArray::fromStdString(node.item));
    item->setData(ItemColumn, QuantityRole, static_cast<qlonglong>(node.quantity));
    item->setData(ItemColumn, CycleRole, node.cycle);
    return item;
}

void CPlannerDlg::fillTree()
{
    m_tree->clear();
    for (const WantedItem& want : wantedItems())
        m_tree->addTopLevelItem(makeItem(planNode(*m_index, m_choices, want.name, want.quantity)));
    for (int top = 0; top < m_tree->topLevelItemCount(); ++top)
        m_tree->topLevelItem(top)->setExpanded(true); // the wanted items' own materials at once
    for (int column = 0; column < m_tree->columnCount(); ++column)
        m_tree->resizeColumnToContents(column);
}

void CPlannerDlg::fillChildren(QTreeWidgetItem* item)
{
    if (item->data(ItemColumn, FilledRole).toBool())
        return;
    item->setData(ItemColumn, FilledRole, true);
    std::vector<std::string> path; // from the top item down to this one
    for (QTreeWidgetItem* at = item; at; at = at->parent())
        path.insert(path.begin(), at->data(ItemColumn, NameRole).toByteArray().toStdString());
    const PlanNode node = planNode(*m_index, m_choices, path.back(),
        item->data(ItemColumn, QuantityRole).toLongLong(), item->data(ItemColumn, CycleRole).toBool());
    for (const PlanNode& child : planChildren(*m_index, m_choices, node, path))
        item->addChild(makeItem(child));
}

void CPlannerDlg::fillTotals()
{
    m_table->clear();
    m_table->setColumnCount(static_cast<int>(m_totals.headings.size()));
    m_table->setRowCount(static_cast<int>(m_totals.rows.size()));
    QStringList headings;
    for (const std::string& heading : m_totals.headings)
        headings << fromSjis(heading);
    m_table->setHorizontalHeaderLabels(headings);
    for (std::size_t row = 0; row < m_totals.rows.size(); ++row) {
        for (std::size_t column = 0; column < m_totals.headings.size(); ++column) {
            m_table->setItem(static_cast<int>(row), static_cast<int>(column),
                new QTableWidgetItem(fromSjis(m_totals.rows[row].cell(column))));
        }
    }
    m_table->resizeColumnsToContents();
}

std::string CPlannerDlg::selectedItem() const
{
    const QTreeWidgetItem* item = m_tree->currentItem();
    return item ? item->data(ItemColumn, NameRole).toByteArray().toStdString() : std::string();
}

void CPlannerDlg::OnToggleBuy()
{
    const std::string item = selectedItem();
    if (item.empty() || !m_index || !m_index->recipesFor(item))
        return;
    if (m_choices.buy.erase(item) == 0)
        m_choices.buy.insert(item);
    OnCalculate();
}

void CPlannerDlg::OnNextRecipe()
{
    const std::string item = selectedItem();
    const ItemRecipes* recipes = m_index ? m_index->recipesFor(item) : nullptr;
    if (!recipes || recipes->size() < 2)
        return;
    std::size_t& choice = m_choices.recipe[item];
    choice = (choice + 1) % recipes->size();
    sessionRecipeChoices()[item] = choice;
    OnCalculate();
}

void CPlannerDlg::OnCopy()
{
    platformServices().setClipboardText(fromSjis(planTotalsText(m_totals)));
}

void CPlannerDlg::OnExportCsv()
{
    const QString caption = QStringLiteral("必要素材を出力");
    const std::optional<std::string> path = askExportTarget(programFolderDialog(this, caption,
        QStringLiteral("CSV形式(*.csv)|*.csv||"), QStringLiteral("*.csv"), QStringLiteral("csv")));
    if (!path)
        return;
    std::string error;
    bool written = false;
    {
        BusyCursor busy;
        written = writeCsvFile(m_totals.view(), *path, error);
    }
    if (!written) {
        showFileError(this, error);
        return;
    }
    confirmOpenExported(*path, caption);
}

} // namespace vornik
