#include "ui/dialog_parts.h"

#include "platform/qt/platform_services.h"

#include <QBoxLayout>
#include <QDialog>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>

namespace vornik {

QString withoutMnemonic(const QString& label)
{
    // A screen reader announces the control, not the key that reaches it:
    // "名前(&N)：" is read as "名前".
    static const QRegularExpression mnemonicInBrackets(QStringLiteral("\\(&.\\)"));
    QString text = label;
    text.remove(mnemonicInBrackets);
    text.remove(QLatin1Char('&'));
    if (text.endsWith(QStringLiteral("：")))
        text.chop(1);
    return text.trimmed();
}

namespace {
const char* const kCaptionProperty = "vornikCaption";
}

void nameControl(QWidget* control, const QString& label)
{
    control->setAccessibleName(withoutMnemonic(label));
    control->setProperty(kCaptionProperty, withoutMnemonic(label));
}

void setShownValue(QLabel* value, const QString& text)
{
    value->setText(text);
    const QString caption = value->property(kCaptionProperty).toString();
    value->setAccessibleName(caption.isEmpty() ? text : caption + QStringLiteral("：") + text);
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

namespace {

MessageBoxRequest messageRequest(
    QWidget* parent, const QString& caption, const QString& text, MessageIcon icon)
{
    MessageBoxRequest request;
    request.parent = parent;
    request.caption = caption;
    request.text = text;
    request.icon = icon;
    return request;
}

} // namespace

void showWarning(QWidget* parent, const QString& caption, const QString& text)
{
    platformServices().messageBox(messageRequest(parent, caption, text, MessageIcon::Warning));
}

bool askYesNo(QWidget* parent, const QString& caption, const QString& text)
{
    MessageBoxRequest request = messageRequest(parent, caption, text, MessageIcon::Question);
    request.buttons = MessageButtons::YesNo;
    request.defaultButton = MessageAnswer::No;
    return platformServices().messageBox(request) == MessageAnswer::Yes;
}

void showRecordNotFound(QWidget* parent)
{
    showWarning(parent, QStringLiteral("検索エラー"),
        QStringLiteral("指定データは見つかりませんでした。\nデータ編集後は再度検索を行ってください。"));
}

bool confirmOverwriteChanged(QWidget* parent, bool memo)
{
    return askYesNo(parent, QStringLiteral("確認"),
        memo ? QStringLiteral("このデータのメモは、開いた後に別のウィンドウで変更されています。\n"
                              "変更を破棄して上書きしますか？")
             : QStringLiteral("このデータは、開いた後に別のウィンドウで変更されています。\n"
                              "変更を破棄して上書きしますか？"));
}

void showTooLong(QWidget* parent, int limit)
{
    showWarning(parent, QStringLiteral("Vornik for Windows"),
        QStringLiteral("%1 文字以内で入力してください。").arg(limit));
}

} // namespace vornik
