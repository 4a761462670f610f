#include "launch_settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "launcher_error.h"
#include "settings_format.h"

#ifdef _WIN32
#include <windows.h>

#include "win32_handle.h"
#endif

namespace autorun {
namespace {

namespace fs = std::filesystem;

// Each test runs in a fresh, empty current directory.  GameExeName stands for the form's, which
// takes the name only when reading succeeds.
class ReadLaunchSettingsTest : public testing::Test {
   protected:
    void SetUp() override {
        static int counter = 0;
        directory_ =
            fs::temp_directory_path() / ("autorun-settings-test-" + std::to_string(++counter) + "-" +
                                         testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(directory_);
        fs::create_directories(directory_);
        fs::current_path(directory_);
    }

    void TearDown() override {
        fs::current_path(previous_);
        std::error_code ignored;
        fs::remove_all(directory_, ignored);
    }

    static void WriteSettingsFile(const std::vector<std::uint8_t>& bytes,
                                  const fs::path& path = kSettingsFileName) {
        std::ofstream file(path, std::ios::binary);
        file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        ASSERT_TRUE(file.good());
    }

    void Read(const std::string& fileName = kSettingsFileName) { GameExeName = ReadLaunchSettings(fileName); }

    // Runs ReadLaunchSettings, which must fail, and returns its message.
    std::string FailureMessage() {
        try {
            Read();
        } catch (const LauncherError& error) {
            return error.what();
        }
        ADD_FAILURE() << "ReadLaunchSettings did not fail";
        return {};
    }

    std::string GameExeName = kDefaultGameExeName;

   private:
    const fs::path previous_ = fs::current_path();
    fs::path directory_;
};

TEST_F(ReadLaunchSettingsTest, StoresTheDecodedName) {
    WriteSettingsFile(BuildLaunchSettings("Any first text", "game\\run me.exe"));
    Read();
    EXPECT_EQ(GameExeName, "game\\run me.exe");
}

TEST_F(ReadLaunchSettingsTest, IgnoresTrailingBytes) {
    std::vector<std::uint8_t> file = BuildLaunchSettings("text", "start.exe", "\xAA\xBB\xCC\xDD");
    file.insert(file.end(), 100, 0xEE);
    WriteSettingsFile(file);
    Read();
    EXPECT_EQ(GameExeName, "start.exe");
}

TEST_F(ReadLaunchSettingsTest, EachLauncherReadsOnlyItsOwnFile) {
    WriteSettingsFile(BuildLaunchSettings("text", "windows.exe"));
    WriteSettingsFile(BuildLaunchSettings("text", "linux-game"), kLinuxSettingsFileName);
    Read(kLinuxSettingsFileName);
    EXPECT_EQ(GameExeName, "linux-game");
    Read();
    EXPECT_EQ(GameExeName, "windows.exe");
}

TEST_F(ReadLaunchSettingsTest, MissingLinuxFileIsNamedInTheMessageEvenBesideBin2Dat) {
    WriteSettingsFile(BuildLaunchSettings("text", "windows.exe"));
    try {
        Read(kLinuxSettingsFileName);
        ADD_FAILURE() << "ReadLaunchSettings did not fail";
    } catch (const LauncherError& error) {
        EXPECT_STREQ(error.what(), "Cannot open file bin2lnx.dat");
    }
    EXPECT_EQ(GameExeName, "lmq.bin");
}

TEST_F(ReadLaunchSettingsTest, MissingFileCannotBeOpened) {
    // A settings file elsewhere does not count: only the current directory is looked at.
    fs::create_directory("sub");
    WriteSettingsFile(BuildLaunchSettings("text", "start.exe"), fs::path("sub") / kSettingsFileName);
    EXPECT_EQ(FailureMessage(), "Cannot open file bin2.dat");
    EXPECT_EQ(GameExeName, "lmq.bin");
}

TEST_F(ReadLaunchSettingsTest, DirectoryCannotBeOpened) {
    fs::create_directory(kSettingsFileName);
    EXPECT_EQ(FailureMessage(), "Cannot open file bin2.dat");
    EXPECT_EQ(GameExeName, "lmq.bin");
}

TEST_F(ReadLaunchSettingsTest, DamagedFilesAreReportedAndLeaveTheDefault) {
    const std::vector<std::uint8_t> good = BuildLaunchSettings("text", "start.exe");
    const std::vector<std::vector<std::uint8_t>> damaged = {
        {},
        {0x01, 0x00},
        std::vector<std::uint8_t>(good.begin(), good.end() - 1),
        {0x00, 0x00, 0x01, 0x00, 0, 0, 0, 0, 0, 0, 0, 0, 0},  // first text of length 0
        {0x01, 0x00, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0, 0},  // name of length 65535
    };
    for (const auto& file : damaged) {
        WriteSettingsFile(file);
        EXPECT_EQ(FailureMessage(), "File bin2.dat is damaged") << file.size() << " bytes";
        EXPECT_EQ(GameExeName, "lmq.bin");
    }
}

TEST_F(ReadLaunchSettingsTest, ClosesTheFileAfterReading) {
    WriteSettingsFile(BuildLaunchSettings("text", "start.exe"));
    Read();
    // Windows refuses to delete a file that is still open without delete sharing.
    EXPECT_TRUE(fs::remove(kSettingsFileName));
}

#ifdef _WIN32
Win32Handle OpenSettingsFile(DWORD access, DWORD sharing) {
    return Win32Handle(CreateFileA(kSettingsFileName, access, sharing, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
}

TEST_F(ReadLaunchSettingsTest, FileOpenForWritingCannotBeOpened) {
    WriteSettingsFile(BuildLaunchSettings("text", "start.exe"));
    const Win32Handle writer = OpenSettingsFile(GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE);
    ASSERT_TRUE(writer.valid());
    EXPECT_EQ(FailureMessage(), "Cannot open file bin2.dat");
    EXPECT_EQ(GameExeName, "lmq.bin");
}

TEST_F(ReadLaunchSettingsTest, FileOpenForReadingElsewhereCanBeRead) {
    WriteSettingsFile(BuildLaunchSettings("text", "start.exe"));
    const Win32Handle reader = OpenSettingsFile(GENERIC_READ, FILE_SHARE_READ);
    ASSERT_TRUE(reader.valid());
    Read();
    EXPECT_EQ(GameExeName, "start.exe");
}
#endif

}  // namespace
}  // namespace autorun
