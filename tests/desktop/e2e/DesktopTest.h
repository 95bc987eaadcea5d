#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>

#include "Session.h"

namespace lumivoke::e2e {

namespace fs = std::filesystem;
using std::chrono::milliseconds;

/// A test on a desktop of its own, started before the test and ended after it. A fixture for
/// an unusual desktop overrides sessionOptions().
class DesktopTest : public ::testing::Test {
protected:
    virtual SessionOptions sessionOptions() const { return {}; }

    void SetUp() override;
    void TearDown() override;

    Session& session() { return *session_; }
    XClient& x() { return session_->x(); }
    const LogFile& log() const { return session_->log(); }

    /// Puts the pointer where it touches nothing of the program's, so that nothing is hovered.
    void restPointer() { x().movePointer(1250, 600); }
    /// The picture of an area of the screen, or of a window, once it has stopped changing.
    Pixels steadyPicture(const XRect& area);
    Pixels steadyPicture(const WindowInfo& window) { return steadyPicture(window.frame); }
    /// Clicks the middle of a control found in the window's picture and keeps the pointer there
    /// until the click has taken effect, as a person waits to see it; then moves it away.
    /// (Moving it at once loses the click: the window manager holds the pointer while it
    /// focuses on a press, and the X server then reports the release where the pointer has
    /// gone; see README.md.) Whether the effect came.
    bool clickControl(const WindowInfo& window, const XRect& control,
                      const std::function<bool()>& tookEffect);

    // The settings window.
    /// Launches the program again and waits for the running one's settings window.
    std::optional<WindowInfo> openSettings();
    /// Chooses a tab by its segment: its effect is a change of the window below the tab row.
    /// Whether it came; the picture is left to settle.
    bool chooseTab(const WindowInfo& window, const XRect& segment);
    /// Opens the settings and chooses a tab by its segment (0 Setup, 1 General, 2 Per-App
    /// Rules); the window, or none after a test failure.
    std::optional<WindowInfo> openSettingsOn(int segment);

private:
    std::unique_ptr<Session> session_;
};

/// A Base test on an unusual desktop: the default options as adjust changes them, e.g.
/// `using OneLayoutTest = WithSession<[](SessionOptions& o) { o.layouts = "us"; }>;`.
template <auto adjust, class Base = DesktopTest>
class WithSession : public Base {
protected:
    SessionOptions sessionOptions() const override {
        SessionOptions options;
        adjust(options);
        return options;
    }
};

}  // namespace lumivoke::e2e
