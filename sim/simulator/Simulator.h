#pragma once

#include <functional>
#include <iosfwd>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "Scenario.h"
#include "SimPlatform.h"
#include "app/AppState.h"
#include "app/LumivokeApp.h"

namespace lumivoke::sim {

class Simulator;

/// What a command does when its turn comes.
using Action = std::function<void(Simulator&)>;

/// What the lines parsed so far declared, so that a command naming a source or an application
/// that no earlier line declared is malformed before anything runs.
struct ParseScope {
    /// Keys of the sources defined so far: their ids, or "source#N" for those without one.
    std::set<std::string> sources;
    int unnamedSources = 0;
    /// Keys of the applications declared as running (with pid=N).
    std::set<std::string> runningApps;
    /// Names of the snapshots taken so far.
    std::set<std::string> snapshots;
    /// The virtual time the lines parsed so far move forward, repeats counted.
    Duration virtualTime{0};
    /// Parses one more command line in this scope (the commands an open panel runs while up).
    std::function<Action(const std::string&)> parseNested;

    /// A scenario error unless id names a source defined on an earlier line.
    void requireSource(const std::string& id) const;
    /// A scenario error unless key names an application declared running on an earlier line.
    void requireRunningApp(const std::string& key) const;
    /// Counts d more of virtual time; a scenario error once the whole exceeds kMaxScenarioTime.
    void coverTime(Duration d);
};

/// Checks one command's words and returns its action; throws ScenarioError when malformed.
using CommandParser = std::function<Action(const Args&, ParseScope&)>;

/// The scenario language: every command with its usage and a one-line summary.
class CommandTable {
public:
    struct Command {
        std::string name;
        std::string usage;
        std::string summary;
        CommandParser parse;
    };

    void add(std::string name, std::string usage, std::string summary, CommandParser parse);
    /// For the many commands that need nothing of the scope.
    void add(std::string name, std::string usage, std::string summary,
             std::function<Action(const Args&)> parse);
    const Command* find(const std::string& name) const;
    const std::vector<Command>& all() const { return commands_; }

private:
    std::vector<Command> commands_;
};

// Each group of commands registers itself.
void addMachineCommands(CommandTable& table);
void addRunningCommands(CommandTable& table);
void addCheckCommands(CommandTable& table);
void addSwitchCommands(CommandTable& table);
void addRulesCommands(CommandTable& table);
/// What "print rules" does: each rule with the row the settings would show for it.
Action rulesPrinter();
void addBadgeCommands(CommandTable& table);
/// The system's services around the settings: fn-usage, login-item, open-panel, reopen.
void addSystemServiceCommands(CommandTable& table);
/// The person's actions on the open settings window: settings, toggle, press.
void addSettingsWindowCommands(CommandTable& table);
void addMenuCommands(CommandTable& table);
/// snapshot, expect-snapshot, and repeat and end for the help (parse() handles those two).
void addSnapshotCommands(CommandTable& table);
/// What "print state" does: the machine's and the application's state.
Action statePrinter();
/// What "print live" does: the counts of what the running system holds.
Action livePrinter();
/// The settings table's sub-commands of "rules" (add, click, header, assign, remove-selected);
/// none when sub is not one of them.
std::optional<Action> parseSettingsRulesCommand(const std::string& sub, const Args& args);
/// What "print settings" does: the visible tab as trace lines.
Action settingsPrinter();
/// Traces what a new settings window shows (its tab and scrolling).
void traceSettingsView(Simulator& s, SettingsView& view);

/// One parsed scenario line.
struct ScenarioStep {
    std::string file;
    int line = 0;
    std::string text;
    Action action;
};

/// An expectation that did not hold.
class ExpectationFailed : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// A step that failed while running, located at its own line (for a step of a repeated block,
/// the block's line, not the repeat's): status 1 for an expectation, 2 for a fault.
struct StepFailure {
    std::string where;  ///< "FILE:LINE"
    std::string message;
    int status = 2;
};

/// Runs the application headless on a simulated machine from a scenario script.
class Simulator {
public:
    Simulator(std::ostream& out, std::ostream& err);
    ~Simulator();

    /// Parses a whole scenario; throws ScenarioError with "FILE:LINE: " in its message.
    std::vector<ScenarioStep> parse(std::istream& in, const std::string& file) const;
    /// Parses the scenario file at path; a ScenarioError naming it when it cannot be read.
    std::vector<ScenarioStep> parseFile(const std::string& path) const;
    /// Parses one line in scope; an empty action for a blank or comment-only line.
    Action parseLine(const std::string& line, ParseScope& scope) const;
    /// Runs the steps; returns 0, 1 for a failed expectation, 2 for a fault at run time.
    int run(const std::vector<ScenarioStep>& steps);
    /// Runs the steps, each followed by the tasks due; throws StepFailure at the first failure.
    void runSteps(const std::vector<ScenarioStep>& steps);
    /// The --help text.
    std::string help() const;

    SimPlatform& machine() { return *machine_; }
    /// The running application, or null before launch.
    AppState* app() { return app_ ? &app_->state() : nullptr; }
    /// The running application with its menu-bar item, or null before launch.
    LumivokeApp* shell() { return app_.get(); }
    /// The running application; a scenario error when it has not been launched.
    AppState& requireApp();
    /// Starts the application on the machine (a scenario error if it runs already).
    void launch();
    /// Tears the application down, as when it quits; a scenario error while an open panel is
    /// up, whose modal run is still inside the application.
    void terminate();
    /// Runs commands the way an open panel's modal loop lets work happen while it is up: each
    /// command, then every task due.
    void runWhilePanelUp(const std::vector<Action>& actions);

    /// Checks that a trace line after the last matched one contains text (or, for absent,
    /// that none does); a match moves the search start past it.
    void expect(const std::string& text, bool present);

    std::ostream& out() { return out_; }

    /// Adds a display; the first one replaces the machine's default display.
    void addScreen(const Screen& screen);
    /// Removes every display.
    void clearScreens();

    /// Tokens of subscriptions the simulator makes to trace what views show.
    std::vector<Token> viewTokens;
    /// What "snapshot NAME" remembered: the state and live-count lines, by name.
    std::map<std::string, std::vector<std::string>> snapshots;

private:
    void traceHUD(HUDView& view);
    void traceBadge(BadgeView& view);

    std::ostream& out_;
    std::ostream& err_;
    CommandTable table_;
    std::unique_ptr<SimPlatform> machine_;
    std::unique_ptr<LumivokeApp> app_;
    std::size_t searchFrom_ = 0;
    bool defaultScreen_ = true;
    // Open panels up now, one inside the other; quitting waits until none is.
    int panelsUp_ = 0;
    bool quitWhenPanelsClose_ = false;
};

}  // namespace lumivoke::sim
