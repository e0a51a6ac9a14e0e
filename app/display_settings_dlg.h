#pragma once
// Which columns the result list shows and how the shop search runs. Reads
// the settings when created, writes them on OK only.

#include "app/core/result_columns.h"

#include <QDialog>

#include <array>
#include <string>

class QCheckBox;
class QRadioButton;

namespace vornik {

class CDisplaySettingsDlg : public QDialog {
    Q_OBJECT

public:
    explicit CDisplaySettingsDlg(QWidget* parent = nullptr);

    // The 12 flag characters the check boxes stand for ("1" or "x").
    std::string columnFlagsText() const;

    // Set by OK when the column flags written differ from those stored
    // before: the list's columns must then be built again.
    bool m_columnsChanged = false;

public slots:
    void accept() override;

private:
    void buildControls();
    void loadSettings();

    std::array<QCheckBox*, kColumnFlagCount> m_columnBoxes {};
    QRadioButton* m_shopOnline = nullptr;
    QRadioButton* m_shopOffline = nullptr;
    QCheckBox* m_liveSearch = nullptr;
};

} // namespace vornik
