// A game killed while it writes the high-score record leaves each record file whole: the old text or the new.
#include "headless/temp_folder.h"
#include "records/record_file.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <random>
#include <string>
#include <sys/mman.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace squeakrun {
namespace {

namespace fs = std::filesystem;

struct Record {
    std::array<std::string, 3> texts; // hscore.txt, name.txt, comment.txt
};
constexpr std::array<const char*, 3> kFiles = {"hscore.txt", "name.txt", "comment.txt"};

void save(const fs::path& folder, const Record& record) {
    for (std::size_t f = 0; f < kFiles.size(); ++f)
        saveRecordFile(folder / kFiles[f], record.texts[f]);
}

TEST(RecordCrash, AKilledWriterLeavesEachFileWithAWholeOldOrNewRecord) {
    const TempFolder scratch("squeakrun-crash");
    const fs::path& folder = scratch.path();
    ASSERT_FALSE(folder.empty());

    // The second record is much longer, so a write cut short could not pass for either text.
    const Record a{{"310", "Skitter", "I rule, you drool!"}};
    const Record b{{"1275", "Zoë {\\} Scamper", std::string(48 * 1024, 'w') + " \\par {not markup}"}};
    save(folder, a);

    // Kill anywhere in the writer's loop. The writer counts its finished saves in shared memory; each
    // kill waits for a chosen number of them, then a little longer, so it lands after the old or the
    // new record whatever this machine's speed, and often in the middle of a save.
    auto start = std::chrono::steady_clock::now();
    save(folder, b);
    save(folder, a);
    const auto oneSave =
        std::chrono::duration_cast<std::chrono::microseconds>((std::chrono::steady_clock::now() - start) / 2);
    auto* finished = static_cast<std::atomic<int>*>(
        ::mmap(nullptr, sizeof(std::atomic<int>), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0));
    ASSERT_NE(finished, MAP_FAILED);
    std::mt19937 random(20240607);
    std::uniform_int_distribution<int> savesBefore(0, 3);
    std::uniform_int_distribution<long long> extra(0, oneSave.count());

    constexpr int kKills = 300;
    int foundNew = 0;
    for (int kill = 0; kill < kKills; ++kill) {
        finished->store(0);
        pid_t writer = ::fork();
        ASSERT_GE(writer, 0);
        if (writer == 0) {
            for (int n = 0;; ++n) {
                save(folder, n % 2 ? a : b);
                finished->fetch_add(1);
            }
        }
        const int wanted = savesBefore(random);
        while (finished->load() < wanted)
            std::this_thread::yield();
        std::this_thread::sleep_for(std::chrono::microseconds(extra(random)));
        ASSERT_EQ(::kill(writer, SIGKILL), 0);
        int status = 0;
        ASSERT_EQ(::waitpid(writer, &status, 0), writer);
        ASSERT_TRUE(WIFSIGNALED(status));

        for (std::size_t f = 0; f < kFiles.size(); ++f) {
            std::string text = loadRecordFile(folder / kFiles[f]);
            ASSERT_TRUE(text == a.texts[f] || text == b.texts[f])
                << kFiles[f] << " after kill " << kill << " holds " << text.size()
                << " bytes: " << text.substr(0, 40);
            foundNew += f == 2 && text == b.texts[f];
        }
    }
    // The kills landed all over the loop, not always before the first save.
    EXPECT_GT(foundNew, kKills / 10);
    EXPECT_LT(foundNew, kKills - kKills / 10);
    ::munmap(finished, sizeof(std::atomic<int>));
}

} // namespace
} // namespace squeakrun
