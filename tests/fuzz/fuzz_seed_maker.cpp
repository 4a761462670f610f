// Writes the seeds of pe_resources_fuzzer and disc_folder_fuzzer, which need small launchers: PE32 and
// PE32+ images made in memory (tests/unit/synthetic_pe.h) with the launcher's resources, a small
// splash and icon, and disc folders around them.  make_seeds.sh runs it.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "autorun_inf.h"
#include "disc_contents.h"
#include "disc_folder_input.h"
#include "icon_file.h"
#include "synthetic_pe.h"
#include "version_info.h"

namespace {

namespace fs = std::filesystem;
using authoring::Bytes;
using authoring::Resource;
using authoring::ResourceKey;

constexpr std::uint16_t kEnglish = 0x409;

struct Inputs {
    Bytes splash, icon, windowsSettings, linuxSettings;
};

authoring::VersionBlock Strings(const std::u16string& key, const std::u16string& text) {
    authoring::VersionBlock block{key, 1, {}, {}};
    for (char16_t c : text + u'\0') authoring::AppendU16(block.value, c);
    return block;
}

Bytes VersionInfo() {
    Bytes fixed;
    for (std::uint32_t field :
         {0xfeef04bdu, 0x10000u, 0x10000u, 0u, 0x10000u, 0u, 0x3fu, 0u, 4u, 1u, 0u, 0u, 0u})
        authoring::AppendU32(fixed, field);
    const authoring::VersionBlock table{
        u"040904b0", 1, {}, {Strings(u"CompanyName", u"Autorun"), Strings(u"ProductName", u"Autorun")}};
    const authoring::VersionBlock strings{u"StringFileInfo", 1, {}, {table}};
    const authoring::VersionBlock vars{
        u"VarFileInfo", 1, {}, {{u"Translation", 0, {0x09, 0x04, 0xb0, 0x04}, {}}}};
    return authoring::BuildVersionInfo({u"VS_VERSION_INFO", 0, fixed, {strings, vars}});
}

std::vector<Resource> LauncherResources(const Inputs& inputs) {
    std::vector<Resource> resources;
    const auto images = authoring::ReadIconFile(inputs.icon);
    for (std::size_t i = 0; i < images.size(); ++i)
        resources.push_back({ResourceKey::Number(authoring::kIconResourceType),
                             ResourceKey::Number(std::uint16_t(i + 1)), kEnglish, 0, images[i].data});
    resources.push_back({ResourceKey::Number(authoring::kGroupIconResourceType),
                         ResourceKey::Text("MAINICON"), kEnglish, 0, authoring::BuildIconGroup(images, 1)});
    resources.push_back({ResourceKey::Number(authoring::kRcdataResourceType), ResourceKey::Text("SPLASH"),
                         kEnglish, 0, inputs.splash});
    resources.push_back({ResourceKey::Number(authoring::kVersionResourceType), ResourceKey::Number(1),
                         kEnglish, 0, VersionInfo()});
    const std::string manifest =
        "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\"/>";
    resources.push_back({ResourceKey::Number(24), ResourceKey::Number(1), kEnglish, 0,
                         Bytes(manifest.begin(), manifest.end())});
    return resources;
}

Bytes Launcher(const Inputs& inputs, bool pe32Plus, bool relocations) {
    authoring::SyntheticPeOptions options;
    options.pe32Plus = pe32Plus;
    options.resources = LauncherResources(inputs);
    if (relocations)
        options.relocations = authoring::RelocationBlock(authoring::kSyntheticCodeRva, {0x10, 0x24, 0x2f0});
    return authoring::MakeSyntheticPe(options);
}

// The ELF header of an x86_64 position-independent executable, or of one for another processor.
Bytes ElfHeader(std::uint16_t machine) {
    Bytes header{0x7f, 'E', 'L', 'F', 2, 1, 1};
    header.resize(16, 0);
    authoring::AppendU16(header, 3);
    authoring::AppendU16(header, machine);
    authoring::AppendU32(header, 1);
    header.resize(64, 0);
    return header;
}

Bytes Text(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

void Write(const fs::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!out.flush()) throw std::runtime_error(path.string() + ": cannot write the file");
}

Bytes DiscInput(std::uint8_t flags, const std::vector<Bytes>& parts) {
    Bytes input{flags};
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) input.insert(input.end(), fuzzing::kPartSeparator.begin(), fuzzing::kPartSeparator.end());
        input.insert(input.end(), parts[i].begin(), parts[i].end());
    }
    return input;
}

