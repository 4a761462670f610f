// One run of a command-line tool, whatever it does: its failures become one line on the error stream
// and the exit status, the same way in every tool.
#pragma once

#include <exception>
#include <functional>
#include <ostream>

namespace autorun_cli {

enum ExitStatus { kSuccess = 0, kFailure = 1, kUsage = 2 };

// Runs `body`, which returns the run's exit status.  A `Usage` it throws is a mistake on the command
// line, which `reportUsage` prints and gives the status for; any other failure is "PROGRAM: what" and
// kFailure.  Output that can't be written is a failure too.
template <class Usage>
int RunTool(const char* program, std::ostream& out, std::ostream& err, const std::function<int()>& body,
            const std::function<int(const Usage&)>& reportUsage) {
    int status = kSuccess;
    try {
        status = body();
    } catch (const Usage& error) {
        return reportUsage(error);
    } catch (const std::exception& error) {
        err << program << ": " << error.what() << '\n';
        return kFailure;
    }
    if (!out.flush()) {
        err << program << ": cannot write to the standard output\n";
        return kFailure;
    }
    return status;
}

}  // namespace autorun_cli
