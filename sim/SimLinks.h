#pragma once

#include <set>
#include <string>

#include "Trace.h"
#include "platform/Links.h"

namespace lumivoke::sim {

/// Opening links: traced as "workspace: open-url URL". Every link opens, except those a
/// scenario declared to have no application, as settings panes that a system does not have.
class SimLinks final : public LinkOpener {
public:
    explicit SimLinks(Trace& trace) : trace_(trace) {}
    bool openURL(const std::string& url) override;
    bool canOpenURL(const std::string& url) override { return !unopenable_.contains(url); }

    /// Whether url has an application to open it.
    void setOpenable(const std::string& url, bool openable);

private:
    Trace& trace_;
    std::set<std::string> unopenable_;
};

}  // namespace lumivoke::sim
