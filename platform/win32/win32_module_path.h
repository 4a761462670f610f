#pragma once

#include <string>

namespace autorun {

// Full path of the running executable, however long: the buffer grows until the path fits.
std::wstring CurrentModuleFileName();

}  // namespace autorun
