#include "dialogs/detail_dlg.h"

#include "app/core/craft_plan.h"
#include "dialogs/core/edit_store.h"
#include "dialogs/core/record_display.h"
#include "dialogs/planner_dlg.h"
#include "dialogs/sjis_byte_limit.h"
#include "output/core/outside_links.h"
#include "output/link_commands.h"
#include "platform/qt/platform_services.h"
#include "platform/qt/qt_text.h"
#include "platform/sjis_literal.h"
#include "storage/data_file.h"
#include "storage/formatting.h"
#include "storage/memo_file.h"
#include "storage/numbers.h"
#include "storage/vocabulary.h"
#include "ui/dialog_parts.h"
#include "ui/file_error.h"
#include "ui/text_box_keys.h"

#include <QCloseEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace vornik {
namespace {

constexpr int kListWidth = 210;
constexpr int kHqLabelWidth = 30;
constexpr int kHqTextWidth = 180;
const QPoint kMenuOffset(5, 5);

QLabel* valueLabel()
{
    auto* label = new QLabel;
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QGroupBox* groupWith(const QString& title, QWidget* content)
{
    auto* group = new QGroupBox(title);
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(content);
    nameControl(content, title);
    return group;
}

QListWidget* entryList(QAbstractItemView::SelectionMode mode)
{
    auto* list = new QListWidget;
    list->setSelectionMode(mode);
    list->setMinimumWidth(kListWidth + 8);
    return list;
}

} // namespace

CDetailDlg::CDetailDlg(QWidget* parent)
    : QDialog(parent)
    , m_name(new QLineEdit)
    , m_attributes(valueLabel())
    , m_description(new QPlainTextEdit)
    , m_skill(valueLabel())
    , m_rank(valueLabel())
    , m_capLevels(valueLabel())
    , m_needLevels(valueLabel())
    , m_crystal(valueLabel())
    , m_materials(entryList(QAbstractItemView::SingleSelection))
    , m_hq(new QTreeWidget)
    , m_desynth(entryList(QAbstractItemView::ExtendedSelection))
    , m_memoEdit(new ByteLimitedTextEdit(kMemoByteLimit))
    , m_materialMenu(new QMenu(this))
{
    setWindowTitle(QStringLiteral("詳細情報"));

    auto* left = new QVBoxLayout;
    left->addWidget(buildItemGroup());
    left->addWidget(buildSkillGroup());
    auto* right = new QVBoxLayout;
    right->addWidget(buildMaterialGroup());
    right->addWidget(groupWith(QStringLiteral("ハイクォリティ"), m_hq));
    right->addWidget(groupWith(QStringLiteral("分解アイテム"), m_desynth));
    auto* columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right);

    m_memoEdit->setObjectName(QStringLiteral("memo"));
    m_memoEdit->setLineWrapMode(QPlainTextEdit::NoWrap);
    letTabMoveFocus(m_memoEdit);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(groupWith(QStringLiteral("メモ"), m_memoEdit));
    layout->addLayout(buildButtonRow());

    setUpLists();
    buildMaterialMenu();
}

QWidget* CDetailDlg::buildItemGroup()
{
    m_name->setObjectName(QStringLiteral("name"));
    m_name->setReadOnly(true);
    m_attributes->setObjectName(QStringLiteral("attributes"));
    m_description->setObjectName(QStringLiteral("description"));
    m_description->setReadOnly(true);
    m_description->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    letTabMoveFocus(m_description);

    auto* item = new QGroupBox(QStringLiteral("アイテム情報"));
    auto* form = new QFormLayout(item);
    addLabelledRow(form, QStringLiteral("名前："), m_name);
    addLabelledRow(form, QStringLiteral("属性："), m_attributes);
    form->addRow(m_description);
    // The box has no label of its own; it holds the item's description.
    nameControl(m_description, QStringLiteral("説明"));
    return item;
}

