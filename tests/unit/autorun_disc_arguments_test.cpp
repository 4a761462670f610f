// autorun-disc's command line: every option lands in the project the library is handed, and what is
// left out or contradicts itself is refused with exit status 2 and one line, before anything is read.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "arguments.h"
#include "autorun_disc.h"
#include "make_command_text.h"
#include "project_file.h"

namespace autorun_disc {
namespace {

using Args = std::vector<std::string>;

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

Outcome RunTool(const Args& args) {
    std::ostringstream out, err;
    const int status = RunAutorunDisc(args, out, err);
    return {status, out.str(), err.str()};
}

TEST(AutorunDiscArguments, EveryMakeOptionReachesTheProject) {
    const Arguments arguments = ParseArguments({"make",      "--game",
                                                "G",         "--exe",
                                                "bin/g.exe", "--splash",
                                                "s.png",     "--icon",
                                                "i.ico",     "--product",
                                                "P",         "--company",
                                                "C",         "--launcher",
                                                "l.exe",     "--sign",
                                                "k.pfx",     "--sign-password-file",
                                                "k.pass",    "--timestamp-url",
                                                "http://t/", "--linux-exe",
                                                "bin/g.sh",  "--linux-launcher",
                                                "autorun",   "--label",
                                                "L",         "--media",
                                                "dvd-dl",    "--force",
                                                "--iso",     "d.iso"});
    ASSERT_EQ(arguments.command, Command::kMake);
    const authoring::DiscProject& project = arguments.make;
    EXPECT_EQ(project.gameFolder, "G");
    EXPECT_EQ(project.exe, "bin/g.exe");
    EXPECT_EQ(project.launcher.splash, "s.png");
    EXPECT_EQ(project.launcher.icon, "i.ico");
    EXPECT_EQ(project.launcher.product, "P");
    EXPECT_EQ(project.launcher.company, "C");
    EXPECT_EQ(project.launcher.launcher, "l.exe");
    EXPECT_EQ(project.launcher.signing.pfx, "k.pfx");
    EXPECT_EQ(project.launcher.signing.passwordFile, "k.pass");
    EXPECT_EQ(project.launcher.signing.timestampUrl, "http://t/");
    EXPECT_EQ(project.linuxExe, "bin/g.sh");
    EXPECT_EQ(project.linuxLauncher, "autorun");
    EXPECT_EQ(project.label, "L");
    EXPECT_EQ(project.media, "dvd-dl");
    EXPECT_TRUE(project.replace);
    EXPECT_EQ(project.outputKind, authoring::OutputKind::kIso);
    EXPECT_EQ(project.output, "d.iso");
}

TEST(AutorunDiscArguments, LeftOutOptionsStayUnset) {
    const Arguments arguments = ParseArguments({"make", "--folder", "F", "--exe", "g.exe", "--game", "G"});
    ASSERT_EQ(arguments.command, Command::kMake);
    const authoring::DiscProject& project = arguments.make;
    EXPECT_EQ(project.outputKind, authoring::OutputKind::kFolder);
    EXPECT_EQ(project.output, "F");
    EXPECT_FALSE(project.replace);
    EXPECT_FALSE(project.label || project.media || project.linuxExe || project.linuxLauncher);
    EXPECT_FALSE(project.launcher.Branded() || project.launcher.launcher || project.launcher.signing.pfx);
}

TEST(AutorunDiscArguments, BrandAndCheckReachTheirProjects) {
    const Arguments brand = ParseArguments({"brand", "--out", "b.exe", "--icon", "i.ico", "--launcher",
                                            "l.exe", "--sign", "k.pfx", "--timestamp-url", "http://t/"});
    ASSERT_EQ(brand.command, Command::kBrand);
    EXPECT_EQ(brand.brand.output, "b.exe");
    EXPECT_EQ(brand.brand.launcher.icon, "i.ico");
    EXPECT_EQ(brand.brand.launcher.launcher, "l.exe");
    EXPECT_EQ(brand.brand.launcher.signing.pfx, "k.pfx");
    EXPECT_EQ(brand.brand.launcher.signing.timestampUrl, "http://t/");
    EXPECT_TRUE(brand.brand.launcher.Branded());

    const Arguments check = ParseArguments({"check", "disc.iso"});
    ASSERT_EQ(check.command, Command::kCheck);
    EXPECT_EQ(check.check, "disc.iso");
}

// Each of these lacks what its command can't do without: refused with 2 and one line naming it,
// nothing on the output.
TEST(AutorunDiscArguments, RequiredOptionsLeftOutAreRefused) {
    const struct {
        Args args;
        std::string line;
    } cases[] = {
        {{"make", "--exe", "g.exe", "--iso", "d.iso"},
         "autorun-disc: make: --game is required (see autorun-disc make --help)\n"},
        {{"make", "--game", "G", "--iso", "d.iso"},
         "autorun-disc: make: --exe is required (see autorun-disc make --help)\n"},
        {{"make", "--game", "G", "--exe", "g.exe"},
         "autorun-disc: make: give --iso FILE.iso or --folder DIR (see autorun-disc make --help)\n"},
        {{"brand", "--product", "P"},
         "autorun-disc: brand: --out is required (see autorun-disc brand --help)\n"},
        {{"check"}, "autorun-disc: check: ISO_OR_FOLDER is required (see autorun-disc check --help)\n"},
    };
    for (const auto& refusal : cases) {
        const Outcome outcome = RunTool(refusal.args);
        EXPECT_EQ(outcome.status, kUsage) << refusal.line;
        EXPECT_EQ(outcome.err, refusal.line);
        EXPECT_EQ(outcome.out, "");
    }
}

TEST(AutorunDiscArguments, ContradictionsAreRefused) {
    const Args refused[] = {
        {"make", "--game", "G", "--exe", "g.exe", "--iso", "d.iso", "--folder", "F"},
        {"make", "--game", "G", "--exe", "g.exe", "--linux-launcher", "a", "--iso", "d.iso"},
        {"make", "--game", "G", "--exe", "g.exe", "--media", "floppy", "--iso", "d.iso"},
        {"brand", "--out", "b.exe", "--sign-password-file", "k.pass"},
        {"brand", "--out", "b.exe", "--timestamp-url", "http://t/"},
        {"check", "a.iso", "b.iso"},
        {"frobnicate"},
        {"make", "--game", "G", "--exe", "g.exe", "--iso", "d.iso", "--bogus"},
    };
    for (const Args& args : refused) {
        const Outcome outcome = RunTool(args);
        EXPECT_EQ(outcome.status, kUsage) << args.front() << " " << outcome.err;
        EXPECT_EQ(std::count(outcome.err.begin(), outcome.err.end(), '\n'), 1) << outcome.err;
        EXPECT_EQ(outcome.err.rfind("autorun-disc: ", 0), 0u) << outcome.err;
        EXPECT_EQ(outcome.out, "");
    }
}

TEST(AutorunDiscArguments, HelpNamesTheCommandItDescribes) {
    for (const char* command : {"make", "brand", "check"}) {
        const Arguments help = ParseArguments({command, "--help"});
        EXPECT_EQ(help.command, Command::kHelp);
        EXPECT_NE(help.helpText.find(std::string("Usage: autorun-disc ") + command), std::string::npos)
            << help.helpText;
    }
    // Help wins over a command line that lacks what the command needs: nothing is made.
    EXPECT_EQ(ParseArguments({"make", "--game", "G", "--help"}).command, Command::kHelp);
    EXPECT_EQ(ParseArguments({}).command, Command::kHelp);
    const Outcome overview = RunTool({"--help"});
    EXPECT_EQ(overview.status, kSuccess);
    EXPECT_NE(overview.out.find("make"), std::string::npos);
}

// The command text the window shows for a project is one this parser reads back into that project.
TEST(AutorunDiscArguments, TheMakeCommandTextReadsBackAsItsProject) {
    authoring::DiscProject project;
    project.gameFolder = "My Game";
    project.exe = "bin/g.exe";
    project.linuxExe = "bin/g.sh";
    project.linuxLauncher = "lin/autorun";
    project.launcher = {"l.exe", "s.png", "i.ico", "P", "C", {"k.pfx", "k.pass", "http://t/"}};
    project.label = "L";
    project.media = "bd";
    project.outputKind = authoring::OutputKind::kFolder;
    project.output = "out";
    project.replace = true;
    const Args words = authoring::MakeCommandArguments(project);
    ASSERT_EQ(words.front(), "autorun-disc");
    const Arguments parsed = ParseArguments(Args(words.begin() + 1, words.end()));
    ASSERT_EQ(parsed.command, Command::kMake);
    EXPECT_EQ(authoring::MakeCommandArguments(parsed.make), words);
}

class MakeWithProject : public ::testing::Test {
   protected:
    MakeWithProject()
        : folder_(std::filesystem::temp_directory_path() /
                  ("make_project_test_" + std::to_string(std::random_device{}()))) {
        std::filesystem::create_directories(folder_);
        project_.gameFolder = (folder_ / "game").string();
        project_.exe = "g.exe";
        project_.label = "From File";
        project_.launcher.signing.pfx = (folder_ / "k.pfx").string();
        project_.output = (folder_ / "file.iso").string();
        authoring::WriteProjectFile(project_, File());
    }
    ~MakeWithProject() override {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    std::string File() const { return (folder_ / "p.json").string(); }

    std::filesystem::path folder_;
    authoring::DiscProject project_;
};

TEST_F(MakeWithProject, TheCommandLineReplacesTheFilesValues) {
    // Parsing only notes the file: nothing is read before the command runs.
    const Arguments arguments = ParseArguments({"make", "--project", File(), "--label", "From Line",
                                                "--folder", "stick", "--sign-password-file", "k.pass"});
    ASSERT_EQ(arguments.command, Command::kMake);
    EXPECT_EQ(arguments.makeProject, File());
    EXPECT_TRUE(arguments.make.gameFolder.empty());

    const authoring::DiscProject made = ProjectToMake(arguments);
    EXPECT_EQ(made.gameFolder, project_.gameFolder);
    EXPECT_EQ(made.exe, "g.exe");
    EXPECT_EQ(made.label, "From Line");
    EXPECT_EQ(made.launcher.signing.pfx, (folder_ / "k.pfx").string());
    EXPECT_EQ(made.launcher.signing.passwordFile, "k.pass");  // needs --sign: the file gives it
    EXPECT_EQ(made.outputKind, authoring::OutputKind::kFolder);
    EXPECT_EQ(made.output, "stick");
}

TEST_F(MakeWithProject, WhatNeitherGivesIsRefusedAsWithoutAProject) {
    authoring::DiscProject draft;
    draft.gameFolder = project_.gameFolder;
    authoring::WriteProjectFile(draft, File());
    Outcome outcome = RunTool({"make", "--project", File(), "--iso", "d.iso"});
    EXPECT_EQ(outcome.status, kUsage);
    EXPECT_EQ(outcome.err, "autorun-disc: make: --exe is required (see autorun-disc make --help)\n");

    outcome = RunTool({"make", "--project", (folder_ / "missing.json").string()});
    EXPECT_EQ(outcome.status, kFailure);
    EXPECT_EQ(outcome.err,
              "autorun-disc: " + (folder_ / "missing.json").generic_string() + ": cannot open the file\n");
}

}  // namespace
}  // namespace autorun_disc
