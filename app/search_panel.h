#pragma once
// The search criteria at the top of the main window: name box with its
// history, the five vocabulary lists, the level range and the two check
// boxes, plus the search, clear and pane buttons.

#include "app/core/search_criteria.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace vornik {

class SearchPanel : public QWidget {
    Q_OBJECT
public:
    explicit SearchPanel(QWidget* parent = nullptr);

    // Refills the five lists from the vocabularies (empty entry first).
    void fillCriteriaLists();
    SearchInputs inputs() const;
    // "ｸﾘｱ(&C)": texts emptied, lists on their empty entry, boxes unchecked.
    void clearCriteria();
    void addNameToHistory(const std::string& name);
    void setNameQuery(const std::string& name);
    void setIncludeMaterials(bool on);
    // Every control as the inputs say (a saved search being run); a list
    // whose text is no longer in its vocabulary is left on its empty entry.
    void setInputs(const SearchInputs& inputs);
    void setPaneButtonLabel(bool listShown);

    QComboBox* nameBox() const { return m_name; }
    QPushButton* searchButton() const { return m_search; }
    QPushButton* clearButton() const { return m_clear; }
    QPushButton* paneButton() const { return m_pane; }

signals:
    void searchRequested();
    void paneToggleRequested();
    // Any criterion edited by the user or set by the program.
    void criteriaChanged();

private:
    void connectCriteriaChanged();

    QComboBox* m_name;
    QComboBox* m_skill;
    QComboBox* m_rank;
    QComboBox* m_crystal;
    QComboBox* m_class;
    QComboBox* m_job;
    QLineEdit* m_levelFrom;
    QLineEdit* m_levelTo;
    QCheckBox* m_includeMaterials;
    QCheckBox* m_exactOnly;
    QCheckBox* m_includeMemo;
    QPushButton* m_search;
    QPushButton* m_clear;
    QPushButton* m_pane;
};

} // namespace vornik
