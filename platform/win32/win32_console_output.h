// The tools' output on Windows.  Their text is UTF-8 inside (paths WTF-8): a console shows it whole,
// through WriteConsoleW; output that goes to a file or a pipe stays in the ANSI code page with "\r\n"
// line ends, as the C runtime always wrote it, what the code page lacks becoming "?".
#pragma once

#include <ostream>
#include <streambuf>
#include <string>

namespace autorun {

class ConsoleTextBuffer : public std::streambuf {
   public:
    explicit ConsoleTextBuffer(void* handle);
    ~ConsoleTextBuffer() override;
    ConsoleTextBuffer(const ConsoleTextBuffer&) = delete;
    ConsoleTextBuffer& operator=(const ConsoleTextBuffer&) = delete;

   protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* text, std::streamsize size) override;
    int sync() override;

   private:
    void Flush();

    void* handle_;
    bool console_;
    std::string pending_;  // whole lines, or what came before a flush
};

// While it lives, `stream` writes to the standard handle `which` (STD_OUTPUT_HANDLE or
// STD_ERROR_HANDLE) through a ConsoleTextBuffer.
class ConsoleOutput {
   public:
    ConsoleOutput(std::ostream& stream, unsigned long which);
    ~ConsoleOutput();
    ConsoleOutput(const ConsoleOutput&) = delete;
    ConsoleOutput& operator=(const ConsoleOutput&) = delete;

   private:
    std::ostream& stream_;
    ConsoleTextBuffer buffer_;
    std::streambuf* previous_;
};

}  // namespace autorun
