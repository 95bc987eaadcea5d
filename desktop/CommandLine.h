#pragma once

#include <span>
#include <string>
#include <string_view>

#include "TriggerKeyTable.h"

// What `lumivoke` is asked to do on its command line, and the texts it answers with. Needs no
// display: --help and --version work where there is none.
namespace lumivoke::desktop {

struct CommandLine {
    enum class Action { run, help, version, error };
    Action action = Action::run;
    /// The trigger key for this run (--trigger), or null for the stored one.
    const TriggerChoice* trigger = nullptr;
    /// For Action::error: what was wrong, to print on standard error.
    std::string error;
};

/// Reads the arguments after the program's name.
CommandLine parseCommandLine(std::span<const std::string_view> args);

/// What --help prints.
std::string usageText();
/// What --version prints: "Lumivoke 1.0.0 (Build 1)".
std::string versionText(std::string_view versionAndBuild);
/// Why the program cannot run when no X display can be opened, and what to run instead.
/// display is the DISPLAY variable, or null when it is not set.
std::string noDisplayText(const char* display);

}  // namespace lumivoke::desktop
