// The POSIX calls libisofs's local-file source makes, on a system without symbolic links that it could
// store, and its question for the local character set.
#include "posix_compat.h"

#include <langinfo.h>

#include <cerrno>

extern "C" int lstat(const char* path, struct stat* info) {
    return stat(path, info);
}

extern "C" ptrdiff_t readlink(const char*, char*, size_t) {
    errno = EINVAL;  // not a link
    return -1;
}

// The tool hands libisofs its names as UTF-8 and says so; this only answers libisofs's first question.
extern "C" char* autorun_nl_langinfo(nl_item item) {
    static char utf8[] = "UTF-8";
    static char none[] = "";
    return item == CODESET ? utf8 : none;
}
