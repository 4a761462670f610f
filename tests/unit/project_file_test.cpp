// Project files: what is written comes back, paths follow the project file and not the current
// directory, and every file the tool can't trust is refused with one line naming it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "disc_contents.h"
#include "project_file.h"
#include "text_encoding.h"

namespace authoring {
namespace {

namespace fs = std::filesystem;

// "Café": a project's texts are UTF-8 on both systems, as the file is.
const std::string kCafe = "Caf\xC3\xA9";

class ProjectFile : public ::testing::Test {
   protected:
    ProjectFile() {
        root_ = fs::temp_directory_path() / ("project_file_test_" + std::to_string(std::random_device{}()));
        fs::create_directories(root_ / "work");
    }
    ~ProjectFile() override {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }

    std::string Path(const std::string& name) const { return (root_ / name).lexically_normal().string(); }

    fs::path Write(const std::string& name, const std::string& text) const {
        std::ofstream(root_ / name, std::ios::binary) << text;
        return root_ / name;
    }

    std::string Read(const std::string& name) const {
        std::ostringstream text;
        text << std::ifstream(root_ / name, std::ios::binary).rdbuf();
        return text.str();
    }

    DiscProject Everything() const {
        DiscProject project;
        project.gameFolder = Path("work/My Game");
        project.exe = "bin/game.exe";
        project.linuxExe = "bin/game.sh";
        project.linuxLauncher = Path("tools/autorun");  // outside the project's folder
        project.label = kCafe + " \"Quest\"";
        project.media = "dvd-dl";
        project.launcher.launcher = Path("work/autorun.exe");
        project.launcher.splash = Path("work/art/splash.png");
        project.launcher.icon = Path("work/art/game.ico");
        project.launcher.product = "Quest";
        project.launcher.company = "Studio";
        project.launcher.signing.pfx = Path("work/keys/studio.pfx");
        project.launcher.signing.passwordFile = Path("work/keys/studio.pass");
        project.launcher.signing.timestampUrl = "http://timestamp.example/";
        project.outputKind = OutputKind::kFolder;
        project.output = Path("work/out/disc");
        project.replace = true;
        return project;
    }

    // The refusal's text, which must be one line naming the file.
    std::string Refusal(const std::string& text) const {
        const fs::path file = Write("work/bad.json", text);
        try {
            ReadProjectFile(file);
        } catch (const DiscError& error) {
            const std::string what = error.what();
            EXPECT_EQ(what.find('\n'), std::string::npos) << what;
            const std::string prefix = file.generic_string() + ": ";
            EXPECT_EQ(what.rfind(prefix, 0), 0u) << what;
            return what.substr(std::min(what.size(), prefix.size()));
        }
        ADD_FAILURE() << "accepted: " << text;
        return "";
    }

