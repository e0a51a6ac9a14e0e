#pragma once
// The real desktop behind PlatformServices: Qt's message boxes, file
// dialogs, desktop services, processes and clipboard.

#include "platform/qt/platform_services.h"

namespace vornik {

class QtPlatformServices final : public PlatformServices {
public:
    MessageAnswer messageBox(const MessageBoxRequest& request) override;
    std::optional<FileDialogResult> openFileName(const FileDialogRequest& request) override;
    std::optional<FileDialogResult> saveFileName(const FileDialogRequest& request) override;
    void openWithShell(const QString& target) override;
    bool startDetached(const QString& program, const QStringList& arguments) override;
    void setClipboardText(const QString& text) override;
    QString clipboardText() override;
    void beginBusy() override;
    void endBusy() override;
};

// The texts the program puts on message box buttons itself, so they read in
// Japanese whether or not Qt's translations are installed.
QString messageButtonText(MessageAnswer answer);

} // namespace vornik
