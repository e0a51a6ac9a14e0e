#include "platform/atomic_file.h"

#include "platform/file_identity.h"
#include "platform/file_ops.h"
#include "platform/native_path.h"
#include "platform/sjis_literal.h"
#include "platform/sjis_text.h"

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <limits>
#include <optional>
#include <system_error>
#include <vector>

namespace vornik {
namespace {

bool isSeparator(char c)
{
#ifdef _WIN32
    return c == '\\' || c == '/';
#else
    return c == '/';
#endif
}

// The process id in a temporary name "<targetName>.<id>.tmp" as
// uniqueTempPathBeside makes them (decimal, no leading zero, 32 bits).
std::optional<unsigned long> tempOwner(std::string_view name, std::string_view targetName)
{
    constexpr std::string_view kSuffix = ".tmp";
    constexpr std::size_t kMaxDigits = 10;
    const std::size_t digitsFrom = targetName.size() + 1;
    if (name.size() <= digitsFrom + kSuffix.size() || !name.starts_with(targetName)
        || name[targetName.size()] != '.' || !name.ends_with(kSuffix))
        return std::nullopt;
    const std::string_view digits = name.substr(digitsFrom, name.size() - digitsFrom - kSuffix.size());
    if (digits.size() > kMaxDigits || digits.front() == '0')
        return std::nullopt;
    unsigned long long id = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
        id = id * 10 + static_cast<unsigned long long>(c - '0');
    }
    if (id > std::numeric_limits<unsigned long>::max())
        return std::nullopt;
    return static_cast<unsigned long>(id);
}

const std::string& causeText(int error)
{
    switch (error) {
    case ENOENT:
        return "ファイルまたはフォルダが見つかりません。"_sj;
    case EACCES:
    case EPERM:
        return "アクセスが拒否されました。"_sj;
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return "ディスクの空き容量が足りません。"_sj;
    case EROFS:
        return "読み取り専用の場所です。"_sj;
    case EBUSY:
    case ETXTBSY:
        return "ファイルが使用中です。"_sj;
    case ETIMEDOUT:
    case EWOULDBLOCK:
        return "他のウィンドウがファイルを使用中です。しばらくしてからやり直してください。"_sj;
    case ENAMETOOLONG:
        return "パスが長すぎます。"_sj;
    case EISDIR:
        return "同じ名前のフォルダがあります。"_sj;
    case ENODEV:
        return "通常のファイルではありません（装置、パイプなど）。"_sj;
    case EIO:
        return "読み書き中にエラーが発生しました。"_sj;
    case EXDEV:
        return "別のドライブへは移動できません。"_sj;
    case EFBIG:
        // A line longer than any record: a file without line ends.
        return "1 行が長すぎます。データファイルではないか、壊れています。"_sj;
    default:
        return "予期しないエラーが発生しました。"_sj;
    }
}

const std::string& actionText(FileAction action)
{
    switch (action) {
    case FileAction::Open:
        return "ファイルを開けませんでした。"_sj;
    case FileAction::Create:
        return "ファイルを作成できませんでした。"_sj;
    case FileAction::Read:
        return "ファイルを読み込めませんでした。"_sj;
    case FileAction::Write:
        return "ファイルに書き込めませんでした。"_sj;
    case FileAction::Replace:
        return "ファイルを置き換えられませんでした。"_sj;
    case FileAction::Lock:
        return "ファイルをロックできませんでした。"_sj;
    }
    return "ファイルを開けませんでした。"_sj;
}

// Writes `bytes` to the temporary file `temp` (created or emptied), syncs
// and closes it; the guard removes it again unless the caller commits it.
// The message names `target`, the file the user saves: the temporary name
// means nothing to them.
bool writeSyncedFile(
    TempFileGuard& temp, std::string_view bytes, const std::string& target, std::string& error)
{
    int code = 0;
    if (!temp.create(code)) {
        error = fileErrorText(FileAction::Create, target, code);
        return false;
    }
    ScopedFile& file = temp.file();
    if (writeAll(file.handle(), bytes, code) && fileOps().sync(file.handle(), code)
        && file.closeChecked(code))
        return true;
    error = fileErrorText(FileAction::Write, target, code);
    return false;
}

void syncFolderOf(const std::string& path)
{
    // The rename has already happened: the new content is in place for every
    // reader. A failing folder sync only weakens durability across a power
    // cut, so it is not reported as a failed save.
    int ignored = 0;
    fileOps().syncFolder(folderOfPath(path), ignored);
}

// Only a regular file (or none yet) may be replaced: a rename over a folder,
// a device such as /dev/null, a pipe or a socket would destroy that node.
bool isReplaceable(const std::string& target, std::string& error)
{
    std::error_code code;
    const std::filesystem::file_status status = std::filesystem::status(nativePath(target), code);
    if (status.type() == std::filesystem::file_type::not_found || std::filesystem::is_regular_file(status))
        return true;
    error
        = fileErrorText(FileAction::Replace, target, std::filesystem::is_directory(status) ? EISDIR : ENODEV);
    return false;
}

// The replaced file keeps its permission bits: a file only its owner may
// read stays so. Best effort; the new file is the user's either way.
void keepPermissions(const std::string& target, const std::string& replacement)
{
    namespace fs = std::filesystem;
    std::error_code code;
    const fs::file_status status = fs::status(nativePath(target), code);
    if (code || !fs::is_regular_file(status))
        return;
    fs::permissions(nativePath(replacement), status.permissions(), fs::perm_options::replace, code);
}

std::string keptContentNote(const std::string& tempPath)
{
    return "\n"_sj + "保存する内容は次のファイルに残っています。"_sj + "\n" + pathForMessage(tempPath);
}

// Different file systems: copy to a temporary file beside the target, which
// can then be renamed over it.
bool replaceAcrossFileSystems(const std::string& tempPath, const std::string& targetPath, std::string& error)
{
    std::string content;
    int code = 0;
    if (!readWholeFile(tempPath, content, code)) {
        error = fileErrorText(FileAction::Read, tempPath, code) + keptContentNote(tempPath);
        return false;
    }
    TempFileGuard beside(uniqueTempPathBeside(targetPath));
    if (!writeSyncedFile(beside, content, targetPath, error)) {
        error += keptContentNote(tempPath);
        return false;
    }
    keepPermissions(targetPath, beside.path());
    if (!fileOps().rename(beside.path(), targetPath, code)) {
        error = fileErrorText(FileAction::Replace, targetPath, code) + keptContentNote(tempPath);
        return false;
    }
    beside.commit();
    syncFolderOf(targetPath);
    int ignored = 0;
    fileOps().remove(tempPath, ignored);
    return true;
}

} // namespace

