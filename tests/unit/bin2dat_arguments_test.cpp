// bin2dat's command line where the tool test does not reach: which of several mistakes is reported,
// the spellings CLI11 reads differently from getopt, and the help texts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "arguments.h"

namespace bin2dat {
namespace {

using Args = std::vector<std::string>;

struct Mistake {
    Command topic;
    std::string message;
};

Mistake MistakeIn(const Args& args) {
    try {
        ParseArguments(args);
    } catch (const UsageError& error) {
        return {error.topic(), error.what()};
    }
    ADD_FAILURE() << "no mistake found";
    return {};
}

struct MistakeCase {
    Args args;
    Command topic;
    std::string message;
};

void ExpectMistakes(const std::vector<MistakeCase>& cases) {
    for (const MistakeCase& mistake : cases) {
        std::string line;
        for (const std::string& arg : mistake.args) line += " <" + arg + ">";
        const Mistake found = MistakeIn(mistake.args);
        EXPECT_EQ(found.message, mistake.message) << line;
        EXPECT_EQ(found.topic, mistake.topic) << line;
    }
}

TEST(Bin2datArguments, TheFirstMistakeFromTheLeftIsReported) {
    ExpectMistakes({
        // CLI11 would name the missing value, found last, or the unknown option only at the end.
        {{"write", "--bogus", "x.dat", "--exe"}, Command::kWrite, "unknown option '--bogus'"},
        {{"write", "--exe", "a", "--exe"}, Command::kWrite, "--exe is given more than once"},
        {{"write", "--exe", "a", "--fill", "ones", "--bogus"}, Command::kWrite, "unknown option '--bogus'"},
        {{"write", "-1", "--exe"}, Command::kWrite, "unknown option '-1'"},
        {{"write", "---x", "--exe", "a", "--exe", "b"}, Command::kWrite, "unknown option '---x'"},
        {{"write", "--bogus", "--help"}, Command::kWrite, "unknown option '--bogus'"},
        {{"read", "-x", "--exe-only=yes"}, Command::kRead, "unknown option '-x'"},
        {{"read", "--exe-only", "--exe-only=yes"}, Command::kRead, "--exe-only is given more than once"},
        // The operands are counted before the options' values are checked.
        {{"write", "--exe", "", "x.dat", "y.dat"}, Command::kWrite, "unexpected argument 'y.dat'"},
        {{"write", "--fill", "ones", "--exe", ""}, Command::kWrite, "no FILE given"},
        {{"write", "--fill", "ones", "x.dat"}, Command::kWrite, "--exe NAME is required"},
        // The command comes first, whatever CLI11 makes of the rest.
        {{"dump", "write", "--exe"}, Command::kHelp, "unknown command 'dump'"},
        {{"--bogus", "read", "--help"}, Command::kHelp, "unknown command '--bogus'"},
        {{"", "help"}, Command::kHelp, "unknown command ''"},
        {{"--", "write"}, Command::kHelp, "unknown command '--'"},
        {{}, Command::kHelp, "no command given"},
    });
}

TEST(Bin2datArguments, HelpWinsOverWhatFollowsButNotOverWhatCameBefore) {
    for (const Args& args : {Args{"write", "--help", "--bogus", "--exe"},
                             Args{"write", "x", "y", "-h", "--exe"}, Args{"read", "-h", "--exe-only=yes"}}) {
        const Arguments parsed = ParseArguments(args);
        EXPECT_EQ(parsed.command, Command::kHelp) << args[1];
        EXPECT_EQ(parsed.helpTopic, args[0] == "write" ? Command::kWrite : Command::kRead) << args[1];
    }
    EXPECT_EQ(ParseArguments({"help"}).helpTopic, Command::kHelp);
    ExpectMistakes({
        // The overview takes no arguments.
        {{"--help", "write"}, Command::kHelp, "unexpected argument 'write'"},
        {{"help", "--help"}, Command::kHelp, "unexpected argument '--help'"},
        {{"-h", "--"}, Command::kHelp, "unexpected argument '--'"},
        // Only the exact spellings ask for help; CLI11 alone would read these as help too.
        {{"write", "-hx"}, Command::kWrite, "unknown option '-hx'"},
        {{"write", "--help=yes"}, Command::kWrite, "unknown option '--help=yes'"},
        {{"-hx"}, Command::kHelp, "unknown command '-hx'"},
        {{"--help="}, Command::kHelp, "unknown command '--help='"},
    });
}

TEST(Bin2datArguments, ValuesAreTakenAsTyped) {
    // A value may look like an option, a command or an empty string; a value after "=" is one argument.
    Arguments parsed =
        ParseArguments({"write", "--text", "--help", "--exe", "read", "--fill=random", "help"});
    EXPECT_EQ(parsed.text, "--help");
    EXPECT_EQ(parsed.exeName, "read");
    EXPECT_EQ(parsed.fill, Fill::kRandom);
    EXPECT_EQ(parsed.file, "help");
    parsed = ParseArguments({"write", "--exe=a=b", "--text=--", "x.dat"});
    EXPECT_EQ(parsed.exeName, "a=b");
    EXPECT_EQ(parsed.text, "--");

    // CLI11 would take "x.dat" as the value of "--exe="; the value is empty and x.dat the file.
    ExpectMistakes({
        {{"write", "--exe=", "x.dat"}, Command::kWrite, "--exe is 0 bytes long; the format takes 1 to 65532"},
        {{"write", "x.dat", "--exe="}, Command::kWrite, "--exe is 0 bytes long; the format takes 1 to 65532"},
        {{"write", "--exe=", "a.exe", "x.dat"}, Command::kWrite, "unexpected argument 'x.dat'"},
        {{"write", "--exe=", "--exe=a", "x.dat"}, Command::kWrite, "--exe is given more than once"},
        {{"write", "--exe=a", "x.dat", "--fill="}, Command::kWrite, "--fill must be zero or random, not ''"},
        {{"write", "x.dat", "--exe"}, Command::kWrite, "--exe needs a value"},
        {{"read", "--exe-only=", "x.dat"}, Command::kRead, "--exe-only takes no value"},
    });
}

TEST(Bin2datArguments, OperandsAreTakenAsTyped) {
    // CLI11 splits a positional "[a,b]" into a list; a file name is a file name.
    for (const char* name : {"[x]", "[x,y]", "[]", "{}", "a,b"})
        EXPECT_EQ(ParseArguments({"read", name}).file, name);
    // After "--" everything is an operand, "--" and "++" too.
    EXPECT_EQ(ParseArguments({"read", "--", "-h"}).file, "-h");
    EXPECT_EQ(ParseArguments({"read", "--", "++"}).file, "++");
    EXPECT_EQ(ParseArguments({"write", "--exe", "a", "--", "--"}).file, "--");
    EXPECT_EQ(ParseArguments({"read", "-"}).file, "-");
    EXPECT_TRUE(ParseArguments({"read", "--exe-only", "write"}).exeOnly);
    ExpectMistakes({
        {{"read", "--", "x", "--"}, Command::kRead, "unexpected argument '--'"},
        {{"write", "--exe", "a", "--", "x", "--bogus"}, Command::kWrite, "unexpected argument '--bogus'"},
        // CLI11 ends a subcommand at "++" and would lose it: refused instead (write "-- ++" for that name).
        {{"read", "++"}, Command::kRead, "unexpected argument '++'"},
        {{"write", "--exe", "a", "x.dat", "++"}, Command::kWrite, "unexpected argument '++'"},
        {{"write", "++", "--exe", "a"}, Command::kWrite, "unexpected argument '++'"},
    });
    EXPECT_EQ(ParseArguments({"write", "--exe", "++", "x.dat"}).exeName, "++");
}

TEST(Bin2datArguments, HelpTextsDescribeTheOptionsAndExitStatuses) {
    const std::string overview = HelpText(Command::kHelp);
    const std::string write = HelpText(Command::kWrite);
    const std::string read = HelpText(Command::kRead);
    EXPECT_NE(overview.find("Usage: bin2dat"), std::string::npos) << overview;
    for (const char* part : {"write", "read", "--help"})
        EXPECT_NE(overview.find(part), std::string::npos) << part;
    EXPECT_NE(write.find("Usage: bin2dat write [OPTIONS] FILE"), std::string::npos) << write;
    for (const char* part :
         {"--exe NAME", "--text TEXT", "--fill zero|random", "-h,--help", "Exit status: 0"})
        EXPECT_NE(write.find(part), std::string::npos) << part;
    EXPECT_NE(read.find("Usage: bin2dat read [OPTIONS] FILE"), std::string::npos) << read;
    for (const char* part : {"--exe-only", "-h,--help", "Exit status: 0"})
        EXPECT_NE(read.find(part), std::string::npos) << part;
    for (const std::string* text : {&overview, &write, &read}) EXPECT_EQ(text->back(), '\n');
}

}  // namespace
}  // namespace bin2dat
