#include "Simulator.h"

#include <filesystem>
#include <fstream>
#include <istream>
#include <ostream>
#include <sstream>
#include <utility>

#include "ScenarioBlocks.h"
#include "badge/BadgeModel.h"
#include "overlay/HUDModel.h"

namespace lumivoke::sim {

void ParseScope::requireSource(const std::string& id) const {
    if (!sources.contains(id)) {
        throw ScenarioError("no source \"" + id + "\" was defined on an earlier line");
    }
}

void ParseScope::requireRunningApp(const std::string& key) const {
    if (key != SimWorkspace::kSelfKey && !runningApps.contains(key)) {
        throw ScenarioError("no running application \"" + key +
                            "\" was declared on an earlier line (app " + key + " pid=N)");
    }
}

void ParseScope::coverTime(Duration d) {
    virtualTime += d;
    if (virtualTime > kMaxScenarioTime) {
        throw ScenarioError(
            "the scenario would cover more than 31 days (2678400s) of virtual "
            "time (each pass of a repeated line counted)");
    }
}

void CommandTable::add(std::string name, std::string usage, std::string summary,
                       CommandParser parse) {
    commands_.push_back({std::move(name), std::move(usage), std::move(summary), std::move(parse)});
}

void CommandTable::add(std::string name, std::string usage, std::string summary,
                       std::function<Action(const Args&)> parse) {
    add(std::move(name), std::move(usage), std::move(summary),
        CommandParser([parse = std::move(parse)](const Args& a, ParseScope&) { return parse(a); }));
}

const CommandTable::Command* CommandTable::find(const std::string& name) const {
    for (const auto& c : commands_) {
        if (c.name == name) {
            return &c;
        }
    }
    return nullptr;
}

Simulator::Simulator(std::ostream& out, std::ostream& err)
    : out_(out), err_(err), machine_(std::make_unique<SimPlatform>()) {
    addMachineCommands(table_);
    addRunningCommands(table_);
    addSwitchCommands(table_);
    addRulesCommands(table_);
    addBadgeCommands(table_);
    addSystemServiceCommands(table_);
    addSettingsWindowCommands(table_);
    addMenuCommands(table_);
    addCheckCommands(table_);
    addSnapshotCommands(table_);
    machine_->trace.echoTo(&out_);
    // A plain machine: one 1920x1080 display with a 25-point menu bar, the pointer in its middle.
    machine_->screens.add({{{0, 0}, {1920, 1080}}, {{0, 0}, {1920, 1055}}});
    machine_->screens.setPointer({960, 540});
    machine_->bundle.values["CFBundleShortVersionString"] = std::string("1.0");
    machine_->bundle.values["CFBundleVersion"] = std::string("1");
    machine_->views.onHUD = [this](HUDView& view) { traceHUD(view); };
    machine_->views.onBadge = [this](BadgeView& view) { traceBadge(view); };
    machine_->views.onSettingsWindow = [this](SettingsView& view) {
        traceSettingsView(*this, view);
    };
    // Quitting ends the application once the quitting action has returned, and once every
    // open panel is down: a panel's modal run is still inside the application.
    machine_->application.onTerminate = [this] {
        machine_->loop.post([this] {
            if (!app_) {
                return;
            }
            if (panelsUp_ > 0) {
                quitWhenPanelsClose_ = true;
                return;
            }
            terminate();
        });
    };
}

Simulator::~Simulator() {
    // The application goes first: its teardown still talks to the machine.
    app_.reset();
}

void Simulator::traceHUD(HUDView& view) {
    viewTokens.push_back(view.state.subscribe([this](const HUDView::State& s) {
        switch (s.transition) {
            case HUDView::Transition::none:
                break;
            case HUDView::Transition::inserted:
                machine_->trace.add("HUD", "text " + sim::quoted(*s.text) + " (inserted)");
                break;
            case HUDView::Transition::changed:
                machine_->trace.add("HUD", "text " + sim::quoted(*s.text) + " (changed)");
                break;
            case HUDView::Transition::removed:
                machine_->trace.add("HUD", "text none");
                break;
        }
    }));
}

void Simulator::traceBadge(BadgeView& view) {
    viewTokens.push_back(view.text.subscribe([this](const std::string& text) {
        machine_->trace.add("Badge", "text " + sim::quoted(text));
    }));
}

void Simulator::addScreen(const Screen& screen) {
    if (defaultScreen_) {
        machine_->screens.clear();
        defaultScreen_ = false;
    }
    machine_->screens.add(screen);
}

void Simulator::clearScreens() {
    machine_->screens.clear();
    defaultScreen_ = false;
}

AppState& Simulator::requireApp() {
    if (!app_) {
        throw ScenarioError("the application is not running: launch it first");
    }
    return app_->state();
}

void Simulator::launch() {
    if (app_) {
        throw ScenarioError("the application is already running");
    }
    app_ = std::make_unique<LumivokeApp>(machine_->platform(), machine_->views);
}

void Simulator::terminate() {
    if (panelsUp_ > 0) {
        throw ScenarioError("the application cannot be torn down while its open panel is up");
    }
    app_.reset();
    // The views went with the application; their tokens would only pile up launch by launch.
    viewTokens.clear();
    machine_->defaults.forgetRegistrations();
}

void Simulator::runWhilePanelUp(const std::vector<Action>& actions) {
    struct Up {
        int& count;
        explicit Up(int& c) : count(c) { ++count; }
        ~Up() { --count; }
        Up(const Up&) = delete;
        Up& operator=(const Up&) = delete;
    } up(panelsUp_);
    // A fault here surfaces at the line that ran the panel; say where it happened.
    try {
        for (const auto& action : actions) {
            action(*this);
            machine_->settle();
        }
    } catch (const ExpectationFailed& e) {
        throw ExpectationFailed(std::string("while the open panel was up: ") + e.what());
    } catch (const ScenarioError& e) {
        throw ScenarioError(std::string("while the open panel was up: ") + e.what());
    }
}

void Simulator::expect(const std::string& text, bool present) {
    const auto& lines = machine_->trace.lines();
    for (std::size_t i = searchFrom_; i < lines.size(); ++i) {
        if (lines[i].find(text) != std::string::npos) {
            if (!present) {
                throw ExpectationFailed("expect-not " + sim::quoted(text) +
                                        " failed: found in\n  " + lines[i]);
            }
            searchFrom_ = i + 1;
            return;
        }
    }
    if (!present) {
        return;
    }
    std::ostringstream msg;
    msg << "expect " << sim::quoted(text) << " failed; searched " << (lines.size() - searchFrom_)
        << " trace line(s):";
    for (std::size_t i = searchFrom_; i < lines.size(); ++i) {
        msg << "\n  " << lines[i];
    }
    throw ExpectationFailed(msg.str());
}

std::vector<ScenarioStep> Simulator::parseFile(const std::string& path) const {
    // A directory opens like a file and reads as nothing at all: an empty scenario that passes.
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        throw ScenarioError(path + ": is a directory, not a scenario file");
    }
    std::ifstream in(path);
    if (!in) {
        throw ScenarioError(path + ": cannot open the scenario");
    }
    return parse(in, path);
}

