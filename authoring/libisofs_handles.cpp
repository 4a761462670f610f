#include "libisofs_handles.h"

#include "disc_contents.h"

namespace authoring {

void EnsureLibisofs() {
    static const int started = [] {
        const int result = iso_init();
        if (result >= 0) iso_set_local_charset(const_cast<char*>("UTF-8"), 0);
        // Messages go to the tool's own error lines; libisofs would otherwise print its own.  Failures
        // are queued, since only libisofs's own text names the file that failed.
        iso_set_msgs_severities(const_cast<char*>("FAILURE"), const_cast<char*>("NEVER"),
                                const_cast<char*>(""));
        return result;
    }();
    if (started < 0) throw DiscError("cannot start libisofs: " + IsoMessage(started));
}

std::optional<std::string> TakeIsoFailureText() {
    std::optional<std::string> last;
    char text[ISO_MSGS_MESSAGE_LEN + 1] = {};
    char severity[80] = {};
    int code = 0;
    int image = 0;
    while (iso_obtain_msgs(const_cast<char*>("FAILURE"), &code, &image, text, severity) == 1) last = text;
    return last;
}

std::string IsoFailure(int code) {
    const auto text = TakeIsoFailureText();
    return text && !text->empty() ? *text : IsoMessage(code);
}

std::string IsoMessage(int code) {
    const char* message = iso_error_to_msg(code);
    return message ? message : "error " + std::to_string(code);
}

}  // namespace authoring
