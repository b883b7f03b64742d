// Times two commands against each other on a shared machine:
//
//   cpu_pairs R COMMAND_A... --vs COMMAND_B...
//
// runs A and B R times each, alternating (A B, B A, A B, ...), so that a load
// that comes and goes falls on both alike, with standard output sent to
// /dev/null, and prints for each the median CPU time (user + system, from
// wait4) and the median wall time in milliseconds, then the ratios B / A:
//
//   A cpu_ms wall_ms
//   B cpu_ms wall_ms
//   ratio cpu wall
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace {

struct Run {
    double cpuMs, wallMs;
};

Run runOnce(char **argv)
{
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        execvp(argv[0], argv);
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    const double wall =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "cpu_pairs: %s failed\n", argv[0]);
        std::exit(1);
    }
    const auto ms = [](const timeval &t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
    return {ms(usage.ru_utime) + ms(usage.ru_stime), wall};
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

} // namespace

int main(int argc, char **argv)
{
    int vs = 0;
    for (int i = 2; i < argc; ++i)
        if (std::strcmp(argv[i], "--vs") == 0)
            vs = i;
    const int runs = argc > 1 ? std::atoi(argv[1]) : 0;
    if (runs < 1 || vs < 3 || vs + 1 >= argc) {
        std::fprintf(stderr, "usage: cpu_pairs R COMMAND_A... --vs COMMAND_B...\n");
        return 2;
    }
    argv[vs] = nullptr;
    char **a = argv + 2, **b = argv + vs + 1;
    std::vector<double> cpu[2], wall[2];
    for (int i = 0; i < runs; ++i) {
        for (int k = 0; k < 2; ++k) {
            const int which = (i + k) % 2; // A B, then B A, ...
            const Run r = runOnce(which ? b : a);
            cpu[which].push_back(r.cpuMs);
            wall[which].push_back(r.wallMs);
        }
    }
    const double ca = median(cpu[0]), cb = median(cpu[1]), wa = median(wall[0]), wb = median(wall[1]);
    std::printf("A %.1f %.1f\nB %.1f %.1f\nratio %.2f %.2f\n", ca, wa, cb, wb, cb / ca, wb / wa);
    return 0;
}