bool readWholeFile(const std::string& path, std::string& content, int& error)
{
    ScopedFile file;
    if (!file.open(path, OpenMode::Read, error))
        return false;
    content.clear();
    std::vector<char> buffer(1 << 20);
    for (;;) {
        std::size_t got = 0;
        if (!fileOps().read(file.handle(), buffer.data(), buffer.size(), got, error))
            return false;
        if (got == 0)
            break;
        content.append(buffer.data(), got);
    }
    return file.closeChecked(error);
}

std::string folderOfPath(const std::string& path)
{
    // Paths are UTF-8: a separator byte is never part of another character.
    std::size_t lastSeparator = std::string::npos;
    for (std::size_t pos = 0; pos < path.size(); ++pos) {
        if (isSeparator(path[pos]))
            lastSeparator = pos;
    }
    if (lastSeparator == std::string::npos)
        return std::string();
    if (lastSeparator == 0)
        return path.substr(0, 1);
    return path.substr(0, lastSeparator);
}

std::string resolvedFilePath(const std::string& path)
{
    std::error_code error;
    const std::filesystem::path resolved = std::filesystem::weakly_canonical(nativePath(path), error);
    if (error || resolved.empty())
        return path;
    return programPath(resolved);
}

std::string fileErrorCause(int error)
{
    std::string text = causeText(error);
    if (&causeText(error) == &causeText(-1))
        text += " (errno " + std::to_string(error) + ")";
    return text;
}

std::string fileErrorText(FileAction action, const std::string& path, int error)
{
    std::string text = actionText(action);
    text += '\n';
    text += pathForMessage(path);
    text += '\n';
    text += fileErrorCause(error);
    return text;
}

// One name per running program: no other window uses it at the same moment,
// and a temporary file that a failed save of ours could not remove (the disk
// failing on every call) is reused, and so cleaned up, by our next save.
std::string uniqueTempPathBeside(const std::string& target)
{
    return target + "." + std::to_string(currentProcessId()) + ".tmp";
}

// A program killed while it wrote leaves its temporary file behind. Only a
// regular file of the user's whose process is gone is removed, and only once
// it is an hour old: a program on another computer writing into a shared
// folder has process ids of its own, and no write takes an hour. Best
// effort: what cannot be removed stays.
void removeAbandonedTempFiles(const std::string& target)
{
    namespace fs = std::filesystem;
    constexpr auto kAbandonedAfter = std::chrono::hours(1);
    const fs::path native = nativePath(target);
    const std::string targetName = programPath(native.filename());
    const fs::path folder = native.has_parent_path() ? native.parent_path() : fs::path(".");
    std::error_code error;
    const auto now = fs::file_time_type::clock::now();
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::optional<unsigned long> owner = tempOwner(programPath(it->path().filename()), targetName);
        if (!owner || isProcessRunning(*owner) || !isOwnRegularFile(programPath(it->path())))
            continue;
        std::error_code ignored;
        const auto written = fs::last_write_time(it->path(), ignored);
        if (!ignored && now - written > kAbandonedAfter)
            fs::remove(it->path(), ignored);
    }
}

bool writeFileAtomically(const std::string& linkOrPath, std::string_view bytes, std::string& error)
{
    // A link stays a link: its target is replaced, through a temporary file
    // beside the target so that the rename stays on one file system.
    const std::string path = resolvedFilePath(linkOrPath);
    if (!isReplaceable(path, error))
        return false;
    removeAbandonedTempFiles(path);
    TempFileGuard temp(uniqueTempPathBeside(path));
    if (!writeSyncedFile(temp, bytes, path, error))
        return false;
    keepPermissions(path, temp.path());
    int code = 0;
    if (!fileOps().rename(temp.path(), path, code)) {
        error = fileErrorText(FileAction::Replace, path, code);
        return false;
    }
    temp.commit();
    syncFolderOf(path);
    return true;
}

bool replaceWithTemp(const std::string& tempPath, const std::string& linkOrTarget, std::string& error)
{
    // A link stays a link: its target is replaced.
    const std::string targetPath = resolvedFilePath(linkOrTarget);
    if (!isReplaceable(targetPath, error)) {
        int ignored = 0;
        fileOps().remove(tempPath, ignored);
        return false;
    }
    // What a save across file systems that was killed left beside the target.
    removeAbandonedTempFiles(targetPath);
    keepPermissions(targetPath, tempPath);
    int code = 0;
    if (fileOps().rename(tempPath, targetPath, code)) {
        syncFolderOf(targetPath);
        return true;
    }
    if (code == EXDEV)
        return replaceAcrossFileSystems(tempPath, targetPath, error);
    error = fileErrorText(FileAction::Replace, targetPath, code) + keptContentNote(tempPath);
    return false;
}

} // namespace vornik
