#include "Simulator.h"

#include <istream>
#include <ostream>
#include <sstream>

#include "badge/BadgeModel.h"
#include "overlay/HUDModel.h"

namespace lumivoke::sim {

void CommandTable::add(std::string name, std::string usage, std::string summary,
                       CommandParser parse) {
    commands_.push_back({std::move(name), std::move(usage), std::move(summary), std::move(parse)});
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
    addSettingsCommands(table_);
    addMenuCommands(table_);
    addCheckCommands(table_);
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
    // Quitting ends the application once the quitting action has returned.
    machine_->application.onTerminate = [this] {
        machine_->loop.post([this] {
            if (app_) {
                terminate();
            }
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
                machine_->trace.add("HUD", "text " + quoted(*s.text) + " (inserted)");
                break;
            case HUDView::Transition::changed:
                machine_->trace.add("HUD", "text " + quoted(*s.text) + " (changed)");
                break;
            case HUDView::Transition::removed:
                machine_->trace.add("HUD", "text none");
                break;
        }
    }));
}

void Simulator::traceBadge(BadgeView& view) {
    viewTokens.push_back(view.text.subscribe(
        [this](const std::string& text) { machine_->trace.add("Badge", "text " + quoted(text)); }));
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
    app_.reset();
    machine_->defaults.forgetRegistrations();
}

void Simulator::expect(const std::string& text, bool present) {
    const auto& lines = machine_->trace.lines();
    for (std::size_t i = searchFrom_; i < lines.size(); ++i) {
        if (lines[i].find(text) != std::string::npos) {
            if (!present) {
                throw ExpectationFailed("expect-not " + quoted(text) + " failed: found in\n  " +
                                        lines[i]);
            }
            searchFrom_ = i + 1;
            return;
        }
    }
    if (!present) {
        return;
    }
    std::ostringstream msg;
    msg << "expect " << quoted(text) << " failed; searched " << (lines.size() - searchFrom_)
        << " trace line(s):";
    for (std::size_t i = searchFrom_; i < lines.size(); ++i) {
        msg << "\n  " << lines[i];
    }
    throw ExpectationFailed(msg.str());
}

std::vector<ScenarioStep> Simulator::parse(std::istream& in, const std::string& file) const {
    std::vector<ScenarioStep> steps;
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        try {
            auto words = splitWords(line);
            if (words.empty()) {
                continue;
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
            steps.push_back({file, number, line, command->parse(Args(std::move(words)))});
        } catch (const ScenarioError& e) {
            throw ScenarioError(file + ":" + std::to_string(number) + ": " + e.what());
        }
    }
    return steps;
}

int Simulator::run(const std::vector<ScenarioStep>& steps) {
    for (const auto& step : steps) {
        try {
            step.action(*this);
            machine_->settle();
        } catch (const ExpectationFailed& e) {
            out_.flush();
            err_ << step.file << ":" << step.line << ": " << e.what() << '\n';
            return 1;
        } catch (const ScenarioError& e) {
            out_.flush();
            err_ << step.file << ":" << step.line << ": " << e.what() << '\n';
            return 2;
        }
    }
    return 0;
}

std::string Simulator::help() const {
    std::ostringstream h;
    h << "usage: lumivoke-sim [--help] [FILE|-]\n\n"
         "Runs Lumivoke headless on a simulated machine and virtual clock, driven by a scenario\n"
         "script (standard input when FILE is absent or -), and prints the trace: one line per\n"
         "visible effect, \"SECONDS SUBJECT: DETAIL\". After each command every task due at the\n"
         "current virtual time runs.\n\n"
         "Exit status: 0 when the scenario ran and every expectation held; 1 when an expectation\n"
         "failed; 2 for a malformed scenario (FILE:LINE: message on standard error).\n\n"
         "Words are separated by spaces; \"…\" keeps spaces (with \\\" and \\\\), '…' is literal;\n"
         "# starts a comment.\n\nCommands:\n";
    for (const auto& c : table_.all()) {
        h << "  " << c.usage << "\n      " << c.summary << "\n";
    }
    h << "\nSee docs/simulator.md for the whole language.\n";
    return h.str();
}

}  // namespace lumivoke::sim
