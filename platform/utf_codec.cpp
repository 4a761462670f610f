#include "utf_codec.h"

namespace autorun {
namespace {

constexpr char16_t kReplacementCharacter = 0xFFFD;
constexpr char32_t kLastCodePoint = 0x10FFFF;

bool IsHighSurrogate(char32_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLowSurrogate(char32_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

bool IsSurrogate(char32_t value) {
    return value >= 0xD800 && value <= 0xDFFF;
}

void AppendUtf8(std::string& text, char32_t codePoint) {
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

void AppendUtf16(std::u16string& text, char32_t codePoint) {
    if (codePoint < 0x10000) {
        text += static_cast<char16_t>(codePoint);
    } else {
        codePoint -= 0x10000;
        text += static_cast<char16_t>(0xD800 | (codePoint >> 10));
        text += static_cast<char16_t>(0xDC00 | (codePoint & 0x3FF));
    }
}

// Bytes that follow `lead` in a sequence, or -1 for a byte that starts none.
int TrailBytes(unsigned char lead) {
    if (lead < 0x80) return 0;
    if (lead >= 0xC2 && lead <= 0xDF) return 1;
    if (lead >= 0xE0 && lead <= 0xEF) return 2;
    if (lead >= 0xF0 && lead <= 0xF4) return 3;
    return -1;
}

struct Decoded {
    char32_t value;
    std::size_t length;  // bytes read; for a bad sequence, the lead and the good trail bytes after it
    bool valid;
};

// The sequence at `at`, which is inside `text`.
Decoded DecodeOne(std::string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    const int trail = TrailBytes(lead);
    if (trail < 0) return {lead, 1, false};
    char32_t value = trail == 0 ? lead : lead & (0x3Fu >> trail);
    std::size_t length = 1;
    for (int k = 0; k < trail; ++k, ++length) {
        if (at + length >= text.size()) return {lead, length, false};
        const auto next = static_cast<unsigned char>(text[at + length]);
        if ((next & 0xC0) != 0x80) return {lead, length, false};
        value = (value << 6) | (next & 0x3Fu);
    }
    return {value, length, value <= kLastCodePoint};
}

}  // namespace

std::string Utf8FromUtf16(std::u16string_view text, InvalidText invalid) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char32_t unit = text[i];
        const char32_t next = i + 1 < text.size() ? text[i + 1] : 0;
        if (IsHighSurrogate(unit) && IsLowSurrogate(next)) {
            AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00));
            ++i;
        } else if (IsSurrogate(unit) && invalid == InvalidText::kReplace) {
            out += '?';
        } else {
            AppendUtf8(out, unit);
        }
    }
    return out;
}

std::u16string Utf16FromUtf8(std::string_view text, InvalidText invalid) {
    std::u16string out;
    for (std::size_t at = 0; at < text.size();) {
        const Decoded decoded = DecodeOne(text, at);
        if (invalid == InvalidText::kKeep) {
            // An encoded surrogate is how an unpaired one travels, so it is kept too; a bad byte
            // stands for itself.
            if (decoded.valid) {
                AppendUtf16(out, decoded.value);
                at += decoded.length;
            } else {
                AppendUtf16(out, static_cast<unsigned char>(text[at]));
                ++at;
            }
        } else {
            const bool good = decoded.valid && !IsSurrogate(decoded.value);
            if (good)
                AppendUtf16(out, decoded.value);
            else
                out += kReplacementCharacter;
            at += decoded.length;
        }
    }
    return out;
}

}  // namespace autorun
