// The C++ runtime reports a broken container precondition (a string past its maximum length, a
// position out of range) through these functions, and libstdc++ keeps them all in one object that
// builds std::logic_error and its kin, which bring the copy-on-write string and, through it, the
// whole std::string: about 85 KB that the launcher would read from disc before its splash, for
// failures it never expects.
// These versions throw what the launcher already reports, with the runtime's own text.  They must
// be linked as an object file, not from a library, to take the place of the runtime's own.  Every
// hook the launcher reaches must be here: a missing one brings the runtime's object back, and the
// linker then refuses the two definitions, so this can't fall short unnoticed.
#include <new>

#include "message_error.h"

#if defined(__GLIBCXX__)
namespace std {

void __throw_bad_alloc() {
    throw bad_alloc();
}

void __throw_bad_array_new_length() {
    throw bad_array_new_length();
}

void __throw_length_error(const char* what) {
    throw autorun::MessageError(what);
}

void __throw_logic_error(const char* what) {
    throw autorun::MessageError(what);
}

// The format's arguments are left out: naming the check is enough for a failure that means a bug.
void __throw_out_of_range_fmt(const char* format, ...) {
    throw autorun::MessageError(format);
}

}  // namespace std
#endif
