#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "disc_check.h"
#include "disc_contents.h"
#include "elevation_prompt.h"
#include "game_programs.h"
#include "settings_format.h"
#include "synthetic_pe.h"

namespace authoring {
namespace {

constexpr std::uint16_t kManifest = 24;

Bytes Text(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

std::string Manifest(const std::string& security) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
           "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">\r\n" +
           security + "</assembly>\r\n";
}

std::string Security(const std::string& level) {
    return "<trustInfo xmlns=\"urn:schemas-microsoft-com:asm.v3\"><security><requestedPrivileges>"
           "<requestedExecutionLevel level=\"" +
           level + "\" uiAccess=\"false\"/></requestedPrivileges></security></trustInfo>\r\n";
}

// A program with `manifest` as its resource `id` (none when empty).
Bytes Program(const std::string& manifest, bool pe32Plus = false, std::uint16_t id = 1) {
    SyntheticPeOptions options;
    options.pe32Plus = pe32Plus;
    if (!manifest.empty())
        options.resources.push_back(
            {ResourceKey::Number(kManifest), ResourceKey::Number(id), 1033, 0, Text(manifest)});
    return MakeSyntheticPe(options);
}

TEST(RequestedExecutionLevel, ReadsTheElementOutsideComments) {
    // What Visual Studio writes: the other levels commented out above the one in force.
    const std::string visualStudio =
        "<requestedPrivileges xmlns=\"urn:schemas-microsoft-com:asm.v3\">\r\n"
        "  <!-- <requestedExecutionLevel level=\"requireAdministrator\" uiAccess=\"false\" />\r\n"
        "       <requestedExecutionLevel level=\"highestAvailable\" uiAccess=\"false\" /> -->\r\n"
        "  <requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\" />\r\n"
        "</requestedPrivileges>";
    EXPECT_EQ(RequestedExecutionLevel(Text(Manifest(visualStudio))), "asInvoker");
    EXPECT_EQ(
        RequestedExecutionLevel(Text(Manifest(
            "<ms_asmv2:requestedExecutionLevel uiAccess='false'\r\n level = 'requireAdministrator'/>"))),
        "requireAdministrator");
    // Neither a closing tag nor a longer name nor an attribute merely ending in "level" counts.
    EXPECT_EQ(RequestedExecutionLevel(Text("<requestedExecutionLevels level=\"requireAdministrator\"/>"
                                           "</requestedExecutionLevel><requestedExecutionLevel "
                                           "minlevel=\"x\" level=\"highestAvailable\"/>")),
              "highestAvailable");
    EXPECT_EQ(RequestedExecutionLevel(Text(Manifest(""))), "");
    // An unclosed comment hides the rest; an unclosed value counts as none.
    EXPECT_EQ(RequestedExecutionLevel(Text("<!-- <requestedExecutionLevel level=\"requireAdministrator\"/>")),
              "");
    EXPECT_EQ(RequestedExecutionLevel(Text("<requestedExecutionLevel level=\"requireAdministrator")), "");
    EXPECT_EQ(RequestedExecutionLevel({}), "");
}

TEST(RequestedExecutionLevel, ReadsUtf16Manifests) {
    const std::string text = Manifest(Security("requireAdministrator"));
    Bytes utf16{0xff, 0xfe};
    for (char c : text) {
        utf16.push_back(static_cast<std::uint8_t>(c));
        utf16.push_back(0);
    }
    EXPECT_EQ(RequestedExecutionLevel(utf16), "requireAdministrator");
    utf16.pop_back();  // an odd length must not read past the end
    EXPECT_EQ(RequestedExecutionLevel(utf16), "requireAdministrator");
}

TEST(ElevationCause, TheManifestsLevelDecides) {
    EXPECT_EQ(ElevationCauseOf(Program(Manifest(Security("requireAdministrator"))), "game.exe"),
              ElevationCause::kRequireAdministrator);
    EXPECT_EQ(ElevationCauseOf(Program(Manifest(Security("highestAvailable"))), "game.exe"),
              ElevationCause::kHighestAvailable);
    EXPECT_EQ(ElevationCauseOf(Program(Manifest(Security("asInvoker"))), "game.exe"), ElevationCause::kNone);
    EXPECT_EQ(ElevationCauseOf(Program(Manifest(Security("requireAdministrator")), true), "game.exe"),
              ElevationCause::kRequireAdministrator);
    // An executable's process takes its manifest from resource 1; 2 is a DLL's.
    EXPECT_EQ(ElevationCauseOf(Program(Manifest(Security("requireAdministrator")), false, 2), "game.exe"),
              ElevationCause::kNone);
}

TEST(ElevationCause, InstallerNamesOf32BitProgramsThatStateNoLevel) {
    for (const char* name : {"setup.exe", "bin\\Install_Game.EXE", "AutoUpdate.exe", "SETUP32.EXE"})
        EXPECT_EQ(ElevationCauseOf(Program(""), name), ElevationCause::kInstallerName) << name;
    // A manifest without a level leaves installer detection on; any level turns it off.
    EXPECT_EQ(ElevationCauseOf(Program(Manifest("<description>x</description>")), "setup.exe"),
              ElevationCause::kInstallerName);
    EXPECT_EQ(ElevationCauseOf(Program(Manifest(Security("asInvoker"))), "setup.exe"), ElevationCause::kNone);
    // Only folders named so, 64-bit programs and files that are no program are left alone.
    EXPECT_EQ(ElevationCauseOf(Program(""), "setup/game.exe"), ElevationCause::kNone);
    EXPECT_EQ(ElevationCauseOf(Program("", true), "setup.exe"), ElevationCause::kNone);
    EXPECT_EQ(ElevationCauseOf(Text("MZ"), "setup.exe"), ElevationCause::kNone);
    Bytes cut = Program(Manifest(Security("requireAdministrator")));
    cut.resize(cut.size() / 2);
    EXPECT_EQ(ElevationCauseOf(cut, "setup.exe"), ElevationCause::kNone);
}

// A disc whose bin2.dat names `name`, beside the launcher.
DiscContents Named(const std::string& name, Bytes game) {
    DiscContents disc;
    disc.files = {{"autorun.exe", std::nullopt, Program("")},
                  {"bin2.dat", std::nullopt, autorun::BuildLaunchSettings(name, name, std::string(4, '\0'))},
                  {"autorun.inf", std::nullopt, Text("[autorun]\r\nopen=autorun.exe\r\n")},
                  {name, std::nullopt, std::move(game)}};
    return disc;
}

// The findings that speak of the consent prompt, each of which must be a note.
std::vector<std::string> Notes(const DiscContents& disc) {
    std::vector<std::string> notes;
    for (const Finding& finding : CheckDisc(*ReadContents(disc, false)).findings)
        if (finding.text.find("consent prompt") != std::string::npos) {
            EXPECT_EQ(finding.level, Finding::kNote) << finding.text;
            notes.push_back(finding.text);
        }
    return notes;
}

TEST(DiscCheck, SaysWhenThePlayerWillBeAskedForConsent) {
    auto notes = Notes(Named("setup.exe", Program("")));
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_NE(notes[0].find("Windows takes the 32-bit setup.exe for an installer by its name"),
              std::string::npos)
        << notes[0];
    notes = Notes(Named("game.exe", Program(Manifest(Security("requireAdministrator")))));
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_NE(notes[0].find("game.exe asks for administrator rights in its manifest"), std::string::npos);
    notes = Notes(Named("game.exe", Program(Manifest(Security("highestAvailable")))));
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_NE(notes[0].find("on an administrator's account"), std::string::npos);

    EXPECT_TRUE(Notes(Named("game.exe", Program(""))).empty());
}

// A fresh folder under the temporary one, unique so that builds running side by side don't share it.
std::filesystem::path FreshFolder(const std::string& name) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() /
        (name + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    std::filesystem::create_directories(folder);
    return folder;
}

void WriteFile(const std::filesystem::path& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

TEST(GamePrograms, ListsTheFoldersProgramsBiggestFirstWithTheInstallersMarked) {
    const std::filesystem::path folder = FreshFolder("game_programs_");
    std::filesystem::create_directories(folder / "bin");
    Bytes game = Program("");
    game.resize(game.size() + 100000);
    WriteFile(folder / "bin" / "Game.EXE", game);
    WriteFile(folder / "setup.exe", Program(""));
    WriteFile(folder / "admin.exe", Program(Manifest(Security("requireAdministrator"))));
    WriteFile(folder / "readme.txt", Text("not a program"));
    WriteFile(folder / "notes.exe.txt", Text("not a program either"));

    const auto programs = FindGamePrograms(folder);
    ASSERT_EQ(programs.size(), 3u);
    EXPECT_EQ(programs[0].path, std::filesystem::path("bin") / "Game.EXE");
    EXPECT_EQ(programs[0].size, game.size());
    EXPECT_EQ(programs[0].elevation, ElevationCause::kNone);
    EXPECT_GE(programs[1].size, programs[2].size);
    const auto causeOf = [&](const char* name) {
        for (const GameProgram& program : programs)
            if (program.path == name) return program.elevation;
        return ElevationCause::kNone;
    };
    EXPECT_EQ(causeOf("setup.exe"), ElevationCause::kInstallerName);
    EXPECT_EQ(causeOf("admin.exe"), ElevationCause::kRequireAdministrator);
    std::filesystem::remove_all(folder);
    EXPECT_THROW(FindGamePrograms(folder), DiscError);
}

TEST(DiscFiles, ReadStartStopsAtTheLimit) {
    const DiscContents disc = Named("game.exe", Text("0123456789"));
    const auto reader = ReadContents(disc, false);
    EXPECT_EQ(reader->ReadStart("game.exe", 4), Text("0123"));
    EXPECT_EQ(reader->ReadStart("game.exe", 100), Text("0123456789"));
    EXPECT_EQ(reader->ReadStart("game.exe", 0), Bytes());

    const std::filesystem::path folder = FreshFolder("read_start_");
    Bytes big(200000);
    for (std::size_t i = 0; i < big.size(); ++i) big[i] = std::uint8_t(i * 7);
    WriteFile(folder / "big.bin", big);
    const auto onDisk = ReadFolder(folder.string());
    EXPECT_EQ(onDisk->ReadStart("big.bin", 70000), Bytes(big.begin(), big.begin() + 70000));
    EXPECT_EQ(onDisk->Read("big.bin"), big);
    EXPECT_EQ(ReadFileAt(folder / "big.bin", 65536), Bytes(big.begin(), big.begin() + 65536));
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace authoring
