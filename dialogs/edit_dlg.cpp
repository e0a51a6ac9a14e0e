#include "dialogs/edit_dlg.h"

#include "dialogs/core/material_entries.h"
#include "dialogs/core/record_display.h"
#include "dialogs/material_dlg.h"
#include "dialogs/sjis_byte_limit.h"
#include "dialogs/skill_value_dlg.h"
#include "platform/qt/platform_services.h"
#include "platform/qt/qt_text.h"
#include "platform/sjis_text.h"
#include "storage/data_file.h"
#include "storage/field_codec.h"
#include "storage/formatting.h"
#include "storage/item_info.h"
#include "storage/memo_file.h"
#include "storage/memo_pad.h"
#include "storage/numbers.h"
#include "storage/paths.h"
#include "storage/vocabulary.h"
#include "ui/dialog_parts.h"
#include "ui/file_error.h"
#include "ui/text_box_keys.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vornik {
namespace {

constexpr int kListWidth = 210;
constexpr std::size_t kEntryTextCapacity = 200;

// A new user has no data file yet: the first record starts one, once they
// agree. False when nothing may be stored.
bool offerNewDataFile(QWidget* parent)
{
    const std::string path = dataFilePath();
    if (!fileIsMissing(path))
        return true;
    if (!askYesNo(parent, QStringLiteral("データファイルの作成"),
            QStringLiteral("データファイルがありません。\n%1\n\n"
                           "空のデータファイルを作成して、このデータを保存しますか？")
                .arg(fromPath(path))))
        return false;
    if (StorageError error; !createFileIfMissing(path, error)) {
        showFileError(parent, error);
        return false;
    }
    return true;
}

QComboBox* choiceList(const char* objectName)
{
    auto* box = new QComboBox;
    box->setObjectName(QString::fromLatin1(objectName));
    box->setEditable(false);
    return box;
}

// Each drop-down begins with an empty entry: "not set".
void fillChoices(QComboBox* box, const std::vector<std::string>& names)
{
    box->clear();
    box->addItem(QString());
    for (const std::string& name : names)
        box->addItem(fromSjis(name));
}

std::vector<std::string> choiceTexts(const QComboBox* box)
{
    std::vector<std::string> texts;
    for (int i = 0; i < box->count(); ++i)
        texts.push_back(toSjis(box->itemText(i)));
    return texts;
}

void selectByPrefix(QComboBox* box, const std::string& prefix)
{
    box->setCurrentIndex(findEntryByPrefix(choiceTexts(box), prefix));
}

} // namespace

CEditDlg::CEditDlg(QWidget* parent)
    : QDialog(parent)
    , m_name(new QLineEdit)
    , m_stackable(new QCheckBox(QStringLiteral("ｽﾀｯｸ")))
    , m_rare(new QCheckBox(QStringLiteral("Rare")))
    , m_ex(new QCheckBox(QStringLiteral("Ex")))
    , m_description(new QPlainTextEdit)
    , m_skill(choiceList("skill"))
    , m_rank(choiceList("rank"))
    , m_capLevels(new QLabel)
    , m_needLevels(new QLabel)
    , m_crystal(choiceList("crystal"))
    , m_materials(new QListWidget)
    , m_materialAdd(new QPushButton(QStringLiteral("追加(&D)")))
    , m_materialEdit(new QPushButton(QStringLiteral("編集(&E)")))
    , m_materialDelete(new QPushButton(QStringLiteral("削除(&L)")))
    , m_desynth(new QLineEdit)
    , m_memoEdit(new ByteLimitedTextEdit(kMemoByteLimit))
    , m_note(new QLabel(QStringLiteral("説明：データの変更は次回検索時から有効になります。")))
{
    setWindowTitle(QStringLiteral("データの編集"));

    auto* columns = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(buildItemGroup());
    left->addWidget(buildSkillGroup());
    auto* right = new QVBoxLayout;
    right->addWidget(buildMaterialGroup());
    right->addWidget(buildHqGroup());
    right->addWidget(buildDesynthGroup());
    columns->addLayout(left);
    columns->addLayout(right);

    auto* memo = new QGroupBox(QStringLiteral("メモ"));
    auto* memoLayout = new QVBoxLayout(memo);
    memoLayout->addWidget(m_memoEdit);
    m_memoEdit->setObjectName(QStringLiteral("memo"));
    m_memoEdit->setLineWrapMode(QPlainTextEdit::NoWrap);
    letTabMoveFocus(m_memoEdit);
    nameControl(m_memoEdit, memo->title());

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(memo);
    m_note->setObjectName(QStringLiteral("note"));
    layout->addWidget(m_note);
    const OkCancelButtons buttons = addOkCancel(layout, this);
    connect(buttons.ok, &QPushButton::clicked, this, &CEditDlg::OnOK);
}

