#pragma once
// The fresh program folder and scripted desktop that most Qt tests run each
// test function in. The test class derives from it after QObject, calls
// startFolder() at the start of init() and endFolder() in cleanup().

#include "tests/support/scripted_platform_services.h"
#include "tests/support/temp_program_dir.h"

#include <memory>
#include <string>
#include <vector>

namespace vornik::test {

class ScriptedFolder {
protected:
    void startFolder()
    {
        m_dir = std::make_unique<TempProgramDir>();
        m_platform = std::make_unique<ScopedScriptedPlatform>();
    }
    // The desktop goes first, then the folder, which puts back the program
    // folder that was in force before.
    void endFolder()
    {
        m_platform.reset();
        m_dir.reset();
    }

    std::string dataPath() const { return m_dir->file("vornik.txt"); }
    std::string data() const { return readFileBytes(dataPath()); }
    std::string memoFile() const { return readFileBytes(m_dir->file("vornik_memo.txt")); }
    // The message boxes shown so far, in order.
    std::vector<PlatformCall> messages() const
    {
        return m_platform->services().callsOf(PlatformCallKind::MessageBox);
    }

    std::unique_ptr<TempProgramDir> m_dir;
    std::unique_ptr<ScopedScriptedPlatform> m_platform;
};

} // namespace vornik::test
