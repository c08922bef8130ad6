// Benchmark display and process accounting.
#include "BenchDisplay.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace bench {

BenchDisplay::BenchDisplay()
{
    if (const char* given = std::getenv("DISPLAY"); given && *given) {
        name_ = given;
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        return;
    }
    // Xvfb picks a free display number itself and writes it to the descriptor -displayfd names.
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0)
        return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 3);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    char program[] = "Xvfb";
    char displayFd[] = "-displayfd";
    char three[] = "3";
    char screen[] = "-screen";
    char zero[] = "0";
    char geometry[] = "1024x768x24";
    char noListen[] = "-nolisten";
    char tcp[] = "tcp";
    char* argv[] = { program, displayFd, three, screen, zero, geometry, noListen, tcp, nullptr };
    const int spawned = posix_spawnp(&server_, program, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    if (spawned != 0) {
        server_ = 0;
        close(pipeFds[0]);
        std::fprintf(stderr, "cannot start Xvfb: %s\n", std::strerror(spawned));
        return;
    }
    std::string number;
    pollfd wait { pipeFds[0], POLLIN, 0 };
    char c = 0;
    while (poll(&wait, 1, 10000) > 0 && read(pipeFds[0], &c, 1) == 1 && c != '\n')
        number += c;
    close(pipeFds[0]);
    if (number.empty()) {
        std::fprintf(stderr, "Xvfb did not name its display\n");
        return;
    }
    name_ = ":" + number;
    setenv("DISPLAY", name_.c_str(), 1);
    setenv("QT_QPA_PLATFORM", "xcb", 1);
}

BenchDisplay::~BenchDisplay()
{
    if (server_ <= 0)
        return;
    kill(server_, SIGTERM);
    int status = 0;
    while (waitpid(server_, &status, 0) < 0 && errno == EINTR) { }
}

std::string BenchDisplay::description() const
{
    if (!ok())
        return "no display";
    return server_ ? "Xvfb " + name_ + " started for this run (1024 x 768, 24 bits)"
                   : "the X server of DISPLAY=" + name_;
}

std::vector<ThreadCpu> threadCpuNs(pid_t pid)
{
    std::vector<ThreadCpu> threads;
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    DIR* dir = opendir(tasks.c_str());
    if (!dir)
        return threads;
    while (const dirent* entry = readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        const std::string task = tasks + '/' + entry->d_name;
        ThreadCpu thread;
        thread.tid = std::atoi(entry->d_name);
        // The first field of schedstat is the time spent running, in nanoseconds.
        if (FILE* file = std::fopen((task + "/schedstat").c_str(), "r")) {
            if (std::fscanf(file, "%lld", &thread.ns) != 1)
                thread.ns = 0;
            std::fclose(file);
        }
        if (FILE* file = std::fopen((task + "/status").c_str(), "r")) {
            char line[256];
            while (std::fgets(line, sizeof line, file)) {
                std::sscanf(line, "voluntary_ctxt_switches: %lld", &thread.waits);
                std::sscanf(line, "nonvoluntary_ctxt_switches: %lld", &thread.preemptions);
            }
            std::fclose(file);
        }
        if (FILE* file = std::fopen((task + "/comm").c_str(), "r")) {
            char name[64] = {};
            if (std::fgets(name, sizeof name, file))
                thread.name = std::string(name, strcspn(name, "\n"));
            std::fclose(file);
        }
        threads.push_back(thread);
    }
    closedir(dir);
    return threads;
}

long long processCpuNs(pid_t pid)
{
    const std::vector<ThreadCpu> threads = threadCpuNs(pid);
    if (threads.empty())
        return -1;
    long long total = 0;
    for (const ThreadCpu& thread : threads)
        total += thread.ns;
    return total;
}

pid_t spawnProcess(const std::vector<std::string>& arguments)
{
    std::vector<char*> argv;
    argv.reserve(arguments.size() + 1);
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
        pid = 0;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

int waitForExit(pid_t pid)
{
    int status = 0;
    while (waitpid(pid, &status, 0) < 0)
        if (errno != EINTR)
            return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

double secondsFromEnvironment(const char* name, double fallback)
{
    const char* text = std::getenv(name);
    if (!text || !*text)
        return fallback;
    char* end = nullptr;
    const double value = std::strtod(text, &end);
    return end != text && *end == '\0' && value > 0 ? value : fallback;
}

} // namespace bench