QWidget* CEditDlg::buildItemGroup()
{
    auto* group = new QGroupBox(QStringLiteral("アイテム情報"));
    auto* form = new QFormLayout(group);
    m_name->setObjectName(QStringLiteral("name"));
    m_name->installEventFilter(this);
    addLabelledRow(form, QStringLiteral("名前(&N)："), m_name);

    auto* attributes = new QWidget;
    auto* row = new QHBoxLayout(attributes);
    row->setContentsMargins(0, 0, 0, 0);
    for (QCheckBox* box : { m_stackable, m_rare, m_ex }) {
        nameControl(box, box->text());
        row->addWidget(box);
    }
    row->addStretch();
    m_stackable->setObjectName(QStringLiteral("stackable"));
    m_rare->setObjectName(QStringLiteral("rare"));
    m_ex->setObjectName(QStringLiteral("ex"));
    auto* label = new QLabel(QStringLiteral("属性(&T)："));
    label->setBuddy(m_stackable);
    form->addRow(label, attributes);

    m_description->setObjectName(QStringLiteral("description"));
    letTabMoveFocus(m_description);
    // The box has no label of its own; it holds the item's description.
    nameControl(m_description, QStringLiteral("説明"));
    form->addRow(m_description);
    return group;
}

QWidget* CEditDlg::buildSkillGroup()
{
    auto* group = new QGroupBox(QStringLiteral("合成スキル"));
    auto* form = new QFormLayout(group);
    addLabelledRow(form, QStringLiteral("ｽｷﾙ(&S)："), m_skill);
    addLabelledRow(form, QStringLiteral("ﾗﾝｸ(&L)："), m_rank);

    m_capLevels->setObjectName(QStringLiteral("capLevels"));
    m_needLevels->setObjectName(QStringLiteral("needLevels"));
    // The dialog has three "編集" buttons: each is announced with what it edits.
    auto levelRow = [&form](const QString& label, QLabel* summary, const QString& buttonText) {
        auto* row = new QHBoxLayout;
        auto* button = new QPushButton(buttonText);
        button->setObjectName(summary->objectName() + QStringLiteral("Edit"));
        nameControl(summary, label);
        button->setAccessibleName(withoutMnemonic(label) + QStringLiteral("を編集"));
        row->addWidget(summary, 1);
        row->addWidget(button);
        form->addRow(new QLabel(label), row);
        return button;
    };
    QPushButton* cap = levelRow(QStringLiteral("限界："), m_capLevels, QStringLiteral("編集(&W)"));
    QPushButton* need = levelRow(QStringLiteral("必要："), m_needLevels, QStringLiteral("編集(&Q)"));
    connect(cap, &QPushButton::clicked, this, &CEditDlg::OnEditCapLevels);
    connect(need, &QPushButton::clicked, this, &CEditDlg::OnEditNeededLevels);
    return group;
}

QWidget* CEditDlg::buildMaterialGroup()
{
    auto* group = new QGroupBox(QStringLiteral("合成素材"));
    auto* layout = new QVBoxLayout(group);
    auto* form = new QFormLayout;
    addLabelledRow(form, QStringLiteral("ｸﾘｽﾀﾙ(&C)："), m_crystal);
    layout->addLayout(form);

    m_materials->setObjectName(QStringLiteral("materials"));
    m_materials->setSelectionMode(QAbstractItemView::SingleSelection);
    m_materials->setSortingEnabled(true);
    m_materials->setMinimumWidth(kListWidth + 8);
    m_materials->viewport()->installEventFilter(this);
    nameControl(m_materials, group->title());
    layout->addWidget(m_materials);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : { m_materialAdd, m_materialEdit, m_materialDelete }) {
        button->setAutoDefault(false);
        nameControl(button, button->text());
        buttons->addWidget(button);
    }
    m_materialAdd->setObjectName(QStringLiteral("materialAdd"));
    m_materialEdit->setObjectName(QStringLiteral("materialEdit"));
    m_materialEdit->setAccessibleName(QStringLiteral("素材を編集"));
    m_materialDelete->setObjectName(QStringLiteral("materialDelete"));
    layout->addLayout(buttons);

    connect(m_materialAdd, &QPushButton::clicked, this, &CEditDlg::OnMaterialAdd);
    connect(m_materialEdit, &QPushButton::clicked, this, &CEditDlg::OnMaterialEdit);
    connect(m_materialDelete, &QPushButton::clicked, this, &CEditDlg::OnMaterialDelete);
    connect(m_materials, &QListWidget::itemSelectionChanged, this, &CEditDlg::updateMaterialButtons);
    return group;
}

