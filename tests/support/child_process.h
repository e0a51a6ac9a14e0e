#pragma once
// Another process of the same test program, for tests of what other program
// windows see: one test starts itself again (the child runs the same test,
// told so by childRole()) and can kill it as the system would end a crashed
// window. Works the same on POSIX systems and on Windows, where there is no
// fork().

#include <optional>
#include <string>

namespace vornik::test {

// The role a parent gave this process, or nothing in the parent itself.
std::optional<std::string> childRole();

// Ends this process at once, as a crash or a kill from outside would: no
// destructor runs, no buffer is flushed.
[[noreturn]] void killThisProcess();

class ChildProcess {
public:
    // Starts this program running only the test `testName` ("Suite.Name")
    // with childRole() == `role`. isRunning() is false when that failed.
    ChildProcess(const std::string& testName, const std::string& role);
    ~ChildProcess(); // kills a child still running
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool isRunning() const;
    // Ends the child at once, without any clean-up of its own.
    void kill();
    // True once the child has ended (without waiting for it).
    bool hasEnded();
    // Waits for the end; the exit code, or -1 when it was killed.
    int wait();

private:
    void waitForEnd();
    void release();

    long long m_id = -1; // process id, or the process handle on Windows
    std::optional<int> m_exitCode; // once it ended
};

} // namespace vornik::test
