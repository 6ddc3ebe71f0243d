#pragma once

#include <map>
#include <string>
#include <vector>

namespace cw::bench {

// One run of a program that prints "cuewright-probe NAME NANOSECONDS" lines on
// standard error (monotonic clock): each probe's time since the process was spawned,
// and the process's peak resident memory.
struct ProcessRun
{
    std::map<std::string, double> millisecondsTo;
    double peakMegabytes = 0;
    int exitStatus = -1;
};

// `standardOutput`, when given, is the file the program's standard output goes to.
ProcessRun runProbed(const std::vector<std::string> &command,
                     const std::vector<std::string> &extraEnvironment, const char *standardOutput = nullptr);

double median(std::vector<double> values);

// Peak and current resident memory of this process, in megabytes.
double peakResidentMegabytes();
double residentMegabytes();

} // namespace cw::bench
