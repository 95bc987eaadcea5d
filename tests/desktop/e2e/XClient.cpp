#include "XClient.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xcursor/Xcursor.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xfixes.h>
#include <poll.h>

#include <ostream>
#include <sstream>
#include <thread>

namespace lumivoke::e2e {
namespace {

// Windows come and go while the tree is walked; a request about one that just went is no fault.
int ignoreErrors(Display*, XErrorEvent*) {
    return 0;
}

}  // namespace

std::ostream& operator<<(std::ostream& out, const XRect& r) {
    return out << r.width << 'x' << r.height << '+' << r.x << '+' << r.y;
}

std::ostream& operator<<(std::ostream& out, const WindowInfo& w) {
    out << "0x" << std::hex << w.id << std::dec << " \"" << w.instance << "\"/\"" << w.className
        << "\" name=\"" << w.name << "\" " << w.frame << (w.viewable ? " viewable" : " unmapped");
    if (!w.type.empty()) {
        out << ' ' << w.type;
    }
    if (w.overrideRedirect) {
        out << " override-redirect";
    }
    return out;
}

bool eventually(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (true) {
        if (condition()) {
            return true;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(kPollStep);
    }
}

Window openAppWindow(Display* dpy, const XRect& frame, const std::string& instance,
                     const std::string& className, long eventMask) {
    const Window w = XCreateSimpleWindow(dpy, DefaultRootWindow(dpy), frame.x, frame.y,
                                         static_cast<unsigned>(frame.width),
                                         static_cast<unsigned>(frame.height), 0, 0, 0xffffff);
    std::string instanceText = instance;
    std::string classText = className;
    XClassHint hint{instanceText.data(), classText.data()};
    XSetClassHint(dpy, w, &hint);
    XStoreName(dpy, w, instance.c_str());
    XWMHints hints{};
    hints.flags = InputHint;
    hints.input = True;
    XSetWMHints(dpy, w, &hints);
    const long pid = getpid();
    XChangeProperty(dpy, w, XInternAtom(dpy, "_NET_WM_PID", False), XA_CARDINAL, 32,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(&pid), 1);
    XSelectInput(dpy, w, eventMask);
    XMapWindow(dpy, w);
    XSync(dpy, False);
    const bool shown = eventually([&] {
        XWindowAttributes attributes{};
        return XGetWindowAttributes(dpy, w, &attributes) != 0 && attributes.map_state == IsViewable;
    });
    return shown ? w : 0;
}

XClient::XClient(const std::string& display) {
    dpy_ = XOpenDisplay(display.c_str());
    if (dpy_ == nullptr) {
        return;
    }
    XSetErrorHandler(ignoreErrors);
    int opcode = 0;
    int errorBase = 0;
    int major = XkbMajorVersion;
    int minor = XkbMinorVersion;
    if (!XkbQueryExtension(dpy_, &opcode, &xkbEventBase_, &errorBase, &major, &minor)) {
        xkbEventBase_ = -1;
    }
    int fixesEvent = 0;
    int fixesError = 0;
    if (XFixesQueryExtension(dpy_, &fixesEvent, &fixesError)) {
        int fixesMajor = 5;
        int fixesMinor = 0;
        XFixesQueryVersion(dpy_, &fixesMajor, &fixesMinor);
    }
}

XClient::~XClient() {
    if (dpy_ != nullptr) {
        XCloseDisplay(dpy_);
    }
}

Window XClient::root() const {
    return DefaultRootWindow(dpy_);
}

Atom XClient::atom(const char* name) {
    return XInternAtom(dpy_, name, False);
}

std::string XClient::atomName(Atom a) {
    if (a == 0) {
        return {};
    }
    char* name = XGetAtomName(dpy_, a);
    std::string result = name != nullptr ? name : "";
    if (name != nullptr) {
        XFree(name);
    }
    return result;
}

void XClient::sync() {
    XSync(dpy_, False);
}

std::vector<Window> XClient::children(Window parent) {
    Window rootReturn = 0;
    Window parentReturn = 0;
    Window* list = nullptr;
    unsigned count = 0;
    std::vector<Window> result;
    if (XQueryTree(dpy_, parent, &rootReturn, &parentReturn, &list, &count) != 0) {
        result.assign(list, list + count);
    }
    if (list != nullptr) {
        XFree(list);
    }
    return result;
}

std::optional<std::string> XClient::stringProperty(Window window, const char* name) {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    std::optional<std::string> result;
    if (XGetWindowProperty(dpy_, window, atom(name), 0, 4096, False, AnyPropertyType, &type,
                           &format, &count, &remaining, &data) == Success &&
        data != nullptr && format == 8) {
        result = std::string(reinterpret_cast<const char*>(data), count);
    }
    if (data != nullptr) {
        XFree(data);
    }
    return result;
}

std::vector<long> XClient::cardinalProperty(Window window, const char* name, Atom wanted) {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    std::vector<long> result;
    if (XGetWindowProperty(dpy_, window, atom(name), 0, 4096, False, wanted, &type, &format, &count,
                           &remaining, &data) == Success &&
        data != nullptr && format == 32) {
        // Xlib hands 32-bit items out as longs.
        const auto* items = reinterpret_cast<const long*>(data);
        result.assign(items, items + count);
    }
    if (data != nullptr) {
        XFree(data);
    }
    return result;
}

XRect XClient::geometry(Window window) {
    XWindowAttributes attributes{};
    if (XGetWindowAttributes(dpy_, window, &attributes) == 0) {
        return {};
    }
    int x = 0;
    int y = 0;
    Window child = 0;
    XTranslateCoordinates(dpy_, window, root(), 0, 0, &x, &y, &child);
    return XRect{x, y, attributes.width, attributes.height};
}

bool XClient::isViewable(Window window) {
    XWindowAttributes attributes{};
    return XGetWindowAttributes(dpy_, window, &attributes) != 0 &&
           attributes.map_state == IsViewable;
}

WindowInfo XClient::describe(Window window) {
    WindowInfo info;
    info.id = window;
    XWindowAttributes attributes{};
    if (XGetWindowAttributes(dpy_, window, &attributes) == 0) {
        return info;
    }
    info.viewable = attributes.map_state == IsViewable;
    info.overrideRedirect = attributes.override_redirect != 0;
    info.frame = geometry(window);
    XClassHint hint{};
    if (XGetClassHint(dpy_, window, &hint) != 0) {
        info.instance = hint.res_name != nullptr ? hint.res_name : "";
        info.className = hint.res_class != nullptr ? hint.res_class : "";
        if (hint.res_name != nullptr) {
            XFree(hint.res_name);
        }
        if (hint.res_class != nullptr) {
            XFree(hint.res_class);
        }
    }
    if (auto name = stringProperty(window, "_NET_WM_NAME")) {
        info.name = *name;
    } else if (auto legacy = stringProperty(window, "WM_NAME")) {
        info.name = *legacy;
    }
    const auto types = cardinalProperty(window, "_NET_WM_WINDOW_TYPE", XA_ATOM);
    if (!types.empty()) {
        info.type = atomName(static_cast<Atom>(types.front()));
    }
    return info;
}

std::vector<WindowInfo> XClient::findWindows(const std::function<bool(const WindowInfo&)>& keep) {
    std::vector<WindowInfo> result;
    std::vector<Window> stack = children(root());
    // Depth first, in stacking order of each level.
    std::vector<Window> order;
    while (!stack.empty()) {
        const Window w = stack.front();
        stack.erase(stack.begin());
        order.push_back(w);
        auto below = children(w);
        stack.insert(stack.begin(), below.begin(), below.end());
    }
    for (const Window w : order) {
        WindowInfo info = describe(w);
        if (keep(info)) {
            result.push_back(std::move(info));
        }
    }
    return result;
}

std::vector<WindowInfo> XClient::windowsOf(const std::string& instance) {
    return findWindows([&](const WindowInfo& w) { return w.viewable && w.instance == instance; });
}

std::string XClient::describeWindows() {
    std::ostringstream out;
    for (const auto& w : findWindows([](const WindowInfo& w) { return !w.instance.empty(); })) {
        out << "\n  " << w;
    }
    return out.str();
}

Window XClient::topLevelOf(Window window) {
    Window current = window;
    while (current != 0) {
        Window rootReturn = 0;
        Window parent = 0;
        Window* list = nullptr;
        unsigned count = 0;
        if (XQueryTree(dpy_, current, &rootReturn, &parent, &list, &count) == 0) {
            return 0;
        }
        if (list != nullptr) {
            XFree(list);
        }
        if (parent == rootReturn) {
            return current;
        }
        current = parent;
    }
    return 0;
}

bool XClient::isAncestor(Window ancestor, Window window) {
    Window current = window;
    while (current != 0) {
        if (current == ancestor) {
            return true;
        }
        Window rootReturn = 0;
        Window parent = 0;
        Window* list = nullptr;
        unsigned count = 0;
        if (XQueryTree(dpy_, current, &rootReturn, &parent, &list, &count) == 0) {
            return false;
        }
        if (list != nullptr) {
            XFree(list);
        }
        if (current == rootReturn) {
            return false;
        }
        current = parent;
    }
    return false;
}

XRect XClient::screen() {
    return XRect{0, 0, DisplayWidth(dpy_, DefaultScreen(dpy_)),
                 DisplayHeight(dpy_, DefaultScreen(dpy_))};
}

XRect XClient::workArea() {
    const auto area = cardinalProperty(root(), "_NET_WORKAREA", XA_CARDINAL);
    const auto current = cardinalProperty(root(), "_NET_CURRENT_DESKTOP", XA_CARDINAL);
    const std::size_t desktop = current.empty() ? 0 : static_cast<std::size_t>(current.front());
    if (area.size() >= 4 * (desktop + 1)) {
        const std::size_t i = 4 * desktop;
        return XRect{static_cast<int>(area[i]), static_cast<int>(area[i + 1]),
                     static_cast<int>(area[i + 2]), static_cast<int>(area[i + 3])};
    }
    return screen();
}

int XClient::group() {
    XkbStateRec state{};
    if (XkbGetState(dpy_, XkbUseCoreKbd, &state) != Success) {
        return -1;
    }
    return state.group;
}

unsigned XClient::lockedModifiers() {
    XkbStateRec state{};
    if (XkbGetState(dpy_, XkbUseCoreKbd, &state) != Success) {
        return 0;
    }
    return state.locked_mods;
}

void XClient::lockGroup(int group) {
    XkbLockGroup(dpy_, XkbUseCoreKbd, static_cast<unsigned>(group));
    sync();
}

KeyCode XClient::keycode(KeySym keysym) {
    return XKeysymToKeycode(dpy_, keysym);
}

Window XClient::focus() {
    Window window = 0;
    int revert = 0;
    XGetInputFocus(dpy_, &window, &revert);
    return window;
}

Window XClient::activeWindow() {
    const auto active = cardinalProperty(root(), "_NET_ACTIVE_WINDOW", XA_WINDOW);
    return active.empty() ? 0 : static_cast<Window>(active.front());
}

Window XClient::selectionOwner(const char* selection) {
    return XGetSelectionOwner(dpy_, atom(selection));
}

void XClient::key(KeyCode keycode, bool press) {
    XTestFakeKeyEvent(dpy_, keycode, press ? True : False, CurrentTime);
    sync();
}

void XClient::tap(KeyCode keycode) {
    key(keycode, true);
    key(keycode, false);
}

void XClient::movePointer(int x, int y) {
    XTestFakeMotionEvent(dpy_, -1, x, y, CurrentTime);
    sync();
}

std::pair<int, int> XClient::pointer() {
    Window rootReturn = 0;
    Window child = 0;
    int x = 0;
    int y = 0;
    int wx = 0;
    int wy = 0;
    unsigned mask = 0;
    XQueryPointer(dpy_, root(), &rootReturn, &child, &x, &y, &wx, &wy, &mask);
    return {x, y};
}

void XClient::button(unsigned button, bool press) {
    XTestFakeButtonEvent(dpy_, button, press ? True : False, CurrentTime);
    sync();
}

void XClient::click(unsigned b) {
    button(b, true);
    button(b, false);
}

std::pair<unsigned long, std::string> XClient::cursor() {
    XFixesCursorImage* image = XFixesGetCursorImage(dpy_);
    if (image == nullptr) {
        return {0, {}};
    }
    std::pair<unsigned long, std::string> result{image->cursor_serial,
                                                 image->name != nullptr ? image->name : ""};
    XFree(image);
    return result;
}

Window XClient::showCursorWindow(const XRect& area, int size, int xhot, int yhot,
                                 const std::vector<std::uint32_t>& pixels) {
    XcursorImage* image = XcursorImageCreate(size, size);
    image->xhot = static_cast<XcursorDim>(xhot);
    image->yhot = static_cast<XcursorDim>(yhot);
    std::copy(pixels.begin(), pixels.end(), image->pixels);
    const Cursor cursor = XcursorImageLoadCursor(dpy_, image);
    XcursorImageDestroy(image);
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    attributes.background_pixel = 0x808080;
    attributes.cursor = cursor;
    const Window window =
        XCreateWindow(dpy_, root(), area.x, area.y, static_cast<unsigned>(area.width),
                      static_cast<unsigned>(area.height), 0, CopyFromParent, InputOutput,
                      CopyFromParent, CWOverrideRedirect | CWBackPixel | CWCursor, &attributes);
    XMapRaised(dpy_, window);
    XFreeCursor(dpy_, cursor);
    sync();
    return window;
}

Pixels XClient::grab(const XRect& area) {
    Pixels pixels;
    if (area.width <= 0 || area.height <= 0) {
        return pixels;
    }
    XImage* image = XGetImage(dpy_, root(), area.x, area.y, static_cast<unsigned>(area.width),
                              static_cast<unsigned>(area.height), AllPlanes, ZPixmap);
    if (image == nullptr) {
        return pixels;
    }
    pixels.width = area.width;
    pixels.height = area.height;
    pixels.data.reserve(static_cast<std::size_t>(area.width) *
                        static_cast<std::size_t>(area.height));
    for (int y = 0; y < area.height; ++y) {
        for (int x = 0; x < area.width; ++x) {
            pixels.data.push_back(static_cast<std::uint32_t>(XGetPixel(image, x, y) & 0xffffff));
        }
    }
    XDestroyImage(image);
    return pixels;
}

std::optional<XEvent> XClient::nextEvent(const std::function<bool(const XEvent&)>& keep,
                                         std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (true) {
        while (XPending(dpy_) > 0) {
            XEvent event;
            XNextEvent(dpy_, &event);
            if (keep(event)) {
                return event;
            }
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return std::nullopt;
        }
        pollfd fd{ConnectionNumber(dpy_), POLLIN, 0};
        poll(&fd, 1, static_cast<int>(left.count()));
    }
}

}  // namespace lumivoke::e2e
