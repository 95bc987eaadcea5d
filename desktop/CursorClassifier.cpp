#include "CursorClassifier.h"

#include <sys/stat.h>

#include <algorithm>
#include <fstream>

namespace lumivoke::desktop {
namespace {

namespace fs = std::filesystem;

constexpr std::uint32_t kAlpha = 0xff000000;

// A chain of themes longer than this is a loop.
constexpr int kMaxInheritance = 8;

/// The themes a theme's index.theme names on its "Inherits=" line, in order.
std::vector<std::string> inheritedThemes(const fs::path& themeFolder) {
    std::ifstream in(themeFolder / "index.theme");
    std::string line;
    std::vector<std::string> themes;
    while (std::getline(in, line)) {
        if (!line.starts_with("Inherits")) {
            continue;
        }
        const auto equals = line.find('=');
        if (equals == std::string::npos) {
            continue;
        }
        std::string list = line.substr(equals + 1);
        std::replace(list.begin(), list.end(), ';', ',');
        std::size_t from = 0;
        while (from <= list.size()) {
            const auto comma = std::min(list.find(',', from), list.size());
            std::string name = list.substr(from, comma - from);
            name.erase(0, name.find_first_not_of(" \t"));
            name.erase(name.find_last_not_of(" \t\r") + 1);
            if (!name.empty()) {
                themes.push_back(name);
            }
            from = comma + 1;
        }
        break;
    }
    return themes;
}

void search(const std::vector<fs::path>& searchPath, const std::string& theme, int depth,
            TextCursorFiles& found) {
    if (depth > kMaxInheritance || found.file) {
        return;
    }
    std::error_code ec;
    for (const auto& folder : searchPath) {
        const fs::path cursors = folder / theme / "cursors";
        for (const auto& name : textCursorNames()) {
            const fs::path file = cursors / name;
            if (!fs::is_regular_file(file, ec)) {
                continue;
            }
            found.file = file;
            // Every other name in the folder for the same picture: themes link their aliases
            // (symbolic or hard links). One stat a name, not a path resolution a name.
            struct stat target {};
            if (stat(file.c_str(), &target) != 0) {
                return;
            }
            for (const auto& entry : fs::directory_iterator(cursors, ec)) {
                struct stat other {};
                if (stat(entry.path().c_str(), &other) == 0 && other.st_dev == target.st_dev &&
                    other.st_ino == target.st_ino) {
                    found.names.insert(entry.path().filename().string());
                }
            }
            return;
        }
    }
    for (const auto& folder : searchPath) {
        if (fs::is_directory(folder / theme, ec)) {
            for (const auto& parent : inheritedThemes(folder / theme)) {
                search(searchPath, parent, depth + 1, found);
            }
            return;
        }
    }
}

}  // namespace

const std::set<std::string>& textCursorNames() {
    static const std::set<std::string> names{"xterm", "text", "ibeam"};
    return names;
}

CursorClassifier::CursorClassifier(std::set<std::string> names,
                                   std::vector<CursorImage> themeImages,
                                   std::optional<CursorGlyph> glyph)
    : names_(std::move(names)), themeImages_(std::move(themeImages)), glyph_(std::move(glyph)) {
    names_.insert(textCursorNames().begin(), textCursorNames().end());
}

bool CursorClassifier::isText(const CursorImage& cursor) const {
    if (!cursor.name.empty() && names_.contains(cursor.name)) {
        return true;
    }
    for (const auto& image : themeImages_) {
        if (image.width == cursor.width && image.height == cursor.height &&
            image.xhot == cursor.xhot && image.yhot == cursor.yhot &&
            image.pixels == cursor.pixels) {
            return true;
        }
    }
    return isGlyph(cursor);
}

bool CursorClassifier::isGlyph(const CursorImage& cursor) const {
    if (!glyph_ || glyph_->width != cursor.width || glyph_->height != cursor.height ||
        glyph_->xhot != cursor.xhot || glyph_->yhot != cursor.yhot ||
        cursor.pixels.size() != glyph_->mask.size()) {
        return false;
    }
    // The server draws the glyph in the two colours its client chose: one where the source
    // is set, the other elsewhere in the mask, and nothing outside the mask.
    std::optional<std::uint32_t> foreground;
    std::optional<std::uint32_t> background;
    for (std::size_t i = 0; i < cursor.pixels.size(); ++i) {
        const std::uint32_t pixel = cursor.pixels[i];
        if (!glyph_->mask[i]) {
            if ((pixel & kAlpha) != 0) {
                return false;
            }
            continue;
        }
        if ((pixel & kAlpha) != kAlpha) {
            return false;
        }
        auto& colour = glyph_->source[i] ? foreground : background;
        if (!colour) {
            colour = pixel;
        } else if (*colour != pixel) {
            return false;
        }
    }
    return true;
}

TextCursorFiles findTextCursor(const std::vector<fs::path>& searchPath, const std::string& theme) {
    TextCursorFiles found;
    found.names = textCursorNames();
    search(searchPath, theme, 0, found);
    return found;
}

}  // namespace lumivoke::desktop
