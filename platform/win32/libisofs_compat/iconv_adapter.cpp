// iconv for libisofs in the MinGW build.  The conversions go through code points with POSIX iconv's
// error contract, which libisofs relies on: at a character the target lacks it writes "_" and steps
// over one input unit, then converts on.  The Windows code-page API can't serve here: it converts
// whole strings and tells neither where a conversion stopped nor why.
#include <iconv.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <new>
#include <strings.h>

namespace {

enum class Encoding { kUtf8, kAscii, kUcs2Be, kUtf16Be, kWcharT };

bool ParseEncoding(const char* name, Encoding& encoding) {
    static const struct {
        const char* name;
        Encoding encoding;
    } kNames[] = {{"UTF-8", Encoding::kUtf8},           {"UTF8", Encoding::kUtf8},
                  {"ASCII", Encoding::kAscii},          {"US-ASCII", Encoding::kAscii},
                  {"ANSI_X3.4-1968", Encoding::kAscii}, {"UCS-2BE", Encoding::kUcs2Be},
                  {"UTF-16BE", Encoding::kUtf16Be},     {"WCHAR_T", Encoding::kWcharT}};
    for (const auto& known : kNames)
        if (strcasecmp(name, known.name) == 0) {
            encoding = known.encoding;
            return true;
        }
    return false;
}

enum class Status { kOk, kInvalid, kIncomplete };

struct Decoded {
    Status status;
    char32_t value;
    std::size_t length;
};

bool IsSurrogate(char32_t value) {
    return value >= 0xD800 && value <= 0xDFFF;
}

Decoded DecodeUtf8(const unsigned char* in, std::size_t size) {
    const unsigned char lead = in[0];
    if (lead < 0x80) return {Status::kOk, lead, 1};
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    if (length == 0 || lead > 0xF4) return {Status::kInvalid, 0, 0};
    char32_t value = lead & (0x7Fu >> length);
    for (std::size_t at = 1; at < length; ++at) {
        if (at == size) return {Status::kIncomplete, 0, 0};
        if ((in[at] & 0xC0) != 0x80) return {Status::kInvalid, 0, 0};
        value = (value << 6) | (in[at] & 0x3Fu);
    }
    // Overlong forms, surrogates and values past U+10FFFF are no characters.
    static const char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (value < kSmallest[length] || value > 0x10FFFF || IsSurrogate(value)) return {Status::kInvalid, 0, 0};
    return {Status::kOk, value, length};
}

char32_t Unit16(const unsigned char* in, bool bigEndian) {
    return bigEndian ? char32_t(in[0] << 8 | in[1]) : char32_t(in[1] << 8 | in[0]);
}

Decoded DecodeUtf16(const unsigned char* in, std::size_t size, bool bigEndian, bool pairs) {
    if (size < 2) return {Status::kIncomplete, 0, 0};
    const char32_t first = Unit16(in, bigEndian);
    if (!IsSurrogate(first)) return {Status::kOk, first, 2};
    if (!pairs || first >= 0xDC00) return {Status::kInvalid, 0, 0};
    if (size < 4) return {Status::kIncomplete, 0, 0};
    const char32_t second = Unit16(in + 2, bigEndian);
    if (second < 0xDC00 || second > 0xDFFF) return {Status::kInvalid, 0, 0};
    return {Status::kOk, 0x10000 + ((first - 0xD800) << 10) + (second - 0xDC00), 4};
}

Decoded Decode(Encoding encoding, const unsigned char* in, std::size_t size) {
    switch (encoding) {
        case Encoding::kUtf8:
            return DecodeUtf8(in, size);
        case Encoding::kAscii:
            return in[0] < 0x80 ? Decoded{Status::kOk, in[0], 1} : Decoded{Status::kInvalid, 0, 0};
        case Encoding::kUcs2Be:
            return DecodeUtf16(in, size, true, false);
        case Encoding::kUtf16Be:
            return DecodeUtf16(in, size, true, true);
        case Encoding::kWcharT:
            return DecodeUtf16(in, size, false, true);
    }
    return {Status::kInvalid, 0, 0};
}

// Bytes that encode `value`, at most 4; 0 when the encoding lacks it.
std::size_t Encode(Encoding encoding, char32_t value, unsigned char* out) {
    const auto put16 = [&](std::size_t at, char32_t unit, bool bigEndian) {
        out[at + (bigEndian ? 0 : 1)] = static_cast<unsigned char>(unit >> 8);
        out[at + (bigEndian ? 1 : 0)] = static_cast<unsigned char>(unit & 0xFF);
    };
    const auto utf16 = [&](bool bigEndian) -> std::size_t {
        if (value < 0x10000) return put16(0, value, bigEndian), 2;
        put16(0, 0xD800 + ((value - 0x10000) >> 10), bigEndian);
        put16(2, 0xDC00 + ((value - 0x10000) & 0x3FF), bigEndian);
        return 4;
    };
    switch (encoding) {
        case Encoding::kUtf8: {
            if (value < 0x80) return out[0] = static_cast<unsigned char>(value), 1;
            const std::size_t length = value < 0x800 ? 2 : value < 0x10000 ? 3 : 4;
            for (std::size_t at = length - 1; at > 0; --at, value >>= 6)
                out[at] = static_cast<unsigned char>(0x80 | (value & 0x3F));
            out[0] = static_cast<unsigned char>((0xF00u >> length) | value);
            return length;
        }
        case Encoding::kAscii:
            if (value >= 0x80) return 0;
            out[0] = static_cast<unsigned char>(value);
            return 1;
        case Encoding::kUcs2Be:
            if (value >= 0x10000) return 0;
            put16(0, value, true);
            return 2;
        case Encoding::kUtf16Be:
            return utf16(true);
        case Encoding::kWcharT:
            return utf16(false);
    }
    return 0;
}

}  // namespace

