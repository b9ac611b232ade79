// The high-score record files load and save atomically; a failed save keeps the old record, no temporary.
#include "headless/temp_folder.h"
#include "records/record_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <fstream>
#include <stdlib.h>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace squeakrun {
namespace {

namespace fs = std::filesystem;

class RecordFile : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_FALSE(folder_.empty()); }
    void TearDown() override {
        std::error_code ignored; // a test may have made the folder read-only
        fs::permissions(folder_, fs::perms::owner_all, fs::perm_options::add, ignored);
    }

    static void write(const fs::path& file, std::string_view bytes) {
        std::ofstream(file, std::ios::binary) << bytes;
    }
    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const fs::directory_entry& entry : fs::directory_iterator(folder_))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    TempFolder scratch_{"squeakrun-record"};
    const fs::path& folder_ = scratch_.path();
};

TEST_F(RecordFile, MissingOrUnreadableFileReadsAsEmptyText) {
    EXPECT_EQ(loadRecordFile(folder_ / "hscore.txt"), "");
    EXPECT_EQ(loadRecordFile(folder_ / "nowhere" / "hscore.txt"), "");
    EXPECT_EQ(loadRecordFile(folder_), ""); // a folder in the file's place
}

TEST_F(RecordFile, SavedRecordLoadsBackAndReplacesTheOldOne) {
    const fs::path file = folder_ / "name.txt";
    ASSERT_TRUE(saveRecordFile(file, "first"));
    const std::string text = " Zo\u00eb \U0001F42D {x}\\\r\nline two";
    ASSERT_TRUE(saveRecordFile(file, text));
    EXPECT_EQ(loadRecordFile(file), text);
    EXPECT_EQ(entries(), std::vector<std::string>{"name.txt"});
}

TEST_F(RecordFile, SaveClearsWhatSavesOfGamesThatWereKilledLeftBehind) {
    // 999999999 is past the largest process id the system hands out: that game is gone. The temporary of
    // a game still running (this one) and another record's temporary are none of this save's business.
    const std::string endGame = ".hscore.txt.999999999-5-0.tmp";
    const std::string alive = ".hscore.txt." + std::to_string(::getpid()) + "-5-0.tmp";
    const std::string other = ".name.txt.999999999-5-0.tmp";
    for (const std::string& name : {endGame, alive, other})
        write(folder_ / name, "{\\rtf1 3");
    ASSERT_TRUE(saveRecordFile(folder_ / "hscore.txt", "310"));
    std::vector<std::string> expected{alive, other, "hscore.txt"};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(entries(), expected);
}

TEST_F(RecordFile, ReadsPlainTextAndOnlyTheFirstMebibyteOfHugeFiles) {
    write(folder_ / "hscore.txt", "310\r\n");
    EXPECT_EQ(loadRecordFile(folder_ / "hscore.txt"), "310");
    write(folder_ / "comment.txt", std::string(3 << 20, 'x'));
    EXPECT_EQ(loadRecordFile(folder_ / "comment.txt"), std::string(1 << 20, 'x'));
}

TEST_F(RecordFile, SaveFailsWhereThereIsNoFolderToWriteIn) {
    write(folder_ / "plain", "x");
    fs::create_directory(folder_ / "hscore.txt");
    EXPECT_FALSE(saveRecordFile(folder_ / "gone" / "hscore.txt", "1"));
    EXPECT_FALSE(saveRecordFile(folder_ / "plain" / "hscore.txt", "1")); // a file in the folder's place
    EXPECT_FALSE(saveRecordFile(folder_ / "hscore.txt", "1"));           // a folder in the record's place
    EXPECT_TRUE(fs::is_directory(folder_ / "hscore.txt"));
    EXPECT_EQ(entries(), (std::vector<std::string>{"hscore.txt", "plain"}));
}

TEST_F(RecordFile, SaveOnFullDiskKeepsTheOldRecord) {
    const fs::path file = folder_ / "hscore.txt";
    ASSERT_TRUE(saveRecordFile(file, "310"));
    // A file size limit makes writes fail as on a full disk, even for root.
    rlimit normal{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &normal), 0);
    rlimit tiny = normal;
    tiny.rlim_cur = 64;
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &tiny), 0);
    const bool savedOnFullDisk = saveRecordFile(file, "999");
    ::setrlimit(RLIMIT_FSIZE, &normal);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_FALSE(savedOnFullDisk);
    EXPECT_EQ(loadRecordFile(file), "310");
    EXPECT_EQ(entries(), std::vector<std::string>{"hscore.txt"});
}

} // namespace
} // namespace squeakrun
