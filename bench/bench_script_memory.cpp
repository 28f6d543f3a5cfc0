// What a long varmo-cli script costs in memory: scripts of 1 MB and 50 MB,
// every line checked before the first is sent, side by side with the goal
// (64 MB at the peak, whatever the script's size). The peak is the child's
// maximum resident set, as /usr/bin/time -v reports it.
//
// Two runs for each size:
//   checked   the script's last line is wrong, so the whole file is checked
//             and refused before anything goes out (exit 2, no printer);
//   short     the same with the shortest lines, "enq", the most for the size;
//   run       every line is run against varmo-sim: "wait 0" and comments,
//             so that 50 MB go through in seconds (exit 0).
//
//   bench_script_memory [VARMO_CLI]     (another build's varmo-cli to compare)
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

constexpr long kGoalKiB = 64 * 1024;

// A working script: the goods check, reads, a wait and a comment, ten lines
// of about thirty bytes.
const char* const kCheckedBlock =
    "# dostawa do sklepu\n"
    "goods-check-start rates\n"
    "goods-check-line \"Chleb pszenny\" A\n"
    "goods-check-line \"Masło extra 200g\" B\n"
    "goods-check-line Mleko C\n"
    "goods-check-end\n"
    "expect header\n"
    "clock\n"
    "wait 0\n"
    "enq\n";

// The shortest lines a script holds: the most lines for its size.
const char* const kShortBlock = "enq\n";

// Lines that run without the printer's help: the run's own cost shows.
const char* const kRunBlock = "wait 0\n# nic\nwait 0\n";

std::string makeScript(const std::string& path, std::size_t bytes, const char* block,
                       const char* lastLine, std::size_t& lines)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    const std::string text(block);
    std::size_t written = 0;
    lines = 0;
    const std::size_t perBlock =
        static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
    while (written + text.size() <= bytes) {
        out << text;
        written += text.size();
        lines += perBlock;
    }
    out << lastLine;
    ++lines;
    return path;
}

struct Run {
    int status = -1;
    long peakKiB = 0;
    double seconds = 0;
};

Run run(const std::vector<std::string>& arguments, bool quiet)
{
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (quiet) {
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    }
    Run result;
    const auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    if (posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
        posix_spawn_file_actions_destroy(&actions);
        return result;
    }
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    result.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.peakKiB = usage.ru_maxrss;
    return result;
}

// varmo-sim on a link of its own; its device path is the first line it prints.
struct Printer {
    pid_t pid = 0;
    std::string link;

    explicit Printer(const std::string& dir)
    {
        link = dir + "/printer";
        const std::string paper = dir + "/paper.txt";
        std::vector<std::string> arguments{VARMO_SIM_PATH, "--link", link, "--paper", paper};
        std::vector<char*> argv;
        for (std::string& argument : arguments)
            argv.push_back(argument.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
            pid = 0;
        posix_spawn_file_actions_destroy(&actions);
        for (int i = 0; i < 100 && access(link.c_str(), F_OK) != 0; ++i)
            usleep(50 * 1000);
    }
    ~Printer()
    {
        if (pid > 0) {
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
        }
    }
};

void row(const char* what, std::size_t megabytes, std::size_t lines, const Run& result,
         int expected)
{
    std::printf("%-8s %5zu MB %10zu lines  %8.1f MB peak  %s  %6.1f s  exit %d%s\n", what,
                megabytes, lines, static_cast<double>(result.peakKiB) / 1024.0,
                result.peakKiB <= kGoalKiB ? "within  64 MB" : "OVER    64 MB", result.seconds,
                result.status, result.status == expected ? "" : " (unexpected)");
}

}  // namespace

int main(int argc, char* argv[])
{
    const std::string cli = argc > 1 ? argv[1] : VARMO_CLI_PATH;
    char pattern[] = "/tmp/varmo-script-bench-XXXXXX";
    const char* made = mkdtemp(pattern);
    if (made == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::string dir = made;
    // The console's stored settings never steer the run.
    setenv("XDG_CONFIG_HOME", dir.c_str(), 1);

    std::printf("varmo-cli run: peak memory by script size (goal: at most 64 MB)\n%s\n",
                cli.c_str());
    bool allWithin = true;
    for (const std::size_t megabytes : {std::size_t{1}, std::size_t{50}}) {
        const std::size_t bytes = megabytes * 1024 * 1024;
        std::size_t lines = 0;
        const std::string checked =
            makeScript(dir + "/checked.txt", bytes, kCheckedBlock, "set-rates 23 8 5\n", lines);
        const Run refused = run({cli, "--port", "/nonexistent/tty", "run", checked}, true);
        row("checked", megabytes, lines, refused, 2);
        allWithin = allWithin && refused.peakKiB <= kGoalKiB;

        const std::string shortLines =
            makeScript(dir + "/short.txt", bytes, kShortBlock, "set-rates 23 8 5\n", lines);
        const Run refusedShort = run({cli, "--port", "/nonexistent/tty", "run", shortLines}, true);
        row("short", megabytes, lines, refusedShort, 2);
        allWithin = allWithin && refusedShort.peakKiB <= kGoalKiB;

        const std::string whole = makeScript(dir + "/run.txt", bytes, kRunBlock, "enq\n", lines);
        const Printer printer(dir);
        const Run ran = run({cli, "--port", printer.link, "run", whole}, true);
        row("run", megabytes, lines, ran, 0);
        allWithin = allWithin && ran.peakKiB <= kGoalKiB;
    }
    for (const char* name : {"checked.txt", "short.txt", "run.txt", "paper.txt"})
        std::remove((dir + "/" + name).c_str());
    rmdir(dir.c_str());
    return allWithin ? 0 : 1;
}
