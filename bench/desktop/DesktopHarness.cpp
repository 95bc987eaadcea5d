// What the desktop program costs the user's machine, measured on a real X server beside the
// bounds it is held to, in one run: how soon a tap switches the layout and shows the HUD, how
// soon a rule follows a focus change, whether the first character after a tap comes out in the
// new layout, what the program holds in memory, how often it wakes when nothing happens, how
// soon it is ready, and what one switch costs in CPU. Prints one Markdown report.
//
// The bounds: an already-running client that calls XkbLockGroup (nothing can switch sooner)
// and the X server's own group toggle (Alt+Shift), driven the same way as the trigger.
#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <poll.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iomanip>
#include <iostream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "Session.h"

namespace lumivoke::bench {
namespace {

using Clock = std::chrono::steady_clock;
using e2e::Session;
using e2e::SessionOptions;
using std::chrono::milliseconds;

double msBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

/// Sleeps until the given time. A person's keyboard takes no CPU while the next key is on its
/// way, so neither may the injector: a busy wait here holds one of the machine's cores and
/// delays the program it measures. With the timer slack at 1 µs a sleep ends within some tens of
/// microseconds of the time asked.
void waitUntil(Clock::time_point when) {
    std::this_thread::sleep_until(when);
}

struct Summary {
    std::size_t count = 0;
    double median = 0;
    double p95 = 0;
    double p99 = 0;
    double max = 0;
};

Summary summarise(std::vector<double> samples) {
    Summary s;
    s.count = samples.size();
    if (samples.empty()) {
        return s;
    }
    std::sort(samples.begin(), samples.end());
    const auto at = [&](double q) {
        const auto i = static_cast<std::size_t>(q * static_cast<double>(samples.size() - 1) + 0.5);
        return samples[std::min(i, samples.size() - 1)];
    };
    s.median = at(0.5);
    s.p95 = at(0.95);
    s.p99 = at(0.99);
    s.max = samples.back();
    return s;
}

std::string fixed(double value, int digits = 2) {
    std::ostringstream out;
    out << std::fixed << std::setprecision(digits) << value;
    return out.str();
}

std::string describe(const Summary& s) {
    if (s.count == 0) {
        return "no samples";
    }
    return fixed(s.median) + " / " + fixed(s.p95) + " / " + fixed(s.max) +
           " ms (n=" + std::to_string(s.count) + ")";
}

// ---- /proc --------------------------------------------------------------------------------

/// CPU time a process has used, all its threads, in milliseconds.
double cpuMs(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    std::getline(in, line);
    // The command name may hold spaces: the fields start after its closing parenthesis.
    const auto close = line.rfind(')');
    if (close == std::string::npos) {
        return 0;
    }
    std::istringstream fields(line.substr(close + 2));
    std::string field;
    unsigned long long utime = 0;
    unsigned long long stime = 0;
    for (int i = 3; fields >> field; ++i) {
        if (i == 14) {
            utime = std::stoull(field);
        } else if (i == 15) {
            stime = std::stoull(field);
            break;
        }
    }
    return static_cast<double>(utime + stime) * 1000.0 / static_cast<double>(sysconf(_SC_CLK_TCK));
}

/// Context switches of every thread of a process: each one is the thread waking or being
/// woken (voluntary) or pre-empted while it ran (involuntary).
unsigned long long wakeUps(pid_t pid) {
    unsigned long long total = 0;
    std::error_code error;
    for (const auto& task :
         std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/task", error)) {
        std::ifstream in(task.path() / "status");
        std::string line;
        while (std::getline(in, line)) {
            if (line.rfind("voluntary_ctxt_switches:", 0) == 0 ||
                line.rfind("nonvoluntary_ctxt_switches:", 0) == 0) {
                total += std::stoull(line.substr(line.find(':') + 1));
            }
        }
    }
    return total;
}

int threadCount(pid_t pid) {
    std::error_code error;
    int n = 0;
    for ([[maybe_unused]] const auto& task :
         std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/task", error)) {
        ++n;
    }
    return n;
}

struct Footprint {
    double rss = 0;  // MB
    double pss = 0;
    double uss = 0;
    double dirty = 0;  // the private part no other process can share: heap, stacks, written data
};

Footprint footprint(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/smaps_rollup");
    Footprint f;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string key;
        double kb = 0;
        if (!(fields >> key >> kb)) {
            continue;  // the first line names the range
        }
        if (key == "Rss:") {
            f.rss = kb / 1024;
        } else if (key == "Pss:") {
            f.pss = kb / 1024;
        } else if (key == "Private_Clean:") {
            f.uss += kb / 1024;
        } else if (key == "Private_Dirty:") {
            f.uss += kb / 1024;
            f.dirty = kb / 1024;
        }
    }
    return f;
}

std::string describe(const Footprint& f) {
    return fixed(f.rss, 1) + " / " + fixed(f.pss, 1) + " / " + fixed(f.uss, 1) + " MB (" +
           fixed(f.dirty, 1) + " MB private dirty)";
}

// ---- the listening client -----------------------------------------------------------------

/// A client of its own that hears what any client of the desktop could: group changes, the
/// HUD's window being mapped, the active window changing, keys typed into its own window.
class Listener {
public:
    explicit Listener(const std::string& display) : dpy_(XOpenDisplay(display.c_str())) {
        int opcode = 0;
        int error = 0;
        int major = XkbMajorVersion;
        int minor = XkbMinorVersion;
        XkbQueryExtension(dpy_, &opcode, &xkbEvent_, &error, &major, &minor);
        XkbSelectEventDetails(dpy_, XkbUseCoreKbd, XkbStateNotify, XkbAllStateComponentsMask,
                              XkbGroupStateMask);
        XSelectInput(dpy_, DefaultRootWindow(dpy_), PropertyChangeMask);
        activeAtom_ = XInternAtom(dpy_, "_NET_ACTIVE_WINDOW", False);
        XSync(dpy_, False);
    }
    ~Listener() { XCloseDisplay(dpy_); }
    Listener(const Listener&) = delete;
    Listener& operator=(const Listener&) = delete;

