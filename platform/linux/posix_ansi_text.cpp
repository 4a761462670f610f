#include "posix_ansi_text.h"

#include <iconv.h>

namespace autorun {
namespace {

constexpr char kAnsiCodePage[] = "CP1252";

class Converter {
   public:
    Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
    ~Converter() {
        if (valid()) iconv_close(handle_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool valid() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

    // Converts all of `in` into `out`, which must be large enough; false when a character fails.
    bool Convert(std::string_view in, std::string& out) const {
        std::string input(in);
        char* inPointer = input.data();
        char* outPointer = out.data();
        std::size_t inLeft = input.size(), outLeft = out.size();
        if (iconv(handle_, &inPointer, &inLeft, &outPointer, &outLeft) == std::size_t(-1)) return false;
        out.resize(out.size() - outLeft);
        return true;
    }

   private:
    iconv_t handle_;
};

}  // namespace

std::optional<std::string> AnsiFromUtf8(std::string_view text) {
    const Converter converter(kAnsiCodePage, "UTF-8");
    std::string out(text.size(), '\0');  // never longer: every character takes at least one byte in UTF-8
    if (!converter.valid() || !converter.Convert(text, out)) return std::nullopt;
    return out;
}

std::string Utf8FromAnsi(std::string_view ansi) {
    const Converter converter("UTF-8", kAnsiCodePage);
    std::string out;
    for (char c : ansi) {
        std::string character(4, '\0');
        if (converter.valid() && converter.Convert(std::string_view(&c, 1), character))
            out += character;
        else
            out += '?';
    }
    return out;
}

}  // namespace autorun
