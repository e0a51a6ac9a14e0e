#include "tests/support/scripted_platform_services.h"

#include <QtGlobal>

namespace vornik {

namespace {

PlatformCall callOf(PlatformCallKind kind)
{
    PlatformCall call;
    call.kind = kind;
    return call;
}

} // namespace

void ScriptedPlatformServices::queueMessageAnswer(MessageAnswer answer)
{
    m_messageAnswers.push_back(answer);
}

void ScriptedPlatformServices::queueFileName(std::optional<FileDialogResult> result)
{
    m_fileNames.push_back(std::move(result));
}

std::vector<PlatformCall> ScriptedPlatformServices::callsOf(PlatformCallKind kind) const
{
    std::vector<PlatformCall> matching;
    for (const PlatformCall& call : m_calls) {
        if (call.kind == kind)
            matching.push_back(call);
    }
    return matching;
}

MessageAnswer ScriptedPlatformServices::messageBox(const MessageBoxRequest& request)
{
    PlatformCall call = callOf(PlatformCallKind::MessageBox);
    call.message = request;
    if (m_messageAnswers.empty()) {
        call.answer = effectiveDefaultButton(request);
        call.answeredByDefault = true;
    } else {
        call.answer = m_messageAnswers.front();
        m_messageAnswers.pop_front();
        // A real box could not give this answer: the script does not fit the
        // code under test.
        if (!offersAnswer(request.buttons, call.answer))
            qWarning("ScriptedPlatformServices: queued answer is not a button of message box \"%s\"",
                qUtf8Printable(request.caption));
    }
    const MessageAnswer answer = call.answer;
    record(std::move(call));
    return answer;
}

std::optional<FileDialogResult> ScriptedPlatformServices::fileDialog(
    PlatformCallKind kind, const FileDialogRequest& request)
{
    PlatformCall call = callOf(kind);
    call.fileDialog = request;
    if (!m_fileNames.empty()) {
        call.fileResult = m_fileNames.front();
        m_fileNames.pop_front();
    }
    std::optional<FileDialogResult> result = call.fileResult;
    record(std::move(call));
    return result;
}

std::optional<FileDialogResult> ScriptedPlatformServices::openFileName(const FileDialogRequest& request)
{
    return fileDialog(PlatformCallKind::OpenFileName, request);
}

std::optional<FileDialogResult> ScriptedPlatformServices::saveFileName(const FileDialogRequest& request)
{
    return fileDialog(PlatformCallKind::SaveFileName, request);
}

void ScriptedPlatformServices::openWithShell(const QString& target)
{
    PlatformCall call = callOf(PlatformCallKind::OpenWithShell);
    call.target = target;
    record(std::move(call));
}

bool ScriptedPlatformServices::startDetached(const QString& program, const QStringList& arguments)
{
    PlatformCall call = callOf(PlatformCallKind::StartDetached);
    call.program = program;
    call.arguments = arguments;
    record(std::move(call));
    return m_startDetachedResult;
}

void ScriptedPlatformServices::setClipboardText(const QString& text)
{
    m_clipboard = text;
    PlatformCall call = callOf(PlatformCallKind::SetClipboardText);
    call.clipboardText = text;
    record(std::move(call));
}

QString ScriptedPlatformServices::clipboardText()
{
    PlatformCall call = callOf(PlatformCallKind::ClipboardText);
    call.clipboardText = m_clipboard;
    record(std::move(call));
    return m_clipboard;
}

void ScriptedPlatformServices::beginBusy()
{
    ++m_busyDepth;
    record(callOf(PlatformCallKind::BeginBusy));
}

void ScriptedPlatformServices::endBusy()
{
    // An unmatched end is recorded but never drives the depth below zero,
    // so the fault shows as an extra EndBusy call rather than hiding a
    // later missing one.
    if (m_busyDepth > 0)
        --m_busyDepth;
    record(callOf(PlatformCallKind::EndBusy));
}

ScopedScriptedPlatform::ScopedScriptedPlatform()
    : m_previous(&platformServices())
{
    setPlatformServices(&m_services);
}

ScopedScriptedPlatform::~ScopedScriptedPlatform()
{
    setPlatformServices(m_previous);
}

} // namespace vornik
