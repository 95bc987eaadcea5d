#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "Session.h"

namespace lumivoke::e2e {

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

private:
    std::unique_ptr<Session> session_;
};

}  // namespace lumivoke::e2e
