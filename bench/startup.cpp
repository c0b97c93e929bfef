// Start-up time of the two programs: from the moment the process is started to the first
// paint of a window, median of several runs on the offscreen platform.
//   bench_startup <bin folder> [runs]
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <map>
#include <string>
#include <vector>

#include "median.h"

namespace {

long long nowNs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<long long>(t.tv_sec) * 1000000000LL + t.tv_nsec;
}

// Runs a program until it paints `last`; returns the milliseconds from start to the first
// paint of each window.
std::map<std::string, double> run(const std::string& program, const std::string& last) {
    int pipeFd[2];
    if (pipe(pipeFd) != 0) std::exit(1);
    const long long start = nowNs();
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(pipeFd[1], STDOUT_FILENO);
        freopen("/dev/null", "w", stderr);
        close(pipeFd[0]);
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        setenv("MORVANE_TRACE_WINDOWS", last.c_str(), 1);
        execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipeFd[1]);
    std::map<std::string, double> result;
    FILE* out = fdopen(pipeFd[0], "r");
    char line[256];
    while (std::fgets(line, sizeof line, out)) {
        long long at = 0;
        char name[200] = {};
        if (std::sscanf(line, "%lld painted %199s", &at, name) == 2) result[name] = (at - start) / 1e6;
    }
    std::fclose(out);
    int status = 0;
    waitpid(pid, &status, 0);
    return result;
}

void measure(const std::string& program, const std::string& last, const std::vector<std::string>& windows, int runs) {
    std::map<std::string, std::vector<double>> times;
    run(program, last);  // warm the file cache
    for (int i = 0; i < runs; ++i)
        for (const auto& [name, ms] : run(program, last)) times[name].push_back(ms);
    for (const std::string& w : windows) {
        const auto& v = times[w];
        if (v.empty()) {
            std::printf("%-40s never painted\n", (program + ": " + w).c_str());
            continue;
        }
        std::printf("%-40s median %8.1f ms  (min %.1f, max %.1f, %zu runs)\n", (program + ": " + w).c_str(), median(v),
                    *std::min_element(v.begin(), v.end()), *std::max_element(v.begin(), v.end()), v.size());
    }
}

}  // namespace

int main(int argc, char** argv) {
    const std::string bin = argc > 1 ? argv[1] : "build/bin";
    const int runs = argc > 2 ? std::atoi(argv[2]) : 10;
    measure(bin + "/morvane", "Frm_Selection", {"Frm_morvane", "Frm_Selection"}, runs);
    measure(bin + "/heart", "Frm_Heart_Main", {"Frm_Heart_Main"}, runs);
    return 0;
}
