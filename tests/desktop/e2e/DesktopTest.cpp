#include "DesktopTest.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "Controls.h"

namespace lumivoke::e2e {
namespace {

std::string failurePictureName() {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string("failed-") + test->test_suite_name() + "-" + test->name();
    // Parameterised names carry slashes.
    std::replace(name.begin(), name.end(), '/', '-');
    return name;
}

}  // namespace

void DesktopTest::SetUp() {
    // A picture of an earlier failure of this test would tell of a fault that may be gone.
    std::error_code ec;
    std::filesystem::remove(
        std::filesystem::path(LUMIVOKE_E2E_ARTIFACTS) / (failurePictureName() + ".png"), ec);
    if (const auto reason = Session::unavailable()) {
        GTEST_SKIP() << *reason;
    }
    session_ = std::make_unique<Session>();
    if (!session_->start(sessionOptions())) {
        if (const auto& reason = session_->skipReason()) {
            GTEST_SKIP() << *reason;
        }
        FAIL() << "the session did not start";
    }
}

void DesktopTest::TearDown() {
    if (session_ == nullptr) {
        return;
    }
    if (HasFailure() && session_->hasDisplay()) {
        session_->screenshot(failurePictureName());
        std::cout << "lumivoke's log:" << session_->log().tail()
                  << "\nwindows:" << session_->x().describeWindows() << std::endl;
        const char* keep = std::getenv("LUMIVOKE_E2E_KEEP");
        if (keep != nullptr && std::string(keep) == "1") {
            session_->keepFiles();
        }
    }
    session_.reset();
}

Pixels DesktopTest::steadyPicture(const XRect& area) {
    Pixels last = x().grab(area);
    Pixels now;
    EXPECT_TRUE(eventually([&] {
        now = x().grab(area);
        const bool same = now == last;
        last = now;
        return same;
    })) << "the picture of "
        << area << " kept changing";
    return now;
}

bool DesktopTest::clickControl(const WindowInfo& window, const XRect& control,
                               const std::function<bool()>& tookEffect) {
    x().movePointer(window.frame.x + control.centerX(), window.frame.y + control.centerY());
    x().click();
    const bool took = eventually(tookEffect);
    restPointer();
    return took;
}

std::optional<WindowInfo> DesktopTest::openSettings() {
    const auto status = session().launchAgain();
    EXPECT_EQ(status, 0) << "the second launch said: " << session().launchAgainOutput();
    std::optional<WindowInfo> window;
    if (!eventually([&] { return (window = session().settingsWindow()).has_value(); })) {
        ADD_FAILURE() << "no settings window" << x().describeWindows();
    }
    restPointer();
    return window;
}

bool DesktopTest::chooseTab(const WindowInfo& window, const XRect& segment) {
    const Pixels before = steadyPicture(window);
    // The pressed look of the segment itself is no effect.
    const bool took = clickControl(window, segment, [&] {
        for (const auto& band : differingBands(before, x().grab(window.frame))) {
            if (band.first > segment.y + segment.height + 2) {
                return true;
            }
        }
        return false;
    });
    steadyPicture(window);
    return took;
}

std::optional<WindowInfo> DesktopTest::openSettingsOn(int segment) {
    auto window = openSettings();
    if (!window || segment == 1) {
        return window;
    }
    // A window just mapped may not be drawn yet.
    std::vector<XRect> segments;
    if (!eventually(
            [&] { return (segments = findTabSegments(steadyPicture(*window))).size() == 3; })) {
        ADD_FAILURE() << "found " << segments.size() << " tab segments, not three";
        return std::nullopt;
    }
    if (!chooseTab(*window, segments[static_cast<std::size_t>(segment)])) {
        ADD_FAILURE() << "choosing segment " << segment << " changed nothing";
        return std::nullopt;
    }
    return window;
}

}  // namespace lumivoke::e2e