    Display* display() const { return dpy_; }

    struct Heard {
        Clock::time_point when;
        XEvent event;
    };

    /// The next event for which keep holds, with the time it arrived; none at the deadline.
    std::optional<Heard> next(const std::function<bool(const XEvent&)>& keep,
                              Clock::time_point deadline) {
        for (;;) {
            while (XPending(dpy_) > 0) {
                XEvent event;
                XNextEvent(dpy_, &event);
                const auto when = Clock::now();
                if (keep(event)) {
                    return Heard{when, event};
                }
            }
            const auto left = std::chrono::duration_cast<milliseconds>(deadline - Clock::now());
            if (left.count() < 0) {
                return std::nullopt;
            }
            pollfd fd{ConnectionNumber(dpy_), POLLIN, 0};
            poll(&fd, 1, static_cast<int>(std::min<long>(left.count() + 1, 50)));
        }
    }

    /// The time the group next changes, and to what.
    std::optional<std::pair<Clock::time_point, int>> groupChange(milliseconds timeout) {
        const auto heard =
            next([&](const XEvent& e) { return isGroupChange(e); }, Clock::now() + timeout);
        if (!heard) {
            return std::nullopt;
        }
        return std::make_pair(heard->when,
                              reinterpret_cast<const XkbStateNotifyEvent&>(heard->event).group);
    }

    bool isGroupChange(const XEvent& e) const {
        return e.type == xkbEvent_ &&
               reinterpret_cast<const XkbAnyEvent&>(e).xkb_type == XkbStateNotify &&
               (reinterpret_cast<const XkbStateNotifyEvent&>(e).changed & XkbGroupStateMask) != 0;
    }
    bool isActiveWindowChange(const XEvent& e) const {
        return e.type == PropertyNotify && e.xproperty.atom == activeAtom_;
    }

    /// Forgets what has arrived so far.
    void drain() {
        XSync(dpy_, False);
        while (XPending(dpy_) > 0) {
            XEvent event;
            XNextEvent(dpy_, &event);
        }
    }

private:
    Display* dpy_;
    int xkbEvent_ = -1;
    Atom activeAtom_ = None;
};

// ---- the run ------------------------------------------------------------------------------

struct Options {
    int samples = 200;        // switches per latency measurement
    int idleSeconds = 30;     // per idle measurement
    int soakSwitches = 1000;  // before the second footprint
    int soakBadges = 1000;    // badge appearances, too
    std::filesystem::path output;
    std::vector<std::string> only;  // the measurements to take; all when empty

