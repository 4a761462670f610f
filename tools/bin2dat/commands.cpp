#include "commands.h"

#include <string>

#include "atomic_write.h"
#include "escaping.h"
#include "file_reading.h"
#include "random_number.h"
#include "settings_format.h"

namespace bin2dat {
namespace {

// Trailing bytes are shown only up to this many; a stray large file would flood the terminal.
constexpr std::size_t kTrailingBytesShown = 64;

// Bytes for BuildLaunchSettings: up to three pad each text's last word, the fourth is the byte
// between the texts.
std::string FillBytes(Fill fill) {
    if (fill == Fill::kZero) return std::string(4, '\0');
    std::string bytes(4, '\0');
    for (char& byte : bytes) byte = static_cast<char>(autorun::RandomNumber() & 0xff);
    return bytes;
}

std::string CountBytes(std::size_t count) {
    return std::to_string(count) + (count == 1 ? " byte" : " bytes");
}

std::string Quoted(std::string_view bytes) {
    return '"' + EscapeBytes(bytes) + '"';
}

std::string DescribeTrailingBytes(const std::vector<std::uint8_t>& file, std::size_t formatSize) {
    const std::size_t count = file.size() - formatSize;
    if (count == 0) return "none";
    const std::size_t shown = std::min(count, kTrailingBytesShown);
    std::string description = CountBytes(count) + " after the texts: " +
                              Quoted({reinterpret_cast<const char*>(&file[formatSize]), shown});
    if (shown < count) description += " and " + std::to_string(count - shown) + " more";
    return description;
}

void PrintReport(const std::string& path, const std::vector<std::uint8_t>& file,
                 const autorun::LaunchSettings& settings, std::ostream& out) {
    out << "file:       " << path << '\n'
        << "size:       " << CountBytes(file.size()) << '\n'
        << "first text: " << CountBytes(settings.firstText.size()) << ", " << Quoted(settings.firstText)
        << '\n'
        << "exe name:   " << CountBytes(settings.gameExeName.size()) << ", " << Quoted(settings.gameExeName)
        << '\n'
        << "ignored:    " << DescribeTrailingBytes(file, settings.formatSize) << '\n';
}

}  // namespace

void WriteCommand(const Arguments& arguments) {
    const auto file =
        autorun::BuildLaunchSettings(arguments.text, arguments.exeName, FillBytes(arguments.fill));
    try {
        autorun::WriteFileAtomically(arguments.file, file);
    } catch (const autorun::FileError& error) {
        throw ToolError(arguments.file + ": " + error.what());
    }
}

void ReadCommand(const Arguments& arguments, std::ostream& out) {
    const auto file = autorun::ReadWholeFile(arguments.file);
    if (!file) throw ToolError(arguments.file + ": cannot open the file");
    autorun::LaunchSettings settings;
    try {
        settings = autorun::ParseLaunchSettings(*file);
    } catch (const autorun::SettingsFormatError& error) {
        throw ToolError(arguments.file + ": damaged: " + error.what());
    }
    if (arguments.exeOnly) {
        out << settings.gameExeName << '\n';
    } else {
        PrintReport(arguments.file, *file, settings, out);
    }
}

}  // namespace bin2dat
