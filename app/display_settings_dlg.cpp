#include "app/display_settings_dlg.h"

#include "app/live_search.h"

#include "storage/profile.h"
#include "ui/dialog_parts.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace vornik {
namespace {

constexpr int kBoxesPerRow = 3;

template <typename Control> Control* labelled(const QString& label, QWidget* parent)
{
    auto* control = new Control(label, parent);
    control->setAccessibleName(withoutMnemonic(label));
    return control;
}

} // namespace

CDisplaySettingsDlg::CDisplaySettingsDlg(QWidget* parent)
    : QDialog(parent)
{
    buildControls();
    loadSettings();
}

void CDisplaySettingsDlg::buildControls()
{
    setWindowTitle(QStringLiteral("表示設定"));
    setAccessibleName(windowTitle());

    auto* columns = labelled<QGroupBox>(QStringLiteral("表示項目"), this);
    auto* columnGrid = new QGridLayout(columns);
    for (int flag = 0; flag < kColumnFlagCount; ++flag) {
        const std::string_view label = columnFlagLabel(flag);
        QCheckBox* box = labelled<QCheckBox>(
            QString::fromUtf8(label.data(), static_cast<qsizetype>(label.size())), columns);
        m_columnBoxes[static_cast<std::size_t>(flag)] = box;
        columnGrid->addWidget(box, flag / kBoxesPerRow, flag % kBoxesPerRow);
    }

    auto* shop = labelled<QGroupBox>(QStringLiteral("Orlanmereショップサーチ"), this);
    auto* shopLayout = new QVBoxLayout(shop);
    m_shopOnline = labelled<QRadioButton>(
        QStringLiteral("オンライン版を使用する （インターネットへの接続環境が必要）"), shop);
    m_shopOffline
        = labelled<QRadioButton>(QStringLiteral("オフライン版を使用する (shopsearch.exeが必要)"), shop);
    shopLayout->addWidget(m_shopOnline);
    shopLayout->addWidget(m_shopOffline);

    m_liveSearch = labelled<QCheckBox>(QStringLiteral("入力中に検索"), this);

    auto* description
        = labelled<QLabel>(QStringLiteral("説明：各種表示に関する設定を変更する事が出来ます。"), this);
    description->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    QPushButton* cancel = buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    ok->setAccessibleName(ok->text());
    cancel->setAccessibleName(cancel->text());
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &CDisplaySettingsDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CDisplaySettingsDlg::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(columns);
    layout->addWidget(shop);
    layout->addWidget(m_liveSearch);
    layout->addWidget(description);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void CDisplaySettingsDlg::loadSettings()
{
    m_columnsChanged = false;
    const std::string flags = readIniString(ini::ColumnFlags);
    for (std::size_t flag = 0; flag < m_columnBoxes.size(); ++flag)
        m_columnBoxes[flag]->setChecked(flag < flags.size() && flags[flag] == '1');

    const bool online = readIniInt(ini::ShopTool) == 0;
    m_shopOnline->setChecked(online);
    m_shopOffline->setChecked(!online);
    m_liveSearch->setChecked(liveSearchSetting());
}

std::string CDisplaySettingsDlg::columnFlagsText() const
{
    std::string flags;
    flags.reserve(m_columnBoxes.size());
    for (const QCheckBox* box : m_columnBoxes)
        flags += box->isChecked() ? '1' : 'x';
    return flags;
}

void CDisplaySettingsDlg::accept()
{
    const std::string flags = columnFlagsText();
    // An absent key reads as empty here: the first choice counts as a change.
    const std::string previous = readIniString(ini::ColumnFlags.section, ini::ColumnFlags.key, "");
    writeIniString(ini::ColumnFlags, flags);
    if (m_shopOnline->isChecked())
        writeIniInt(ini::ShopTool, 0);
    else if (m_shopOffline->isChecked())
        writeIniInt(ini::ShopTool, 1);
    writeIniInt(ini::LiveSearch, m_liveSearch->isChecked() ? 1 : 0);
    m_columnsChanged = flags != previous;
    QDialog::accept();
}

} // namespace vornik
