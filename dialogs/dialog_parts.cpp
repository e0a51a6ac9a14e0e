#include "dialogs/dialog_parts.h"

#include "platform/qt/platform_services.h"

#include <QBoxLayout>
#include <QDialog>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>

namespace vornik {

QString withoutMnemonic(const QString& label)
{
    QString text = label;
    text.remove(QLatin1Char('&'));
    return text;
}

void nameControl(QWidget* control, const QString& label)
{
    control->setAccessibleName(withoutMnemonic(label));
}

QLabel* addLabelledRow(QFormLayout* form, const QString& label, QWidget* control)
{
    auto* text = new QLabel(label);
    text->setBuddy(control);
    nameControl(control, label);
    form->addRow(text, control);
    return text;
}

OkCancelButtons addOkCancel(QBoxLayout* layout, QDialog* dialog)
{
    OkCancelButtons buttons;
    auto* row = new QHBoxLayout;
    row->addStretch();
    buttons.cancel = new QPushButton(QStringLiteral("キャンセル"));
    buttons.ok = new QPushButton(QStringLiteral("OK"));
    buttons.cancel->setAutoDefault(false);
    buttons.ok->setDefault(true);
    nameControl(buttons.cancel, buttons.cancel->text());
    nameControl(buttons.ok, buttons.ok->text());
    row->addWidget(buttons.cancel);
    row->addWidget(buttons.ok);
    layout->addLayout(row);
    QObject::connect(buttons.cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    return buttons;
}

void showWarning(QWidget* parent, const QString& caption, const QString& text)
{
    MessageBoxRequest request;
    request.parent = parent;
    request.caption = caption;
    request.text = text;
    request.icon = MessageIcon::Warning;
    platformServices().messageBox(request);
}

void showRecordNotFound(QWidget* parent)
{
    showWarning(parent, QStringLiteral("検索エラー"),
        QStringLiteral("指定データは見つかりませんでした。\nデータ編集後は再度検索を行ってください。"));
}

void showTooLong(QWidget* parent, int limit)
{
    showWarning(parent, QStringLiteral("Vornik for Windows"),
        QStringLiteral("%1 文字以内で入力してください。").arg(limit));
}

} // namespace vornik