QWidget* CDetailDlg::buildSkillGroup()
{
    m_skill->setObjectName(QStringLiteral("skill"));
    m_rank->setObjectName(QStringLiteral("rank"));
    m_capLevels->setObjectName(QStringLiteral("capLevels"));
    m_needLevels->setObjectName(QStringLiteral("needLevels"));

    auto* skill = new QGroupBox(QStringLiteral("合成スキル"));
    auto* form = new QFormLayout(skill);
    addLabelledRow(form, QStringLiteral("スキル："), m_skill);
    addLabelledRow(form, QStringLiteral("ランク："), m_rank);
    addLabelledRow(form, QStringLiteral("限界："), m_capLevels);
    addLabelledRow(form, QStringLiteral("必要："), m_needLevels);
    return skill;
}

QWidget* CDetailDlg::buildMaterialGroup()
{
    m_crystal->setObjectName(QStringLiteral("crystal"));
    m_materials->setObjectName(QStringLiteral("materials"));

    auto* materials = new QGroupBox(QStringLiteral("合成素材"));
    auto* form = new QFormLayout(materials);
    addLabelledRow(form, QStringLiteral("ｸﾘｽﾀﾙ："), m_crystal);
    form->addRow(m_materials);
    nameControl(m_materials, materials->title());
    return materials;
}

QLayout* CDetailDlg::buildButtonRow()
{
    auto* close = new QPushButton(QStringLiteral("閉じる"));
    close->setDefault(true);
    nameControl(close, close->text());
    connect(close, &QPushButton::clicked, this, &CDetailDlg::OnOK);
    auto* plan = new QPushButton(QStringLiteral("必要素材を計算(&K)..."));
    nameControl(plan, plan->text());
    connect(plan, &QPushButton::clicked, this, &CDetailDlg::OnPlanMaterials);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(new QLabel(QStringLiteral("説明：アイテムを選択するとレシピ検索が行えます。")));
    bottom->addStretch();
    bottom->addWidget(plan);
    bottom->addWidget(close);
    return bottom;
}

// A material opens its menu when clicked (or asked for by the context menu
// key); the HQ and desynthesis lists search on a double click or Enter.
void CDetailDlg::buildMaterialMenu()
{
    connect(m_hq, &QTreeWidget::itemDoubleClicked, this, &CDetailDlg::OnHqDoubleClick);
    connect(m_desynth, &QListWidget::itemDoubleClicked, this, &CDetailDlg::OnDesynthDoubleClick);
    // Enter in either list does what a double click does; without this it
    // reached the default button and closed the dialog, so these searches
    // could not be had from the keyboard.
    const auto searchOnEnter = [this](QAbstractItemView* list, void (CDetailDlg::*search)()) {
        for (const int key : { Qt::Key_Return, Qt::Key_Enter }) {
            auto* shortcut = new QShortcut(QKeySequence(key), list);
            shortcut->setContext(Qt::WidgetShortcut);
            connect(shortcut, &QShortcut::activated, this, [this, list, search] {
                // The row the keyboard is on counts, also before Space has
                // selected it (tabbing into a list selects nothing).
                const QModelIndex current = list->currentIndex();
                if (current.isValid() && !list->selectionModel()->isSelected(current))
                    list->selectionModel()->select(
                        current, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
                (this->*search)();
            });
        }
    };
    searchOnEnter(m_hq, &CDetailDlg::OnHqDoubleClick);
    searchOnEnter(m_desynth, &CDetailDlg::OnDesynthDoubleClick);
    connect(m_materials, &QListWidget::itemClicked, this, [this] { showMaterialMenu(QCursor::pos()); });
    m_materials->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_materials, &QListWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        if (QListWidgetItem* hit = m_materials->itemAt(at))
            m_materials->setCurrentItem(hit);
        showMaterialMenu(m_materials->viewport()->mapToGlobal(at));
    });

    m_materialMenu->addAction(QStringLiteral("レシピ検索(&S)..."), this, &CDetailDlg::OnMaterialRecipeSearch);
    m_materialMenu->addAction(
        QStringLiteral("Orlanmereショップサーチ(&A)..."), this, &CDetailDlg::OnMaterialShopSearch);
    m_materialMenu->addAction(
        QStringLiteral("OpenVornikで検索(&O)..."), this, &CDetailDlg::OnMaterialOpenVornik);
    m_materialMenu->addAction(QStringLiteral("Kestreloで検索(&F)..."), this, &CDetailDlg::OnMaterialKestrelo);
}