QWidget* CEditDlg::buildHqGroup()
{
    auto* group = new QGroupBox(QStringLiteral("ハイクォリティ"));
    auto* form = new QFormLayout(group);
    const QString labels[3]
        = { QStringLiteral("HQ1(&H)："), QStringLiteral("HQ2(&I)："), QStringLiteral("HQ3(&G)：") };
    for (std::size_t i = 0; i < m_hq.size(); ++i) {
        m_hq[i] = new QLineEdit;
        m_hq[i]->setObjectName(QStringLiteral("hq%1").arg(i + 1));
        addLabelledRow(form, labels[i], m_hq[i]);
    }
    return group;
}

QWidget* CEditDlg::buildDesynthGroup()
{
    auto* group = new QGroupBox(QStringLiteral("分解アイテム"));
    auto* form = new QFormLayout(group);
    m_desynth->setObjectName(QStringLiteral("desynth"));
    addLabelledRow(form, QStringLiteral("名前(&R)："), m_desynth);
    return group;
}

int CEditDlg::DoModal()
{
    if (!OnInitDialog())
        return result();
    return exec();
}

bool CEditDlg::OnInitDialog()
{
    BusyCursor busy;
    fillChoiceLists();
    currentRecord().clearForNew();
    m_target = StoreTarget {};
    m_recordLoaded = false;

    if (!m_isEdit) {
        setWindowTitle(QStringLiteral("　データの新規作成"));
        m_note->setText(QStringLiteral("説明：新規データは次回検索時から有効になります。"));
        m_recordLoaded = true;
        updateMaterialButtons();
        rememberOpeningState();
        return true;
    }

    if (!loadRecord()) {
        // Nothing is loaded, so nothing typed here could be stored under
        // the right id: the dialog ends at once.
        showRecordNotFound(this);
        done(QDialog::Rejected);
        return false;
    }
    fillFromRecord();
    m_target.isNew = false;
    m_target.id = currentRecord().storedId();
    m_target.storedLine = findStoredLine(m_target.id);
    m_target.storedMemo = readMemo(m_target.id);
    m_memoEdit->setSjisText(*m_target.storedMemo);
    updateMaterialButtons();
    rememberOpeningState();
    m_target.shown = m_openedRecord;
    return true;
}

void CEditDlg::rememberOpeningState()
{
    m_openedRecord = editedRecord();
    m_openedMemo = m_memoEdit->sjisText();
    m_openedFields = currentRecord().fields();
}

bool CEditDlg::hasChanges() const
{
    return m_recordLoaded
        && (editedRecord() != m_openedRecord || m_memoEdit->sjisText() != m_openedMemo
            || currentRecord().fields() != m_openedFields);
}

void CEditDlg::reject()
{
    if (hasChanges()) {
        if (!askYesNo(this, QStringLiteral("確認"),
                QStringLiteral("変更された内容は保存されていません。\n変更を破棄しますか？")))
            return;
        QDialog::reject();
        // The question and the dialog close one right after the other; some
        // window managers then leave no window with the keyboard focus
        // instead of returning it to the main window.
        if (QWidget* owner = parentWidget())
            owner->activateWindow();
        return;
    }
    QDialog::reject();
}

void CEditDlg::fillChoiceLists()
{
    fillChoices(m_rank, rankComboNames());
    fillChoices(m_skill, skillComboNames());
    fillChoices(m_crystal, crystalComboNames());
    m_rank->setCurrentIndex(-1);
    m_skill->setCurrentIndex(-1);
    m_crystal->setCurrentIndex(-1);
}

bool CEditDlg::loadRecord()
{
    // An unopened file has been reported by the open-error handler; a read
    // error part way ends the search like the end of the file.
    StorageError error;
    if (!openDataFile(error))
        return false;
    while (readNextRecord(error)) {
        if (currentRecord().storedId() == m_recordId) {
            m_recordLoaded = true;
            break;
        }
    }
    closeDataFile();
    return m_recordLoaded;
}

