#pragma once
// A stand-in for the desktop in tests: remembers every call with all its
// parameters and answers message boxes and file dialogs from prepared
// queues. Nothing is ever shown, opened or started.

#include "platform/qt/platform_services.h"

#include <deque>
#include <vector>

namespace vornik {

enum class PlatformCallKind {
    MessageBox,
    OpenFileName,
    SaveFileName,
    OpenWithShell,
    StartDetached,
    SetClipboardText,
    ClipboardText,
    BeginBusy,
    EndBusy,
};

struct PlatformCall {
    PlatformCallKind kind = PlatformCallKind::MessageBox;

    // MessageBox
    MessageBoxRequest message;
    MessageAnswer answer = MessageAnswer::Ok;
    bool answeredByDefault = false; // no answer was queued

    // OpenFileName, SaveFileName (fileResult: what the dialog returned)
    FileDialogRequest fileDialog;
    std::optional<FileDialogResult> fileResult;

    QString target; // OpenWithShell
    QString program; // StartDetached
    QStringList arguments; // StartDetached
    QString clipboardText; // SetClipboardText: the text set; ClipboardText: the text returned
};

class ScriptedPlatformServices final : public PlatformServices {
public:
    // Answers are used in the order queued, one per message box or dialog.
    void queueMessageAnswer(MessageAnswer answer);
    void queueFileName(std::optional<FileDialogResult> result);
    void setStartDetachedResult(bool started) { m_startDetachedResult = started; }

    const std::vector<PlatformCall>& calls() const { return m_calls; }
    std::vector<PlatformCall> callsOf(PlatformCallKind kind) const;
    void clearCalls() { m_calls.clear(); }

    std::size_t pendingMessageAnswers() const { return m_messageAnswers.size(); }
    std::size_t pendingFileNames() const { return m_fileNames.size(); }
    // Begins not yet ended; 0 when every busy cursor was released.
    int busyDepth() const { return m_busyDepth; }

    MessageAnswer messageBox(const MessageBoxRequest& request) override;
    std::optional<FileDialogResult> openFileName(const FileDialogRequest& request) override;
    std::optional<FileDialogResult> saveFileName(const FileDialogRequest& request) override;
    void openWithShell(const QString& target) override;
    bool startDetached(const QString& program, const QStringList& arguments) override;
    void setClipboardText(const QString& text) override;
    QString clipboardText() override;
    void beginBusy() override;
    void endBusy() override;

private:
    std::optional<FileDialogResult> fileDialog(PlatformCallKind kind, const FileDialogRequest& request);
    void record(PlatformCall call) { m_calls.push_back(std::move(call)); }

    std::vector<PlatformCall> m_calls;
    std::deque<MessageAnswer> m_messageAnswers;
    std::deque<std::optional<FileDialogResult>> m_fileNames;
    QString m_clipboard;
    bool m_startDetachedResult = true;
    int m_busyDepth = 0;
};

// Installs its own ScriptedPlatformServices for its lifetime, then puts back
// whatever was in force before.
class ScopedScriptedPlatform {
public:
    ScopedScriptedPlatform();
    ~ScopedScriptedPlatform();
    ScopedScriptedPlatform(const ScopedScriptedPlatform&) = delete;
    ScopedScriptedPlatform& operator=(const ScopedScriptedPlatform&) = delete;

    ScriptedPlatformServices& services() { return m_services; }
    ScriptedPlatformServices* operator->() { return &m_services; }

private:
    ScriptedPlatformServices m_services;
    PlatformServices* m_previous;
};

} // namespace vornik
