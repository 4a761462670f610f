// MakeDisc and BrandLauncherFile as a program other than the command line calls them: what comes
// back, what is reported on the way, and that a refusal writes nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>

#include "disc_authoring.h"
#include "disc_output.h"
#include "icon_file.h"
#include "icon_samples.h"
#include "launcher_branding.h"
#include "resource_ids.h"
#include "synthetic_pe.h"

namespace authoring {
namespace {

namespace fs = std::filesystem;

Bytes Launcher() {
    const auto images = ReadIconFile(IcoFile({{32, BitmapImage(32)}}));
    return MakeSyntheticPe(
        {false,
         {{ResourceKey::Number(autorun::kRcdataResourceType), ResourceKey::Text(autorun::kSplashResource),
           1033, 0, ReadFileAt(AUTORUN_SPLASH_JPG)},
          {ResourceKey::Number(autorun::kIconResourceType), ResourceKey::Number(1), 1033, 0, images[0].data},
          {ResourceKey::Number(autorun::kGroupIconResourceType),
           ResourceKey::Text(autorun::kMainIconResource), 1033, 0, BuildIconGroup(images, 1)}},
         {},
         {},
         0});
}

class DiscMaking : public ::testing::Test {
   protected:
    DiscMaking() {
        // Random, since builds in other folders may run the same test at the same time.
        root_ = fs::temp_directory_path() / ("disc_making_test_" + std::to_string(std::random_device{}()));
        fs::create_directories(root_ / "game");
        Write("game/game.exe", {'M', 'Z'});
        Write("autorun.exe", Launcher());
        project_.gameFolder = Path("game");
        project_.exe = "game.exe";
        project_.label = "Test Disc";
        project_.outputKind = OutputKind::kFolder;
        project_.output = Path("stick");
        run_.toolFolder = root_;
        run_.warning = [this](const std::string& text) { warnings_.push_back(text); };
    }
    ~DiscMaking() override {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }

