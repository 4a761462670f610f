#include <iconv.h>

#include <cerrno>

#include "text_encoding.h"

namespace authoring {
namespace {

constexpr char kAnsiCodePage[] = "CP1252";
constexpr char16_t kReplacement = 0xfffd;

class Converter {
   public:
    Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
    ~Converter() {
        if (valid()) iconv_close(handle_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool valid() const { return handle_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return handle_; }

   private:
    iconv_t handle_;
};

// The code point of the UTF-8 sequence at `at`, which advances past it; nothing for a bad sequence.
std::optional<char32_t> NextCodePoint(const std::string& text, std::size_t& at) {
    const unsigned char lead = static_cast<unsigned char>(text[at++]);
    int extra = -1;
    if (lead < 0x80) {
        extra = 0;
    } else if (lead >= 0xc2 && lead <= 0xdf) {
        extra = 1;
    } else if (lead >= 0xe0 && lead <= 0xef) {
        extra = 2;
    } else if (lead >= 0xf0 && lead <= 0xf4) {
        extra = 3;
    }
    if (extra < 0) return std::nullopt;
    char32_t value = extra == 0 ? lead : lead & (0x3f >> extra);
    for (; extra > 0; --extra) {
        if (at >= text.size() || (static_cast<unsigned char>(text[at]) & 0xc0) != 0x80) return std::nullopt;
        value = value << 6 | (static_cast<unsigned char>(text[at++]) & 0x3f);
    }
    if (value > 0x10ffff || (value >= 0xd800 && value < 0xe000)) return std::nullopt;
    return value;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(char(c));
    } else if (c < 0x800) {
        out.push_back(char(0xc0 | c >> 6));
        out.push_back(char(0x80 | (c & 0x3f)));
    } else if (c < 0x10000) {
        out.push_back(char(0xe0 | c >> 12));
        out.push_back(char(0x80 | ((c >> 6) & 0x3f)));
        out.push_back(char(0x80 | (c & 0x3f)));
    } else {
        out.push_back(char(0xf0 | c >> 18));
        out.push_back(char(0x80 | ((c >> 12) & 0x3f)));
        out.push_back(char(0x80 | ((c >> 6) & 0x3f)));
        out.push_back(char(0x80 | (c & 0x3f)));
    }
}

}  // namespace

std::string AnsiCodePageName() {
    return "Windows-1252";
}

std::optional<std::string> ToAnsi(const std::string& text) {
    const Converter converter(kAnsiCodePage, "UTF-8");
    if (!converter.valid()) return std::nullopt;
    std::string in = text;
    std::string out(text.size(), '\0');  // never longer: every character takes at least one byte in UTF-8
    char* inPointer = in.empty() ? nullptr : &in[0];
    char* outPointer = out.empty() ? nullptr : &out[0];
    std::size_t inLeft = in.size(), outLeft = out.size();
    if (iconv(converter.get(), &inPointer, &inLeft, &outPointer, &outLeft) == std::size_t(-1))
        return std::nullopt;
    out.resize(out.size() - outLeft);
    return out;
}

std::u16string ToUtf16(const std::string& text) {
    std::u16string out;
    for (std::size_t at = 0; at < text.size();) {
        const std::optional<char32_t> c = NextCodePoint(text, at);
        if (!c) {
            out.push_back(kReplacement);
        } else if (*c >= 0x10000) {
            out.push_back(char16_t(0xd800 + ((*c - 0x10000) >> 10)));
            out.push_back(char16_t(0xdc00 + ((*c - 0x10000) & 0x3ff)));
        } else {
            out.push_back(char16_t(*c));
        }
    }
    return out;
}

std::u16string PathUtf16(const std::filesystem::path& path) {
    return ToUtf16(path.generic_string());
}

std::string PathText(const std::filesystem::path& path) {
    return path.generic_string();
}

std::string FromAnsi(const std::string& ansi) {
    const Converter converter("UTF-8", kAnsiCodePage);
    std::string out;
    for (char c : ansi) {
        char in[1] = {c};
        char buffer[8];
        char* inPointer = in;
        char* outPointer = buffer;
        std::size_t inLeft = 1, outLeft = sizeof buffer;
        if (converter.valid() &&
            iconv(converter.get(), &inPointer, &inLeft, &outPointer, &outLeft) != std::size_t(-1))
            out.append(buffer, sizeof buffer - outLeft);
        else
            out.push_back('?');
    }
    return out;
}

std::string FromUtf16(const std::u16string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xd800 && c < 0xdc00 && i + 1 < text.size() && text[i + 1] >= 0xdc00 && text[i + 1] < 0xe000)
            c = 0x10000 + ((c - 0xd800) << 10) + (text[++i] - 0xdc00);
        else if (c >= 0xd800 && c < 0xe000)
            c = '?';
        AppendUtf8(out, c);
    }
    return out;
}

}  // namespace authoring
