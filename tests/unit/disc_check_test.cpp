#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "autorun_inf.h"
#include "disc_check.h"
#include "disc_names.h"
#include "elf_image.h"
#include "icon_samples.h"
#include "settings_format.h"
#include "splash_picture.h"
#include "synthetic_pe.h"
#include "terminal_text.h"
#include "text_encoding.h"

namespace authoring {
namespace {

// Texts reach the library as UTF-8 on both systems; the ANSI code page (Windows-1252 under the tests'
// Wine, and on Linux) only where the disc stores them.
const std::string kEAcute = "\xc3\xa9";
const std::string kECircumflex = "\xc3\xaa";

Bytes SplashJpeg() {
    std::ifstream file(AUTORUN_SPLASH_JPG, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), {});
}

Bytes Launcher() {
    return MakeSyntheticPe(
        {false,
         {{ResourceKey::Number(kRcdataResourceType), ResourceKey::Text("SPLASH"), 1033, 0, SplashJpeg()}},
         {},
         {},
         0});
}

Bytes Text(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

Bytes Settings(const std::string& name) {
    return autorun::BuildLaunchSettings(name, name, std::string(4, '\0'));
}

DiscContents GoodDisc() {
    DiscContents disc;
    disc.label = "Sky Racer";
    disc.folders = {"bin"};
    disc.files = {
        {"autorun.exe", std::nullopt, Launcher()},
        {"bin2.dat", std::nullopt, Settings("bin\\Game.exe")},
        {"autorun.inf", std::nullopt, BuildAutorunInf({"autorun.exe", "autorun.exe", "Sky Racer", "Play"})},
        {"bin/Game.exe", std::nullopt, Text("MZ")}};
    return disc;
}

void Replace(DiscContents& disc, const std::string& path, Bytes bytes) {
    for (DiscFile& file : disc.files) {
        if (file.path == path) {
            file.bytes = std::move(bytes);
            return;
        }
    }
}

void Remove(DiscContents& disc, const std::string& path) {
    disc.files.erase(std::remove_if(disc.files.begin(), disc.files.end(),
                                    [&](const DiscFile& f) { return f.path == path; }),
                     disc.files.end());
}

std::string Problem(const DiscContents& disc, bool folder = false) {
    const CheckReport report = CheckDisc(*ReadContents(disc, folder));
    return report.FirstProblem() ? report.FirstProblem()->text : "";
}

bool Says(const CheckReport& report, Finding::Level level, const std::string& part) {
    return std::any_of(report.findings.begin(), report.findings.end(), [&](const Finding& finding) {
        return finding.level == level && finding.text.find(part) != std::string::npos;
    });
}

TEST(DiscCheck, AGoodDiscStartsItsGameWhateverTheCaseOfItsNames) {
    DiscContents disc = GoodDisc();
    Replace(disc, "autorun.inf", Text("; made by hand\r\n[AutoRun]\r\nOPEN = \"AUTORUN.EXE\"\r\n"));
    const CheckReport report = CheckDisc(*ReadContents(disc, false));
    EXPECT_TRUE(report.WouldStartGame()) << Problem(disc);
    EXPECT_TRUE(Says(report, Finding::kGood, "the game bin/Game.exe is there"));
    EXPECT_TRUE(Says(report, Finding::kWarning, "names no icon="));
    EXPECT_TRUE(Says(report, Finding::kGood, "volume ID SKY_RACER"));
    EXPECT_FALSE(Says(report, Finding::kNote, "USB stick"));
}

// Both forms of icon= start the game; an icon Explorer can't show costs only the drive's picture.
TEST(DiscCheck, AcceptsTheDrivesIconFromTheLauncherOrFromAnIcoFile) {
    DiscContents disc = GoodDisc();
    CheckReport report = CheckDisc(*ReadContents(disc, false));
    EXPECT_TRUE(report.WouldStartGame());
    EXPECT_TRUE(Says(report, Finding::kNote, "may show the previous disc's icon"));

    disc.files.push_back(
        {"SKY_RACER.ico", std::nullopt, IcoFile({{32, BitmapImage(32)}, {16, BitmapImage(16)}})});
    Replace(disc, "autorun.inf", BuildAutorunInf({"autorun.exe", "SKY_RACER.ico", "Sky Racer", "Play"}));
    report = CheckDisc(*ReadContents(disc, false));
    EXPECT_TRUE(report.WouldStartGame());
    EXPECT_TRUE(Says(report, Finding::kGood, "the drive's icon SKY_RACER.ico holds 2 image(s)"));
    EXPECT_FALSE(Says(report, Finding::kNote, "previous disc's icon"));

    Replace(disc, "autorun.inf", Text("[autorun]\r\nopen=autorun.exe\r\nicon=\"sky_racer.ICO\",0\r\n"));
    EXPECT_TRUE(Says(CheckDisc(*ReadContents(disc, false)), Finding::kGood, "holds 2 image(s)"));

    Replace(disc, "SKY_RACER.ico", Text("GIF89a"));
    report = CheckDisc(*ReadContents(disc, false));
    EXPECT_TRUE(report.WouldStartGame());
    EXPECT_TRUE(
        Says(report, Finding::kWarning, "SKY_RACER.ico: Explorer can't show the drive's icon: not an icon"));

    Remove(disc, "SKY_RACER.ico");
    report = CheckDisc(*ReadContents(disc, false));
    EXPECT_TRUE(report.WouldStartGame());
    EXPECT_TRUE(Says(report, Finding::kWarning, "icon sky_racer.ICO is not on the disc"));
}

TEST(DiscCheck, AFolderIsToldThatUsbSticksDontStartByThemselves) {
    const CheckReport report = CheckDisc(*ReadContents(GoodDisc(), true));
    EXPECT_TRUE(report.WouldStartGame());
    EXPECT_TRUE(Says(report, Finding::kNote, "Windows 7 and later ignore open="));
}

TEST(DiscCheck, FindsWhatKeepsTheGameFromStarting) {
    DiscContents disc = GoodDisc();
    Remove(disc, "autorun.inf");
    EXPECT_NE(Problem(disc).find("no autorun.inf"), std::string::npos);

    disc = GoodDisc();
    Replace(disc, "autorun.inf", Text("[other]\r\nopen=autorun.exe\r\n"));
    EXPECT_NE(Problem(disc).find("no open="), std::string::npos);

    disc = GoodDisc();
    Replace(disc, "autorun.inf", Text("[autorun]\r\nopen=setup.exe /s\r\n"));
    EXPECT_NE(Problem(disc).find("opens setup.exe, which is not on the disc"), std::string::npos);

    disc = GoodDisc();
    Remove(disc, "bin2.dat");
    EXPECT_NE(Problem(disc).find("no bin2.dat"), std::string::npos);

    disc = GoodDisc();
    Replace(disc, "bin2.dat", Bytes{5, 0});
    EXPECT_NE(Problem(disc).find("bin2.dat is damaged"), std::string::npos);

    disc = GoodDisc();
    Replace(disc, "bin2.dat", Settings("Game.exe"));  // the game lies in bin/, not beside the launcher
    EXPECT_NE(Problem(disc).find("the game Game.exe that bin2.dat names is not on the disc"),
              std::string::npos);

    disc = GoodDisc();
    Bytes damaged = SplashJpeg();
    damaged.resize(damaged.size() / 2);
    Replace(disc, "autorun.exe",
            MakeSyntheticPe(
                {false,
                 {{ResourceKey::Number(kRcdataResourceType), ResourceKey::Text("SPLASH"), 0, 0, damaged}},
                 {},
                 {},
                 0}));
    EXPECT_NE(Problem(disc).find("the splash picture would not show"), std::string::npos);

    disc = GoodDisc();
    Replace(disc, "autorun.exe", Text("MZ but nothing more"));
    EXPECT_NE(Problem(disc).find("autorun.exe: "), std::string::npos);
}

// The first bytes of an ELF64 header as a linker writes them; the checks read no further.
Bytes Elf(std::uint8_t elfClass, std::uint16_t type, std::uint16_t machine) {
    Bytes header(64, 0);
    const std::uint8_t ident[] = {0x7f, 'E', 'L', 'F', elfClass, 1, 1};
    std::copy(std::begin(ident), std::end(ident), header.begin());
    header[16] = std::uint8_t(type);
    header[18] = std::uint8_t(machine);
    return header;
}

DiscContents WithLinuxSide() {
    DiscContents disc = GoodDisc();
    disc.files.push_back({"autorun", std::nullopt, Elf(2, 3, 62), true});
    disc.files.push_back({"autorun.sh", std::nullopt, Text("#!/bin/sh\n"), true});
    disc.files.push_back({"bin2lnx.dat", std::nullopt, Settings("bin/game.sh")});
    disc.files.push_back({"bin/game.sh", std::nullopt, Text("#!/bin/sh\n"), true});
    return disc;
}

TEST(DiscCheck, TheLinuxSideIsCheckedWhenTheDiscHasOne) {
    CheckReport report = CheckDisc(*ReadContents(GoodDisc(), false));
    EXPECT_FALSE(Says(report, Finding::kGood, "Linux"));

    report = CheckDisc(*ReadContents(WithLinuxSide(), false));
    EXPECT_TRUE(report.WouldStartGame()) << report.FirstProblem()->text;
    EXPECT_TRUE(Says(report, Finding::kGood, "the Linux game bin/game.sh is there"));
    EXPECT_TRUE(Says(report, Finding::kGood, "bin2lnx.dat names bin/game.sh"));

    // bin2lnx.dat alone still makes a Linux side, one that desktops don't offer to run.
    DiscContents disc = WithLinuxSide();
    Remove(disc, "autorun.sh");
    report = CheckDisc(*ReadContents(disc, false));
    EXPECT_TRUE(report.WouldStartGame());
    EXPECT_TRUE(Says(report, Finding::kWarning, "no autorun.sh"));
}

TEST(DiscCheck, ABrokenLinuxSideIsAProblemOnLinux) {
    DiscContents disc = WithLinuxSide();
    Remove(disc, "autorun");
    EXPECT_NE(Problem(disc).find("no Linux launcher autorun at the root: on Linux"), std::string::npos);

    disc = WithLinuxSide();
    Replace(disc, "autorun", Launcher());  // the Windows launcher under the Linux one's name
    EXPECT_NE(Problem(disc).find("autorun: not a Linux program"), std::string::npos);

    disc = WithLinuxSide();
    Remove(disc, "bin2lnx.dat");
    EXPECT_NE(Problem(disc).find("no bin2lnx.dat at the root: on Linux"), std::string::npos);

    disc = WithLinuxSide();
    Replace(disc, "bin2lnx.dat", Bytes{5, 0});
    EXPECT_NE(Problem(disc).find("bin2lnx.dat is damaged, so the game would not start on Linux"),
              std::string::npos);

    // Unlike Windows, Linux finds names only as written.
    disc = WithLinuxSide();
    Replace(disc, "bin2lnx.dat", Settings("bin/Game.sh"));
    EXPECT_NE(Problem(disc).find("the Linux game bin/Game.sh that bin2lnx.dat names is not on the disc"),
              std::string::npos);

    disc = WithLinuxSide();
    for (DiscFile& file : disc.files)
        if (file.path == "bin/game.sh") file.executable = false;
    EXPECT_NE(Problem(disc).find("bin/game.sh is not executable"), std::string::npos);
}

TEST(ElfImage, AcceptsX8664ProgramsOnly) {
    EXPECT_FALSE(X8664ExecutableProblem(Elf(2, 2, 62)));  // a plain executable
    EXPECT_FALSE(X8664ExecutableProblem(Elf(2, 3, 62)));  // position-independent
    EXPECT_TRUE(X8664ExecutableProblem(Elf(1, 2, 3)));    // 32-bit x86
    EXPECT_TRUE(X8664ExecutableProblem(Elf(2, 2, 183)));  // arm64
    EXPECT_TRUE(X8664ExecutableProblem(Elf(2, 1, 62)));   // an object file
    EXPECT_TRUE(X8664ExecutableProblem(Launcher()));
    Bytes cut = Elf(2, 2, 62);
    cut.resize(40);
    EXPECT_TRUE(X8664ExecutableProblem(cut));
}

TEST(DiscCheck, ANameLongerThanJolietAllowsIsAProblem) {
    DiscContents disc = GoodDisc();
    disc.files.push_back({"bin/" + std::string(65, 'x') + ".dat", std::nullopt, {}});
    EXPECT_NE(Problem(disc).find("more than Joliet's 64"), std::string::npos);
}

TEST(DiscNames, SplitLikeWindowsAndStayOnTheDisc) {
    EXPECT_EQ(SplitDiscPath("bin\\.\\x/../game.exe"), (std::vector<std::string>{"bin", "game.exe"}));
    EXPECT_FALSE(SplitDiscPath("..\\game.exe"));
    EXPECT_EQ(WindowsNameKey(u"Bin\\Game.exe"), u"BIN/GAME.EXE");
}

TEST(DiscNames, VolumeIdsAreDCharactersOfAtMost32) {
    // One "_" a byte: of the ANSI form on Windows, of UTF-8 on Linux, as each build always made it.
#ifdef _WIN32
    EXPECT_EQ(VolumeIdFromLabel("Sky Racer 2: For" + kECircumflex + "t"), "SKY_RACER_2__FOR_T");
    EXPECT_EQ(VolumeIdFromLabel("\xce\x9a\xcf\x8c\xcf\x83\xce\xbc\xce\xbf\xcf\x82"),
              "____________");  // no ANSI form
#else
    EXPECT_EQ(VolumeIdFromLabel("Sky Racer 2: For" + kECircumflex + "t"), "SKY_RACER_2__FOR__T");
#endif
    EXPECT_EQ(VolumeIdFromLabel(std::string(40, 'a')), std::string(32, 'A'));
    EXPECT_EQ(VolumeIdFromLabel(""), "DISC");
}

TEST(DiscNames, JolietCountsUtf16UnitsNotBytes) {
    std::string name;
    for (int i = 0; i < 64; ++i) name += kEAcute;  // 64 characters, 128 bytes in UTF-8
    EXPECT_FALSE(JolietProblem(FilePath("data/" + name)));
    EXPECT_TRUE(JolietProblem(FilePath("data/" + name + "e")));
}

TEST(AutorunInf, IsAnsiWhenItCanBe) {
    const Bytes ansi = BuildAutorunInf({"autorun.exe", "autorun.exe", "For" + kECircumflex + "t", "Play"});
    EXPECT_EQ(std::string(ansi.begin(), ansi.end()),
              "[autorun]\r\nopen=autorun.exe\r\nicon=autorun.exe\r\nlabel=For\xeat\r\naction=Play\r\n");
    EXPECT_EQ(ParseAutorunInf(ansi).at("label"), "For" + kECircumflex + "t");
}

TEST(AutorunInf, IsUtf16WhenTheAnsiCodePageLacksACharacterAndReadsBack) {
    const Bytes wide =
        BuildAutorunInf({"autorun.exe", "autorun.exe", "\xd0\x98\xd0\xb3\xd1\x80\xd0\xb0", "Play"});
    ASSERT_GE(wide.size(), 2u);
    EXPECT_EQ(wide[0], 0xff);
    EXPECT_EQ(wide[1], 0xfe);
    EXPECT_EQ(ParseAutorunInf(wide).at("label"), "\xd0\x98\xd0\xb3\xd1\x80\xd0\xb0");
    EXPECT_EQ(ParseAutorunInf(wide).at("open"), "autorun.exe");
}

TEST(SplashPicture, ShowsHowMuchOfATallPictureEachScreenShapeCuts) {
    const auto fits = DescribeVisibleHeight(800, 600);
    ASSERT_EQ(fits.size(), 3u);
    EXPECT_FALSE(fits[0].cut);
    EXPECT_EQ(fits[2].text, "16:9 screens show 75% of its height (the bottom 150 of 600 rows are cut)");
    for (const ScreenFit& fit : DescribeVisibleHeight(1920, 1080)) EXPECT_FALSE(fit.cut) << fit.text;
}

TEST(SplashPicture, AcceptsTheLaunchersOwnPictureByteForByte) {
    const SplashPicture picture = CheckSplashJpeg(SplashJpeg());
    EXPECT_EQ(picture.jpeg, SplashJpeg());
    EXPECT_EQ(picture.width, 800);
}

// The frame header says what the launcher's decoder can't do; patched copies of a good picture.
TEST(SplashPicture, RefusesArithmeticCodingAnd12BitSamples) {
    const Bytes good = SplashJpeg();
    const std::uint8_t baseline[] = {0xff, 0xc0};
    const auto frame = std::search(good.begin(), good.end(), std::begin(baseline), std::end(baseline));
    ASSERT_NE(frame, good.end());
    Bytes arithmetic = good;
    arithmetic[std::size_t(frame - good.begin()) + 1] = 0xc9;
    EXPECT_THROW(CheckSplashJpeg(arithmetic), PictureError);
    Bytes twelveBit = good;
    twelveBit[std::size_t(frame - good.begin()) + 4] = 12;
    EXPECT_THROW(CheckSplashJpeg(twelveBit), PictureError);
    EXPECT_THROW(PrepareSplash(Text("GIF89a")), PictureError);
}

// Found by disc_folder_fuzzer: a name from bin2.dat broke the one-finding-a-line output, and escape
// sequences from a disc reached the terminal.
TEST(DiscCheck, FindingsShowControlCharactersFromTheDiscAsEscapes) {
    DiscContents disc = GoodDisc();
    Replace(disc, "bin2.dat", Settings("bin\\Ga\nme\x1b[2J.exe"));
    Replace(disc, "autorun.inf",
            BuildAutorunInf({"autorun.exe", "autorun.exe", "Sky\x1b]0;x\x07 Caf" + kEAcute, "Play"}));
    const CheckReport report = CheckDisc(*ReadContents(disc, false));
    for (const Finding& finding : report.findings)
        EXPECT_TRUE(std::none_of(finding.text.begin(), finding.text.end(), [](char c) {
            return static_cast<unsigned char>(c) < 0x20 || c == 0x7f;
        })) << finding.text;
    EXPECT_TRUE(Says(report, Finding::kGood, "bin2.dat names bin\\Ga\\x0ame\\x1b[2J.exe"));
    EXPECT_TRUE(Says(report, Finding::kGood, "label: Sky\\x1b]0;x\\x07 Caf" + kEAcute));
}

TEST(TerminalText, EscapesAsciiControlCharactersOnly) {
    EXPECT_EQ(EscapeControlCharacters(std::string("a\0b\r\n\t\x7f~ \xc3\xa9\\", 12)),
              "a\\x00b\\x0d\\x0a\\x09\\x7f~ \xc3\xa9\\");
}

}  // namespace
}  // namespace authoring
