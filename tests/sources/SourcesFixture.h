#pragma once

#include <map>
#include <string>
#include <vector>

#include "SimPlatform.h"

namespace lumivoke::testing_support {

/// A keyboard source with an id, a name and languages, enabled and selectable.
inline std::map<SourceProperty, PropertyValue> keyboardSource(const std::string& id,
                                                              const std::string& name,
                                                              std::vector<std::string> langs) {
    return {{SourceProperty::id, id},
            {SourceProperty::localizedName, name},
            {SourceProperty::languages, std::move(langs)},
            {SourceProperty::category, std::string(kKeyboardInputSourceCategory)},
            {SourceProperty::isSelectCapable, true}};
}

}  // namespace lumivoke::testing_support
