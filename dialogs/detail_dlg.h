#pragma once
// One recipe in full, read afresh from the data file by its id, with its
// memo (the one thing that can be changed here). Its material, HQ and
// desynthesis lists start a recipe search for that item in a new program
// window; a material can also go to the outside web and shop searches.

#include "storage/storage_error.h"

#include <QDialog>

#include <optional>
#include <string>

class QCloseEvent;
class QLabel;
class QLayout;
class QLineEdit;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QTreeWidget;

namespace vornik {

class ByteLimitedTextEdit;

class CDetailDlg : public QDialog {
    Q_OBJECT
public:
    explicit CDetailDlg(QWidget* parent = nullptr);

    // Set by the opener: the id text of the record to show, exactly as its
    // line holds it.
    std::string m_recordId;
    // The item chosen for a recipe search; read by the opener afterwards.
    std::string m_searchName;
    // The memo as loaded, and as it stood when the dialog closed.
    std::string m_loadedMemo;
    std::string m_memo;

    // Fills the dialog, then runs it unless the record was not found.
    int DoModal();
    // False when the record was not found: the message has been shown and
    // the dialog has ended.
    bool OnInitDialog();

public slots:
    void OnOK(); // "閉じる": stores a changed memo, then closes
    void OnHqDoubleClick();
    void OnDesynthDoubleClick();
    void OnMaterialRecipeSearch();
    void OnMaterialShopSearch();
    void OnMaterialOpenVornik();
    void OnMaterialKestrelo();
    void showMaterialMenu(const QPoint& globalPos);
    void OnPlanMaterials(); // "必要素材を計算...": the planner for this item

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // The constructor's parts, in the order the widgets are laid out (which
    // is also the tab order).
    QWidget* buildItemGroup();
    QWidget* buildSkillGroup();
    QWidget* buildMaterialGroup();
    QLayout* buildButtonRow();
    void buildMaterialMenu();
    void setUpLists();
    void fillFromRecord();
    bool findRecord(StorageError& error);
    // Stores the memo box when it differs from the loaded memo; false (and
    // the user told) when that failed.
    bool storeChangedMemo();
    void chooseForSearch(const std::string& entryText);
    // The selected material's item name, nothing for none or a placeholder.
    std::optional<std::string> selectedMaterialName() const;

    bool m_recordLoaded = false;
    std::string m_itemName; // the record's item without its yield count
    std::string m_loadedId;

    QLineEdit* m_name;
    QLabel* m_attributes;
    QPlainTextEdit* m_description;
    QLabel* m_skill;
    QLabel* m_rank;
    QLabel* m_capLevels;
    QLabel* m_needLevels;
    QLabel* m_crystal;
    QListWidget* m_materials;
    QTreeWidget* m_hq;
    QListWidget* m_desynth;
    ByteLimitedTextEdit* m_memoEdit;
    QMenu* m_materialMenu;
};

} // namespace vornik
