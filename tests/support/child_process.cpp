#include "tests/support/child_process.h"

#include <cstdlib>
#include <cwchar>
#include <filesystem>

#ifdef _WIN32
#include <windows.h>
#else
#include <csignal>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
extern char** environ;
#endif

namespace vornik::test {
namespace {

constexpr const char* kRoleVariable = "VORNIK_TEST_CHILD";
constexpr int kKilledExitCode = 137;

} // namespace

ChildProcess::~ChildProcess()
{
    kill();
    wait();
}

bool ChildProcess::isRunning() const
{
    return m_id != -1 && !m_exitCode;
}

int ChildProcess::wait()
{
    if (m_id == -1)
        return -1;
    while (!hasEnded())
        waitForEnd();
    release();
    m_id = -1;
    return *m_exitCode;
}

#ifdef _WIN32

namespace {

// The role is UTF-8 (it may carry a path); Windows keeps the environment in
// UTF-16.
std::wstring wide(const std::string& utf8)
{
    std::wstring out(utf8.size(), L'\0');
    out.resize(static_cast<std::size_t>(MultiByteToWideChar(
        CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), static_cast<int>(out.size()))));
    return out;
}

HANDLE processOf(long long id)
{
    return reinterpret_cast<HANDLE>(id);
}

} // namespace

std::optional<std::string> childRole()
{
    const wchar_t* role = _wgetenv(wide(kRoleVariable).c_str());
    if (role == nullptr || *role == L'\0')
        return std::nullopt;
    const int length = static_cast<int>(std::wcslen(role));
    std::string utf8(static_cast<std::size_t>(length) * 3, '\0');
    utf8.resize(static_cast<std::size_t>(WideCharToMultiByte(
        CP_UTF8, 0, role, length, utf8.data(), static_cast<int>(utf8.size()), nullptr, nullptr)));
    return utf8;
}

void killThisProcess()
{
    TerminateProcess(GetCurrentProcess(), kKilledExitCode);
    std::abort(); // not reached
}

ChildProcess::ChildProcess(const std::string& testName, const std::string& role)
{
    wchar_t self[32768];
    if (GetModuleFileNameW(nullptr, self, 32768) == 0)
        return;
    std::wstring commandLine = L"\"" + std::wstring(self) + L"\" --gtest_filter=" + wide(testName);
    const std::wstring variable = wide(kRoleVariable);
    SetEnvironmentVariableW(variable.c_str(), wide(role).c_str());
    STARTUPINFOW startup {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process {};
    const bool started = CreateProcessW(
        self, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process);
    SetEnvironmentVariableW(variable.c_str(), nullptr);
    if (!started)
        return;
    CloseHandle(process.hThread);
    m_id = reinterpret_cast<long long>(process.hProcess);
}

void ChildProcess::kill()
{
    if (isRunning())
        TerminateProcess(processOf(m_id), kKilledExitCode);
}

bool ChildProcess::hasEnded()
{
    if (m_id == -1 || m_exitCode)
        return true;
    if (WaitForSingleObject(processOf(m_id), 0) != WAIT_OBJECT_0)
        return false;
    DWORD code = 0;
    GetExitCodeProcess(processOf(m_id), &code);
    m_exitCode = code == kKilledExitCode ? -1 : static_cast<int>(code);
    return true;
}

void ChildProcess::waitForEnd()
{
    WaitForSingleObject(processOf(m_id), INFINITE);
}

void ChildProcess::release()
{
    CloseHandle(processOf(m_id));
}

#else

std::optional<std::string> childRole()
{
    const char* role = std::getenv(kRoleVariable);
    if (role == nullptr || *role == '\0')
        return std::nullopt;
    return std::string(role);
}

void killThisProcess()
{
    ::raise(SIGKILL);
    std::abort(); // not reached
}

ChildProcess::ChildProcess(const std::string& testName, const std::string& role)
{
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    const std::string filter = "--gtest_filter=" + testName;
    char* argv[] = { const_cast<char*>(self.c_str()), const_cast<char*>(filter.c_str()), nullptr };
    ::setenv(kRoleVariable, role.c_str(), 1);
    pid_t pid = -1;
    const int failed = ::posix_spawn(&pid, self.c_str(), nullptr, nullptr, argv, environ);
    ::unsetenv(kRoleVariable);
    if (failed == 0)
        m_id = pid;
}

void ChildProcess::kill()
{
    if (isRunning())
        ::kill(static_cast<pid_t>(m_id), SIGKILL);
}

bool ChildProcess::hasEnded()
{
    if (m_id == -1 || m_exitCode)
        return true;
    int status = 0;
    if (::waitpid(static_cast<pid_t>(m_id), &status, WNOHANG) != static_cast<pid_t>(m_id))
        return false;
    m_exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return true;
}

void ChildProcess::waitForEnd()
{
    int status = 0;
    if (::waitpid(static_cast<pid_t>(m_id), &status, 0) == static_cast<pid_t>(m_id))
        m_exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void ChildProcess::release()
{
}

#endif

} // namespace vornik::test
