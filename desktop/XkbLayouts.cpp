#include "XkbLayouts.h"

#include <array>
#include <string_view>

namespace lumivoke::desktop {
namespace {

std::vector<std::string> splitCommas(std::string_view text) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        const auto comma = text.find(',', start);
        parts.emplace_back(text.substr(start, comma - start));
        if (comma == std::string_view::npos) {
            break;
        }
        start = comma + 1;
    }
    return parts;
}

/// rules, model, layouts, variants, options
std::array<std::string, 5> rulesNamesFields(std::string_view property) {
    std::array<std::string, 5> fields;
    std::size_t index = 0;
    for (char c : property) {
        if (c == '\0') {
            if (++index == fields.size()) {
                break;
            }
        } else {
            fields[index] += c;
        }
    }
    return fields;
}

}  // namespace

std::vector<XkbLayout> parseRulesNames(const std::string& property) {
    const auto fields = rulesNamesFields(property);
    std::vector<XkbLayout> layouts;
    if (fields[2].empty()) {
        return layouts;
    }
    const auto codes = splitCommas(fields[2]);
    const auto variants = splitCommas(fields[3]);
    for (std::size_t i = 0; i < codes.size(); ++i) {
        if (codes[i].empty()) {
            continue;
        }
        layouts.push_back({codes[i], i < variants.size() ? variants[i] : std::string()});
    }
    return layouts;
}

std::string layoutSourceID(const XkbLayout& layout) {
    std::string id = "xkb:" + layout.layout;
    if (!layout.variant.empty()) {
        id += "(" + layout.variant + ")";
    }
    return id;
}

std::string rulesetOf(const std::string& property) {
    std::string rules = rulesNamesFields(property)[0];
    // A rules file named by its path is registered under its file name.
    if (const auto slash = rules.rfind('/'); slash != std::string::npos) {
        rules.erase(0, slash + 1);
    }
    return rules.empty() ? std::string("evdev") : rules;
}

}  // namespace lumivoke::desktop
