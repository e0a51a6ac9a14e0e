#pragma once
// Creates a recipe or changes one, together with its memo. While it is open
// the current record is its working copy: loaded at opening, changed by the
// skill value dialog, rebuilt from the controls and stored on OK.

#include "dialogs/core/edit_store.h"
#include "storage/record.h"

#include <QDialog>

#include <array>
#include <optional>
#include <string>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace vornik {

class ByteLimitedTextEdit;
class CMaterialDlg;
class CSkillValueDlg;

class CEditDlg : public QDialog {
    Q_OBJECT
public:
    explicit CEditDlg(QWidget* parent = nullptr);

    // Set by the opener: "" and false for a new record, else the record's id
    // text (exactly as its line holds it) and true.
    std::string m_recordId;
    bool m_isEdit = false;
    // The memo as stored by the last successful OK.
    std::string m_memo;

    // Loads and fills the dialog, then runs it unless the record to edit
    // was not found.
    int DoModal();
    // False when the record to edit is not in the data file (or the file
    // cannot be read): the user has been told and the dialog has ended.
    bool OnInitDialog();

    // True when anything differs from what the dialog opened with: the
    // controls, the memo, or the levels set through the skill value dialog.
    bool hasChanges() const;

public slots:
    void OnOK();
    // キャンセル, Escape and the close box: asks before changes are lost.
    void reject() override;
    void OnMaterialAdd();
    void OnMaterialEdit();
    void OnMaterialDelete();
    void OnMaterialDoubleClick();
    void OnEditNeededLevels();
    void OnEditCapLevels();
    void fillFromItemInfo();
    void updateMaterialButtons();

protected:
    // The two small dialogs run through these, so that a test can answer
    // them without a nested event loop.
    virtual int runMaterialDialog(CMaterialDlg& dialog);
    virtual int runSkillValueDialog(CSkillValueDlg& dialog);

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildItemGroup();
    QWidget* buildSkillGroup();
    QWidget* buildMaterialGroup();
    QWidget* buildHqGroup();
    QWidget* buildDesynthGroup();
    void fillChoiceLists();
    bool loadRecord();
    void fillFromRecord();
    void showLevelSummaries();
    void editLevels(int isNeeded);
    void putMaterialEntry(const std::string& text);
    EditedRecord editedRecord() const;
    void reportStoreOutcome(StoreOutcome outcome, const StorageError& error);

    void rememberOpeningState();

    bool m_recordLoaded = false;
    EditedRecord m_openedRecord;
    std::string m_openedMemo;
    std::array<std::string, kFieldCount> m_openedFields;
    StoreTarget m_target;
    // A stored description too long to lay out in the box: the box shows its
    // beginning read-only, and this whole text is stored back.
    std::optional<std::string> m_hugeDescription;

    QLineEdit* m_name;
    QCheckBox* m_stackable;
    QCheckBox* m_rare;
    QCheckBox* m_ex;
    QPlainTextEdit* m_description;
    QComboBox* m_skill;
    QComboBox* m_rank;
    QLabel* m_capLevels;
    QLabel* m_needLevels;
    QComboBox* m_crystal;
    QListWidget* m_materials;
    QPushButton* m_materialAdd;
    QPushButton* m_materialEdit;
    QPushButton* m_materialDelete;
    std::array<QLineEdit*, 3> m_hq {};
    QLineEdit* m_desynth;
    ByteLimitedTextEdit* m_memoEdit;
    QLabel* m_note;
};

} // namespace vornik
