#pragma once

#include <map>
#include <string>

#include "platform/Bundles.h"

namespace lumivoke::sim {

/// The application bundles installed on the simulated disk, by path.
class SimBundles final : public Bundles {
public:
    std::map<std::string, BundleInfo> installed;

    std::optional<BundleInfo> openBundle(const std::string& path) override {
        auto it = installed.find(path);
        return it == installed.end() ? std::nullopt : std::optional<BundleInfo>(it->second);
    }
};

}  // namespace lumivoke::sim
