// Start-up helpers: the launcher's directory and the text of the error box.
#include <gtest/gtest.h>

#include "error_report.h"
#include "launcher_dir.h"

namespace autorun {
namespace {

TEST(DirectoryOfModule, EndsWithExactlyOneBackslash) {
    EXPECT_EQ(DirectoryOfModule(L"D:\\AUTORUN.EXE"), L"D:\\");
    EXPECT_EQ(DirectoryOfModule(L"D:\\SETUP\\AUTORUN.EXE"), L"D:\\SETUP\\");
    EXPECT_EQ(DirectoryOfModule(L"C:\\a\\b\\c\\d\\autorun.exe"), L"C:\\a\\b\\c\\d\\");
    EXPECT_EQ(DirectoryOfModule(L"D:AUTORUN.EXE"), L"D:\\");
    EXPECT_EQ(DirectoryOfModule(L"\\\\server\\share\\autorun.exe"), L"\\\\server\\share\\");
}

TEST(DirectoryOfModule, KeepsLongAndNonAnsiPathsWhole) {
    const std::wstring folder = L"C:\\" + std::wstring(300, L'x') + L"\\Диск 目录\\";
    EXPECT_EQ(DirectoryOfModule(folder + L"autorun.exe"), folder);
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