    bool wants(const std::string& measurement) const {
        return only.empty() || std::find(only.begin(), only.end(), measurement) != only.end();
    }
};

// The measurements --only can name, in the order they run.
const std::vector<std::string> kMeasurements = {"bounds",    "taps", "first-character", "per-app",
                                                "footprint", "idle", "start-up"};

// The two applications the rules name: the terminal, and a window of the harness's own.
constexpr const char* kTerminalApp = "lumivoke-bench-terminal";
constexpr const char* kOtherApp = "lumivoke-bench-other";

std::string base64(const std::string& bytes) {
    static constexpr char kAlphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    unsigned value = 0;
    int bits = -6;
    for (const unsigned char c : bytes) {
        value = (value << 8) | c;
        bits += 8;
        while (bits >= 0) {
            out += kAlphabet[(value >> bits) & 63];
            bits -= 6;
        }
    }
    if (bits > -6) {
        out += kAlphabet[((value << 8) >> (bits + 8)) & 63];
    }
    while (out.size() % 4 != 0) {
        out += '=';
    }
    return out;
}

std::string settingsText(bool badge) {
    const std::string rules =
        std::string("{\"") + kTerminalApp + "\":\"xkb:de\",\"" + kOtherApp + "\":\"xkb:ru\"}";
    return std::string("[General]\nHoverBadgeEnabled=b:") + (badge ? "1" : "0") +
           "\nPerAppRulesEnabled=b:1\nPerAppRules=\"x:" + base64(rules) + "\"\n";
}

class Harness {
public:
    explicit Harness(Options options) : options_(std::move(options)) {}

    int run();

private:
    bool startDesktop();
    bool startProgram();
    void stopProgram();

    // The bounds.
    void measureLockGroupBound();
    void measureServerToggle();
    // The program.
    void measureTaps();
    void measureFirstCharacter();
    void measurePerAppRules();
    void measureFootprintAndSoak();
    void measureIdle();
    void measureStartUp();

    /// Presses and releases the trigger as a person does; the time of the release.
    Clock::time_point tapTrigger(milliseconds hold = milliseconds(40));
    void inject(KeyCode key, bool press) {
        XTestFakeKeyEvent(inject_, key, press ? True : False, CurrentTime);
        XFlush(inject_);
    }
    void activate(Window window);
    Window createOtherWindow();
    pid_t programPid() { return session_.lumivoke()->pid(); }
    pid_t serverPid() { return session_.xServer()->pid(); }

    void row(const std::string& what, const std::string& value, const std::string& note = "") {
        rows_.push_back({what, value, note});
        std::cerr << "  " << what << ": " << value << (note.empty() ? "" : "  (" + note + ")")
                  << std::endl;
    }

