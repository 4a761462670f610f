#include "win32_console_output.h"

#include <windows.h>

#include <cstring>

#include "win32_ansi_text.h"
#include "win32_path_text.h"

namespace autorun {
namespace {

bool IsConsole(HANDLE handle) {
    DWORD mode = 0;
    return GetConsoleMode(handle, &mode) != 0;
}

void WriteBytes(HANDLE handle, const std::string& bytes) {
    DWORD written = 0;
    WriteFile(handle, bytes.data(), DWORD(bytes.size()), &written, nullptr);
}

std::string WithCrLf(const std::string& text) {
    std::string lines;
    for (char c : text) {
        if (c == '\n') lines.push_back('\r');
        lines.push_back(c);
    }
    return lines;
}

}  // namespace

ConsoleTextBuffer::ConsoleTextBuffer(void* handle) : handle_(handle), console_(IsConsole(handle)) {}

ConsoleTextBuffer::~ConsoleTextBuffer() {
    Flush();
}

ConsoleTextBuffer::int_type ConsoleTextBuffer::overflow(int_type c) {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    pending_.push_back(traits_type::to_char_type(c));
    if (c == '\n') Flush();
    return c;
}

std::streamsize ConsoleTextBuffer::xsputn(const char* text, std::streamsize size) {
    pending_.append(text, std::size_t(size));
    if (std::memchr(text, '\n', std::size_t(size))) Flush();
    return size;
}

int ConsoleTextBuffer::sync() {
    Flush();
    return 0;
}

void ConsoleTextBuffer::Flush() {
    if (pending_.empty() || handle_ == nullptr || handle_ == INVALID_HANDLE_VALUE) return;
    const std::wstring text = Utf16FromPathText(pending_);
    pending_.clear();
    if (console_) {
        DWORD written = 0;
        WriteConsoleW(handle_, text.data(), DWORD(text.size()), &written, nullptr);
    } else {
        WriteBytes(handle_, WithCrLf(NarrowToAnsiCodePageForDisplay(text)));
    }
}

ConsoleOutput::ConsoleOutput(std::ostream& stream, unsigned long which)
    : stream_(stream), buffer_(GetStdHandle(which)), previous_(stream.rdbuf(&buffer_)) {}

ConsoleOutput::~ConsoleOutput() {
    stream_.flush();
    stream_.rdbuf(previous_);
}

}  // namespace autorun