    void Write(const std::string& name, const Bytes& bytes) const {
        std::ofstream(root_ / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    std::string Path(const std::string& name) const { return (root_ / name).generic_string(); }
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(root_))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path root_;
    DiscProject project_;
    AuthoringRun run_;
    std::vector<std::string> warnings_;
};

TEST_F(DiscMaking, AFolderComesBackWithItsSizeAndChecksFindings) {
    const MadeDisc made = MakeDisc(project_, run_);
    EXPECT_EQ(made.label, "Test Disc");
    // The game, the launcher, bin2.dat, the drive's icon and autorun.inf.
    EXPECT_EQ(made.files, 5u);
    EXPECT_GT(made.sectors, 0u);
    EXPECT_TRUE(made.report.WouldStartGame());
    const auto medium = std::count_if(made.report.findings.begin(), made.report.findings.end(),
                                      [](const Finding& finding) { return finding.aboutMedium; });
    EXPECT_EQ(medium, 1) << "a folder's one note on USB sticks";
    EXPECT_TRUE(fs::is_regular_file(root_ / "stick" / "autorun.exe"));
    EXPECT_TRUE(warnings_.empty());
}

TEST_F(DiscMaking, WarningsArriveAsTheyAreFoundAndTheDiscIsStillMade) {
    Write("no32.ico", IcoFile({{16, BitmapImage(16)}}));
    project_.launcher.icon = Path("no32.ico");
    MakeDisc(project_, run_);
    ASSERT_EQ(warnings_.size(), 1u);
    EXPECT_EQ(warnings_[0],
              Path("no32.ico") + ": no 32 x 32 bitmap image, which Windows XP needs to show the icon");
}

// Each failure names its file once, at the start of the message, and leaves nothing beside the output.
TEST_F(DiscMaking, RefusalsNameTheFileAndWriteNothing) {
    const auto refused = [&](const DiscProject& project, const std::string& message) {
        const std::vector<std::string> before = Entries();
        try {
            MakeDisc(project, run_);
            ADD_FAILURE() << "made: " << message;
        } catch (const DiscError& error) {
            EXPECT_EQ(std::string(error.what()).substr(0, message.size()), message);
        }
        EXPECT_EQ(Entries(), before) << message;
    };
    DiscProject project = project_;
    Write("notes.jpg", {'t', 'e', 'x', 't'});
    project.launcher.splash = Path("notes.jpg");
    refused(project, Path("notes.jpg") + ": not a JPEG or PNG picture");
    fs::remove(root_ / "notes.jpg");

    project = project_;
    project.launcher.launcher = Path("game/game.exe");
    refused(project, Path("game/game.exe") + ": not a Windows executable");

    // A project file may name a medium the command line would have refused.
    project = project_;
    project.media = "floppy";
    refused(project, "floppy: no such medium (cd, dvd, dvd-dl, bd or bd-dl)");
}

// A window shows how full the medium will be before anything is made: the estimate is the size a
// folder's make reports, holds the image, and writes nothing.
TEST_F(DiscMaking, TheEstimateHoldsWhatMakeWritesAndWritesNothing) {
    const std::vector<std::string> before = Entries();
    const std::uint64_t estimate = EstimateDiscSectors(project_, run_);
    EXPECT_EQ(Entries(), before);
    EXPECT_EQ(estimate, MakeDisc(project_, run_).sectors);
    DiscProject iso = project_;
    iso.outputKind = OutputKind::kIso;
    iso.output = Path("disc.iso");
    const std::uint64_t written = MakeDisc(iso, run_).sectors;
    EXPECT_GE(estimate, written);
    EXPECT_LE(estimate, written + 100);

    DiscProject missing = project_;
    missing.exe = "nothing.exe";
    EXPECT_THROW(EstimateDiscSectors(missing, run_), DiscError);
}

// A window cancels a make by throwing from the progress callback: the exception comes through as it
// was thrown, and neither output nor temporary files are left.  An image reports every tenth of its
// bytes, so it is cancelled in the middle of the big file; a folder reports as each file is copied, so
// after the first one.
TEST_F(DiscMaking, AnExceptionFromProgressLeavesNothingBehind) {
    struct Cancelled {};
    std::ofstream(root_ / "game" / "level.pak", std::ios::binary) << "level";
    fs::resize_file(root_ / "game" / "level.pak", std::uintmax_t(kProgressFrom) + (16 << 20));
    for (const auto& [kind, cancelAt] : {std::pair{OutputKind::kIso, 3}, std::pair{OutputKind::kFolder, 1}}) {
        DiscProject project = project_;
        project.outputKind = kind;
        project.output = Path(kind == OutputKind::kIso ? "disc.iso" : "stick");
        const std::vector<std::string> before = Entries();
        int reports = 0;
        AuthoringRun run = run_;
        run.progress = [&, cancelAt = cancelAt](double) {
            if (++reports == cancelAt) throw Cancelled{};
        };
        EXPECT_THROW(MakeDisc(project, run), Cancelled) << project.output;
        EXPECT_EQ(reports, cancelAt) << project.output;
        EXPECT_EQ(Entries(), before) << project.output;
    }
}

TEST_F(DiscMaking, ABrandedLauncherIsWrittenWhole) {
    // Nothing to brand: the launcher goes out as it is.
    BrandProject project;
    project.output = Path("branded.exe");
    const WrittenLauncher written = BrandLauncherFile(project, run_);
    EXPECT_FALSE(written.isSigned);
    EXPECT_EQ(fs::file_size(root_ / "branded.exe"), written.bytes);
    try {
        BrandLauncherFile({{}, Path("nowhere/branded.exe")}, run_);
        ADD_FAILURE() << "wrote into a missing folder";
    } catch (const DiscError& error) {
        EXPECT_EQ(std::string(error.what()).rfind(Path("nowhere/branded.exe") + ": ", 0), 0u) << error.what();
    }
}

}  // namespace
}  // namespace authoring
