#pragma once

#include <string>

#include "Trace.h"
#include "platform/Links.h"

namespace lumivoke::sim {

/// Opening links: traced as "workspace: open-url URL".
class SimLinks final : public LinkOpener {
public:
    explicit SimLinks(Trace& trace) : trace_(trace) {}
    bool openURL(const std::string& url) override;

private:
    Trace& trace_;
};

}  // namespace lumivoke::sim
