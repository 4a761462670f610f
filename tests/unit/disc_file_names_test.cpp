#include "disc_file_names.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace autorun {
namespace {

// Discs already pressed carry these names, and launchers already shipped look for them: the names
// are spelled out here, independently, so that no edit of the shared header changes them unseen.
TEST(DiscFileNames, AreTheNamesThatDiscsCarry) {
    EXPECT_STREQ(kAutorunInfName, "autorun.inf");
    EXPECT_STREQ(kLauncherExeName, "autorun.exe");
    EXPECT_STREQ(kSettingsFileName, "bin2.dat");
    EXPECT_STREQ(kLinuxSettingsFileName, "bin2lnx.dat");
    EXPECT_STREQ(kLinuxLauncherName, "autorun");
    EXPECT_STREQ(kLinuxScriptName, "autorun.sh");
    EXPECT_STREQ(kDefaultGameExeName, "lmq.bin");
}

// A plain ISO 9660 disc, without Joliet or Rock Ridge, holds only 8.3 names.
TEST(DiscFileNames, RootFilesFitEightDotThree) {
    for (const char* name : {kAutorunInfName, kLauncherExeName, kSettingsFileName, kLinuxSettingsFileName,
                             kLinuxScriptName, kDefaultGameExeName}) {
        const std::string text = name;
        const std::size_t dot = text.find('.');
        ASSERT_NE(dot, std::string::npos) << text;
        EXPECT_LE(dot, 8u) << text;
        EXPECT_LE(text.size() - dot - 1, 3u) << text;
    }
}

}  // namespace
}  // namespace autorun
