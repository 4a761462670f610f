// The command line of bin2dat, parsed into what one run has to do.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace bin2dat {

enum class Command { kHelp, kWrite, kRead };

// A command line that makes no sense.  what() is one line for the user, without the program name;
// topic() is the command whose help explains the mistake.
class UsageError : public std::runtime_error {
   public:
    UsageError(Command topic, const std::string& message) : std::runtime_error(message), topic_(topic) {}
    Command topic() const { return topic_; }

   private:
    Command topic_;
};
enum class Fill { kZero, kRandom };

struct Arguments {
    Command command = Command::kHelp;
    Command helpTopic = Command::kHelp;  // with kHelp: which command's help, kHelp for the overview

    // write; both texts are 1 to 65532 bytes long
    std::string exeName;
    std::string text;
    Fill fill = Fill::kZero;

    // read
    bool exeOnly = false;

    std::string file;  // write and read
};

// `args` excludes the program name.  Throws UsageError.
Arguments ParseArguments(const std::vector<std::string>& args);

// "write", "read", or "" for kHelp: how the command is spelt on the command line.
std::string CommandName(Command command);

// Help texts, each ending with a newline.
const char* HelpText(Command topic);

}  // namespace bin2dat
