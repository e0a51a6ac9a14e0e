// Several program windows saving at the same moment: real processes.

#include "storage/data_file.h"

#include "platform/file_lock.h"
#include "storage/memo_file.h"
#include "storage/paths.h"
#include "tests/support/child_process.h"
#include "tests/support/record_lines.h"
#include "tests/support/temp_program_dir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace vornik {
namespace {

using test::readAllRecords;
using test::TempProgramDir;

constexpr int kWindows = 3;
constexpr int kRecordsEach = 25;

// The children are this test program started again; their role is their
// window number and the shared folder.
std::string roleFor(int window, const TempProgramDir& dir)
{
    return std::to_string(window) + " " + dir.path().string();
}

// Sets the shared folder and returns the window number.
int takeRole(const std::string& role)
{
    const std::size_t blank = role.find(' ');
    setProgramDir(role.substr(blank + 1));
    return std::stoi(role.substr(0, blank));
}

// Each child adds records, edits one record of its own again and again and
// saves memos; it exits 0 only when every call succeeded.
[[noreturn]] void runWindow(int window)
{
    StorageError error;
    bool ok = true;
    const std::string tag = "w" + std::to_string(window);
    std::string ownId;
    for (int i = 0; i < kRecordsEach; ++i) {
        RecipeRecord& record = currentRecord();
        record = RecipeRecord();
        record.name() = tag + "-" + std::to_string(i);
        ok = saveNewRecord(error) && ok;
        if (i == 0)
            ownId = record.id();
        record = RecipeRecord();
        record.id() = ownId;
        record.name() = tag + "-edited-" + std::to_string(i);
        ok = saveRecord(error) && ok;
        ok = saveMemo(ownId, tag + " memo " + std::to_string(i), error) && ok;
    }
    std::_Exit(ok ? 0 : 1);
}

StorageError error;
TEST(ConcurrentSave, WindowsSavingAtOnceLoseNothingAndShareNoId)
{
    if (const std::optional<std::string> role = test::childRole())
        runWindow(takeRole(*role));
    TempProgramDir dir;
    test::writeFileBytes(dir.file("vornik.txt"), "");
    std::vector<std::unique_ptr<test::ChildProcess>> children;
    for (int window = 0; window < kWindows; ++window)
        children.push_back(std::make_unique<test::ChildProcess>(
            "ConcurrentSave.WindowsSavingAtOnceLoseNothingAndShareNoId", roleFor(window, dir)));
    for (const auto& child : children)
        EXPECT_EQ(child->wait(), 0) << "a window's save failed";

    std::set<std::string> ids;
    std::map<std::string, int> perWindow;
    for (const RecipeRecord& record : readAllRecords()) {
        EXPECT_TRUE(ids.insert(record.id()).second) << "id used twice: " << record.id();
        perWindow[record.name().substr(0, 2)] += 1;
    }
    EXPECT_EQ(ids.size(), static_cast<std::size_t>(kWindows * kRecordsEach));
    for (int window = 0; window < kWindows; ++window)
        EXPECT_EQ(perWindow["w" + std::to_string(window)], kRecordsEach);

    // The record each window kept editing holds its last edit, and its memo.
    int lastEdits = 0;
    for (const RecipeRecord& record : readAllRecords()) {
        const std::string tag = record.name().substr(0, 2);
        if (record.name() == tag + "-edited-" + std::to_string(kRecordsEach - 1)) {
            ++lastEdits;
            EXPECT_EQ(readMemo(record.id()), tag + " memo " + std::to_string(kRecordsEach - 1));
        }
    }
    EXPECT_EQ(lastEdits, kWindows);
}

TEST(ConcurrentSave, AKilledHolderDoesNotBlockTheOthers)
{
    StorageError error;
    if (const std::optional<std::string> role = test::childRole()) {
        takeRole(*role);
        FileLock lock(storageLockPath());
        if (lock.isLocked())
            test::writeFileBytes(std::filesystem::path(programDir()) / "holding", "");
        for (;;) // killed while holding the lock
            std::this_thread::sleep_for(std::chrono::seconds(1));
    }
    TempProgramDir dir;
    test::writeFileBytes(dir.file("vornik.txt"), "1,a\r\n");
    test::ChildProcess holder("ConcurrentSave.AKilledHolderDoesNotBlockTheOthers", roleFor(0, dir));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!std::filesystem::exists(dir.path() / "holding") && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_TRUE(std::filesystem::exists(dir.path() / "holding")) << "the holder never took the lock";

    // Held: another window gives up after its timeout with a message.
    FileLock blocked(storageLockPath(), std::chrono::milliseconds(100));
    EXPECT_FALSE(blocked.isLocked());
    EXPECT_EQ(blocked.error(), ETIMEDOUT);

    holder.kill();
    holder.wait();

    currentRecord() = RecipeRecord();
    currentRecord().name() = "b";
    EXPECT_TRUE(saveNewRecord(error)) << error.text;
    EXPECT_EQ(currentRecord().id(), "2");
}

} // namespace
} // namespace vornik
