// Start-up helpers: the launcher's directory and the text of the error box.
#include <gtest/gtest.h>

#include "error_report.h"
#include "launcher_dir.h"

namespace autorun {
namespace {

TEST(DirectoryOfModule, WindowsPathsEndWithExactlyOneBackslash) {
    EXPECT_EQ(DirectoryOfModule("D:\\AUTORUN.EXE", kWindowsPaths), "D:\\");
    EXPECT_EQ(DirectoryOfModule("D:\\SETUP\\AUTORUN.EXE", kWindowsPaths), "D:\\SETUP\\");
    EXPECT_EQ(DirectoryOfModule("C:\\a\\b\\c\\d\\autorun.exe", kWindowsPaths), "C:\\a\\b\\c\\d\\");
    EXPECT_EQ(DirectoryOfModule("D:AUTORUN.EXE", kWindowsPaths), "D:\\");
    EXPECT_EQ(DirectoryOfModule("\\\\server\\share\\autorun.exe", kWindowsPaths), "\\\\server\\share\\");
}

TEST(DirectoryOfModule, PosixPathsEndWithExactlyOneSlashAndKeepColonsAndBackslashes) {
    EXPECT_EQ(DirectoryOfModule("/autorun", kPosixPaths), "/");
    EXPECT_EQ(DirectoryOfModule("/media/user/GAME DISC/autorun", kPosixPaths), "/media/user/GAME DISC/");
    EXPECT_EQ(DirectoryOfModule("/mnt/a:b\\c/autorun", kPosixPaths), "/mnt/a:b\\c/");
}

TEST(DirectoryOfModule, KeepsLongAndNonAsciiPathsWhole) {
    const std::string folder =
        "C:\\" + std::string(300, 'x') + "\\\xD0\x94\xD0\xB8\xD1\x81\xD0\xBA \xE7\x9B\xAE\\";
    EXPECT_EQ(DirectoryOfModule(folder + "autorun.exe", kWindowsPaths), folder);
    const std::string posixFolder = "/media/" + std::string(300, 'x') + "/\xD0\x94\xD0\xB8\xD1\x81\xD0\xBA/";
    EXPECT_EQ(DirectoryOfModule(posixFolder + "autorun", kPosixPaths), posixFolder);
}

TEST(WithFullStop, AppendsOnlyAfterCharactersSortingAfterTheFullStop) {
    EXPECT_EQ(WithFullStop("Cannot open file bin2.dat"), "Cannot open file bin2.dat.");
    EXPECT_EQ(WithFullStop("Done."), "Done.");
    EXPECT_EQ(WithFullStop("Why?"), "Why?.");   // '?' sorts after '.'
    EXPECT_EQ(WithFullStop("Stop!"), "Stop!");  // '!' sorts before '.'
    EXPECT_EQ(WithFullStop("ends with space "), "ends with space ");
    EXPECT_EQ(WithFullStop("path\\"), "path\\.");
    EXPECT_EQ(WithFullStop("caf\xE9"), "caf\xE9.");  // bytes compare unsigned
    EXPECT_EQ(WithFullStop(""), "");
}

}  // namespace
}  // namespace autorun
