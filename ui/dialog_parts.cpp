#include "ui/dialog_parts.h"

#include "platform/qt/platform_services.h"
#include "platform/qt/qt_text.h"

#include <QBoxLayout>
#include <QDialog>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>

#include <algorithm>

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

void showMessage(QWidget* parent, const QString& caption, const QString& text, MessageIcon icon)
{
    platformServices().messageBox(messageRequest(parent, caption, text, icon));
}

void showWarning(QWidget* parent, const QString& caption, const QString& text)
{
    showMessage(parent, caption, text, MessageIcon::Warning);
}

MessageAnswer askQuestion(QWidget* parent, const QString& caption, const QString& text,
    MessageButtons buttons, MessageAnswer defaultAnswer)
{
    MessageBoxRequest request = messageRequest(parent, caption, text, MessageIcon::Question);
    request.buttons = buttons;
    request.defaultButton = defaultAnswer;
    return platformServices().messageBox(request);
}

bool askYesNo(QWidget* parent, const QString& caption, const QString& text, MessageAnswer defaultAnswer)
{
    return askQuestion(parent, caption, text, MessageButtons::YesNo, defaultAnswer) == MessageAnswer::Yes;
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

QStringList unstorableCharacters(const QString& text)
{
    // A "?" byte is never part of a two-byte Shift-JIS character, so one
    // conversion tells whether anything was replaced; only then is the text
    // looked at character by character.
    const std::string sjis = toSjis(text);
    if (std::count(sjis.begin(), sjis.end(), '?') == text.count(QLatin1Char('?')))
        return {};
    QStringList found;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype length = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString character = text.mid(i, length);
        i += length;
        if (character == QStringLiteral("?") || character == QString(QChar::ReplacementCharacter))
            continue;
        if (toSjis(character) == "?" && !found.contains(character))
            found << character;
    }
    return found;
}

bool checkStorable(QWidget* parent, const QStringList& texts)
{
    QStringList found;
    for (const QString& text : texts) {
        for (const QString& character : unstorableCharacters(text)) {
            if (!found.contains(character))
                found << character;
        }
    }
    if (found.isEmpty())
        return true;
    showWarning(parent, QStringLiteral("入力エラー"),
        QStringLiteral("Shift-JIS で保存できない文字が含まれています: %1\n"
                       "これらの文字を消すか、別の文字に置き換えてください。")
            .arg(found.join(QLatin1Char(' '))));
    return false;
}

} // namespace vornik