    fs::path root_;
};

std::string Same(const std::string& path) {
    return fs::path(path).lexically_normal().string();
}

void ExpectSameProject(const DiscProject& read, const DiscProject& written) {
    EXPECT_EQ(Same(read.gameFolder), Same(written.gameFolder));
    EXPECT_EQ(read.exe, written.exe);
    EXPECT_EQ(read.linuxExe, written.linuxExe);
    EXPECT_EQ(Same(read.linuxLauncher.value_or("")), Same(written.linuxLauncher.value_or("")));
    EXPECT_EQ(read.label, written.label);
    EXPECT_EQ(read.media, written.media);
    const LauncherSources &a = read.launcher, &b = written.launcher;
    for (const auto& [left, right] :
         {std::pair(a.launcher, b.launcher), std::pair(a.splash, b.splash), std::pair(a.icon, b.icon),
          std::pair(a.signing.pfx, b.signing.pfx), std::pair(a.signing.passwordFile, b.signing.passwordFile)})
        EXPECT_EQ(Same(left.value_or("")), Same(right.value_or("")));
    EXPECT_EQ(a.product, b.product);
    EXPECT_EQ(a.company, b.company);
    EXPECT_EQ(a.signing.timestampUrl, b.signing.timestampUrl);
    EXPECT_EQ(read.outputKind, written.outputKind);
    EXPECT_EQ(Same(read.output), Same(written.output));
    EXPECT_EQ(read.replace, written.replace);
}

TEST_F(ProjectFile, WhatIsWrittenComesBackAndDiffsCleanly) {
    const DiscProject project = Everything();
    WriteProjectFile(project, root_ / "work/quest.json");
    ExpectSameProject(ReadProjectFile(root_ / "work/quest.json"), project);

    const std::string text = Read("work/quest.json");
    EXPECT_EQ(
        text.rfind(
            "{\n  \"format\": \"autorun-disc project\",\n  \"version\": 1,\n  \"game\": \"My Game\",\n", 0),
        0u)
        << text;
    EXPECT_EQ(text.back(), '\n');
    EXPECT_NE(text.find("\"splash\": \"art/splash.png\""), std::string::npos) << text;
    EXPECT_NE(text.find("Caf\xC3\xA9 \\\"Quest\\\""), std::string::npos) << text;  // UTF-8 as it is
    EXPECT_EQ(text.find("../"), std::string::npos) << text;  // a path outside the project's folder: absolute

    // The same project gives the same bytes, whatever was in the file before.
    WriteProjectFile(project, root_ / "work/quest.json");
    EXPECT_EQ(Read("work/quest.json"), text);
}

TEST_F(ProjectFile, UnsetValuesAreLeftOutAndADraftReadsBack) {
    DiscProject draft;
    draft.gameFolder = Path("work/game");
    WriteProjectFile(draft, root_ / "work/draft.json");
    EXPECT_EQ(Read("work/draft.json"),
              "{\n  \"format\": \"autorun-disc project\",\n  \"version\": 1,\n  \"game\": \"game\"\n}\n");
    const DiscProject read = ReadProjectFile(root_ / "work/draft.json");
    EXPECT_TRUE(read.exe.empty() && read.output.empty() && !read.label && !read.launcher.Branded());
}

TEST_F(ProjectFile, RelativePathsFollowTheProjectFile) {
    Write("work/hand.json",
          "{\"format\": \"autorun-disc project\", \"version\": 1, \"game\": \"../games/Quest\", \"exe\": "
          "\"bin/q.exe\", \"launcher\": {\"splash\": \"art/s.png\"}, \"output\": {\"kind\": \"iso\", "
          "\"path\": \"" +
              fs::path(Path("out.iso")).generic_string() + "\"}}");
    const DiscProject read = ReadProjectFile(root_ / "work/hand.json");
    EXPECT_EQ(Same(read.gameFolder), Same(Path("games/Quest")));
    EXPECT_EQ(read.exe, "bin/q.exe");  // inside the game folder, not the project's
    EXPECT_EQ(Same(read.launcher.splash.value_or("")), Same(Path("work/art/s.png")));
    EXPECT_EQ(Same(read.output), Same(Path("out.iso")));

    // A project kept beside its game survives the move of the folder that holds both.
    WriteProjectFile(Everything(), root_ / "work/quest.json");
    fs::rename(root_ / "work", root_ / "moved");
    const DiscProject moved = ReadProjectFile(root_ / "moved/quest.json");
    EXPECT_EQ(Same(moved.gameFolder), Same(Path("moved/My Game")));
    EXPECT_EQ(Same(moved.output), Same(Path("moved/out/disc")));
    EXPECT_EQ(Same(moved.linuxLauncher.value_or("")), Same(Path("tools/autorun")));  // absolute: unchanged
}

TEST_F(ProjectFile, FilesThatCantBeTrustedAreRefused) {
    const std::string head = "{\"format\": \"autorun-disc project\", \"version\": 1";
    const struct {
        std::string text;
        std::string refusal;
    } cases[] = {
        {head + ",\n\"label\": \"Caf\xE9\"}", "line 2: not UTF-8 text (save the project as UTF-8)"},
        {head + ",\n  \"label\": \"x\",}",
         "not JSON: line 2, column 16: syntax error while parsing object key - unexpected '}'; expected "
         "string "
         "literal"},
        {"",
         "not JSON: line 1, column 1: syntax error while parsing value - unexpected end of input; expected "
         "'[', '{', or a literal"},
        {"{\"format\": 1e400}", "not JSON: number overflow parsing '1e400'"},
        {head + ", \"lable\": \"x\"}", "unknown key \"lable\""},
        {head + ", \"launcher\": {\"splsh\": \"s.png\"}}", "unknown key \"launcher.splsh\""},
        {head + ", \"label\": \"a\", \"label\": \"b\"}", "\"label\" appears twice"},
        {head + ", \"output\": {\"path\": \"a\", \"path\": \"b\"}}", "\"output.path\" appears twice"},
        {head + ", \"exe\": 12}", "\"exe\" must be a string, not number"},
        {head + ", \"output\": {\"kind\": \"iso\", \"replace\": \"yes\"}}",
         "\"output.replace\" must be true or false, not string"},
        {head + ", \"signing\": \"k.pfx\"}", "\"signing\" must be an object, not string"},
        {"[1, 2]", "not a project: the file holds array"},
        {"{\"version\": 1}", "not a project: missing \"format\""},
        {"{\"format\": \"something else\", \"version\": 1}",
         "not a project: \"format\" is \"something else\", not \"autorun-disc project\""},
        {"{\"format\": \"autorun-disc project\"}", "missing \"version\""},
        {"{\"format\": \"autorun-disc project\", \"version\": 2, \"new\": 1}",
         "format version 2 is not one this autorun-disc reads (1); was it written by a later one?"},
        {head + ", \"media\": \"floppy\"}", "\"media\" is \"floppy\", not one of cd, dvd, dvd-dl, bd, bd-dl"},
        {head + ", \"media\": \"dvd\\nx\"}",
         "\"media\" is \"dvd\\nx\", not one of cd, dvd, dvd-dl, bd, bd-dl"},
        {head + ", \"la\\tbel\": 1}", "unknown key \"la\\tbel\""},
        {head + ", \"output\": {\"kind\": \"zip\"}}",
         "\"output.kind\" is \"zip\", not \"iso\" or \"folder\""},
        {head + ", \"output\": {\"path\": \"d.iso\"}}",
         "missing \"output.kind\" (\"iso\" or \"folder\") for \"output.path\""},
    };
    for (const auto& refused : cases) EXPECT_EQ(Refusal(refused.text), refused.refusal) << refused.text;

    // Names the ANSI code page lacks are paths like any other, on Windows too.
    EXPECT_EQ(ReadProjectFile(Write("work/cjk.json", head + ", \"game\": \"\u76EE\"}")).gameFolder,
              NativePathText((root_ / "work" / FilePath("\xE7\x9B\xAE")).lexically_normal()));
    EXPECT_THROW(ReadProjectFile(root_ / "work/missing.json"), DiscError);
}

TEST_F(ProjectFile, AFailedWriteLeavesNothing) {
    // A folder stands where the file should go: the rename fails, and no temporary file is left.
    fs::create_directories(root_ / "work/taken.json/inside");
    EXPECT_THROW(WriteProjectFile(Everything(), root_ / "work/taken.json"), DiscError);
    EXPECT_THROW(WriteProjectFile(Everything(), root_ / "nowhere/p.json"), DiscError);
    EXPECT_EQ(std::distance(fs::directory_iterator(root_ / "work"), fs::directory_iterator()), 1);
#ifndef _WIN32
    // A Linux name that is not UTF-8 can't go into the file as text.
    DiscProject project = Everything();
    project.label = "Caf\xE9";
    try {
        WriteProjectFile(project, root_ / "work/p.json");
        ADD_FAILURE() << "written";
    } catch (const DiscError& error) {
        EXPECT_NE(
            std::string(error.what()).find("cannot store \"label\": \"Caf\xEF\xBF\xBD\" is not UTF-8 text"),
            std::string::npos)
            << error.what();
    }
    EXPECT_FALSE(fs::exists(root_ / "work/p.json"));
#endif
}

}  // namespace
}  // namespace authoring
