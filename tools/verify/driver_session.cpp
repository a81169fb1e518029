#include "tools/verify/driver_session.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include "tools/verify/child_process.h"
#include "tools/verify/stop_signal.h"
#include "tools/verify/wine_prefix.h"

namespace {

const char StepsFile[] = "C:\\harness\\steps.txt";

bool WriteSteps(const WinePrefix& prefix, const std::vector<std::string>& steps) {
    std::ofstream out(prefix.UnixPath(StepsFile), std::ios::binary | std::ios::trunc);
    for (const std::string& token : steps) out << token << '\n';
    out.close();
    return !out.fail();
}

DriverReport Failed(const std::string& why) {
    DriverReport report;
    report.failures.push_back(why);
    return report;
}

class DriverSession {
public:
    DriverSession(const DriverRun& run, int answers) : run_(run), answers_(answers) {}

    void OnLine(std::string line) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (run_.echo) std::printf("%s\n", line.c_str());
        if (line.rfind("SHOT ", 0) == 0) {
            Answer(TakeShot(line.substr(5)));
        } else if (line.rfind("FAIL ", 0) == 0) {
            report_.failures.push_back(line.substr(5));
        } else {
            ReadTimesLine(line, report_.times);
        }
    }

    DriverReport Finish(int exitCode) {
        report_.passed = exitCode == 0 && report_.failures.empty();
        if (exitCode != 0 && report_.failures.empty()) {
            report_.failures.push_back("the GUI driver " + HowChildEnded(exitCode));
        }
        return report_;
    }

private:
    std::string TakeShot(const std::string& name) {
        if (run_.shotsFolder.empty()) return "fail no folder for screenshots";
        std::string error;
        const std::string file = run_.shotsFolder + "/" + run_.shotPrefix + "-" + name + ".png";
        ChildFiles files;
        files.writable = run_.shotsFolder;
        const int code = RunChild({"import", "-window", "root", "-display", run_.display, file}, files, error);
        return code == 0 ? "ok" : "fail import " + file + " " + HowChildEnded(code);
    }

    void Answer(const std::string& answer) {
        const std::string line = answer + "\n";
        if (write(answers_, line.data(), line.size()) < 0) report_.failures.push_back("the GUI driver took no answer");
    }

    const DriverRun& run_;
    int answers_;
    DriverReport report_;
};

// Reads the driver's lines until it ends. Wine's own servers may inherit the
// pipe, so the end of the driver process, not only end of file, stops it.
int Converse(pid_t child, int lines, DriverSession& session) {
    std::string pending;
    int exitCode = -1;
    for (;;) {
        pollfd ready{lines, POLLIN, 0};
        const int polled = poll(&ready, 1, 200);
        char buffer[4096];
        const ssize_t got = polled > 0 ? read(lines, buffer, sizeof buffer) : -1;
        if (got > 0) {
            pending.append(buffer, static_cast<size_t>(got));
            for (size_t end; (end = pending.find('\n')) != std::string::npos; pending.erase(0, end + 1)) {
                session.OnLine(pending.substr(0, end));
            }
            continue;
        }
        if (got == 0 || (polled == 0 && ChildEnded(child, exitCode))) break;
    }
    return exitCode >= 0 ? exitCode : WaitChild(child);
}

}  // namespace

// "times CREATION ACCESS WRITE NAME" or "times missing ERROR NAME".
void ReadTimesLine(const std::string& line, std::map<std::string, ReportedTimes>& times) {
    if (line.rfind("times ", 0) != 0) return;
    std::istringstream in(line.substr(6));
    std::string first;
    ReportedTimes reported;
    in >> first;
    if (first == "missing") {
        in >> reported.error;
    } else {
        reported.found = true;
        reported.creation = std::strtoull(first.c_str(), nullptr, 10);
        in >> reported.access >> reported.write;
    }
    in.get();
    std::string name;
    std::getline(in, name);
    times[name] = reported;
}

DriverReport RunDriver(const WinePrefix& prefix, const DriverRun& run) {
    if (!WriteSteps(prefix, run.steps)) return Failed("cannot write the driver's steps into the prefix");
    int toDriver[2], fromDriver[2];
    if (pipe(toDriver) != 0) return Failed(std::string("cannot make a pipe: ") + std::strerror(errno));
    if (pipe(fromDriver) != 0) {
        close(toDriver[0]);
        close(toDriver[1]);
        return Failed(std::string("cannot make a pipe: ") + std::strerror(errno));
    }
    std::vector<std::string> arguments = {run.loader.program, run.driver, "--steps-file", StepsFile};
    if (!run.setup.empty()) arguments.insert(arguments.end(), {"--exe", run.setup});
    if (!run.shotsFolder.empty()) arguments.push_back("--shots");
    arguments.insert(arguments.end(), run.options.begin(), run.options.end());
    ChildFiles files;
    files.input = toDriver[0];
    files.output = fromDriver[1];
    files.environment = run.loader.environment;
    std::string error;
    const pid_t child = StartChild(WineSession(arguments), files, error);
    close(toDriver[0]);
    close(fromDriver[1]);
    DriverSession session(run, toDriver[1]);
    int exitCode = -1;
    if (child > 0) {
        SetInterruptibleChild(child);
        exitCode = Converse(child, fromDriver[0], session);
        SetInterruptibleChild(0);
    }
    close(toDriver[1]);
    close(fromDriver[0]);
    return child > 0 ? session.Finish(exitCode) : Failed(error);
}
