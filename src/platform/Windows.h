#pragma once

#include <string>

#include "base/Geometry.h"

namespace lumivoke {

/// Style-mask bits of an ordinary window.
namespace window_style {
inline constexpr unsigned titled = 1u << 0;
inline constexpr unsigned closable = 1u << 1;
inline constexpr unsigned miniaturizable = 1u << 2;
inline constexpr unsigned resizable = 1u << 3;
}  // namespace window_style

/// Collection-behaviour bit that brings a window to the user's current Space.
inline constexpr unsigned kMoveToActiveSpace = 1u << 1;

/// Everything fixed about an ordinary window when it is built.
struct WindowSettings {
    std::string name;  ///< the window's role, for traces and debugging
    std::string title;
    Size contentSize;  ///< the hosted view's fixed size
    unsigned styleMask = 0;
    bool releasedWhenClosed = true;
    unsigned collectionBehavior = 0;
};

class Window;

/// Receives a window's lifecycle callbacks.
class WindowDelegate {
public:
    virtual ~WindowDelegate() = default;
    /// The window is about to close; window is the one closing.
    virtual void windowWillClose(Window& window) = 0;
};

/// One ordinary (titled) window.
class Window {
public:
    virtual ~Window() = default;
    /// Centres the window on the screen.
    virtual void center() = 0;
    /// Sets the delegate told about closing; null removes it.
    virtual void setDelegate(WindowDelegate* delegate) = 0;
    /// Puts the window in front and makes it key.
    virtual void makeKeyAndOrderFront() = 0;
    /// Whether the window is on screen (not closed; a minimised window counts as shown).
    virtual bool isVisible() const = 0;
};

}  // namespace lumivoke
