#include "win32_path_text.h"

namespace autorun {
namespace {

bool IsHighSurrogate(unsigned unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLowSurrogate(unsigned unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

void AppendCodePoint(std::string& text, unsigned codePoint) {
    if (codePoint < 0x80) {
        text += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        text += static_cast<char>(0xC0 | (codePoint >> 6));
        text += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        text += static_cast<char>(0xE0 | (codePoint >> 12));
        text += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        text += static_cast<char>(0xF0 | (codePoint >> 18));
        text += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        text += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

void AppendUtf16(std::wstring& text, unsigned codePoint) {
    if (codePoint < 0x10000) {
        text += static_cast<wchar_t>(codePoint);
    } else {
        codePoint -= 0x10000;
        text += static_cast<wchar_t>(0xD800 | (codePoint >> 10));
        text += static_cast<wchar_t>(0xDC00 | (codePoint & 0x3FF));
    }
}

// Length of the sequence that `lead` starts; a stray continuation or invalid byte counts alone.
std::size_t SequenceLength(unsigned char lead) {
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    if (lead >= 0xE0) return lead <= 0xEF ? 3 : 1;
    if (lead >= 0xC2) return 2;
    return 1;
}

}  // namespace

std::string PathTextFromUtf16(const std::wstring& path) {
    std::string text;
    for (std::size_t i = 0; i < path.size(); ++i) {
        const unsigned unit = static_cast<unsigned>(path[i]) & 0xFFFF;
        const unsigned next = i + 1 < path.size() ? static_cast<unsigned>(path[i + 1]) & 0xFFFF : 0;
        if (IsHighSurrogate(unit) && IsLowSurrogate(next)) {
            AppendCodePoint(text, 0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00));
            ++i;
        } else {
            AppendCodePoint(text, unit);
        }
    }
    return text;
}

std::wstring Utf16FromPathText(const std::string& path) {
    std::wstring text;
    for (std::size_t i = 0; i < path.size();) {
        const auto lead = static_cast<unsigned char>(path[i]);
        std::size_t length = SequenceLength(lead);
        if (i + length > path.size()) length = 1;
        unsigned codePoint = length == 1 ? lead : lead & (0xFF >> (length + 1));
        for (std::size_t k = 1; k < length; ++k) {
            const auto trail = static_cast<unsigned char>(path[i + k]);
            if ((trail & 0xC0) != 0x80) {
                length = 1;
                codePoint = lead;
                break;
            }
            codePoint = (codePoint << 6) | (trail & 0x3F);
        }
        AppendUtf16(text, codePoint);
        i += length;
    }
    return text;
}

}  // namespace autorun
