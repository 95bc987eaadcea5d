#include "X11Workspace.h"

#include <unistd.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace lumivoke::desktop {

X11Workspace::X11Workspace(X11Connection& x11, DesktopEntries& entries)
    : x11_(x11), entries_(entries) {
    Display* dpy = x11_.display();
    if (dpy == nullptr) {
        return;
    }
    activeWindowAtom_ = XInternAtom(dpy, "_NET_ACTIVE_WINDOW", False);
    currentDesktopAtom_ = XInternAtom(dpy, "_NET_CURRENT_DESKTOP", False);
    pidAtom_ = XInternAtom(dpy, "_NET_WM_PID", False);
    XWindowAttributes attributes{};
    XGetWindowAttributes(dpy, x11_.root(), &attributes);
    XSelectInput(dpy, x11_.root(), attributes.your_event_mask | PropertyChangeMask);
    XFlush(dpy);
    lastFrontmost_ = frontmostApplication();
    eventToken_ = x11_.addHandler([this](XEvent& event) {
        if (event.type == DestroyNotify) {
            applications_.erase(event.xdestroywindow.window);
            return;
        }
        if (event.type != PropertyNotify || event.xproperty.window != x11_.root()) {
            return;
        }
        if (event.xproperty.atom == activeWindowAtom_) {
            // Window managers announce a new active window twice (None first, then the
            // window): one read after the burst sees where it ended.
            activeWindowPending_ = true;
        } else if (event.xproperty.atom == currentDesktopAtom_) {
            spaceObservers_.notify();
        }
    });
    drainedToken_ = x11_.addDrainedHandler([this] {
        if (activeWindowPending_) {
            activeWindowPending_ = false;
            activeWindowChanged();
        }
    });
}

X11Workspace::~X11Workspace() = default;

std::optional<unsigned long> X11Workspace::cardinalProperty(unsigned long window,
                                                            unsigned long atom) {
    Display* dpy = x11_.display();
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    std::optional<unsigned long> result;
    if (XGetWindowProperty(dpy, window, atom, 0, 1, False, AnyPropertyType, &type, &format, &count,
                           &remaining, &data) == Success &&
        data != nullptr && count == 1 && format == 32) {
        // Xlib hands 32-bit items out as longs.
        result = *reinterpret_cast<unsigned long*>(data);
    }
    if (data != nullptr) {
        XFree(data);
    }
    return result;
}

std::optional<RunningApplication> X11Workspace::frontmostApplication() {
    Display* dpy = x11_.display();
    if (dpy == nullptr) {
        return std::nullopt;
    }
    const auto window = cardinalProperty(x11_.root(), activeWindowAtom_);
    if (!window || *window == 0) {
        return std::nullopt;
    }
    // A window's process and class do not change while it lives: known windows cost no read.
    if (const auto known = applications_.find(*window); known != applications_.end()) {
        return known->second;
    }
    auto app = windowApplication(*window);
    if (app) {
        if (applications_.size() >= kApplicationsKept) {
            applications_.erase(applications_.begin());
        }
        applications_.emplace(*window, *app);
    }
    return app;
}

std::optional<RunningApplication> X11Workspace::windowApplication(unsigned long window) {
    Display* dpy = x11_.display();
    // A window that went away between the notification and this read must not end the process.
    // Each read below waits for its reply, and an error comes before the reply would, so the
    // handler sees every error of these requests.
    auto* previous = XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    // Told when the window goes, which ends what is known of it: its id may name another
    // window later. Asked first, so that the reads below also wait out an error of this.
    XSelectInput(dpy, window, StructureNotifyMask);
    RunningApplication app;
    if (const auto pid = cardinalProperty(window, pidAtom_)) {
        app.processIdentifier = static_cast<int>(*pid);
    }
    XClassHint hint{};
    if (XGetClassHint(dpy, window, &hint) != 0) {
        const std::string instance = hint.res_name != nullptr ? hint.res_name : "";
        const std::string className = hint.res_class != nullptr ? hint.res_class : "";
        if (hint.res_name != nullptr) {
            XFree(hint.res_name);
        }
        if (hint.res_class != nullptr) {
            XFree(hint.res_class);
        }
        if (const auto* entry = entries_.byWindowClass(instance, className)) {
            app.bundleIdentifier = entry->id;
        } else if (!className.empty()) {
            app.bundleIdentifier = className;
        }
    }
    XSetErrorHandler(previous);
    if (app.processIdentifier == 0 && !app.bundleIdentifier) {
        return std::nullopt;
    }
    return app;
}

void X11Workspace::activeWindowChanged() {
    auto app = frontmostApplication();
    // Another window of the same application is no activation.
    if (!app || app == lastFrontmost_) {
        return;
    }
    lastFrontmost_ = app;
    activationObservers_.notify(app);
}

RunningApplication X11Workspace::currentApplication() {
    return RunningApplication{static_cast<int>(getpid()), std::string(ownIdentifier)};
}

std::optional<std::string> X11Workspace::urlForApplication(const std::string& bundleIdentifier) {
    if (const auto* entry = entries_.byID(bundleIdentifier)) {
        return entry->path;
    }
    return std::nullopt;
}

Image X11Workspace::iconForFile(const std::string& path) {
    if (auto entry = entries_.read(path); entry && !entry->icon.empty()) {
        return Image{entry->icon, {}};
    }
    return genericApplicationIcon();
}

Image X11Workspace::genericApplicationIcon() {
    return Image{genericIconName, {}};
}

Token X11Workspace::observeDidActivateApplication(
    std::function<void(const std::optional<RunningApplication>&)> callback) {
    return activationObservers_.add(std::move(callback));
}

Token X11Workspace::observeActiveSpaceDidChange(std::function<void()> callback) {
    return spaceObservers_.add(std::move(callback));
}

std::optional<BundleInfo> X11Workspace::openBundle(const std::string& path) {
    const auto entry = entries_.read(path);
    if (!entry) {
        return std::nullopt;
    }
    BundleInfo info;
    info.bundleIdentifier = entry->id;
    info.info["CFBundleName"] = entry->untranslatedName;
    info.info["CFBundleDisplayName"] = entry->untranslatedName;
    // The name in the user's language, chosen as the chooser chooses it, so a rule's row shows
    // the name the person picked.
    info.localizedInfo["CFBundleDisplayName"] = entry->name;
    return info;
}

}  // namespace lumivoke::desktop
