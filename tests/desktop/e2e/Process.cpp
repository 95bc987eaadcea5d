#include "Process.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/close_range.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

namespace lumivoke::e2e {

namespace fs = std::filesystem;

std::optional<std::string> findExecutable(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::istringstream dirs(path != nullptr ? path : "/usr/bin:/bin");
    std::string dir;
    while (std::getline(dirs, dir, ':')) {
        const fs::path candidate = fs::path(dir.empty() ? "." : dir) / name;
        if (access(candidate.c_str(), X_OK) == 0) {
            return candidate.string();
        }
    }
    return std::nullopt;
}

bool writeFile(const fs::path& path, const std::string& text) {
    std::error_code ec;
    fs::create_directories(path.parent_path(), ec);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) {
        ADD_FAILURE() << "cannot write " << path;
        return false;
    }
    return true;
}

std::optional<std::string> readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

Process::Process(Options options) {
    if (options.argv.empty()) {
        ADD_FAILURE() << "a process needs a command";
        return;
    }
    name_ = fs::path(options.argv.front()).filename().string();
    // Everything the child needs is prepared before fork: after it only async-signal-safe calls.
    std::vector<std::string> envStrings;
    for (const auto& [key, value] : options.environment) {
        envStrings.push_back(key + "=" + value);
    }
    std::vector<char*> envp;
    for (auto& s : envStrings) {
        envp.push_back(s.data());
    }
    envp.push_back(nullptr);
    std::vector<char*> argv;
    for (auto& s : options.argv) {
        argv.push_back(s.data());
    }
    argv.push_back(nullptr);
    const std::string output =
        options.outputFile.empty() ? std::string("/dev/null") : options.outputFile.string();
    const int out = open(output.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    const int in = open("/dev/null", O_RDONLY | O_CLOEXEC);
    if (out < 0 || in < 0) {
        ADD_FAILURE() << "cannot open " << output << " for " << name_;
        return;
    }
    const pid_t parent = getpid();
    pid_ = fork();
    if (pid_ == 0) {
        // A test process that dies without its teardown takes its session with it.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent) {
            _exit(127);
        }
        setpgid(0, 0);
        dup2(in, 0);
        dup2(out, 1);
        dup2(out, 2);
        int firstToClose = 3;
        if (options.passDescriptor) {
            dup2(*options.passDescriptor, 3);
            firstToClose = 4;
        }
        syscall(SYS_close_range, firstToClose, ~0U, 0);
        execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    close(out);
    close(in);
    if (pid_ < 0) {
        ADD_FAILURE() << "cannot start " << name_ << ": " << std::strerror(errno);
        return;
    }
    // Also from here, so that a signal sent at once reaches the whole group.
    setpgid(pid_, pid_);
}

Process::~Process() {
    stop();
}

bool Process::running() {
    if (pid_ <= 0 || status_) {
        return false;
    }
    // Not reaped yet: while the ended child is a zombie its id, and so its process group's,
    // cannot be taken by another process, and signalling the group stays safe.
    siginfo_t info{};
    if (waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOHANG | WNOWAIT) != 0) {
        status_ = -1;
        return false;
    }
    if (info.si_pid == pid_) {
        status_ = info.si_code == CLD_EXITED ? info.si_status : -info.si_status;
        return false;
    }
    return true;
}

std::optional<int> Process::exitStatus() {
    running();
    return status_;
}

std::optional<int> Process::wait(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (running()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return std::nullopt;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return status_;
}

void Process::signal(int sig) {
    if (running()) {
        kill(-pid_, sig);
    }
}

void Process::stop() {
    if (pid_ <= 0) {
        return;
    }
    if (running()) {
        signal(SIGTERM);
        if (!wait(std::chrono::seconds(1))) {
            kill(-pid_, SIGKILL);
            wait(std::chrono::seconds(5));
        }
    }
    // Whatever the group left behind (the shell of an xterm) goes too, then the child is reaped.
    kill(-pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
}

std::optional<int> runCommand(const std::vector<std::string>& argv, const Environment& environment,
                              std::chrono::milliseconds timeout, const fs::path& outputFile) {
    std::vector<std::string> full = argv;
    if (!full.empty() && full.front().find('/') == std::string::npos) {
        const auto path = findExecutable(full.front());
        if (!path) {
            ADD_FAILURE() << full.front() << " is not installed";
            return std::nullopt;
        }
        full.front() = *path;
    }
    Process process(Process::Options{full, environment, outputFile, std::nullopt});
    return process.wait(timeout);
}

}  // namespace lumivoke::e2e
