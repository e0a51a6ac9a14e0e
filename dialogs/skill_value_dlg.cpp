#include "dialogs/skill_value_dlg.h"

#include "dialogs/core/skill_levels.h"
#include "dialogs/sjis_byte_limit.h"
#include "platform/qt/qt_text.h"
#include "ui/dialog_parts.h"
#include "ui/text_box_keys.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vornik {
namespace {

// Fixed texts: the boxes belong to record slots 1 to 9, whatever the
// settings file calls those skills.
const char* const kSlotLabels[kLevelBoxes] = {
    "鍛冶(&Q)：",
    "裁縫(&W)：",
    "錬金術(&E)：",
    "木工(&A)：",
    "彫金(&S)：",
    "革細工(&D)：",
    "骨細工(&Z)：",
    "釣り(&C)：",
    "調理(&X)：",
};
constexpr int kBoxesPerRow = 3;

LevelKind blockOf(int isNeeded)
{
    return isNeeded == 1 ? LevelKind::Need : LevelKind::Cap;
}

} // namespace

CSkillValueDlg::CSkillValueDlg(QWidget* parent)
    : QDialog(parent)
{
    auto* group = new QGroupBox(QStringLiteral("スキル情報"));
    auto* grid = new QGridLayout(group);
    for (int i = 0; i < kLevelBoxes; ++i) {
        auto* edit = new QLineEdit;
        edit->setObjectName(QStringLiteral("level%1").arg(i + 1));
        edit->setAlignment(Qt::AlignRight);
        selectTextOnFocus(edit); // typing 20 over 15 gives 20, not 152
        edit->setValidator(new SjisByteValidator(kLevelByteLimit, edit));
        edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 16);
        const QString labelText = QString::fromUtf8(kSlotLabels[i]);
        auto* label = new QLabel(labelText);
        label->setBuddy(edit);
        nameControl(edit, labelText);
        const int row = i / kBoxesPerRow;
        const int column = (i % kBoxesPerRow) * 2;
        grid->addWidget(label, row, column);
        grid->addWidget(edit, row, column + 1);
        m_levelEdits[static_cast<std::size_t>(i)] = edit;
    }

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(new QLabel(QStringLiteral("説明：必要なスキル値を設定してください。")));
    const OkCancelButtons buttons = addOkCancel(layout, this);
    connect(buttons.ok, &QPushButton::clicked, this, &CSkillValueDlg::OnOK);
}

int CSkillValueDlg::DoModal()
{
    OnInitDialog();
    return exec();
}

void CSkillValueDlg::OnInitDialog()
{
    setWindowTitle(
        m_isNeeded == 1 ? QStringLiteral("スキル上昇の必要値") : QStringLiteral("スキル上昇の限界値"));
    const LevelBoxTexts texts = levelBoxTexts(currentRecord(), blockOf(m_isNeeded));
    for (std::size_t i = 0; i < texts.size(); ++i)
        m_levelEdits[i]->setText(fromSjis(texts[i]));
}

void CSkillValueDlg::OnOK()
{
    LevelBoxTexts texts;
    for (std::size_t i = 0; i < texts.size(); ++i)
        texts[i] = toSjis(m_levelEdits[i]->text());
    storeLevelBoxTexts(texts, blockOf(m_isNeeded), currentRecord());
    accept();
}

} // namespace vornik
