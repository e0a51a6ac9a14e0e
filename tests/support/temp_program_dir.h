#pragma once
// A fresh temporary program folder for one test: programDir points at it
// while the object lives, and the folder is removed afterwards.

#include <filesystem>
#include <string>

namespace vornik::test {

class TempProgramDir {
public:
    TempProgramDir();
    ~TempProgramDir();
    TempProgramDir(const TempProgramDir&) = delete;
    TempProgramDir& operator=(const TempProgramDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    // Path of a file in the folder, as the program spells paths (bytes).
    std::string file(const std::string& name) const;

private:
    std::filesystem::path m_path;
    std::string m_previousDir;
};

// Whole file as bytes; empty when missing.
std::string readFileBytes(const std::filesystem::path& path);
void writeFileBytes(const std::filesystem::path& path, const std::string& bytes);
// A file of tests/data, as bytes.
std::string fixture(const std::string& name);

} // namespace vornik::test
