// Stands in for the game in the Linux launcher's end-to-end tests: reports how it was started
// (time, arguments, current directory, session, environment) to the file named by
// AUTORUN_PROBE_REPORT, and, with AUTORUN_PROBE_LINGER_MS, reports again after that long to show
// that it outlived the launcher.
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

extern char** environ;

namespace {

long long NowMs() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return now.tv_sec * 1000LL + now.tv_nsec / 1000000;
}

std::string CurrentDirectory() {
    std::string path(4096, '\0');
    return getcwd(&path[0], path.size()) ? path.c_str() : "";
}

// One "key=value" line per fact; values are written as they are, a NUL byte ends each line's
// value so that names with newlines can't forge facts.
void Put(std::ofstream& out, const std::string& key, const std::string& value) {
    out << key << '=' << value << '\0' << '\n';
}

// Written under a temporary name and renamed, so that the tests never read half a report.
void WriteReport(const std::string& path, int argc, char** argv) {
    const std::string partial = path + ".part";
    {
        std::ofstream out(partial, std::ios::binary);
        Put(out, "time_ms", std::to_string(NowMs()));
        Put(out, "pid", std::to_string(getpid()));
        Put(out, "ppid", std::to_string(getppid()));
        Put(out, "sid", std::to_string(getsid(0)));
        Put(out, "cwd", CurrentDirectory());
        Put(out, "argc", std::to_string(argc));
        for (int i = 0; i < argc; ++i) Put(out, "argv" + std::to_string(i), argv[i]);
        for (char** variable = environ; *variable; ++variable) Put(out, "env", *variable);
    }
    std::rename(partial.c_str(), path.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    const char* report = std::getenv("AUTORUN_PROBE_REPORT");
    if (!report) return 2;
    WriteReport(report, argc, argv);
    if (const char* linger = std::getenv("AUTORUN_PROBE_LINGER_MS")) {
        std::this_thread::sleep_for(std::chrono::milliseconds(std::atoll(linger)));
        WriteReport(std::string(report) + ".later", argc, argv);
    }
    return 0;
}
