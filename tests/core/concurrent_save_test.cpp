// Several program windows saving at the same moment: real processes.

#include "storage/data_file.h"

#include "platform/file_lock.h"
#include "storage/memo_file.h"
#include "storage/paths.h"
#include "tests/support/temp_program_dir.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace vornik {
namespace {

using test::TempProgramDir;

constexpr int kWindows = 3;
constexpr int kRecordsEach = 25;

// Each child adds records, edits one record of its own again and again and
// saves memos; it exits 0 only when every call succeeded.
[[noreturn]] void runWindow(int window)
{
    bool ok = true;
    const std::string tag = "w" + std::to_string(window);
    std::string ownId;
    for (int i = 0; i < kRecordsEach; ++i) {
        RecipeRecord& record = currentRecord();
        record = RecipeRecord();
        record.name() = tag + "-" + std::to_string(i);
        ok = saveNewRecord() && ok;
        if (i == 0)
            ownId = record.id();
        record = RecipeRecord();
        record.id() = ownId;
        record.name() = tag + "-edited-" + std::to_string(i);
        ok = saveRecord() && ok;
        ok = saveMemo(ownId, tag + " memo " + std::to_string(i)) && ok;
    }
    ::_exit(ok ? 0 : 1);
}

std::vector<RecipeRecord> readAll()
{
    std::vector<RecipeRecord> records;
    if (!openDataFile())
        return records;
    while (readNextRecord())
        records.push_back(currentRecord());
    closeDataFile();
    return records;
}

TEST(ConcurrentSave, WindowsSavingAtOnceLoseNothingAndShareNoId)
{
    TempProgramDir dir;
    test::writeFileBytes(dir.file("vornik.txt"), "");
    std::vector<pid_t> children;
    for (int window = 0; window < kWindows; ++window) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0)
            runWindow(window);
        children.push_back(pid);
    }
    for (const pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a window's save failed";
    }

    std::set<std::string> ids;
    std::map<std::string, int> perWindow;
    for (const RecipeRecord& record : readAll()) {
        EXPECT_TRUE(ids.insert(record.id()).second) << "id used twice: " << record.id();
        perWindow[record.name().substr(0, 2)] += 1;
    }
    EXPECT_EQ(ids.size(), static_cast<std::size_t>(kWindows * kRecordsEach));
    for (int window = 0; window < kWindows; ++window)
        EXPECT_EQ(perWindow["w" + std::to_string(window)], kRecordsEach);

    // The record each window kept editing holds its last edit, and its memo.
    int lastEdits = 0;
    for (const RecipeRecord& record : readAll()) {
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
    TempProgramDir dir;
    test::writeFileBytes(dir.file("vornik.txt"), "1,a\r\n");
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t holder = ::fork();
    ASSERT_GE(holder, 0);
    if (holder == 0) {
        FileLock lock(storageLockPath());
        const char byte = lock.isLocked() ? 'y' : 'n';
        [[maybe_unused]] const auto written = ::write(ready[1], &byte, 1);
        ::pause(); // killed while holding the lock
        ::_exit(0);
    }
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    ASSERT_EQ(byte, 'y');

    // Held: another window gives up after its timeout with a message.
    FileLock blocked(storageLockPath(), std::chrono::milliseconds(100));
    EXPECT_FALSE(blocked.isLocked());
    EXPECT_EQ(blocked.error(), ETIMEDOUT);

    ::kill(holder, SIGKILL);
    ::waitpid(holder, nullptr, 0);
    ::close(ready[0]);
    ::close(ready[1]);

    currentRecord() = RecipeRecord();
    currentRecord().name() = "b";
    EXPECT_TRUE(saveNewRecord()) << storageError();
    EXPECT_EQ(currentRecord().id(), "2");
}

} // namespace
} // namespace vornik
#endif
