#pragma once
// The needed or cap levels of skills 1 to 9 of the record being edited. Works
// on the current record; nothing reaches a file until the edit dialog's OK.

#include <QDialog>

#include <array>

class QLineEdit;

namespace vornik {

class CSkillValueDlg : public QDialog {
    Q_OBJECT
public:
    explicit CSkillValueDlg(QWidget* parent = nullptr);

    // 1: the needed levels, 0: the cap levels. Set by the opener.
    int m_isNeeded = 1;

    int DoModal();
    void OnInitDialog();

public slots:
    void OnOK();

private:
    std::array<QLineEdit*, 9> m_levelEdits {};
};

} // namespace vornik