    Options options_;
    Session session_;
    Display* inject_ = nullptr;
    std::unique_ptr<Listener> listener_;
    Window other_ = 0;
    KeyCode trigger_ = 0;
    struct Row {
        std::string what;
        std::string value;
        std::string note;
    };
    std::vector<Row> rows_;
    std::vector<std::string> commands_;
};

bool Harness::startDesktop() {
    SessionOptions desktop;
    desktop.lumivoke = false;  // the bounds are measured with nothing else listening
    desktop.settings = settingsText(true);
    for (const auto* app : {kTerminalApp, kOtherApp}) {
        const std::string wmClass = app == kTerminalApp ? "XTerm" : "LumivokeBenchOther";
        desktop.files.emplace_back(std::string(".local/share/applications/") + app + ".desktop",
                                   "[Desktop Entry]\nType=Application\nName=" + std::string(app) +
                                       "\nExec=true\nStartupWMClass=" + wmClass + "\n");
    }
    if (!session_.start(desktop)) {
        std::cerr << "the desktop did not start"
                  << (session_.skipReason() ? ": " + *session_.skipReason() : "") << std::endl;
        return false;
    }
    inject_ = XOpenDisplay(session_.display().c_str());
    listener_ = std::make_unique<Listener>(session_.display());
    trigger_ = session_.trigger();
    other_ = createOtherWindow();
    activate(session_.terminal());
    e2e::eventually([&] { return session_.x().activeWindow() == session_.terminal(); });
    return true;
}

bool Harness::startProgram() {
    const bool started = session_.startLumivoke();
    // Let the program settle (tray icon drawn, first cursor read) before anything is timed.
    std::this_thread::sleep_for(milliseconds(500));
    listener_->drain();
    return started;
}

void Harness::stopProgram() {
    if (session_.lumivoke() != nullptr) {
        session_.lumivoke()->stop();
    }
}

Window Harness::createOtherWindow() {
    // Made on the listener's connection, so that the keys typed into it reach the listener.
    return e2e::openAppWindow(listener_->display(), e2e::XRect{700, 300, 300, 200}, kOtherApp,
                              "LumivokeBenchOther", KeyPressMask | FocusChangeMask);
}

void Harness::activate(Window window) {
    // As a pager or a task bar asks the window manager to bring a window to the front.
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(inject_, "_NET_ACTIVE_WINDOW", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = 2;  // from a pager
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(inject_, DefaultRootWindow(inject_), False,
               SubstructureRedirectMask | SubstructureNotifyMask, &event);
    XFlush(inject_);
}

Clock::time_point Harness::tapTrigger(milliseconds hold) {
    inject(trigger_, true);
    std::this_thread::sleep_for(hold);
    XTestFakeKeyEvent(inject_, trigger_, False, CurrentTime);
    const auto released = Clock::now();
    XFlush(inject_);
    return released;
}

void Harness::measureLockGroupBound() {
    std::cerr << "XkbLockGroup from a running client" << std::endl;
    listener_->drain();
    std::vector<double> samples;
    const double serverBefore = cpuMs(serverPid());
    for (int i = 0; i < options_.samples; ++i) {
        const int group = (i + 1) % 3;
        XkbLockGroup(inject_, XkbUseCoreKbd, static_cast<unsigned>(group));
        const auto sent = Clock::now();
        XFlush(inject_);
        if (const auto heard = listener_->groupChange(milliseconds(1000))) {
            samples.push_back(msBetween(sent, heard->first));
        }
        std::this_thread::sleep_for(milliseconds(100));
    }
    const double serverCost = (cpuMs(serverPid()) - serverBefore) / options_.samples;
    row("switch, XkbLockGroup from a running client (lower bound)", describe(summarise(samples)),
        "X server " + fixed(serverCost) + " ms CPU per switch");
    XkbLockGroup(inject_, XkbUseCoreKbd, 0);
    XSync(inject_, False);
}

void Harness::measureServerToggle() {
    std::cerr << "the X server's own Alt+Shift toggle" << std::endl;
    const std::vector<std::string> withToggle{
        "setxkbmap", "-layout", "us,de,ru", "-option", "", "-option", "grp:alt_shift_toggle"};
    commands_.push_back("setxkbmap -layout us,de,ru -option '' -option grp:alt_shift_toggle");
    session_.run(withToggle);
    const KeyCode alt = XKeysymToKeycode(inject_, XK_Alt_L);
    const KeyCode shift = XKeysymToKeycode(inject_, XK_Shift_L);
    listener_->drain();
    std::vector<double> samples;
    int onPress = 0;
    for (int i = 0; i < options_.samples; ++i) {
        inject(alt, true);
        std::this_thread::sleep_for(milliseconds(30));
        XTestFakeKeyEvent(inject_, shift, True, CurrentTime);
        auto sent = Clock::now();
        XFlush(inject_);
        auto heard = listener_->groupChange(milliseconds(60));
        if (heard) {
            ++onPress;
        }
        std::this_thread::sleep_for(milliseconds(30));
        XTestFakeKeyEvent(inject_, shift, False, CurrentTime);
        if (!heard) {
            sent = Clock::now();
        }
        XFlush(inject_);
        if (!heard) {
            heard = listener_->groupChange(milliseconds(1000));
        }
        inject(alt, false);
        if (heard) {
            samples.push_back(msBetween(sent, heard->first));
        }
        std::this_thread::sleep_for(milliseconds(100));
        listener_->drain();
    }
    row("switch, the X server's Alt+Shift toggle", describe(summarise(samples)),
        onPress * 2 > options_.samples ? "timed from the second key's press"
                                       : "timed from the second key's release");
    session_.run({"setxkbmap", "-layout", "us,de,ru", "-option", ""});
    session_.x().lockGroup(0);
}

void Harness::measureTaps() {
    // First at a brisk pace, while the HUD of the last tap is still up; then with the HUD gone
    // between taps, which also times its mapping and gives the cost of the whole HUD cycle.
    std::cerr << "taps with the HUD up" << std::endl;
    listener_->drain();
    std::vector<double> up;
    for (int i = 0; i < options_.samples; ++i) {
        const auto released = tapTrigger();
        if (const auto heard = listener_->groupChange(milliseconds(1000))) {
            up.push_back(msBetween(released, heard->first));
        }
        std::this_thread::sleep_for(milliseconds(200));
    }
    row("tap → switch, HUD up", describe(summarise(up)));

    std::cerr << "taps with the HUD gone" << std::endl;
    std::this_thread::sleep_for(milliseconds(1500));
    const auto hud = session_.hud();
    if (!hud) {
        row("tap → HUD mapped", "no HUD window found");
        return;
    }
    XSelectInput(listener_->display(), hud->id, StructureNotifyMask);
    listener_->drain();
    std::vector<double> gone;
    std::vector<double> mapped;
    const double programBefore = cpuMs(programPid());
    const double serverBefore = cpuMs(serverPid());
    const int taps = std::max(1, options_.samples / 2);
    for (int i = 0; i < taps; ++i) {
        const auto released = tapTrigger();
        std::optional<Clock::time_point> switched;
        std::optional<Clock::time_point> shown;
        const auto deadline = Clock::now() + milliseconds(1000);
        while (!(switched && shown)) {
            const auto heard = listener_->next(
                [&](const XEvent& e) {
                    return listener_->isGroupChange(e) ||
                           (e.type == MapNotify && e.xmap.window == hud->id);
                },
                deadline);
            if (!heard) {
                break;
            }
            (heard->event.type == MapNotify ? shown : switched) = heard->when;
        }
        if (switched) {
            gone.push_back(msBetween(released, *switched));
        }
        if (shown) {
            mapped.push_back(msBetween(released, *shown));
        }
        // The HUD shows for 0.8 s and fades in 0.5 s: wait for it to go.
        listener_->next([&](const XEvent& e) { return e.type == UnmapNotify; },
                        Clock::now() + milliseconds(2000));
        std::this_thread::sleep_for(milliseconds(100));
    }
    const double program = (cpuMs(programPid()) - programBefore) / taps;
    const double server = (cpuMs(serverPid()) - serverBefore) / taps;
    XSelectInput(listener_->display(), hud->id, NoEventMask);
    row("tap → switch, HUD gone", describe(summarise(gone)));
    const auto shownSummary = summarise(mapped);
    row("tap → HUD mapped", describe(shownSummary), "p99 " + fixed(shownSummary.p99) + " ms");
    row("CPU per tap with the whole HUD cycle",
        fixed(program + server) + " ms (" + fixed(program) + " program + " + fixed(server) +
            " X server)",
        "over " + std::to_string(taps) + " taps, " +
            fixed(1000.0 / static_cast<double>(sysconf(_SC_CLK_TCK)), 0) + " ms clock ticks");
}

void Harness::measureFirstCharacter() {
    // A key typed a moment after the trigger's release, into a window that reads which group
    // the X server typed it in.
    std::cerr << "the first character after a tap" << std::endl;
    activate(other_);
    e2e::eventually([&] { return session_.x().focus() == other_; });
    std::this_thread::sleep_for(milliseconds(300));
    const KeyCode letter = XKeysymToKeycode(inject_, XK_a);
    std::ostringstream line;
    bool first = true;
    for (const double delay : {0.5, 1.0, 2.0, 5.0, 10.0}) {
        int newLayout = 0;
        int typed = 0;
        std::vector<double> sent;
        const int tries = std::max(10, options_.samples / 10);
        for (int i = 0; i < tries; ++i) {
            listener_->drain();
            const int before = session_.x().group();
            const auto released = tapTrigger();
            waitUntil(released + std::chrono::duration_cast<Clock::duration>(
                                     std::chrono::duration<double, std::milli>(delay)));
            sent.push_back(msBetween(released, Clock::now()));
            XTestFakeKeyEvent(inject_, letter, True, CurrentTime);
            XTestFakeKeyEvent(inject_, letter, False, CurrentTime);
            XFlush(inject_);
            const auto key = listener_->next(
                [&](const XEvent& e) {
                    return e.type == KeyPress && e.xkey.window == other_ &&
                           e.xkey.keycode == letter;
                },
                Clock::now() + milliseconds(1000));
            if (key) {
                ++typed;
                if (static_cast<int>(XkbGroupForCoreState(key->event.xkey.state)) ==
                    (before + 1) % 3) {
                    ++newLayout;
                }
            }
            listener_->groupChange(milliseconds(500));
            std::this_thread::sleep_for(milliseconds(150));
        }
        line << (first ? "" : ", ") << fixed(delay, 1) << " ms (sent at "
             << fixed(summarise(sent).median, 2) << "): " << newLayout << "/" << typed;
        first = false;
    }
    row("first character after a tap, typed in the new layout", line.str());
    activate(session_.terminal());
    e2e::eventually([&] { return session_.x().focus() != other_; });
}

void Harness::measurePerAppRules() {
    // The terminal's rule picks German, the other window's Russian: each activation switches.
    std::cerr << "per-app rules" << std::endl;
    std::vector<double> fromRequest;
    std::vector<double> fromActive;
    for (int i = 0; i < options_.samples; ++i) {
        const Window target = i % 2 == 0 ? other_ : session_.terminal();
        listener_->drain();
        const auto sent = Clock::now();
        activate(target);
        std::optional<Clock::time_point> active;
        std::optional<Clock::time_point> switched;
        const auto deadline = Clock::now() + milliseconds(1000);
        while (!switched) {
            const auto heard = listener_->next(
                [&](const XEvent& e) {
                    return listener_->isGroupChange(e) || listener_->isActiveWindowChange(e);
                },
                deadline);
            if (!heard) {
                break;
            }
            if (listener_->isGroupChange(heard->event)) {
                switched = heard->when;
            } else {
                active = heard->when;
            }
        }
        if (switched) {
            fromRequest.push_back(msBetween(sent, *switched));
            if (active) {
                fromActive.push_back(msBetween(*active, *switched));
            }
        }
        std::this_thread::sleep_for(milliseconds(150));
    }
    row("focus change → rule's layout, from the activation request",
        describe(summarise(fromRequest)));
    row("focus change → rule's layout, from _NET_ACTIVE_WINDOW changing",
        describe(summarise(fromActive)), "the program's own share");
    activate(session_.terminal());
}

void Harness::measureFootprintAndSoak() {
    std::cerr << "footprint" << std::endl;
    row("memory after start (RSS / PSS / USS)", describe(footprint(programPid())));
    const auto switchLayouts = [&](int count) {
        listener_->drain();
        int switched = 0;
        for (int i = 0; i < count; ++i) {
            tapTrigger(milliseconds(15));
            if (listener_->groupChange(milliseconds(1000))) {
                ++switched;
            }
            std::this_thread::sleep_for(milliseconds(15));
        }
        return switched;
    };
    // The badge: the pointer goes from the desktop onto text and back, each time until the
    // badge window has been mapped again.
    const e2e::XRect text = session_.x().geometry(session_.terminal());
    const e2e::XRect screen = session_.x().screen();
    const auto showBadge = [&](int count) {
        session_.x().movePointer(text.centerX(), text.centerY());
        if (!e2e::eventually([&] { return session_.badge() && session_.badge()->viewable; })) {
            return 0;
        }
        const Window badge = session_.badge()->id;
        XSelectInput(listener_->display(), badge, StructureNotifyMask);
        listener_->drain();
        int shown = 0;
        for (int i = 0; i < count; ++i) {
            session_.x().movePointer(screen.width - 5, screen.height - 5);
            listener_->next([&](const XEvent& e) { return e.type == UnmapNotify; },
                            Clock::now() + milliseconds(1000));
            session_.x().movePointer(text.centerX() + i % 40, text.centerY() + i % 17);
            if (listener_->next(
                    [&](const XEvent& e) { return e.type == MapNotify && e.xmap.window == badge; },
                    Clock::now() + milliseconds(1000))) {
                ++shown;
            }
        }
        XSelectInput(listener_->display(), badge, NoEventMask);
        return shown;
    };
    // Whatever is made once (the HUD's and the badge's windows and pictures, the fonts) is made
    // in the warm-up; what the soak adds after it is growth.
    constexpr int kWarmUp = 100;
    switchLayouts(kWarmUp);
    showBadge(kWarmUp);
    std::this_thread::sleep_for(milliseconds(2000));
    row("memory after a warm-up of " + std::to_string(kWarmUp) + " switches and " +
            std::to_string(kWarmUp) + " badge appearances (RSS / PSS / USS)",
        describe(footprint(programPid())));
    const int switched = switchLayouts(options_.soakSwitches);
    const int shown = showBadge(options_.soakBadges);
    std::this_thread::sleep_for(milliseconds(2000));
    row("memory after " + std::to_string(options_.soakSwitches) + " more switches and " +
            std::to_string(options_.soakBadges) + " more badge appearances (RSS / PSS / USS)",
        describe(footprint(programPid())),
        std::to_string(switched) + " switched, " + std::to_string(shown) + " badges shown");
}

void Harness::measureIdle() {
    const e2e::XRect text = session_.x().geometry(session_.terminal());
    const e2e::XRect screen = session_.x().screen();
    struct Place {
        const char* name;
        int x;
        int y;
    };
    const Place places[] = {{"over text", text.centerX(), text.centerY()},
                            {"over the desktop", screen.width - 5, screen.height - 5}};
    for (const bool badge : {true, false}) {
        if (!badge) {
            stopProgram();
            e2e::writeFile(session_.settingsFile(), settingsText(false));
            startProgram();
        }
        for (const auto& place : places) {
            std::cerr << "idle, badge " << (badge ? "on, " : "off, ") << place.name << std::endl;
            session_.x().movePointer(place.x, place.y);
            std::this_thread::sleep_for(milliseconds(2000));
            const auto wakesBefore = wakeUps(programPid());
            const double programBefore = cpuMs(programPid());
            const double serverBefore = cpuMs(serverPid());
            std::this_thread::sleep_for(std::chrono::seconds(options_.idleSeconds));
            const double seconds = options_.idleSeconds;
            const double wakes = static_cast<double>(wakeUps(programPid()) - wakesBefore) / seconds;
            row(std::string("idle, badge ") + (badge ? "on" : "off") + ", pointer still " +
                    place.name,
                fixed(wakes, 1) + " wake-ups/s",
                "CPU " + fixed((cpuMs(programPid()) - programBefore) / seconds, 2) +
                    " ms/s program, " + fixed((cpuMs(serverPid()) - serverBefore) / seconds, 2) +
                    " ms/s X server; " + std::to_string(threadCount(programPid())) + " threads");
        }
    }
    stopProgram();
    e2e::writeFile(session_.settingsFile(), settingsText(true));
}

void Harness::measureStartUp() {
    // The program is started as the desktop starts it at login, and timed by the millisecond:
    // to the log line that says its key monitor listens, and to its icon in the tray.
    std::cerr << "start-up" << std::endl;
    stopProgram();
    std::vector<double> listening;
    std::vector<double> tray;
    commands_.push_back(std::string(LUMIVOKE_BINARY) + "  (started 7 times)");
    // Looked for in the tray host's few windows only: a walk of the whole window tree every
    // millisecond keeps the X server busy enough to slow the very start it times.
    std::vector<Window> hosts;
    for (const auto& host : session_.x().findWindows(
             [](const e2e::WindowInfo& w) { return w.className == "trayer" && w.viewable; })) {
        hosts.push_back(host.id);
    }
    Display* dpy = listener_->display();
    const std::function<bool(Window)> holdsOurIcon = [&](Window window) {
        for (const Window child : session_.x().children(window)) {
            XClassHint hint{};
            bool ours = false;
            if (XGetClassHint(dpy, child, &hint) != 0) {
                XWindowAttributes attributes{};
                ours = hint.res_name != nullptr && std::string(hint.res_name) == "lumivoke" &&
                       XGetWindowAttributes(dpy, child, &attributes) != 0 &&
                       attributes.map_state == IsViewable;
                XFree(hint.res_name);
                XFree(hint.res_class);
            }
            if (ours || holdsOurIcon(child)) {
                return true;
            }
        }
        return false;
    };
    const auto iconShown = [&] { return std::any_of(hosts.begin(), hosts.end(), holdsOurIcon); };
    for (int i = 0; i < 7; ++i) {
        const std::size_t mark = session_.log().mark();
        const auto start = Clock::now();
        e2e::Process process(e2e::Process::Options{
            {LUMIVOKE_BINARY}, session_.environment(), session_.log().path(), std::nullopt});
        std::optional<double> keys;
        std::optional<double> icon;
        while ((!keys || !icon) && Clock::now() - start < std::chrono::seconds(10)) {
            if (!keys &&
                !session_.log().linesWith("NSEvent global monitor started", mark).empty()) {
                keys = msBetween(start, Clock::now());
            }
            if (!icon && iconShown()) {
                icon = msBetween(start, Clock::now());
            }
            std::this_thread::sleep_for(milliseconds(1));
        }
        if (keys) {
            listening.push_back(*keys);
        }
        if (icon) {
            tray.push_back(*icon);
        }
        process.stop();
        e2e::eventually([&] { return !session_.trayIcon(); });
    }
    row("start-up to listening for keys", describe(summarise(listening)),
        "includes up to 1 ms of polling");
    row("start-up to the tray icon", describe(summarise(tray)), "includes up to 1 ms of polling");
}

int Harness::run() {
    if (!startDesktop()) {
        return 1;
    }
    if (options_.wants("bounds")) {
        measureLockGroupBound();
        measureServerToggle();
    }
    if (!startProgram()) {
        std::cerr << "lumivoke did not start" << std::endl;
        return 1;
    }
    const std::vector<std::pair<const char*, void (Harness::*)()>> steps = {
        {"taps", &Harness::measureTaps},
        {"first-character", &Harness::measureFirstCharacter},
        {"per-app", &Harness::measurePerAppRules},
        {"footprint", &Harness::measureFootprintAndSoak},
        {"idle", &Harness::measureIdle},
        {"start-up", &Harness::measureStartUp},
    };
    for (const auto& [name, step] : steps) {
        if (options_.wants(name)) {
            (this->*step)();
        }
    }

    std::ostringstream table;
    table << "| what | median / p95 / max, or figure | note |\n|---|---|---|\n";
    for (const auto& r : rows_) {
        table << "| " << r.what << " | " << r.value << " | " << r.note << " |\n";
    }
    table << "\nCommands the harness ran besides its own X requests:\n\n";
    for (const auto& command : commands_) {
        table << "    " << command << "\n";
    }
    std::cout << table.str();
    if (!options_.output.empty()) {
        std::ofstream out(options_.output);
        out << table.str();
    }
    return 0;
}

}  // namespace
}  // namespace lumivoke::bench

