#include "autorun_inf.h"

#include <cctype>
#include <sstream>

#include "text_encoding.h"

namespace authoring {
namespace {

std::string Trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

std::string Lower(std::string text) {
    for (char& c : text) c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The file's text in the system's encoding.
std::string DecodeText(const Bytes& file) {
    if (file.size() >= 2 && file[0] == 0xff && file[1] == 0xfe) {
        std::u16string text;
        for (std::size_t i = 2; i + 1 < file.size(); i += 2)
            text.push_back(char16_t(autorun::LoadLittleU16(&file[i])));
        return FromUtf16(text);
    }
    return FromAnsi(std::string(file.begin(), file.end()));
}

}  // namespace

Bytes BuildAutorunInf(const AutorunInf& inf) {
    std::string text = "[autorun]\r\nopen=" + inf.open + "\r\nicon=" + inf.icon + "\r\n";
    if (!inf.label.empty()) text += "label=" + inf.label + "\r\n";
    if (!inf.action.empty()) text += "action=" + inf.action + "\r\n";
    if (const auto ansi = ToAnsi(text)) return Bytes(ansi->begin(), ansi->end());
    Bytes utf16{0xff, 0xfe};
    for (char16_t c : ToUtf16(text)) AppendU16(utf16, c);
    return utf16;
}

std::map<std::string, std::string> ParseAutorunInf(const Bytes& file) {
    std::map<std::string, std::string> keys;
    std::istringstream lines(DecodeText(file));
    bool inSection = false;
    for (std::string line; std::getline(lines, line);) {
        line = Trim(line);
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[') {
            inSection = Lower(line) == "[autorun]";
            continue;
        }
        const auto equals = line.find('=');
        if (inSection && equals != std::string::npos) {
            const std::string key = Lower(Trim(line.substr(0, equals)));
            if (!keys.count(key)) keys[key] = Trim(line.substr(equals + 1));
        }
    }
    return keys;
}

}  // namespace authoring
