#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "ScratchDir.h"

// Child processes of an end-to-end session: started in their own process group, told to die
// with the test process, and always ended by their own id.
namespace lumivoke::e2e {

using TempDir = testing_support::ScratchDir;

/// The environment a child starts with: exactly these variables, nothing inherited.
using Environment = std::map<std::string, std::string>;

/// The full path of an executable found in PATH, or none.
std::optional<std::string> findExecutable(const std::string& name);

/// Writes text to a file, creating its folder; false (with a test failure) when it cannot.
bool writeFile(const std::filesystem::path& path, const std::string& text);
/// The whole text of a file, or none when it cannot be read.
std::optional<std::string> readFile(const std::filesystem::path& path);

class Process {
public:
    struct Options {
        std::vector<std::string> argv;
        Environment environment;
        /// Where standard output and standard error go (appended); /dev/null when empty.
        std::filesystem::path outputFile;
        /// A descriptor of this process handed to the child as descriptor 3.
        std::optional<int> passDescriptor;
    };

    /// Starts the child; running() tells whether that worked.
    explicit Process(Options options);
    /// Ends the child (and its process group) if it still runs.
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    pid_t pid() const { return pid_; }
    const std::string& name() const { return name_; }
    /// Whether the child still runs (reaps it when it has ended).
    bool running();
    /// The exit status once the child has ended normally; -signal when a signal ended it.
    std::optional<int> exitStatus();
    /// Waits for the child to end, at most timeout; its exit status, or none if it still runs.
    std::optional<int> wait(std::chrono::milliseconds timeout);
    /// Sends a signal to the child's process group.
    void signal(int sig);
    /// SIGTERM, then SIGKILL if it has not ended within a second; waits for it.
    void stop();

private:
    pid_t pid_ = -1;
    std::string name_;
    std::optional<int> status_;
};

/// Runs a command to its end (at most timeout); its exit status, or none if it did not end.
std::optional<int> runCommand(const std::vector<std::string>& argv, const Environment& environment,
                              std::chrono::milliseconds timeout = std::chrono::seconds(10),
                              const std::filesystem::path& outputFile = {});

}  // namespace lumivoke::e2e
