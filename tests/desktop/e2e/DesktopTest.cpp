#include "DesktopTest.h"

#include <cstdlib>
#include <iostream>

namespace lumivoke::e2e {

void DesktopTest::SetUp() {
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
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        session_->screenshot(std::string("failed-") + test->test_suite_name() + "-" + test->name());
        std::cout << "lumivoke's log:" << session_->log().tail()
                  << "\nwindows:" << session_->x().describeWindows() << std::endl;
        const char* keep = std::getenv("LUMIVOKE_E2E_KEEP");
        if (keep != nullptr && std::string(keep) == "1") {
            session_->keepFiles();
        }
    }
    session_.reset();
}

}  // namespace lumivoke::e2e