void WritePeSeeds(const fs::path& folder, const Inputs& inputs) {
    fs::create_directories(folder);
    Write(folder / "pe32.exe", Launcher(inputs, false, false));
    Write(folder / "pe32plus.exe", Launcher(inputs, true, false));
    Write(folder / "pe32_relocations.exe", Launcher(inputs, false, true));
}

void WriteDiscSeeds(const fs::path& folder, const Inputs& inputs) {
    using namespace fuzzing;
    fs::create_directories(folder);
    const Bytes inf = authoring::BuildAutorunInf({"autorun.exe", "autorun.exe,0", "Fuzz Disc", "Play"});
    // UTF-16 with a byte order mark, as the tool writes labels the ANSI code page lacks.
    const Bytes utf16Inf = authoring::BuildAutorunInf({"autorun.exe", "autorun.exe", "\u65e5\u672c", ""});
    const Bytes quotedInf =
        Text("; disc\r\n[Other]\r\nopen=x.exe\r\n[AutoRun]\r\n OPEN = \"AUTORUN.EXE\" /s\r\n");
    const Bytes pe32 = Launcher(inputs, false, false);
    const Bytes pe32Plus = Launcher(inputs, true, true);
    const Bytes& bin2 = inputs.windowsSettings;
    const Bytes& lnx = inputs.linuxSettings;
    Write(folder / "windows_only", DiscInput(0, {inf, bin2, pe32}));
    Write(folder / "both_sides", DiscInput(kWithScript | kLauncherExecutable | kGameExecutable,
                                           {inf, bin2, pe32Plus, ElfHeader(62), lnx}));
    Write(folder / "linux_not_executable",
          DiscInput(kWithScript, {utf16Inf, bin2, pe32, ElfHeader(183), lnx}));
    Write(folder / "quoted_open_upper_case",
          DiscInput(kUpperCaseInf | kLauncherExecutable, {quotedInf, bin2, pe32, ElfHeader(62), lnx}));
    Write(folder / "no_launcher", DiscInput(kGameExecutable, {inf, lnx}));
}

Bytes ReadAll(const char* path) {
    std::ifstream in(path, std::ios::binary);
    Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof()) throw std::runtime_error(std::string(path) + ": cannot read the file");
    if (bytes.empty()) throw std::runtime_error(std::string(path) + ": missing or empty");
    return bytes;
}

}  // namespace

int main(int argc, char** argv) {
    const char* usage =
        "usage: fuzz_seed_maker SEEDS SPLASH.jpg ICON.ico BIN2.DAT BIN2LNX.DAT\n"
        "  writes SEEDS/pe_resources_fuzzer and SEEDS/disc_folder_fuzzer\n";
    if (argc == 2 && std::string(argv[1]) == "--help") {
        std::cout << usage;
        return 0;
    }
    if (argc != 6) {
        std::cerr << usage;
        return 2;
    }
    try {
        const Inputs inputs{ReadAll(argv[2]), ReadAll(argv[3]), ReadAll(argv[4]), ReadAll(argv[5])};
        WritePeSeeds(fs::path(argv[1]) / "pe_resources_fuzzer", inputs);
        WriteDiscSeeds(fs::path(argv[1]) / "disc_folder_fuzzer", inputs);
    } catch (const std::exception& error) {
        std::cerr << "fuzz_seed_maker: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