Action Simulator::parseLine(const std::string& line, ParseScope& scope) const {
    auto words = splitWords(line);
    if (words.empty()) {
        return nullptr;
    }
    const std::string name = words.front().text;
    const CommandTable::Command* command = nullptr;
    if (!words.front().quoted) {
        command = table_.find(name);
    }
    if (command == nullptr) {
        throw ScenarioError("unknown command \"" + name + "\" (see --help)");
    }
    words.erase(words.begin());
    return command->parse(Args(std::move(words)), scope);
}

std::vector<ScenarioStep> Simulator::parse(std::istream& in, const std::string& file) const {
    StepBuilder steps(file);
    ParseScope scope;
    scope.parseNested = [this, &scope](const std::string& line) {
        try {
            auto action = parseLine(line, scope);
            if (!action) {
                throw ScenarioError("an empty command");
            }
            return action;
        } catch (const ScenarioError& e) {
            throw ScenarioError("in " + sim::quoted(line) + ": " + e.what());
        }
    };
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        try {
            if (steps.takeBlockLine(splitWords(line), number, scope)) {
                continue;
            }
            if (auto action = parseLine(line, scope)) {
                steps.add({file, number, line, std::move(action)});
            }
        } catch (const ScenarioError& e) {
            throw ScenarioError(file + ":" + std::to_string(number) + ": " + e.what());
        }
    }
    if (in.bad()) {
        throw ScenarioError(file + ": the scenario could not be read");
    }
    return steps.finish();
}

int Simulator::run(const std::vector<ScenarioStep>& steps) {
    try {
        runSteps(steps);
    } catch (const StepFailure& failure) {
        out_.flush();
        err_ << failure.where << ": " << failure.message << '\n';
        return failure.status;
    }
    return 0;
}

void Simulator::runSteps(const std::vector<ScenarioStep>& steps) {
    for (const auto& step : steps) {
        const auto where = [&step] { return step.file + ":" + std::to_string(step.line); };
        try {
            step.action(*this);
            machine_->settle();
            if (std::exchange(quitWhenPanelsClose_, false) && app_) {
                terminate();
                machine_->settle();
            }
        } catch (const ExpectationFailed& e) {
            throw StepFailure{where(), e.what(), 1};
        } catch (const ScenarioError& e) {
            throw StepFailure{where(), e.what(), 2};
        }
    }
}

std::string Simulator::help() const {
    std::ostringstream h;
    h << "usage: lumivoke-sim [--help] [FILE|-]\n\n"
         "Runs Lumivoke headless on a simulated machine and virtual clock, driven by a scenario\n"
         "script (standard input when FILE is absent or -), and prints the trace: one line per\n"
         "visible effect, \"SECONDS SUBJECT: DETAIL\". After each command every task due at the\n"
         "current virtual time runs.\n\n"
         "Exit status: 0 when the scenario ran and every expectation held; 1 when an expectation\n"
         "failed; 2 for a malformed scenario, a command that cannot run (FILE:LINE: message on\n"
         "standard error) or a FILE that cannot be read (a directory, for one).\n\n"
         "The whole file is checked before anything runs, including that every source and\n"
         "running application a command names was declared on an earlier line. A duration is\n"
         "at most a day (86400s); a coordinate lies within +-1000000 points, a size within 0 to\n"
         "1000000. A whole scenario covers at most 31 days (2678400s) of virtual time and runs\n"
         "at most 10000000 commands, each pass of a repeated line counted.\n\n"
         "Words are separated by spaces; \"…\" keeps spaces (with \\\" and \\\\), '…' is literal;\n"
         "# starts a comment.\n\nCommands:\n";
    for (const auto& c : table_.all()) {
        h << "  " << c.usage << "\n      " << c.summary << "\n";
    }
    h << "\nSee docs/simulator.md for the whole language.\n";
    return h.str();
}

}  // namespace lumivoke::sim
