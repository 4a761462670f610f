// How bin2dat's commands read their arguments with CLI11, one rule for every command: getopt's rules,
// the first mistake from the left is the one reported, and "-h" or "--help" shows help whatever
// follows it.  CLI11 alone differs on three points, each settled where CLI11 hands control back:
//  - it keeps unknown options aside and complains about them only at the end; here everything CLI11
//    keeps aside (app.remaining(), in order) is looked at before any later mistake is reported;
//  - it reads "--exe=" like "--exe", taking the next argument as the value; here the value is empty
//    and that argument is read again;
//  - it reads "-hx" as "-h -x" and "--exe-only=yes" as a flag set to yes; here an option is only
//    ever spelt out in full, a flag without a value.
// Operands are not CLI11's business: its positional FILE takes none, so that each lands in
// app.remaining() in order, together with the "--" that ends the options.
#pragma once

#include <CLI/CLI.hpp>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "arguments.h"

namespace bin2dat {

// Help was asked for.  Thrown from a callback, so that CLI11 reads nothing after it.
struct HelpRequest {
    Command topic;
};

// The arguments and how far CLI11 has read them.
class CommandLine {
   public:
    explicit CommandLine(const std::vector<std::string>& args) : args_(args) {}

    const std::vector<std::string>& Args() const { return args_; }
    std::vector<std::string>& Pending() { return pending_; }
    std::size_t Read() const { return args_.size() - pending_.size(); }
    // The argument CLI11 read last.
    const std::string& LastRead() const { return args_[Read() - 1]; }
    // Gives the argument read last back to CLI11, to be read again as the next.
    void Unread() { pending_.push_back(LastRead()); }
    // An option's callback has taken everything read so far.
    void Taken() { taken_ = Read(); }
    std::size_t TakenUpTo() const { return taken_; }

   private:
    const std::vector<std::string>& args_;
    std::vector<std::string> pending_;
    std::size_t taken_ = 0;
};

// One command of bin2dat as a CLI11 subcommand with bin2dat's rules.  Each option's callback runs as
// soon as CLI11 has read it, so that its mistakes are found in order; the command's own callback
// runs once CLI11 has read everything and makes the Arguments.
class Subcommand {
   public:
    Subcommand(Command command, CLI::App& top, const std::string& description, CommandLine& line);
    virtual ~Subcommand() = default;
    Subcommand(const Subcommand&) = delete;
    Subcommand& operator=(const Subcommand&) = delete;

    CLI::App& App() const { return app_; }
    Command Name() const { return command_; }

    // Throws UsageError for the first unknown option CLI11 set aside: it came before whatever
    // stopped CLI11.
    void CheckSetAside() const { Operands(true); }
    // What the command line asks for, once CLI11 has read all of it or stopped at a mistake.
    // Throws UsageError.
    Arguments Conclude() const;
    // CLI11 stops a subcommand at "++" and hands the rest to the top level; bin2dat has no use for
    // that, and refuses it rather than lose the argument.
    void CheckNotCutShort() const;
    // CLI11 found no value after the last argument, an option of this command.
    void ValueMissing();

   protected:
    void AddValue(const std::string& name, std::string& value, const std::string& description,
                  const std::string& valueName);
    void AddFlag(const std::string& name, bool& flag, const std::string& description);
    bool Given(const std::string& name) const;
    // The command's own checks, in the order their mistakes are reported, once its FILE is known.
    virtual void Finish(Arguments& arguments) const = 0;

   private:
    void Seen(const std::string& name);
    // The one FILE operand; throws UsageError for none or more.
    std::string TheFile() const;
    // What CLI11 set aside, in order: operands, and options it does not know until the "--".
    std::vector<std::string> Operands(bool checkOptions) const;

    Command command_;
    CLI::App& app_;
    CommandLine& line_;
    std::vector<std::string> seen_;
    std::vector<std::string*> values_;
    std::vector<std::string> valueNames_;
};

std::unique_ptr<Subcommand> AddWriteCommand(CLI::App& top, CommandLine& line);
std::unique_ptr<Subcommand> AddReadCommand(CLI::App& top, CommandLine& line);

// The "-h, --help" option of `app`, which throws HelpRequest{topic}.  `unknown` is the message for
// something that starts like it, "-hx" or "--help=x", which CLI11 would also read as help.
void AddHelpOption(CLI::App& app, CommandLine& line, Command topic,
                   std::function<UsageError(const std::string&)> unknown);

// "--name" where CLI11 takes "--name=value" or "-n": how options are spelt.
bool LooksLikeOption(const std::string& arg);

}  // namespace bin2dat
