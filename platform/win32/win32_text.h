#pragma once

#include <string>

namespace autorun {

// Widens text held in the system's ANSI code page.
std::wstring WidenFromAnsiCodePage(const std::string& text);

}  // namespace autorun
