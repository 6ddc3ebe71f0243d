#include "Measure.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace cw::bench {
namespace {

long long nowNanoseconds()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

double statusMegabytes(const char *field)
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind(field, 0) == 0) {
            std::istringstream in(line.substr(std::strlen(field)));
            double kilobytes = 0;
            in >> kilobytes;
            return kilobytes / 1024.0;
        }
    }
    return 0;
}

} // namespace

ProcessRun runProbed(const std::vector<std::string> &command,
                     const std::vector<std::string> &extraEnvironment, const char *standardOutput)
{
    std::vector<std::string> environment;
    for (char **e = environ; *e; ++e)
        environment.emplace_back(*e);
    environment.insert(environment.end(), extraEnvironment.begin(), extraEnvironment.end());
    std::vector<char *> envp, argv;
    for (auto &e : environment)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    std::vector<std::string> args = command;
    for (auto &a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        throw std::runtime_error("pipe failed");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 2);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    if (standardOutput)
        posix_spawn_file_actions_addopen(&actions, 1, standardOutput, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const long long spawned = nowNanoseconds();
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0)
        throw std::runtime_error("cannot start " + command.front());
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);

    std::string output;
    char buffer[4096];
    for (ssize_t n; (n = read(pipeFds[0], buffer, sizeof buffer)) > 0;)
        output.append(buffer, static_cast<std::size_t>(n));
    close(pipeFds[0]);

    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);

    ProcessRun run;
    run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.peakMegabytes = static_cast<double>(usage.ru_maxrss) / 1024.0;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream in(line);
        std::string tag, name;
        long long at = 0;
        if (in >> tag >> name >> at && tag == "cuewright-probe")
            run.millisecondsTo[name] = static_cast<double>(at - spawned) / 1e6;
    }
    return run;
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

double peakResidentMegabytes()
{
    return statusMegabytes("VmHWM:");
}

double residentMegabytes()
{
    return statusMegabytes("VmRSS:");
}

} // namespace cw::bench
