#pragma once
// Everything the windows need from the desktop that would block a test or
// leave the process: message boxes, file dialogs, the shell, other processes,
// the clipboard and the busy cursor. Windows reach these only through
// platformServices(), so a test can install a scripted stand-in that answers
// without showing anything.

#include <QString>
#include <QStringList>
#include <QUrl>
#include <optional>
#include <vector>

class QWidget;

namespace vornik {

enum class MessageIcon { Information, Warning, Error, Question };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Cancel, Yes, No };

struct MessageBoxRequest {
    QWidget* parent = nullptr; // null: the box has no owner window
    QString caption;
    QString text; // shown as plain text, never as markup
    MessageIcon icon = MessageIcon::Information;
    MessageButtons buttons = MessageButtons::Ok;
    // None, or one the box does not offer: the first button, as on Windows.
    std::optional<MessageAnswer> defaultButton;
};

struct FileDialogRequest {
    QWidget* parent = nullptr;
    QString title;
    // "Description|pattern|Description|pattern||"; several patterns of one
    // type are separated by ";".
    QString filters;
    QString initialFolder;
    // A name containing a wildcard (such as "*.csv") preselects nothing.
    QString initialName;
    // Without the dot; appended when the chosen name has no extension.
    QString defaultExtension;
    bool confirmOverwrite = true; // save dialogs only
    bool mustExist = false; // open dialogs only
};

struct FileDialogResult {
    QString path;
    int filterIndex = 0; // position of the chosen type in the filter list
};

class PlatformServices {
public:
    virtual ~PlatformServices() = default;

    virtual MessageAnswer messageBox(const MessageBoxRequest& request) = 0;
    // nullopt when the user cancels.
    virtual std::optional<FileDialogResult> openFileName(const FileDialogRequest& request) = 0;
    virtual std::optional<FileDialogResult> saveFileName(const FileDialogRequest& request) = 0;

    // A web address or a file path, handed to the desktop's default handler.
    // Whether anything opens is deliberately not reported.
    virtual void openWithShell(const QString& target) = 0;
    virtual bool startDetached(const QString& program, const QStringList& arguments) = 0;

    virtual void setClipboardText(const QString& text) = 0;
    virtual QString clipboardText() = 0;

    // Nests: the cursor returns to normal after as many ends as begins.
    virtual void beginBusy() = 0;
    virtual void endBusy() = 0;
};

// The services in force: the installed ones, or the real Qt ones.
PlatformServices& platformServices();
// Not owned. nullptr restores the real Qt services.
void setPlatformServices(PlatformServices* services);

// Shows the busy cursor for its lifetime; ends it on the same services it
// began on even if other services are installed meanwhile.
class BusyCursor {
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    PlatformServices& m_services;
};

// The button Enter presses: the requested default when the box offers it,
// otherwise the first button (Ok or Yes).
MessageAnswer effectiveDefaultButton(const MessageBoxRequest& request);
// What closing the box without a button means: Cancel when offered, else No,
// else Ok.
MessageAnswer closeAnswer(MessageButtons buttons);
bool offersAnswer(MessageButtons buttons, MessageAnswer answer);

// One entry of a "Description|pattern|...||" list.
struct FileTypeFilter {
    QString description;
    QStringList patterns;
};

std::vector<FileTypeFilter> parseWindowsFilter(const QString& filters);
// Qt name filters, one per type, each "description (patterns)"; shown with
// only the description, filtered by the patterns.
QStringList qtFilterFromWindowsFilter(const QString& filters);

// The extension a name without one receives: the extension of the chosen
// type's first pattern when that is a plain "*.ext" (the desktop's save dialog
// follows the type the user switches to), else defaultExtension. An empty
// defaultExtension means never append.
QString extensionToAppend(const QString& filters, int filterIndex, const QString& defaultExtension);
// path + "." + extension when the file name part of path has no "." at all
// (as the desktop's dialogs decide it) and is not empty.
QString withDefaultExtension(const QString& path, const QString& extension);

// File URL for a local path (relative paths are made absolute), the address
// itself for anything with a scheme of two or more letters.
QUrl shellUrlForTarget(const QString& target);

} // namespace vornik
