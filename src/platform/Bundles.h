#pragma once

#include <map>
#include <optional>
#include <string>
#include <variant>

namespace lumivoke {

/// A value of a bundle's information dictionary.
using InfoValue = std::variant<std::string, double, bool>;

/// The running application's own bundle.
class MainBundle {
public:
    virtual ~MainBundle() = default;
    /// The information value of key, or none.
    virtual std::optional<InfoValue> infoValue(const std::string& key) = 0;
};

/// An information dictionary: key to value, any of the value kinds.
using InfoDictionary = std::map<std::string, InfoValue>;

/// What an application bundle on disk says about itself.
struct BundleInfo {
    std::optional<std::string> bundleIdentifier;
    /// The values localized for the user's language (empty when the bundle has none).
    InfoDictionary localizedInfo;
    InfoDictionary info;
};

/// Application bundles on disk.
class Bundles {
public:
    virtual ~Bundles() = default;
    /// Opens the bundle at path; none when there is no readable bundle there.
    virtual std::optional<BundleInfo> openBundle(const std::string& path) = 0;
};

}  // namespace lumivoke
