// Before Xlib, whose macros (None, Bool) clash with its names.
#include <gtest/gtest.h>

#include "Session.h"

#include <X11/Xatom.h>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>

namespace lumivoke::e2e {

namespace fs = std::filesystem;
using std::chrono::milliseconds;
using std::chrono::seconds;

namespace {

constexpr const char* kScreen = "1280x800x24";
// Every cursor of the session comes from one theme, so that the text cursor the program knows
// is the one the terminal shows.
constexpr const char* kCursorTheme = "Adwaita";
constexpr int kTrayHeight = 28;

// Lines of words as wide as the terminal, so that a double click almost anywhere in it selects a
// word; fewer lines than it has, since scrolling would drop a selection. Then a mark that the
// text is out, and a reader for whatever is typed, which notes each Ctrl+C and reads on.
constexpr const char* kTerminalScript =
    "w='lumivoke words '; l=''; i=0; while [ $i -lt 10 ]; do l=\"$l$w\"; i=$((i+1)); done; "
    "i=0; while [ $i -lt 40 ]; do echo \"$l\"; i=$((i+1)); done; "
    "trap ': > \"$HOME/interrupted\"' INT; : > \"$HOME/terminal-ready\"; "
    "while :; do cat >/dev/null; done";

std::string required(const std::string& program) {
    auto path = findExecutable(program);
    if (!path) {
        ADD_FAILURE() << program << " is not installed (LUMIVOKE_WITH_DESKTOP=1 bash "
                      << "scripts/setup.sh installs it)";
        return program;
    }
    return *path;
}

}  // namespace

std::optional<std::string> Session::unavailable() {
    if (!findExecutable("Xvfb")) {
        return std::string(
            "no X server can be started: Xvfb is not installed "
            "(LUMIVOKE_WITH_DESKTOP=1 bash scripts/setup.sh installs it)");
    }
    return std::nullopt;
}

Session::Session() : dir_("lumivoke-e2e"), log_(dir_.path() / "lumivoke.log") {
    for (const auto& folder :
         {home(), configHome(), dataHome(), dir_.path() / "run", dir_.path() / "tmp"}) {
        fs::create_directories(folder);
    }
    // Qt insists on a private runtime folder.
    fs::permissions(dir_.path() / "run", fs::perms::owner_all, fs::perm_options::replace);
}

Session::~Session() = default;

fs::path Session::home() const {
    return dir_.path() / "home";
}

fs::path Session::configHome() const {
    return home() / ".config";
}

fs::path Session::dataHome() const {
    return home() / ".local" / "share";
}

fs::path Session::settingsFile() const {
    return configHome() / "velmorandix" / "Lumivoke.conf";
}

fs::path Session::autostartEntry() const {
    return configHome() / "autostart" / "lumivoke.desktop";
}

fs::path Session::instanceSocket() const {
    return dir_.path() / "run" / ("lumivoke-" + std::to_string(getuid()));
}

fs::path Session::instanceLock() const {
    return dir_.path() / "run" / ("lumivoke-" + std::to_string(getuid()) + ".lock");
}

Environment Session::environment() const {
    const char* path = std::getenv("PATH");
    Environment environment{
        {"PATH", path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin"},
        {"HOME", home().string()},
        {"XDG_CONFIG_HOME", configHome().string()},
        {"XDG_DATA_HOME", dataHome().string()},
        {"XDG_CACHE_HOME", (home() / ".cache").string()},
        {"XDG_RUNTIME_DIR", (dir_.path() / "run").string()},
        {"TMPDIR", (dir_.path() / "tmp").string()},
        {"DISPLAY", display_},
        {"XCURSOR_THEME", kCursorTheme},
        {"XCURSOR_SIZE", "24"},
        {"LANG", "C.UTF-8"},
    };
    if (!options_.cursorTheme) {
        environment.erase("XCURSOR_THEME");
        environment.erase("XCURSOR_SIZE");
    }
    return environment;
}

Environment Session::lumivokeEnvironment() const {
    Environment environment = this->environment();
    const std::string homeFolder = home().string();
    for (auto [name, value] : options_.environment) {
        for (auto at = value.find("${HOME}"); at != std::string::npos;
             at = value.find("${HOME}", at + homeFolder.size())) {
            value.replace(at, 7, homeFolder);
        }
        environment[name] = value;
    }
    return environment;
}

bool Session::start(const SessionOptions& options) {
    options_ = options;
    if (!startXServer()) {
        return false;
    }
    x_ = std::make_unique<XClient>(display_);
    if (!x_->connected()) {
        ADD_FAILURE() << "cannot connect to the X server at " << display_;
        return false;
    }
    if (run({"setxkbmap", "-layout", options.layouts, "-variant", options.variants}) != 0) {
        ADD_FAILURE() << "setxkbmap -layout " << options.layouts << " -variant " << options.variants
                      << " failed";
        return false;
    }
    if (options.windowManager && !startWindowManager()) {
        return false;
    }
    if (options.compositor && !startCompositor()) {
        return false;
    }
    if (options.trayHost && !startTrayHost(options.trayColour)) {
        return false;
    }
    if (options.terminal && !startTerminal()) {
        return false;
    }
    if (options.settings && !writeFile(settingsFile(), *options.settings)) {
        return false;
    }
    for (const auto& [path, text] : options.files) {
        if (!writeFile(home() / path, text)) {
            return false;
        }
    }
    return !options.lumivoke || startLumivoke();
}

bool Session::startXServer() {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        ADD_FAILURE() << "pipe2 failed";
        return false;
    }
    // The server picks a free display itself and writes its number back: no race with other
    // sessions running at the same time.
    xserver_ = std::make_unique<Process>(
        Process::Options{{*findExecutable("Xvfb"), "-displayfd", "3", "-screen", "0", kScreen,
                          "-noreset", "-nolisten", "tcp"},
                         environment(),
                         dir_.path() / "xvfb.log",
                         fds[1]});
    close(fds[1]);
    std::string number;
    const auto deadline = std::chrono::steady_clock::now() + seconds(15);
    while (number.find('\n') == std::string::npos && std::chrono::steady_clock::now() < deadline) {
        pollfd fd{fds[0], POLLIN, 0};
        if (poll(&fd, 1, 100) > 0) {
            char buffer[32];
            const ssize_t n = read(fds[0], buffer, sizeof buffer);
            if (n <= 0) {
                break;
            }
            number.append(buffer, static_cast<std::size_t>(n));
        }
    }
    close(fds[0]);
    if (number.find('\n') == std::string::npos) {
        const auto log = readFile(dir_.path() / "xvfb.log");
        skipReason_ = "no X server can be started: Xvfb gave no display (" +
                      (log ? log->substr(0, 300) : std::string("no output")) + ")";
        return false;
    }
    display_ = ":" + number.substr(0, number.find('\n'));
    std::cout << "[ display  ] " << display_ << std::endl;
    return true;
}

bool Session::startWindowManager() {
    windowManager_ = spawn({"openbox", "--sm-disable"}, "openbox.log");
    // Its check window comes early in its start; a window mapped before it handles requests
    // can be lost. Ready is when it has taken a window of ours under its management.
    Display* dpy = x().display();
    const Window probe = XCreateSimpleWindow(dpy, x().root(), 0, 0, 10, 10, 0, 0, 0);
    XMapWindow(dpy, probe);
    x().sync();
    const bool managed = eventually([&] {
        return !x().cardinalProperty(x().root(), "_NET_SUPPORTING_WM_CHECK", XA_WINDOW).empty() &&
               !x().cardinalProperty(probe, "WM_STATE", x().atom("WM_STATE")).empty();
    });
    XDestroyWindow(dpy, probe);
    x().sync();
    if (!managed) {
        ADD_FAILURE() << "openbox did not start" << LogFile(dir_.path() / "openbox.log").tail();
        return false;
    }
    return true;
}

bool Session::startCompositor() {
    compositor_ = spawn({"xcompmgr", "-c"}, "xcompmgr.log");
    // A compositing manager announces itself by taking this selection.
    if (!eventually([&] { return x().selectionOwner("_NET_WM_CM_S0") != 0; })) {
        ADD_FAILURE() << "xcompmgr did not start" << LogFile(dir_.path() / "xcompmgr.log").tail();
        return false;
    }
    return true;
}

void Session::stopHolder(std::unique_ptr<Process>& holder, const char* selection,
                         const char* what) {
    if (holder) {
        holder->stop();
        holder.reset();
    }
    EXPECT_TRUE(eventually([&] { return x().selectionOwner(selection) == 0; })) << what;
}

void Session::stopCompositor() {
    stopHolder(compositor_, "_NET_WM_CM_S0", "the compositing manager stayed");
}

bool Session::startTrayHost(std::optional<std::uint32_t> colour) {
    const std::string height = std::to_string(kTrayHeight);
    std::vector<std::string> argv{"trayer"};
    const std::pair<const char*, std::string> options[] = {
        {"--edge", "top"},         {"--align", "right"},          {"--widthtype", "pixel"},
        {"--width", "120"},        {"--heighttype", "pixel"},     {"--height", height},
        {"--SetDockType", "true"}, {"--SetPartialStrut", "true"}, {"--expand", "false"},
    };
    for (const auto& [option, value] : options) {
        argv.insert(argv.end(), {option, value});
    }
    if (colour) {
        char tint[16];
        std::snprintf(tint, sizeof tint, "0x%06x", *colour & 0xffffffu);
        // Opaque in that colour: trayer's "transparency" tints the root's picture by alpha.
        argv.insert(argv.end(), {"--transparent", "true", "--alpha", "0", "--tint", tint});
    }
    trayHost_ = spawn(argv, "trayer.log");
    if (!eventually([&] { return x().selectionOwner("_NET_SYSTEM_TRAY_S0") != 0; })) {
        ADD_FAILURE() << "trayer did not take the tray"
                      << LogFile(dir_.path() / "trayer.log").tail();
        return false;
    }
    // Its strut makes the usable area smaller: what the HUD is centred in.
    if (options_.windowManager && !eventually([&] { return x().workArea().y == kTrayHeight; })) {
        ADD_FAILURE() << "the work area never left room for the tray: " << x().workArea();
        return false;
    }
    return true;
}

bool Session::startTerminal() {
    terminalProcess_ = spawn({"xterm", "-title", "e2e terminal",
                              // xterm hides the pointer on each key press by default, which
                              // would hide the badge for xterm's reasons instead of the program's.
                              "-xrm", "XTerm*pointerMode: 0", "-geometry", "150x44+10+50", "-fa",
                              "Monospace", "-fs", "10", "-e", "/bin/sh", "-c", kTerminalScript},
                             "xterm.log");
    std::optional<WindowInfo> window;
    const bool shown = eventually([&] {
        const auto windows = x().windowsOf("xterm");
        if (!windows.empty()) {
            window = windows.front();
        }
        return window.has_value();
    });
    if (!shown) {
        ADD_FAILURE() << "the xterm did not appear" << x().describeWindows();
        return false;
    }
    terminal_ = window->id;
    if (!eventually([&] { return fs::exists(home() / "terminal-ready"); })) {
        ADD_FAILURE() << "the xterm's shell did not run";
        return false;
    }
    if (options_.windowManager &&
        !eventually([&] { return x().isAncestor(terminal_, x().focus()); })) {
        ADD_FAILURE() << "the xterm did not get the focus: it is on 0x" << std::hex << x().focus();
        return false;
    }
    return true;
}

bool Session::startLumivoke(bool expectTrayIcon) {
    const std::size_t mark = log_.mark();
    std::vector<std::string> argv{LUMIVOKE_BINARY};
    // Where a systemd journal runs the log goes there; the tests read it from standard error.
    if (fs::is_socket("/run/systemd/journal/socket")) {
        argv.emplace_back("--verbose");
    }
    argv.insert(argv.end(), options_.arguments.begin(), options_.arguments.end());
    lumivoke_ = std::make_unique<Process>(
        Process::Options{argv, lumivokeEnvironment(), log_.path(), std::nullopt});
    if (options_.keyMonitor && log_.waitFor("NSEvent global monitor started", mark).empty()) {
        ADD_FAILURE() << "lumivoke did not start its key monitor" << log_.tail(mark);
        return false;
    }
    if (options_.trayHost && expectTrayIcon &&
        !eventually([&] { return trayIcon().has_value(); })) {
        ADD_FAILURE() << "lumivoke's tray icon did not appear" << x().describeWindows()
                      << log_.tail(mark);
        return false;
    }
    return true;
}

void Session::stopTrayHost() {
    stopHolder(trayHost_, "_NET_SYSTEM_TRAY_S0", "the tray stayed taken");
}

std::optional<int> Session::launchAgain(milliseconds timeout) {
    ++launches_;
    Process second(Process::Options{{LUMIVOKE_BINARY},
                                    lumivokeEnvironment(),
                                    dir_.path() / ("launch-" + std::to_string(launches_) + ".log"),
                                    std::nullopt});
    return second.wait(timeout);
}

std::unique_ptr<Process> Session::spawnLumivoke(const std::string& output,
                                                const std::vector<std::string>& arguments) {
    std::vector<std::string> argv{LUMIVOKE_BINARY};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    return std::make_unique<Process>(
        Process::Options{argv, lumivokeEnvironment(), dir_.path() / output, std::nullopt});
}

LogFile Session::sessionLog(const std::string& name) const {
    return LogFile(dir_.path() / name);
}

std::string Session::launchAgainOutput() const {
    return readFile(dir_.path() / ("launch-" + std::to_string(launches_) + ".log")).value_or("");
}

KeyCode Session::trigger() {
    const KeyCode code = x().keycode(kTriggerKeysym);
    EXPECT_NE(code, 0) << "the keymap has no key for the trigger";
    return code;
}

std::optional<int> Session::run(const std::vector<std::string>& argv) {
    return runCommand(argv, environment(), seconds(10), dir_.path() / "commands.log");
}

std::unique_ptr<Process> Session::spawn(const std::vector<std::string>& argv,
                                        const std::string& output) {
    std::vector<std::string> full = argv;
    full.front() = required(full.front());
    return std::make_unique<Process>(
        Process::Options{full, environment(), dir_.path() / output, std::nullopt});
}

std::optional<WindowInfo> Session::lumivokeWindow(const std::string& type) {
    const auto windows = x().findWindows(
        [&](const WindowInfo& w) { return w.instance == "lumivoke" && w.type == type; });
    if (windows.empty()) {
        return std::nullopt;
    }
    return windows.front();
}

std::optional<WindowInfo> Session::hud() {
    return lumivokeWindow("_NET_WM_WINDOW_TYPE_NOTIFICATION");
}

std::optional<WindowInfo> Session::waitForHud(const std::string& text) {
    std::optional<WindowInfo> shown;
    eventually([&] {
        shown = hud();
        return shown && shown->viewable && (text.empty() || shown->name == text);
    });
    if (shown && shown->viewable && (text.empty() || shown->name == text)) {
        return shown;
    }
    return std::nullopt;
}

::testing::AssertionResult Session::switchedTo(int group, const std::string& code) {
    if (!eventually([&] { return x().group() == group; })) {
        return ::testing::AssertionFailure() << "the group is " << x().group() << ", not " << group;
    }
    if (!waitForHud(code)) {
        return ::testing::AssertionFailure() << "no HUD with " << code << x().describeWindows();
    }
    return ::testing::AssertionSuccess();
}

std::optional<WindowInfo> Session::badge() {
    return lumivokeWindow("_NET_WM_WINDOW_TYPE_TOOLTIP");
}

std::optional<WindowInfo> Session::menu() {
    // A popup of the program's own, straight on the root window (the tray icon is inside the
    // tray host), that is neither overlay.
    for (const Window w : x().children(x().root())) {
        const WindowInfo info = x().describe(w);
        if (info.instance == "lumivoke" && info.viewable && info.overrideRedirect &&
            info.type != "_NET_WM_WINDOW_TYPE_NOTIFICATION" &&
            info.type != "_NET_WM_WINDOW_TYPE_TOOLTIP" && info.frame.width >= 60) {
            return info;
        }
    }
    return std::nullopt;
}

std::optional<WindowInfo> Session::settingsWindow() {
    const auto windows = x().findWindows([](const WindowInfo& w) {
        return w.instance == "lumivoke" && w.viewable && !w.overrideRedirect &&
               w.type == "_NET_WM_WINDOW_TYPE_NORMAL" && w.frame.width > 100;
    });
    if (windows.empty()) {
        return std::nullopt;
    }
    return windows.front();
}

std::optional<WindowInfo> Session::trayIcon() {
    const auto hosts =
        x().findWindows([](const WindowInfo& w) { return w.className == "trayer" && w.viewable; });
    for (const auto& host : hosts) {
        for (const auto& w : x().windowsOf("lumivoke")) {
            if (x().isAncestor(host.id, w.id)) {
                return w;
            }
        }
    }
    return std::nullopt;
}

std::unique_ptr<Process> Session::beginScreenshot(const std::string& name) {
    static bool announced = false;
    const fs::path folder = LUMIVOKE_E2E_ARTIFACTS;
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (!announced) {
        std::cout << "[ artifacts] screenshots in " << folder.string() << std::endl;
        announced = true;
    }
    return spawn({"import", "-window", "root", (folder / (name + ".png")).string()});
}

void Session::screenshot(const std::string& name) {
    if (beginScreenshot(name)->wait(seconds(20)) != 0) {
        ADD_FAILURE() << "import could not take the screenshot " << name;
    }
}

void Session::keepFiles() {
    dir_.keep();
    std::cout << "[ session  ] files kept in " << dir_.path().string() << std::endl;
}

}  // namespace lumivoke::e2e