struct autorun_iconv_state {
    Encoding from;
    Encoding to;
    // libisofs steps over one wchar_t after a character the target lacks.  On Linux that is the whole
    // character; here a character past U+FFFF is two, so the second half is stepped over silently,
    // and a name becomes the same ISO 9660 or Joliet name as on Linux.
    bool skipLowSurrogate = false;
};

extern "C" iconv_t autorun_iconv_open(const char* tocode, const char* fromcode) {
    Encoding to, from;
    if (!tocode || !fromcode || !ParseEncoding(tocode, to) || !ParseEncoding(fromcode, from)) {
        errno = EINVAL;
        return reinterpret_cast<iconv_t>(-1);
    }
    iconv_t conversion = new (std::nothrow) autorun_iconv_state{from, to};
    if (!conversion) {
        errno = ENOMEM;
        return reinterpret_cast<iconv_t>(-1);
    }
    return conversion;
}

extern "C" int autorun_iconv_close(iconv_t conversion) {
    delete conversion;
    return 0;
}

extern "C" std::size_t autorun_iconv(iconv_t conversion, const char** in, std::size_t* inLeft, char** out,
                                     std::size_t* outLeft) {
    if (!in || !*in) {  // back to the initial state
        conversion->skipLowSurrogate = false;
        return 0;
    }
    const bool skip = conversion->skipLowSurrogate;
    conversion->skipLowSurrogate = false;
    auto* from = reinterpret_cast<const unsigned char*>(*in);
    if (skip && *inLeft >= 2 && conversion->from == Encoding::kWcharT) {
        const char32_t unit = Unit16(from, false);
        if (unit >= 0xDC00 && unit <= 0xDFFF) *in += 2, *inLeft -= 2;
    }
    while (*inLeft > 0) {
        from = reinterpret_cast<const unsigned char*>(*in);
        const Decoded decoded = Decode(conversion->from, from, *inLeft);
        if (decoded.status != Status::kOk) {
            errno = decoded.status == Status::kIncomplete ? EINVAL : EILSEQ;
            return static_cast<std::size_t>(-1);
        }
        unsigned char bytes[4];
        const std::size_t length = Encode(conversion->to, decoded.value, bytes);
        if (length == 0) {
            conversion->skipLowSurrogate = conversion->from == Encoding::kWcharT && decoded.length == 4;
            errno = EILSEQ;
            return static_cast<std::size_t>(-1);
        }
        if (length > *outLeft) {
            errno = E2BIG;
            return static_cast<std::size_t>(-1);
        }
        std::memcpy(*out, bytes, length);
        *out += length, *outLeft -= length;
        *in += decoded.length, *inLeft -= decoded.length;
    }
    return 0;
}