void CDetailDlg::setUpLists()
{
    m_hq->setObjectName(QStringLiteral("hq"));
    m_desynth->setObjectName(QStringLiteral("desynth"));
    m_materials->setSortingEnabled(true);
    m_hq->setColumnCount(2);
    m_hq->setHeaderHidden(true);
    m_hq->setRootIsDecorated(false);
    m_hq->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_hq->setSelectionBehavior(QAbstractItemView::SelectRows);
    // 30 pixels hold "HQ1" only in a small bitmap font; with a larger or
    // proportional font the label would be cut to "H...".
    const int labelWidth
        = std::max(kHqLabelWidth, m_hq->fontMetrics().horizontalAdvance(QStringLiteral("HQ3")) + 12);
    m_hq->setColumnWidth(0, labelWidth);
    m_hq->setColumnWidth(1, kHqTextWidth);
    m_hq->setMinimumWidth(labelWidth + kHqTextWidth + 8);
}

int CDetailDlg::DoModal()
{
    if (!OnInitDialog())
        return result();
    return exec();
}

bool CDetailDlg::OnInitDialog()
{
    m_searchName.clear();
    m_recordLoaded = false;
    {
        BusyCursor busy;
        StorageError error;
        if (!openDataFile(error)) {
            // Reported by the open-error handler. Nothing is shown, so
            // nothing may be stored either.
            m_memoEdit->setReadOnly(true);
            return true;
        }
        const bool found = findRecord(error);
        closeDataFile();
        if (found) {
            fillFromRecord();
            m_loadedMemo = readMemo(m_loadedId);
            m_memoEdit->setSjisText(m_loadedMemo);
        }
    }
    if (!m_recordLoaded) {
        showRecordNotFound(this);
        done(QDialog::Rejected);
        return false;
    }
    return true;
}

bool CDetailDlg::findRecord(StorageError& error)
{
    // A read error part way ends the search like the end of the file.
    while (readNextRecord(error)) {
        if (currentRecord().storedId() == m_recordId) {
            m_recordLoaded = true;
            m_loadedId = currentRecord().storedId();
            return true;
        }
    }
    return false;
}

void CDetailDlg::fillFromRecord()
{
    const RecipeRecord& record = currentRecord();
    m_itemName = splitYield(record.name()).first;
    const QString name = fromSjis(blanksAsTimes(record.name()));
    m_name->setText(name);
    setWindowTitle(QStringLiteral("　詳細情報 - ") + name + QStringLiteral(" -"));

    const std::string& skill = skillName(textToInt(record.skill()));
    setShownValue(m_crystal, fromSjis(showsCrystal(skill) ? crystalName(textToInt(record.crystal())) : "-"));
    setShownValue(m_skill, fromSjis(skill));
    setShownValue(m_rank, fromSjis(rankName(textToInt(record.rank()))));
    setShownValue(m_capLevels, fromSjis(skillLevelSummary(LevelKind::Cap, record)));
    setShownValue(m_needLevels, fromSjis(skillLevelSummary(LevelKind::Need, record)));

    for (const std::string& entry : materialEntries(materialSummary(MaterialForm::Display, record)))
        m_materials->addItem(fromSjis(entry));
    m_description->setPlainText(multiLineFromSjis(descriptionForDetail(record.description())));
    for (int n = 1; n <= 3; ++n) {
        auto* row = new QTreeWidgetItem(m_hq);
        row->setText(0, QStringLiteral("HQ%1").arg(n));
        row->setText(1, fromSjis(hqRowText(n, record)));
    }
    m_desynth->addItem(fromSjis(desynthRowText(record)));
    setShownValue(m_attributes, fromSjis(attributeText(record)));
}