int main(int argc, char** argv) {
    // Timed sleeps end when asked, not up to the default 50 µs later.
    prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
    lumivoke::bench::Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const auto value = [&]() -> std::string {
            if (i + 1 >= argc) {
                std::cerr << arg << " needs a value" << std::endl;
                std::exit(2);
            }
            return argv[++i];
        };
        try {
            if (arg == "--samples") {
                options.samples = std::stoi(value());
            } else if (arg == "--idle-seconds") {
                options.idleSeconds = std::stoi(value());
            } else if (arg == "--soak-switches") {
                options.soakSwitches = std::stoi(value());
            } else if (arg == "--soak-badges") {
                options.soakBadges = std::stoi(value());
            } else if (arg == "--output") {
                options.output = value();
            } else if (arg == "--only") {
                std::stringstream names(value());
                for (std::string name; std::getline(names, name, ',');) {
                    if (std::find(lumivoke::bench::kMeasurements.begin(),
                                  lumivoke::bench::kMeasurements.end(),
                                  name) == lumivoke::bench::kMeasurements.end()) {
                        std::cerr << "--only: no measurement is called \"" << name << "\"\n";
                        return 2;
                    }
                    options.only.push_back(name);
                }
            } else {
                (arg == "--help" ? std::cout : std::cerr)
                    << "usage: " << argv[0]
                    << " [--samples N] [--idle-seconds S] [--soak-switches N] [--soak-badges N]"
                       " [--output FILE]\n"
                       "       [--only "
                       "bounds,taps,first-character,per-app,footprint,idle,start-up]\n"
                       "Starts a desktop of its own on Xvfb and prints one Markdown table.\n";
                return arg == "--help" ? 0 : 2;
            }
        } catch (const std::exception&) {
            std::cerr << arg << " needs a whole number" << std::endl;
            return 2;
        }
    }
    if (options.samples < 10 || options.idleSeconds < 1 || options.soakSwitches < 0 ||
        options.soakBadges < 0) {
        std::cerr << "--samples must be at least 10 and --idle-seconds at least 1" << std::endl;
        return 2;
    }
    lumivoke::bench::Harness harness(options);
    return harness.run();
}
