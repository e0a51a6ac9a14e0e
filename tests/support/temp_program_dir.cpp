#include "tests/support/temp_program_dir.h"

#include "storage/paths.h"

#include <atomic>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

namespace vornik::test {

TempProgramDir::TempProgramDir()
{
    static std::atomic<unsigned> counter { 0 };
    std::random_device random;
    std::ostringstream name;
    name << "vornik-test-" << random() << '-' << counter++;
    m_path = std::filesystem::temp_directory_path() / name.str();
    std::filesystem::create_directories(m_path);
    m_previousDir = programDir();
    setProgramDir(m_path.string());
}

TempProgramDir::~TempProgramDir()
{
    setProgramDir(m_previousDir);
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

std::string TempProgramDir::file(const std::string& name) const
{
    return (m_path / name).string();
}

std::string readFileBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeFileBytes(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string fixture(const std::string& name)
{
    return readFileBytes(std::filesystem::path(VORNIK_TEST_DATA_DIR) / name);
}

} // namespace vornik::test
