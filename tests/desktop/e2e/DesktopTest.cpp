#include "DesktopTest.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iostream>

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

Pixels DesktopTest::steadyPicture(const WindowInfo& window) {
    Pixels last = x().grab(window.frame);
    Pixels now;
    EXPECT_TRUE(eventually([&] {
        now = x().grab(window.frame);
        const bool same = now == last;
        last = now;
        return same;
    })) << "the window kept changing";
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

}  // namespace lumivoke::e2e