bool CDetailDlg::storeChangedMemo()
{
    m_memo = m_memoEdit->sjisText();
    if (!m_recordLoaded || m_memo == m_loadedMemo)
        return true;
    if (!checkStorable(this, { m_memoEdit->toPlainText() }))
        return false;
    // A memo another window stored after this one was loaded is replaced
    // only when the user agrees; No keeps the dialog open.
    StorageError error;
    MemoStore stored = saveMemoIfUnchanged(m_loadedId, m_memo, m_loadedMemo, error);
    if (stored == MemoStore::ChangedElsewhere) {
        if (!confirmOverwriteChanged(this, true))
            return false;
        stored = saveMemo(m_loadedId, m_memo, error) ? MemoStore::Stored : MemoStore::Failed;
    }
    if (stored == MemoStore::Stored) {
        m_loadedMemo = m_memo;
        return true;
    }
    showFileError(this, error);
    return false;
}

void CDetailDlg::OnOK()
{
    // Checked before anything is stored, so one click never both stores
    // and refuses.
    if (m_recordLoaded && m_memoEdit->sjisText() != m_loadedMemo
        && m_memoEdit->sjisText().size() > kMemoByteLimit) {
        showTooLong(this, static_cast<int>(kMemoByteLimit));
        m_searchName.clear();
        return;
    }
    if (!storeChangedMemo()) {
        m_searchName.clear();
        return;
    }
    accept();
}

void CDetailDlg::closeEvent(QCloseEvent* event)
{
    if (!storeChangedMemo()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void CDetailDlg::chooseForSearch(const std::string& entryText)
{
    const std::optional<std::string> name = itemNameOfEntry(entryText);
    if (!name)
        return;
    m_searchName = *name;
    OnOK();
}

void CDetailDlg::OnHqDoubleClick()
{
    for (int row = 0; row < m_hq->topLevelItemCount(); ++row) {
        QTreeWidgetItem* item = m_hq->topLevelItem(row);
        if (item->isSelected()) {
            chooseForSearch(toSjis(item->text(1)));
            return;
        }
    }
}

void CDetailDlg::OnDesynthDoubleClick()
{
    for (int row = 0; row < m_desynth->count(); ++row) {
        if (m_desynth->item(row)->isSelected()) {
            chooseForSearch(toSjis(m_desynth->item(row)->text()));
            return;
        }
    }
}

std::optional<std::string> CDetailDlg::selectedMaterialName() const
{
    const QList<QListWidgetItem*> selected = m_materials->selectedItems();
    if (selected.isEmpty())
        return std::nullopt;
    return itemNameOfEntry(toSjis(selected.front()->text()));
}

void CDetailDlg::showMaterialMenu(const QPoint& globalPos)
{
    if (m_materials->selectedItems().isEmpty())
        return;
    m_materialMenu->exec(globalPos + kMenuOffset);
}

void CDetailDlg::OnMaterialRecipeSearch()
{
    const QList<QListWidgetItem*> selected = m_materials->selectedItems();
    if (!selected.isEmpty())
        chooseForSearch(toSjis(selected.front()->text()));
}

void CDetailDlg::OnMaterialShopSearch()
{
    if (const std::optional<std::string> name = selectedMaterialName())
        shopSearchFor(*name);
}

void CDetailDlg::OnMaterialOpenVornik()
{
    if (const std::optional<std::string> name = selectedMaterialName())
        searchOpenVornikFor(*name);
}

void CDetailDlg::OnMaterialKestrelo()
{
    if (const std::optional<std::string> name = selectedMaterialName())
        searchKestreloFor(*name);
}

void CDetailDlg::OnPlanMaterials()
{
    CPlannerDlg planner(this, m_itemName);
    planner.DoModal();
}

} // namespace vornik
