#include "dialogs/material_dlg.h"

#include "platform/qt/qt_text.h"
#include "storage/numbers.h"
#include "ui/dialog_parts.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vornik {

namespace {
constexpr int kLargestOfferedCount = 8;
}

CMaterialDlg::CMaterialDlg(QWidget* parent)
    : QDialog(parent)
    , m_nameEdit(new QLineEdit)
    , m_countBox(new QComboBox)
{
    setWindowTitle(QStringLiteral("材料"));
    m_nameEdit->setObjectName(QStringLiteral("materialName"));
    m_countBox->setObjectName(QStringLiteral("materialCount"));
    m_countBox->setEditable(true);
    m_countBox->setInsertPolicy(QComboBox::NoInsert);
    for (int n = 1; n <= kLargestOfferedCount; ++n)
        m_countBox->addItem(QString::number(n));

    auto* group = new QGroupBox(QStringLiteral("材料の情報"));
    auto* form = new QFormLayout(group);
    addLabelledRow(form, QStringLiteral("名前(&N)："), m_nameEdit);
    addLabelledRow(form, QStringLiteral("個数(&C)："), m_countBox);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(new QLabel(QStringLiteral("説明：追加する材料の情報を入力してください。")));
    const OkCancelButtons buttons = addOkCancel(layout, this);
    connect(buttons.ok, &QPushButton::clicked, this, &CMaterialDlg::OnOK);
}

int CMaterialDlg::DoModal()
{
    OnInitDialog();
    return exec();
}

void CMaterialDlg::OnInitDialog()
{
    if (m_isAdd) {
        m_nameEdit->clear();
        m_countBox->setCurrentIndex(0);
        setWindowTitle(QStringLiteral("材料の追加"));
        return;
    }
    m_nameEdit->setText(fromSjis(m_materialName));
    if (m_count >= 1 && m_count <= kLargestOfferedCount) {
        m_countBox->setCurrentIndex(m_count - 1);
    } else {
        m_countBox->setCurrentIndex(-1);
        m_countBox->setEditText(QString());
    }
    setWindowTitle(QStringLiteral("材料の編集"));
}

void CMaterialDlg::OnOK()
{
    if (!checkStorable(this, { m_nameEdit->text() })) {
        m_nameEdit->setFocus();
        return;
    }
    m_materialName = toSjis(m_nameEdit->text());
    if (m_materialName.empty()) {
        showWarning(this, QStringLiteral("入力エラー"), QStringLiteral("名前が入力されていません。"));
        m_nameEdit->setFocus();
        return;
    }
    m_count = textToInt(toSjis(m_countBox->currentText()));
    accept();
}

} // namespace vornik
