#pragma once

#include <X11/keysym.h>

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "LogFile.h"
#include "Process.h"
#include "XClient.h"

// Declared only: gtest's own header must come before the X headers, which its users see to.
namespace testing {
class AssertionResult;
}

namespace lumivoke::e2e {

/// The key the program takes as the trigger when nothing else is chosen: the one place that
/// names it.
inline constexpr KeySym kTriggerKeysym = XK_Control_R;  // keycode 105 in the evdev keymap

/// What a session runs besides the X server.
struct SessionOptions {
    bool windowManager = true;  ///< openbox
    bool trayHost = true;       ///< trayer, along the top edge
    /// The tray's colour (0xRRGGBB), or none for trayer's own light grey.
    std::optional<std::uint32_t> trayColour;
    bool terminal = true;  ///< an xterm under the pointer, focused
    /// A compositing manager (xcompmgr -c), which draws translucent windows as such.
    bool compositor = false;
    /// Cursors from the theme Adwaita; without, the programs show the X server's own cursors.
    bool cursorTheme = true;
    std::string layouts = "us,de,ru";
    /// The layouts' variants, as setxkbmap -variant takes them ("" for none).
    std::string variants;
    /// Text of the program's settings file, written before it starts (none: no file).
    std::optional<std::string> settings;
    /// Other files written before the program starts, by path below the session's home.
    std::vector<std::pair<std::filesystem::path, std::string>> files;
    bool lumivoke = true;
    /// The program's command-line arguments.
    std::vector<std::string> arguments;
    /// Variables for every launch of the program besides the session's own (XDG_DATA_DIRS,
    /// LC_MESSAGES, GTK_THEME, WAYLAND_DISPLAY); "${HOME}" in a value stands for the session's
    /// home folder.
    std::vector<std::pair<std::string, std::string>> environment;
    /// Whether the program can watch the keys, as it can in an X11 session: it then starts its
    /// key monitor, which startLumivoke() waits for.
    bool keyMonitor = true;
};

/// A desktop of its own for one test: Xvfb on a free display, the programs of the options, and
/// Lumivoke with its own HOME, XDG folders and temporary folder. Everything it started ends
/// with it, whatever the test did.
class Session {
public:
    /// Why no X server can be started here, or none when one can.
    static std::optional<std::string> unavailable();

    Session();
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    /// Starts everything of the options and waits until each part is ready; false (with test
    /// failures that say why) when a part did not come up. skipReason() is set instead when
    /// the X server itself could not be started.
    bool start(const SessionOptions& options);
    const std::optional<std::string>& skipReason() const { return skipReason_; }

    /// Whether the X server runs and the test is connected to it.
    bool hasDisplay() const { return x_ != nullptr && x_->connected(); }
    XClient& x() { return *x_; }
    const std::string& display() const { return display_; }
    /// The X server's process (for what it costs, in the benchmarks).
    Process* xServer() { return xserver_.get(); }
    const SessionOptions& options() const { return options_; }
    /// The variables every program of the session starts with.
    Environment environment() const;
    /// Those the program starts with: the session's and the options' own.
    Environment lumivokeEnvironment() const;

    // Where the program keeps its things.
    /// The session's folder: every program's home, XDG folders, temporary files and logs.
    const std::filesystem::path& folder() const { return dir_.path(); }
    std::filesystem::path home() const;
    std::filesystem::path configHome() const;
    std::filesystem::path dataHome() const;
    std::filesystem::path settingsFile() const;
    std::filesystem::path autostartEntry() const;
    /// The single-instance socket, and the lock the running instance holds.
    std::filesystem::path instanceSocket() const;
    std::filesystem::path instanceLock() const;

