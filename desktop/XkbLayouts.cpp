#include "XkbLayouts.h"

#include <array>
#include <string_view>

namespace lumivoke::desktop {
namespace {

struct LayoutInfo {
    std::string_view code;
    std::string_view language;
    std::string_view name;
};

constexpr std::array<LayoutInfo, 40> kLayouts{{
    {"us", "en", "English (US)"},
    {"gb", "en", "English (UK)"},
    {"au", "en", "English (Australia)"},
    {"ca", "fr", "Canadian"},
    {"ie", "en", "Irish"},
    {"de", "de", "German"},
    {"at", "de", "German (Austria)"},
    {"ch", "de", "Swiss"},
    {"fr", "fr", "French"},
    {"be", "fr", "Belgian"},
    {"es", "es", "Spanish"},
    {"latam", "es", "Spanish (Latin American)"},
    {"it", "it", "Italian"},
    {"pt", "pt", "Portuguese"},
    {"br", "pt", "Portuguese (Brazil)"},
    {"nl", "nl", "Dutch"},
    {"se", "sv", "Swedish"},
    {"no", "nb", "Norwegian"},
    {"dk", "da", "Danish"},
    {"fi", "fi", "Finnish"},
    {"is", "is", "Icelandic"},
    {"pl", "pl", "Polish"},
    {"cz", "cs", "Czech"},
    {"sk", "sk", "Slovak"},
    {"hu", "hu", "Hungarian"},
    {"ro", "ro", "Romanian"},
    {"ru", "ru", "Russian"},
    {"ua", "uk", "Ukrainian"},
    {"by", "be", "Belarusian"},
    {"bg", "bg", "Bulgarian"},
    {"rs", "sr", "Serbian"},
    {"hr", "hr", "Croatian"},
    {"gr", "el", "Greek"},
    {"tr", "tr", "Turkish"},
    {"il", "he", "Hebrew"},
    {"ara", "ar", "Arabic"},
    {"jp", "ja", "Japanese"},
    {"kr", "ko", "Korean"},
    {"cn", "zh", "Chinese"},
    {"th", "th", "Thai"},
}};

const LayoutInfo* findLayout(std::string_view code) {
    for (const auto& info : kLayouts) {
        if (info.code == code) {
            return &info;
        }
    }
    return nullptr;
}

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

}  // namespace

std::vector<XkbLayout> parseRulesNames(const std::string& property) {
    // rules, model, layouts, variants, options
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

std::string languageForLayout(const std::string& layout) {
    if (const auto* info = findLayout(layout)) {
        return std::string(info->language);
    }
    return layout;
}

std::string layoutDisplayName(const XkbLayout& layout) {
    const auto* info = findLayout(layout.layout);
    std::string name = info ? std::string(info->name) : layout.layout;
    if (!layout.variant.empty()) {
        name += " (" + layout.variant + ")";
    }
    return name;
}
}  // namespace lumivoke::desktop
