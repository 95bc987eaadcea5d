#pragma once

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

}  // namespace lumivoke
