#include "libisofs_handles.h"

#include "disc_contents.h"

namespace authoring {

void EnsureLibisofs() {
    static const int started = [] {
        const int result = iso_init();
        if (result >= 0) iso_set_local_charset(const_cast<char*>("UTF-8"), 0);
        // Messages go to the tool's own error lines; libisofs would otherwise print its own.
        iso_set_msgs_severities(const_cast<char*>("NEVER"), const_cast<char*>("NEVER"),
                                const_cast<char*>(""));
        return result;
    }();
    if (started < 0) throw DiscError("cannot start libisofs: " + IsoMessage(started));
}

std::string IsoMessage(int code) {
    const char* message = iso_error_to_msg(code);
    return message ? message : "error " + std::to_string(code);
}

}  // namespace authoring