void CEditDlg::fillFromRecord()
{
    const RecipeRecord& record = currentRecord();
    const QString name = fromSjis(blanksAsTimes(record.name()));
    m_name->setText(name);
    setWindowTitle(QStringLiteral("　データの編集 - ") + name + QStringLiteral(" -"));

    const std::string& skill = skillName(textToInt(record.skill()));
    if (showsCrystal(skill))
        selectByPrefix(m_crystal, crystalName(textToInt(record.crystal())));
    selectByPrefix(m_skill, skill);
    selectByPrefix(m_rank, rankName(textToInt(record.rank())));
    showLevelSummaries();

    for (const std::string& entry : materialEntries(materialSummary(MaterialForm::Display, record)))
        m_materials->addItem(fromSjis(entry));
    if (record.description().size() > kMaxShownDescriptionBytes) {
        m_hugeDescription = descriptionForDisplay(record.description());
        m_description->setReadOnly(true);
        m_description->setPlainText(multiLineFromSjis(descriptionForDetail(record.description())));
    } else {
        m_description->setPlainText(multiLineFromSjis(descriptionForDisplay(record.description())));
    }
    for (int n = 1; n <= 3; ++n)
        m_hq[static_cast<std::size_t>(n - 1)]->setText(fromSjis(blanksAsTimes(hqPart(n, record))));
    if (!record.desynth().empty())
        m_desynth->setText(fromSjis(blanksAsTimes(record.desynth())));
    m_stackable->setChecked(record.stackable() == "1");
    m_ex->setChecked(record.ex() == "1");
    m_rare->setChecked(record.rare() == "1");
}

void CEditDlg::showLevelSummaries()
{
    setShownValue(m_needLevels, fromSjis(skillLevelSummary(LevelKind::Need)));
    setShownValue(m_capLevels, fromSjis(skillLevelSummary(LevelKind::Cap)));
}

// ---- materials --------------------------------------------------------------

int CEditDlg::runMaterialDialog(CMaterialDlg& dialog)
{
    return dialog.DoModal();
}

int CEditDlg::runSkillValueDialog(CSkillValueDlg& dialog)
{
    return dialog.DoModal();
}

void CEditDlg::putMaterialEntry(const std::string& text)
{
    auto* item = new QListWidgetItem(fromSjis(text));
    m_materials->addItem(item); // sorted in by the list
    m_materials->setCurrentItem(item);
}

void CEditDlg::OnMaterialAdd()
{
    CMaterialDlg dialog(this);
    dialog.m_isAdd = 1;
    if (runMaterialDialog(dialog) != QDialog::Accepted || dialog.m_materialName.empty())
        return;
    putMaterialEntry(materialEntryText(dialog.m_materialName, dialog.m_count));
}

void CEditDlg::OnMaterialEdit()
{
    const QList<QListWidgetItem*> selected = m_materials->selectedItems();
    if (selected.isEmpty())
        return;
    QListWidgetItem* item = selected.front();
    const std::string text = toSjis(item->text());
    const MaterialEntry entry = parseMaterialEntry(sjis::cutAtChar(text, kEntryTextCapacity));

    CMaterialDlg dialog(this);
    dialog.m_isAdd = 0;
    dialog.m_materialName = entry.name;
    dialog.m_count = entry.count;
    if (runMaterialDialog(dialog) != QDialog::Accepted || dialog.m_materialName.empty())
        return;
    // Taken out and put back, so the list keeps its order.
    delete m_materials->takeItem(m_materials->row(item));
    putMaterialEntry(materialEntryText(dialog.m_materialName, dialog.m_count));
}

void CEditDlg::OnMaterialDelete()
{
    const QList<QListWidgetItem*> selected = m_materials->selectedItems();
    if (!selected.isEmpty())
        delete m_materials->takeItem(m_materials->row(selected.front()));
}

void CEditDlg::OnMaterialDoubleClick()
{
    if (m_materials->selectedItems().isEmpty())
        OnMaterialAdd();
    else
        OnMaterialEdit();
    m_materialAdd->setFocus();
}

void CEditDlg::updateMaterialButtons()
{
    const bool selected = !m_materials->selectedItems().isEmpty();
    m_materialEdit->setEnabled(selected);
    m_materialDelete->setEnabled(selected);
}

