// A file of its own, so that the launcher, which takes no arguments, doesn't carry it.
#include "win32_path_text.h"

namespace autorun {

std::vector<std::string> PathTextArguments(int argc, wchar_t** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.push_back(PathTextFromUtf16(argv[i]));
    return args;
}

}  // namespace autorun
