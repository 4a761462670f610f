#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#endif

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "autorun_inf.h"
#include "disc_layout.h"
#include "disc_names.h"
#include "icon_file.h"
#include "icon_samples.h"
#include "launcher_branding.h"
#include "synthetic_pe.h"

namespace authoring {
namespace {

namespace fs = std::filesystem;

Bytes SplashJpeg() {
    std::ifstream file(AUTORUN_SPLASH_JPG, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), {});
}

const ResourceKey kIconType = ResourceKey::Number(kIconResourceType);
const ResourceKey kGroupType = ResourceKey::Number(kGroupIconResourceType);

// A launcher whose MAINICON (language 1033) shows a 32 and a 16 pixel bitmap as images 1 and 2.  Image 1
// also exists in another language with other bytes, which the loader would not pick for the group.
Bytes LauncherWithIcon() {
    const auto images = ReadIconFile(IcoFile({{32, BitmapImage(32)}, {16, BitmapImage(16)}}));
    Bytes decoy = images[0].data;
    decoy.back() = 0x5a;
    return MakeSyntheticPe(
        {false,
         {{ResourceKey::Number(kRcdataResourceType), ResourceKey::Text("SPLASH"), 1033, 0, SplashJpeg()},
          {kIconType, ResourceKey::Number(1), 0, 0, decoy},
          {kIconType, ResourceKey::Number(1), 1033, 0, images[0].data},
          {kIconType, ResourceKey::Number(2), 1033, 0, images[1].data},
          {kGroupType, ResourceKey::Text("MAINICON"), 1033, 0, BuildIconGroup(images, 1)}},
         {},
         {},
         0});
}

class GameFolder {
   public:
    GameFolder() {
        // Random, since builds in other folders may run the same test at the same time.
        path_ =
            fs::temp_directory_path() / ("disc_layout_test_" + std::to_string(std::random_device{}()) + "_" +
                                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(path_);
        Write("game.exe", "MZ");
    }
    ~GameFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    void Write(const std::string& name, const std::string& text) const {
        std::ofstream(path_ / name, std::ios::binary) << text;
    }
    std::string Path() const { return path_.string(); }

   private:
    fs::path path_;
};

DiscPlan Plan(const GameFolder& game, const std::string& label) {
    DiscPlan plan;
    plan.gameFolder = game.Path();
    plan.exe = "game.exe";
    plan.launcher = LauncherWithIcon();
    plan.label = label;
    plan.action = "Play";
    return plan;
}

const DiscFile* FileAt(const DiscContents& contents, const std::string& path) {
    for (const DiscFile& file : contents.files)
        if (file.path == path) return &file;
    return nullptr;
}

TEST(DriveIcon, IsNamedAfterTheVolumeWithinIsoLevel2sLimit) {
    EXPECT_EQ(DriveIconName("Sky Racer 2"), "SKY_RACER_2.ico");
    EXPECT_EQ(DriveIconName(""), "DISC.ico");
    const std::string longest = DriveIconName(std::string(40, 'x'));
    EXPECT_EQ(longest, std::string(27, 'X') + ".ico");
    EXPECT_EQ(longest.size(), kIsoLevel2NameLimit);
    EXPECT_FALSE(JolietProblem(longest));
}

// The disc's icon is the launcher's own, as Explorer would load it from the executable.
TEST(DriveIcon, TheLayoutCarriesTheLaunchersIconAndAutorunInfNamesIt) {
    const GameFolder game;
    const DiscPlan plan = Plan(game, "Sky Racer 2");
    const DiscContents contents = LayOutDisc(plan);
    const DiscFile* icon = FileAt(contents, "SKY_RACER_2.ico");
    ASSERT_NE(icon, nullptr);
    const auto images = ReadIconFile(icon->bytes);
    const auto launcherImages = ReadMainIcon(plan.launcher);
    ASSERT_EQ(images.size(), 2u);
    EXPECT_EQ(images[0].width, 32);
    EXPECT_EQ(images[1].width, 16);
    for (std::size_t i = 0; i < images.size(); ++i) EXPECT_EQ(images[i].data, launcherImages[i].data);
    EXPECT_NE(images[0].data.back(), 0x5a) << "the image of another language was taken";

    const DiscFile* inf = FileAt(contents, "autorun.inf");
    ASSERT_NE(inf, nullptr);
    const auto keys = ParseAutorunInf(inf->bytes);
    EXPECT_EQ(keys.at("icon"), "SKY_RACER_2.ico");
    EXPECT_EQ(keys.at("open"), "autorun.exe");
}

TEST(DriveIcon, TheGamesFileOfThatNameIsRefusedWhateverItsCase) {
    const GameFolder game;
    game.Write("sky_racer_2.ICO", "the game's own");
    try {
        LayOutDisc(Plan(game, "Sky Racer 2"));
        FAIL() << "the game's file would have been replaced";
    } catch (const DiscError& error) {
        EXPECT_NE(std::string(error.what()).find("the disc's own SKY_RACER_2.ico goes there"),
                  std::string::npos)
            << error.what();
    }
    // Another label, another name: the same file is the game's to keep.
    EXPECT_NE(FileAt(LayOutDisc(Plan(game, "Other")), "sky_racer_2.ICO"), nullptr);
}

TEST(DriveIcon, ALauncherWithoutAReadableIconIsRefused) {
    const GameFolder game;
    DiscPlan plan = Plan(game, "Sky Racer 2");
    plan.launcher = MakeSyntheticPe(
        {false,
         {{ResourceKey::Number(kRcdataResourceType), ResourceKey::Text("SPLASH"), 1033, 0, SplashJpeg()}},
         {},
         {},
         0});
    EXPECT_THROW(LayOutDisc(plan), DiscError);

    const auto images = ReadIconFile(IcoFile({{32, BitmapImage(32)}}));
    plan.launcher =
        MakeSyntheticPe({false,
                         {{kGroupType, ResourceKey::Text("MAINICON"), 1033, 0, BuildIconGroup(images, 9)}},
                         {},
                         {},
                         0});
    try {
        LayOutDisc(plan);
        FAIL() << "an icon group naming a missing image was accepted";
    } catch (const DiscError& error) {
        EXPECT_NE(std::string(error.what()).find("damaged icon MAINICON"), std::string::npos) << error.what();
    }
}

#ifdef _WIN32
// Windows' own icon loader, standing in for Explorer, reads the drive's icon made from the launcher's
// real artwork.
TEST(DriveIcon, WindowsLoadsTheIconFileAtEverySizeItHolds) {
    std::ifstream source(AUTORUN_ICON, std::ios::binary);
    const auto images = ReadIconFile(Bytes(std::istreambuf_iterator<char>(source), {}));
    std::vector<Resource> resources;
    for (std::size_t i = 0; i < images.size(); ++i)
        resources.push_back({kIconType, ResourceKey::Number(std::uint16_t(i + 1)), 1033, 0, images[i].data});
    resources.push_back({kGroupType, ResourceKey::Text("MAINICON"), 1033, 0, BuildIconGroup(images, 1)});
    const Bytes file = BuildIconFile(ReadMainIcon(MakeSyntheticPe({false, resources, {}, {}, 0})));

    const fs::path path =
        fs::temp_directory_path() / ("drive_icon_" + std::to_string(std::random_device{}()) + ".ico");
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
    for (const IconImage& image : images) {
        const HANDLE icon =
            LoadImageW(nullptr, path.c_str(), IMAGE_ICON, image.width, image.height, LR_LOADFROMFILE);
        EXPECT_NE(icon, nullptr) << image.width << " x " << image.height;
        if (icon) DestroyIcon(static_cast<HICON>(icon));
    }
    fs::remove(path);
}
#endif

}  // namespace
}  // namespace authoring