bool CEditDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_name && event->type() == QEvent::FocusOut)
        fillFromItemInfo();
    if (watched == m_materials->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        // The press before it has already selected the entry under the mouse.
        OnMaterialDoubleClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

// ---- item information and levels ---------------------------------------------

void CEditDlg::fillFromItemInfo()
{
    if (!m_description->toPlainText().isEmpty())
        return;
    const std::string line = lookupItemInfo(toSjis(m_name->text()));
    if (line.empty())
        return;
    std::string rest = sjis::replaceAll(line, "/", "\r\n");
    splitField(rest); // the item name
    m_rare->setChecked(splitField(rest) == "1");
    m_ex->setChecked(splitField(rest) == "1");
    m_description->setPlainText(multiLineFromSjis(splitField(rest)));
}

void CEditDlg::editLevels(int isNeeded)
{
    CSkillValueDlg dialog(this);
    dialog.m_isNeeded = isNeeded;
    runSkillValueDialog(dialog);
    showLevelSummaries();
}

void CEditDlg::OnEditNeededLevels()
{
    editLevels(1);
}

void CEditDlg::OnEditCapLevels()
{
    editLevels(0);
}

// ---- store ------------------------------------------------------------------

EditedRecord CEditDlg::editedRecord() const
{
    EditedRecord edited;
    edited.name = toSjis(m_name->text());
    for (int row = 0; row < m_materials->count(); ++row)
        edited.materialEntries.push_back(toSjis(m_materials->item(row)->text()));
    edited.crystalName = toSjis(m_crystal->currentText());
    edited.skillName = toSjis(m_skill->currentText());
    edited.rankName = toSjis(m_rank->currentText());
    for (std::size_t i = 0; i < m_hq.size(); ++i)
        edited.hq[i] = toSjis(m_hq[i]->text());
    edited.description
        = m_hugeDescription ? *m_hugeDescription : multiLineToSjis(m_description->toPlainText());
    edited.stackable = m_stackable->isChecked();
    edited.rare = m_rare->isChecked();
    edited.ex = m_ex->isChecked();
    edited.desynth = toSjis(m_desynth->text());
    return edited;
}

void CEditDlg::OnOK()
{
    if (!m_recordLoaded) {
        showRecordNotFound(this);
        QDialog::reject();
        return;
    }
    QStringList typed { m_name->text(), m_crystal->currentText(), m_skill->currentText(),
        m_rank->currentText(), m_desynth->text(), m_memoEdit->toPlainText() };
    for (int row = 0; row < m_materials->count(); ++row)
        typed << m_materials->item(row)->text();
    for (const QLineEdit* box : m_hq)
        typed << box->text();
    if (!m_hugeDescription)
        typed << m_description->toPlainText();
    if (!checkStorable(this, typed) || (m_target.isNew && !offerNewDataFile(this)))
        return;
    const std::string memo = m_memoEdit->sjisText();
    StoreOutcome outcome;
    StorageError error;
    for (;;) {
        {
            BusyCursor busy;
            error = StorageError();
            outcome = storeEditedRecord(editedRecord(), memo, m_target, error);
        }
        // No keeps the dialog open with everything typed.
        if (outcome == StoreOutcome::ChangedElsewhere) {
            if (!confirmOverwriteChanged(this, false))
                return;
            m_target.overwriteChanged = true;
        } else if (outcome == StoreOutcome::MemoChangedElsewhere) {
            if (!confirmOverwriteChanged(this, true))
                return;
            m_target.overwriteMemoChanged = true;
        } else {
            break;
        }
    }
    if (outcome == StoreOutcome::RecordGone) {
        showRecordNotFound(this);
        QDialog::reject();
        return;
    }
    if (outcome != StoreOutcome::Stored) {
        reportStoreOutcome(outcome, error);
        return;
    }
    m_memo = memo;
    accept();
}

void CEditDlg::reportStoreOutcome(StoreOutcome outcome, const StorageError& error)
{
    switch (outcome) {
    case StoreOutcome::MemoTooLong:
        showTooLong(this, static_cast<int>(kMemoByteLimit));
        m_memoEdit->setFocus();
        break;
    case StoreOutcome::TooManyMaterials:
        showWarning(this, QStringLiteral("入力エラー"),
            QStringLiteral("材料が多すぎます。\n材料の個数は合計 %1 個までにしてください。")
                .arg(kMaterialSlots));
        m_materials->setFocus();
        break;
    case StoreOutcome::RecordFailed:
    case StoreOutcome::MemoFailed:
        showFileError(this, error);
        break;
    case StoreOutcome::ChangedElsewhere:
    case StoreOutcome::MemoChangedElsewhere:
    case StoreOutcome::RecordGone:
    case StoreOutcome::Stored:
        break;
    }
}

} // namespace vornik
