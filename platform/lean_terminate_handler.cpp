// libstdc++'s default terminate handler prints the demangled type of the escaping exception, which
// links a C++ demangler and a printf engine (about 100 KB) into the executable; and a GUI program
// has no console to print to.  Every exception is caught at the window procedure, so this only
// ends a program that is already broken, without the report.  It must be linked as an object file,
// not from a library, to take the place of the runtime's own.
#include <cstdlib>

#if defined(__GLIBCXX__)
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
#endif
