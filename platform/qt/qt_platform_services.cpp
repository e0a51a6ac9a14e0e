#include "platform/qt/qt_platform_services.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>

namespace vornik {

namespace {

QMessageBox::Icon qtIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Error:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButton qtButton(MessageAnswer answer)
{
    switch (answer) {
    case MessageAnswer::Ok:
        return QMessageBox::Ok;
    case MessageAnswer::Cancel:
        return QMessageBox::Cancel;
    case MessageAnswer::Yes:
        return QMessageBox::Yes;
    case MessageAnswer::No:
        return QMessageBox::No;
    }
    return QMessageBox::NoButton;
}

std::vector<MessageAnswer> offeredAnswers(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::Ok:
        return { MessageAnswer::Ok };
    case MessageButtons::OkCancel:
        return { MessageAnswer::Ok, MessageAnswer::Cancel };
    case MessageButtons::YesNo:
        return { MessageAnswer::Yes, MessageAnswer::No };
    case MessageButtons::YesNoCancel:
        return { MessageAnswer::Yes, MessageAnswer::No, MessageAnswer::Cancel };
    }
    return { MessageAnswer::Ok };
}

bool hasWildcard(const QString& text)
{
    return text.contains(QLatin1Char('*')) || text.contains(QLatin1Char('?'));
}

// Tests run on the offscreen platform, where a native dialog could not be
// reached (or closed) from the test.
bool needsQtOwnDialog()
{
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("offscreen") || platform == QLatin1String("minimal");
}

bool namesExistingFile(const QFileDialog& dialog)
{
    if (dialog.acceptMode() != QFileDialog::AcceptOpen)
        return false;
    const QStringList files = dialog.selectedFiles();
    return !files.isEmpty() && QFileInfo(files.first()).isFile();
}

// Appends the extension of the type chosen at the moment of accepting, so
// the overwrite question is asked about the file that will be written.
class TypedFileDialog : public QFileDialog {
public:
    TypedFileDialog(const FileDialogRequest& request, AcceptMode mode)
        : QFileDialog(request.parent, request.title)
        , m_request(request)
        , m_qtFilters(qtFilterFromWindowsFilter(request.filters))
    {
        if (needsQtOwnDialog())
            setOption(DontUseNativeDialog);
        setAcceptMode(mode);
        setOption(HideNameFilterDetails);
        if (!m_qtFilters.isEmpty())
            setNameFilters(m_qtFilters);
        if (!request.initialFolder.isEmpty())
            setDirectory(request.initialFolder);
        preselect(request.initialName);
    }

    int selectedFilterIndex() const
    {
        const QString selected = selectedNameFilter();
        const std::vector<FileTypeFilter> types = parseWindowsFilter(m_request.filters);
        for (qsizetype i = 0; i < m_qtFilters.size(); ++i) {
            // Depending on the dialog the selection reads with or without
            // its pattern part.
            if (m_qtFilters.at(i) == selected
                || types[static_cast<std::size_t>(i)].description.simplified() == selected.simplified())
                return static_cast<int>(i);
        }
        return 0;
    }

    QString chosenExtension() const
    {
        return extensionToAppend(m_request.filters, selectedFilterIndex(), m_request.defaultExtension);
    }

protected:
    void accept() override
    {
        // An existing file is opened under exactly the name chosen ("data "
        // is not "data .txt"); other names get the type's extension.
        setDefaultSuffix(QString());
        setDefaultSuffix(namesExistingFile(*this) ? QString() : chosenExtension());
        QFileDialog::accept();
    }

private:
    // A wildcard name only picks the type it stands for; a real name is put
    // into the name box.
    void preselect(const QString& initialName)
    {
        if (initialName.isEmpty())
            return;
        if (!hasWildcard(initialName)) {
            selectFile(initialName);
            return;
        }
        const std::vector<FileTypeFilter> types = parseWindowsFilter(m_request.filters);
        for (std::size_t i = 0; i < types.size(); ++i) {
            if (types[i].patterns.contains(initialName, Qt::CaseInsensitive)) {
                selectNameFilter(m_qtFilters.at(static_cast<qsizetype>(i)));
                return;
            }
        }
    }

    FileDialogRequest m_request;
    QStringList m_qtFilters;
};

std::optional<FileDialogResult> runFileDialog(TypedFileDialog& dialog)
{
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty() || files.first().isEmpty())
        return std::nullopt;
    // Not every desktop dialog applies the default suffix itself.
    const QString path = namesExistingFile(dialog)
        ? files.first()
        : withDefaultExtension(files.first(), dialog.chosenExtension());
    return FileDialogResult { QDir::toNativeSeparators(path), dialog.selectedFilterIndex() };
}

} // namespace

QString messageButtonText(MessageAnswer answer)
{
    switch (answer) {
    case MessageAnswer::Ok:
        return QStringLiteral("OK");
    case MessageAnswer::Cancel:
        return QStringLiteral("キャンセル");
    case MessageAnswer::Yes:
        return QStringLiteral("はい(&Y)");
    case MessageAnswer::No:
        return QStringLiteral("いいえ(&N)");
    }
    return {};
}

MessageAnswer QtPlatformServices::messageBox(const MessageBoxRequest& request)
{
    QMessageBox box(
        qtIcon(request.icon), request.caption, request.text, QMessageBox::NoButton, request.parent);
    // Paths and item names must never be read as markup.
    box.setTextFormat(Qt::PlainText);
    for (MessageAnswer answer : offeredAnswers(request.buttons))
        box.addButton(qtButton(answer))->setText(messageButtonText(answer));
    box.setDefaultButton(qtButton(effectiveDefaultButton(request)));
    box.setEscapeButton(box.button(qtButton(closeAnswer(request.buttons))));
    box.exec();

    const QMessageBox::StandardButton clicked = box.standardButton(box.clickedButton());
    for (MessageAnswer answer : offeredAnswers(request.buttons)) {
        if (qtButton(answer) == clicked)
            return answer;
    }
    return closeAnswer(request.buttons);
}

std::optional<FileDialogResult> QtPlatformServices::openFileName(const FileDialogRequest& request)
{
    TypedFileDialog dialog(request, QFileDialog::AcceptOpen);
    dialog.setFileMode(request.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    return runFileDialog(dialog);
}

std::optional<FileDialogResult> QtPlatformServices::saveFileName(const FileDialogRequest& request)
{
    TypedFileDialog dialog(request, QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    return runFileDialog(dialog);
}

void QtPlatformServices::openWithShell(const QString& target)
{
    if (target.isEmpty())
        return;
    QDesktopServices::openUrl(shellUrlForTarget(target));
}

bool QtPlatformServices::startDetached(const QString& program, const QStringList& arguments)
{
    return QProcess::startDetached(program, arguments);
}

void QtPlatformServices::setClipboardText(const QString& text)
{
    QGuiApplication::clipboard()->setText(text);
}

QString QtPlatformServices::clipboardText()
{
    return QGuiApplication::clipboard()->text();
}

void QtPlatformServices::beginBusy()
{
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

void QtPlatformServices::endBusy()
{
    QGuiApplication::restoreOverrideCursor();
}

} // namespace vornik
