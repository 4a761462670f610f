// The Linux build's signing helpers: running osslsigncode and condensing what it says.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>

#include "launcher_signing.h"
#include "posix_program_run.h"

namespace authoring {
namespace {

TEST(ProgramRun, KeepsBothStreamsAndTheExitStatusAndPassesArgumentsWithoutAShell) {
    const auto run = autorun::RunProgram({"sh", "-c", "echo out; echo err >&2; exit 3", "$(touch x)"});
    EXPECT_EQ(run.startError, 0);
    EXPECT_EQ(run.exitStatus, 3);
    EXPECT_EQ(run.output, "out\nerr\n");
    const auto quoted = autorun::RunProgram({"printf", "%s|", "a b", "'c'", "$HOME;"});
    EXPECT_EQ(quoted.output, "a b|'c'|$HOME;|");
}

TEST(ProgramRun, AMissingProgramIsReportedAsNotStarted) {
    const auto run = autorun::RunProgram({"autorun-no-such-program-here"});
    EXPECT_EQ(run.startError, ENOENT);
    EXPECT_EQ(run.exitStatus, -1);
}

TEST(ProgramRun, TheChildReadsNothingFromOurStandardInput) {
    EXPECT_EQ(autorun::RunProgram({"cat"}).output, "");
}

TEST(PrivateFolder, IsTheOwnersAloneAndGoesWithEverythingInIt) {
    std::string path;
    {
        const autorun::PrivateFolder folder;
        path = folder.path();
        struct stat info {};
        ASSERT_EQ(stat(path.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0700u);
        autorun::WritePrivateFile(path + "/password", "secret");
        ASSERT_EQ(stat((path + "/password").c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0600u);
        EXPECT_EQ(info.st_size, 6);
        // An existing file is never reused: someone else may have made it.
        EXPECT_THROW(autorun::WritePrivateFile(path + "/password", "again"), std::runtime_error);
    }
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(CondenseToolOutput, GivesTheFirstStatementAndTheLibrarysReasonOnOneLine) {
    const std::string wrongPassword =
        "Failed to parse PKCS#12 file: t.pfx (Wrong password?)\n"
        "Failed to read key or certificates\n"
        "40E07A7BD47F0000:error:11800071:PKCS12 routines:PKCS12_parse:mac verify "
        "failure:../crypto/pkcs12/p12_kiss.c:71:\n"
        "Failed\n";
    EXPECT_EQ(CondenseToolOutput(wrongPassword),
              "Failed to parse PKCS#12 file: t.pfx (Wrong password?) (mac verify failure)");
    EXPECT_EQ(CondenseToolOutput("Failed\r\n"), "no reason given");
    EXPECT_EQ(
        CondenseToolOutput("4080:error:10000080:BIO routines:BIO_new_file:no such file:bss_file.c:75:\n"),
        "no such file");
    EXPECT_EQ(CondenseToolOutput("\n\nTimestamp server failed  \n"), "Timestamp server failed");
    // What the program was doing gives way to what went wrong.
    EXPECT_EQ(CondenseToolOutput("Connecting to http://127.0.0.1:1/\nRFC 3161 timestamping failed\nUse the "
                                 "\"-t\" option\nUnable to set unauthenticated attributes\nFailed\n"),
              "RFC 3161 timestamping failed");
    EXPECT_EQ(CondenseToolOutput("Connecting to x\n"), "Connecting to x");
}

TEST(SignLauncher, AMissingKeyFileIsNamedBeforeAnythingRuns) {
    try {
        SignLauncher(Bytes(10), {"no-such-key.pfx", "pw", std::nullopt});
        FAIL() << "signed with a missing key";
    } catch (const std::exception& error) {
        EXPECT_STREQ(error.what(), "no-such-key.pfx: cannot read the key file (missing, or not a file)");
    }
}

}  // namespace
}  // namespace authoring
