#include "CommandLine.h"

#include <algorithm>

namespace lumivoke::desktop {
namespace {

CommandLine failure(std::string message) {
    CommandLine line;
    line.action = CommandLine::Action::error;
    line.error = "lumivoke: " + std::move(message);
    return line;
}

std::string quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

}  // namespace

CommandLine parseCommandLine(std::span<const std::string_view> args) {
    CommandLine line;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (arg == "--help" || arg == "-h") {
            // Asking for help wins over everything else said.
            line.action = CommandLine::Action::help;
            return line;
        }
        if (arg == "--version") {
            line.action = CommandLine::Action::version;
            continue;
        }
        std::string_view name;
        if (arg == "--trigger") {
            if (i + 1 == args.size()) {
                return failure("--trigger needs a key: " + triggerIdentifiers());
            }
            name = args[++i];
        } else if (arg.starts_with("--trigger=")) {
            name = arg.substr(std::string_view("--trigger=").size());
        } else if (arg.starts_with("-")) {
            return failure("unknown option " + quoted(arg) + "; see lumivoke --help");
        } else {
            return failure("unexpected argument " + quoted(arg) + "; see lumivoke --help");
        }
        line.trigger = findTriggerChoice(name);
        if (line.trigger == nullptr) {
            return failure("unknown trigger key " + quoted(name) +
                           "; the keys are: " + triggerIdentifiers());
        }
    }
    return line;
}

std::string usageText() {
    std::string keys;
    for (const auto& choice : triggerChoices()) {
        keys += "                   " + std::string(choice.identifier);
        keys.append(std::max<std::size_t>(1, 14 - choice.identifier.size()), ' ');
        keys += std::string(choice.label);
        keys += &choice == &defaultTriggerChoice() ? " (the default)\n" : "\n";
    }
    return "Usage: lumivoke [--trigger KEY]\n"
           "\n"
           "Taps of the trigger key alone switch to the next keyboard layout, and a capsule in\n"
           "the middle of the screen shows the new one. Lumivoke lives in the system tray; run\n"
           "it again to open its settings.\n"
           "\n"
           "  --trigger KEY    the trigger key for this run, instead of the one in the\n"
           "                   settings (TriggerKey); KEY is one of:\n" +
           keys +
           "  --help           show this help and exit\n"
           "  --version        show the version and exit\n"
           "\n"
           "Lumivoke needs an X11 display. Without one, run it in the simulator:\n"
           "lumivoke-sim SCENARIO (see docs/simulator.md).\n";
}

std::string versionText(std::string_view versionAndBuild) {
    return "Lumivoke " + std::string(versionAndBuild) + "\n";
}

std::string noDisplayText(const char* display) {
    const std::string what = display == nullptr ? std::string("no X display: DISPLAY is not set")
                             : *display == '\0' ? std::string("no X display: DISPLAY is empty")
                                                : "cannot open the X display " + quoted(display);
    return "lumivoke: " + what +
           ". Lumivoke needs an X11 session (under Wayland, XWayland); to run it without a "
           "display, use the simulator: lumivoke-sim SCENARIO (see docs/simulator.md).\n";
}

}  // namespace lumivoke::desktop