    // The program.
    /// Starts Lumivoke and waits for its key monitor (and, with a tray host, its tray icon
    /// unless the settings hide it).
    bool startLumivoke(bool expectTrayIcon = true);
    Process* lumivoke() { return lumivoke_.get(); }
    /// Its standard error: the log lines.
    const LogFile& log() const { return log_; }
    /// Runs another `lumivoke` to its end; its exit status (none if it did not end in time).
    std::optional<int> launchAgain(std::chrono::milliseconds timeout = std::chrono::seconds(10));
    /// What the last launchAgain() printed.
    std::string launchAgainOutput() const;
    /// Starts another `lumivoke` with these arguments and lets it run; its standard error
    /// goes to the session's file named output (see sessionLog()).
    std::unique_ptr<Process> spawnLumivoke(const std::string& output,
                                           const std::vector<std::string>& arguments = {});
    /// A log file of the session's folder.
    LogFile sessionLog(const std::string& name) const;

    // The other programs.
    Window terminal() const { return terminal_; }
    /// The keycode of the trigger in the session's keymap.
    KeyCode trigger();
    void tapTrigger() { x().tap(trigger()); }
    /// Runs a program of the session (wmctrl, setxkbmap, …) to its end; its exit status.
    std::optional<int> run(const std::vector<std::string>& argv);
    /// Starts a program of the session and lets it run, its output going to the session's file
    /// named output.
    std::unique_ptr<Process> spawn(const std::vector<std::string>& argv,
                                   const std::string& output = "commands.log");

    // Lumivoke's windows, as the X server sees them.
    /// The HUD's window, mapped or not (none until the first HUD); its name is what it shows.
    std::optional<WindowInfo> hud();
    /// Waits until the HUD is up showing text (anything, when text is empty): that HUD, or
    /// none when it did not come.
    std::optional<WindowInfo> waitForHud(const std::string& text = "");
    /// Waits until the keyboard is on group and the HUD confirms it with code.
    ::testing::AssertionResult switchedTo(int group, const std::string& code);
    /// The badge's window, mapped or not; its name is what it shows.
    std::optional<WindowInfo> badge();
    /// Whether the badge is up now.
    bool badgeShown() {
        const auto window = badge();
        return window && window->viewable;
    }
    /// The tray icon, embedded in the tray host and viewable.
    std::optional<WindowInfo> trayIcon();
    /// The settings window, viewable.
    std::optional<WindowInfo> settingsWindow();
    /// The open tray menu.
    std::optional<WindowInfo> menu();

    /// Writes a picture of the whole screen to the artifacts folder as NAME.png.
    void screenshot(const std::string& name);
    /// The same without waiting for it: the picture is taken while the test goes on.
    std::unique_ptr<Process> beginScreenshot(const std::string& name);

    /// The session's files are kept (and named) when a test failed.
    void keepFiles();

    /// Starts the tray host (trayer, along the top edge, in colour or its own light grey) and
    /// waits until it holds the tray; for a session started without one, or after stopping it.
    bool startTrayHost(std::optional<std::uint32_t> colour = std::nullopt);
    /// Ends the tray host; the icons in it lose their place.
    void stopTrayHost();
    /// Starts the compositing manager and waits until it composites; ends it.
    bool startCompositor();
    void stopCompositor();

private:
    /// Ends a helper of the session and waits until it has let go of the selection it held.
    void stopHolder(std::unique_ptr<Process>& holder, const char* selection, const char* what);
    bool startXServer();
    bool startWindowManager();

    bool startTerminal();
    /// The program's window of an EWMH type, mapped or not.
    std::optional<WindowInfo> lumivokeWindow(const std::string& type);

    TempDir dir_;
    SessionOptions options_;
    std::optional<std::string> skipReason_;
    std::string display_;
    std::unique_ptr<Process> xserver_;
    std::unique_ptr<XClient> x_;
    std::unique_ptr<Process> windowManager_;
    std::unique_ptr<Process> compositor_;
    std::unique_ptr<Process> trayHost_;
    std::unique_ptr<Process> terminalProcess_;
    std::unique_ptr<Process> lumivoke_;
    Window terminal_ = 0;
    LogFile log_;
    int launches_ = 0;
};

}  // namespace lumivoke::e2e
