#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <X11/Xlib.h>

// The test's own view of the X server: windows and their properties, the keyboard group, focus
// and the pointer, read with Xlib; keys and clicks injected with XTest.
namespace lumivoke::e2e {

/// A rectangle in X coordinates (origin at the top left of the root window, y downwards).
struct XRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    int centerX() const { return x + width / 2; }
    int centerY() const { return y + height / 2; }
    bool contains(int px, int py) const {
        return px >= x && py >= y && px < x + width && py < y + height;
    }
    bool operator==(const XRect&) const = default;
};
std::ostream& operator<<(std::ostream& out, const XRect& r);

/// What the X server says about one window.
struct WindowInfo {
    Window id = 0;
    std::string instance;   ///< WM_CLASS, first part
    std::string className;  ///< WM_CLASS, second part
    std::string name;       ///< _NET_WM_NAME, else WM_NAME
    std::string
        type;     ///< the first atom of _NET_WM_WINDOW_TYPE, e.g. "_NET_WM_WINDOW_TYPE_TOOLTIP"
    XRect frame;  ///< in root coordinates
    bool viewable = false;  ///< mapped, and so are all its ancestors
    bool overrideRedirect = false;
};
std::ostream& operator<<(std::ostream& out, const WindowInfo& w);

/// A pixel image of part of the screen, 0xRRGGBB per pixel.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> data;
    std::uint32_t at(int x, int y) const {
        return data[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                    static_cast<std::size_t>(x)];
    }
    bool operator==(const Pixels&) const = default;
};

/// The polling step of every wait, and the default deadline.
inline constexpr std::chrono::milliseconds kPollStep{10};
inline constexpr std::chrono::milliseconds kDefaultTimeout{5000};

/// Polls condition until it holds or timeout passes; whether it held. The caller's assertion
/// says what was seen instead.
bool eventually(const std::function<bool()>& condition,
                std::chrono::milliseconds timeout = kDefaultTimeout);

/// A top-level window of another application, made on dpy's connection so that what is typed
/// into it reaches that connection (eventMask selected): classed as instance and className,
/// owned by this process, accepting the focus, managed by the window manager. It is returned
/// once viewable, or 0 when it never became so.
Window openAppWindow(Display* dpy, const XRect& frame, const std::string& instance,
                     const std::string& className, long eventMask = NoEventMask);

class XClient {
public:
    /// Connects to display (":N"); connected() tells whether that worked.
    explicit XClient(const std::string& display);
    ~XClient();
    XClient(const XClient&) = delete;
    XClient& operator=(const XClient&) = delete;

    bool connected() const { return dpy_ != nullptr; }
    Display* display() const { return dpy_; }
    Window root() const;
    Atom atom(const char* name);
    std::string atomName(Atom atom);
    /// A round trip: everything sent before has been handled by the server.
    void sync();

    // Windows.
    std::vector<Window> children(Window parent);
    WindowInfo describe(Window window);
    /// Every window of the tree below root (root excluded) for which keep holds, in tree order.
    std::vector<WindowInfo> findWindows(const std::function<bool(const WindowInfo&)>& keep);
    /// The viewable windows of one application (WM_CLASS instance).
    std::vector<WindowInfo> windowsOf(const std::string& instance);
    /// One line per window that has a WM_CLASS: for failure messages.
    std::string describeWindows();
    std::optional<std::string> stringProperty(Window window, const char* name);
    std::vector<long> cardinalProperty(Window window, const char* name, Atom type);
    bool isViewable(Window window);
    /// The top-level ancestor of window (the child of the root that contains it).
    Window topLevelOf(Window window);
    /// Whether ancestor is window or one of its ancestors.
    bool isAncestor(Window ancestor, Window window);
    /// Root-relative geometry.
    XRect geometry(Window window);
    /// The usable area of the screen as the window manager announces it (_NET_WORKAREA of the
    /// current desktop), else the whole screen.
    XRect workArea();
    XRect screen();

    // Keyboard state.
    /// The effective XKB group (0 = the first layout).
    int group();
    unsigned lockedModifiers();
    /// Locks a group as another program would (a second keyboard, a desktop's own switcher).
    void lockGroup(int group);
    KeyCode keycode(KeySym keysym);
    Window focus();
    Window activeWindow();
    Window selectionOwner(const char* selection);

    // Injected input.
    void key(KeyCode keycode, bool press);
    /// Press and release.
    void tap(KeyCode keycode);
    void movePointer(int x, int y);
    std::pair<int, int> pointer();
    void button(unsigned button, bool press);
    void click(unsigned button = 1);

    // The cursor.
    /// The XFixes serial of the current cursor image and its name ("" when unnamed).
    std::pair<unsigned long, std::string> cursor();
    /// Shows an override-redirect window of its own at area whose cursor is the picture of
    /// size × size ARGB pixels with that hot spot, unnamed as an application's own cursor is.
    /// The window, mapped.
    Window showCursorWindow(const XRect& area, int size, int xhot, int yhot,
                            const std::vector<std::uint32_t>& pixels);

    // Pixels.
    Pixels grab(const XRect& area);

    /// Waits for the next event for which keep holds, selected on window with mask beforehand
    /// by the caller; none when timeout passes first.
    std::optional<XEvent> nextEvent(const std::function<bool(const XEvent&)>& keep,
                                    std::chrono::milliseconds timeout);

    int xkbEventBase() const { return xkbEventBase_; }

private:
    Display* dpy_ = nullptr;
    int xkbEventBase_ = -1;
};

}  // namespace lumivoke::e2e
