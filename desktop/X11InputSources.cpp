#include "X11InputSources.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace lumivoke::desktop {
namespace {

/// One layout of the keymap, with the group that selects it.
class XkbSource final : public SystemInputSource {
public:
    XkbSource(NamedLayout layout, int group) : layout(std::move(layout)), group(group) {}
    NamedLayout layout;
    int group;
};

}  // namespace

X11InputSources::X11InputSources(X11Connection& x11, LogSink& sink, LayoutNamingSources sources)
    : x11_(x11), catalog_(sink, std::move(sources)) {
    Display* dpy = x11_.display();
    if (dpy == nullptr) {
        return;
    }
    int opcode = 0;
    int errorBase = 0;
    int major = XkbMajorVersion;
    int minor = XkbMinorVersion;
    if (!XkbQueryExtension(dpy, &opcode, &xkbEventBase_, &errorBase, &major, &minor)) {
        xkbEventBase_ = -1;
        return;
    }
    XkbSelectEventDetails(dpy, XkbUseCoreKbd, XkbStateNotify, XkbGroupStateMask, XkbGroupStateMask);
    XkbSelectEvents(dpy, XkbUseCoreKbd, XkbNewKeyboardNotifyMask | XkbNamesNotifyMask,
                    XkbNewKeyboardNotifyMask | XkbNamesNotifyMask);
    rulesNamesAtom_ = XInternAtom(dpy, "_XKB_RULES_NAMES", False);
    // setxkbmap and the desktops rewrite the root's rules names when the layouts change.
    XWindowAttributes attributes{};
    XGetWindowAttributes(dpy, x11_.root(), &attributes);
    XSelectInput(dpy, x11_.root(), attributes.your_event_mask | PropertyChangeMask);
    XFlush(dpy);
    eventToken_ = x11_.addHandler([this](XEvent& event) {
        if (event.type == xkbEventBase_) {
            const auto& any = reinterpret_cast<XkbAnyEvent&>(event);
            if (any.xkb_type == XkbStateNotify) {
                const auto& state = reinterpret_cast<XkbStateNotifyEvent&>(event);
                group_ = state.group;
                if ((state.changed & XkbGroupStateMask) != 0) {
                    selectedObservers_.notify();
                }
            } else if (any.xkb_type == XkbNewKeyboardNotify || any.xkb_type == XkbNamesNotify) {
                layouts_ = nullptr;
                if (any.xkb_type == XkbNewKeyboardNotify) {
                    readGroup();
                }
                enabledObservers_.notify();
            }
        } else if (event.type == PropertyNotify && event.xproperty.atom == rulesNamesAtom_) {
            layouts_ = nullptr;
            enabledObservers_.notify();
        }
    });
    readGroup();
    // The registry is read now rather than on the first switch.
    layouts();
}

X11InputSources::~X11InputSources() = default;

void X11InputSources::readGroup() {
    XkbStateRec state{};
    if (XkbGetState(x11_.display(), XkbUseCoreKbd, &state) == Success) {
        group_ = state.group;
    }
}

const std::vector<NamedLayout>& X11InputSources::layouts() {
    if (layouts_ == nullptr) {
        layouts_ = &readLayouts();
    }
    return *layouts_;
}

const std::vector<NamedLayout>& X11InputSources::readLayouts() {
    static const std::vector<NamedLayout> none;
    Display* dpy = x11_.display();
    if (dpy == nullptr || rulesNamesAtom_ == 0) {
        return none;
    }
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    const int status = XGetWindowProperty(dpy, x11_.root(), rulesNamesAtom_, 0, 1024, False,
                                          XA_STRING, &type, &format, &count, &remaining, &data);
    std::string text;
    if (status == Success && data != nullptr && format == 8) {
        text.assign(reinterpret_cast<const char*>(data), count);
    }
    if (data != nullptr) {
        XFree(data);
    }
    // XKB has at most four groups; names past them select nothing.
    return catalog_.layouts(text, XkbNumKbdGroups);
}

std::optional<std::vector<InputSourceHandle>> X11InputSources::enabledSources() {
    if (xkbEventBase_ < 0) {
        return std::nullopt;
    }
    const auto& layouts = this->layouts();
    if (layouts.empty()) {
        return std::nullopt;
    }
    std::vector<InputSourceHandle> handles;
    for (std::size_t i = 0; i < layouts.size(); ++i) {
        handles.push_back(std::make_shared<XkbSource>(layouts[i], static_cast<int>(i)));
    }
    return handles;
}

std::optional<PropertyValue> X11InputSources::property(const InputSourceHandle& source,
                                                       SourceProperty which) {
    const auto* xkb = dynamic_cast<const XkbSource*>(source.get());
    if (xkb == nullptr) {
        return std::nullopt;
    }
    switch (which) {
        case SourceProperty::category:
            return std::string(kKeyboardInputSourceCategory);
        case SourceProperty::isSelectCapable:
            return true;
        case SourceProperty::id:
            return xkb->layout.id;
        case SourceProperty::localizedName:
            return xkb->layout.name;
        case SourceProperty::languages:
            return xkb->layout.languages;
    }
    return std::nullopt;
}

InputSourceHandle X11InputSources::currentKeyboardSource() {
    Display* dpy = x11_.display();
    if (dpy == nullptr || xkbEventBase_ < 0) {
        return nullptr;
    }
    const auto& layouts = this->layouts();
    const auto group = static_cast<std::size_t>(group_);
    if (group_ < 0 || group >= layouts.size()) {
        return nullptr;
    }
    return std::make_shared<XkbSource>(layouts[group], static_cast<int>(group));
}

std::int32_t X11InputSources::select(const InputSourceHandle& source) {
    const auto* xkb = dynamic_cast<const XkbSource*>(source.get());
    Display* dpy = x11_.display();
    if (xkb == nullptr || dpy == nullptr || xkbEventBase_ < 0) {
        return -50;  // a bad parameter, as the system would say
    }
    if (!XkbLockGroup(dpy, XkbUseCoreKbd, static_cast<unsigned>(xkb->group))) {
        return -1;
    }
    XFlush(dpy);
    // What the server is about to report, known now for whoever asks before it does.
    group_ = xkb->group;
    return 0;
}

Token X11InputSources::observeSelectedSourceChanged(std::function<void()> callback) {
    return selectedObservers_.add(std::move(callback));
}

Token X11InputSources::observeEnabledSourcesChanged(std::function<void()> callback) {
    return enabledObservers_.add(std::move(callback));
}

}  // namespace lumivoke::desktop
