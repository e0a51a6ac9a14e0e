#pragma once
// One entry of the edit dialog's material list: a name and a unit count.

#include <QDialog>

#include <string>

class QComboBox;
class QLineEdit;

namespace vornik {

class CMaterialDlg : public QDialog {
    Q_OBJECT
public:
    explicit CMaterialDlg(QWidget* parent = nullptr);

    // Set by the opener: add mode, or the entry being edited.
    int m_isAdd = 1;
    // Empty unless the user confirmed a name.
    std::string m_materialName;
    int m_count = 1;

    // Fills the controls from the members, then runs the dialog.
    int DoModal();
    void OnInitDialog();

public slots:
    void OnOK();

private:
    QLineEdit* m_nameEdit;
    QComboBox* m_countBox;
};

} // namespace vornik
