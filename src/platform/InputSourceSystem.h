#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "base/Token.h"

namespace lumivoke {

/// The system's own record of one input source; opaque to the application, kept alive while
/// any handle to it lives.
class SystemInputSource {
public:
    virtual ~SystemInputSource() = default;
};
using InputSourceHandle = std::shared_ptr<const SystemInputSource>;

/// The properties of a system input source the application reads.
enum class SourceProperty { category, isSelectCapable, id, localizedName, languages };

/// A property value as the system stores it; which alternative a property holds is the
/// system's business, so readers check the type.
using PropertyValue = std::variant<std::string, bool, double, std::vector<std::string>>;

/// The category text of keyboard layouts and input methods.
inline constexpr const char* kKeyboardInputSourceCategory = "TISCategoryKeyboardInputSource";

/// The system's catalogue of input sources and their selection.
class InputSourceSystem {
public:
    virtual ~InputSourceSystem() = default;

    /// The enabled input sources of every category in system order; nullopt when the system
    /// gives no list.
    virtual std::optional<std::vector<InputSourceHandle>> enabledSources() = 0;
    /// One property of a source; nullopt when the source does not have it.
    virtual std::optional<PropertyValue> property(const InputSourceHandle& source,
                                                  SourceProperty which) = 0;
    /// The current keyboard input source, or null when there is none.
    virtual InputSourceHandle currentKeyboardSource() = 0;
    /// Selects a source; the status is 0 when the source is now selected.
    virtual std::int32_t select(const InputSourceHandle& source) = 0;
    /// Calls back on the main loop each time the selected keyboard source changes.
    virtual Token observeSelectedSourceChanged(std::function<void()> callback) = 0;
    /// Calls back on the main loop each time the set of enabled keyboard sources changes.
    virtual Token observeEnabledSourcesChanged(std::function<void()> callback) = 0;
};

}  // namespace lumivoke
