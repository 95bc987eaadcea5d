#include "X11TriggerKeyProbe.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xproto.h>
#include <X11/keysym.h>

#include "XkbTriggerOptions.h"

namespace lumivoke::desktop {
namespace {

// Xlib reports errors to one handler per process, so the probe's handler can only note what it
// saw in a place of its own; it is installed only around the probe's own requests.
bool gGrabRefused = false;

int noteRefusedGrab(Display* /*display*/, XErrorEvent* error) {
    if (error->error_code == BadAccess && error->request_code == X_GrabKey) {
        gGrabRefused = true;
    }
    return 0;
}

/// Installs the probe's error handler for its lifetime, having delivered the errors of earlier
/// requests to the handler they belong to.
class ScopedErrorHandler {
public:
    explicit ScopedErrorHandler(Display* display) : display_(display) {
        XSync(display_, False);
        previous_ = XSetErrorHandler(noteRefusedGrab);
        gGrabRefused = false;
    }
    ~ScopedErrorHandler() {
        XSync(display_, False);
        XSetErrorHandler(previous_);
    }
    ScopedErrorHandler(const ScopedErrorHandler&) = delete;
    ScopedErrorHandler& operator=(const ScopedErrorHandler&) = delete;

private:
    Display* display_;
    XErrorHandler previous_ = nullptr;
};

std::string joined(const std::vector<std::string>& words) {
    std::string out;
    for (const auto& word : words) {
        out += (out.empty() ? "" : ",") + word;
    }
    return out;
}

}  // namespace

X11TriggerKeyProbe::X11TriggerKeyProbe(LogSink& sink, std::function<ProbedTrigger()> trigger)
    : log_(sink, "TriggerKeyProbe"), trigger_(std::move(trigger)) {}

X11TriggerKeyProbe::~X11TriggerKeyProbe() {
    if (display_ != nullptr) {
        XCloseDisplay(display_);
    }
}

bool X11TriggerKeyProbe::isGrabbedElsewhere(int keycode) {
    Display* dpy = display_;
    const Window root = DefaultRootWindow(dpy);
    unsigned numLock = XkbKeysymToModifiers(dpy, XK_Num_Lock);
    if (numLock == 0) {
        numLock = Mod2Mask;
    }
    const unsigned combinations[] = {0, LockMask, numLock, LockMask | numLock};
    bool refused = false;
    {
        const ScopedErrorHandler handler(dpy);
        // The grabs and their release go out together and the answer is awaited only after
        // both: while the probe holds the key, a press of it would be the probe's, and the
        // person's tap would be lost. Releasing a grab this connection does not hold changes
        // nothing.
        for (const unsigned modifiers : combinations) {
            XGrabKey(dpy, keycode, modifiers, root, False, GrabModeAsync, GrabModeAsync);
        }
        for (const unsigned modifiers : combinations) {
            XUngrabKey(dpy, keycode, modifiers, root);
        }
        XSync(dpy, False);
        refused = gGrabRefused;
    }
    // A press that came in the instant the probe held the key was the probe's: drop it.
    while (XPending(dpy) > 0) {
        XEvent event;
        XNextEvent(dpy, &event);
    }
    return refused;
}

std::vector<std::string> X11TriggerKeyProbe::activeOptions() {
    const Atom names = XInternAtom(display_, "_XKB_RULES_NAMES", False);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    const int status =
        XGetWindowProperty(display_, DefaultRootWindow(display_), names, 0, 1024, False, XA_STRING,
                           &type, &format, &count, &remaining, &data);
    std::string text;
    if (status == Success && data != nullptr && format == 8) {
        text.assign(reinterpret_cast<const char*>(data), count);
    }
    if (data != nullptr) {
        XFree(data);
    }
    return rulesNamesOptions(text);
}

bool X11TriggerKeyProbe::isTriggerKeyFree() {
    if (!triedToConnect_) {
        triedToConnect_ = true;
        display_ = XOpenDisplay(nullptr);
    }
    if (display_ == nullptr) {
        return true;
    }
    const ProbedTrigger trigger = trigger_();
    std::string verdict;
    const auto options = conflictingOptions(trigger.identifier, activeOptions());
    if (!options.empty()) {
        verdict = "keymap option " + joined(options);
    } else {
        for (const int keycode : trigger.keycodes) {
            if (isGrabbedElsewhere(keycode)) {
                verdict = "a grab of another program on keycode " + std::to_string(keycode);
                break;
            }
        }
    }
    if (verdict != lastVerdict_) {
        if (verdict.empty()) {
            log_.info("trigger key %{public}s is free", trigger.identifier);
        } else {
            log_.info("trigger key %{public}s is taken by %{public}s", trigger.identifier, verdict);
        }
        lastVerdict_ = verdict;
    }
    return verdict.empty();
}

}  // namespace lumivoke::desktop
