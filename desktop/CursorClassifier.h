#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

// Which cursors are the text cursor. Applications ask for it by name, at their own size, or
// get the X server's own glyph when no cursor theme is in use; whichever it is, the pointer is
// over text. Needs no display: the X11 side hands in the pictures.
namespace lumivoke::desktop {

/// A cursor's picture as XFixes gives it: ARGB pixels (alpha in the top byte), row by row,
/// and the name it was loaded by ("" when it has none).
struct CursorImage {
    int width = 0;
    int height = 0;
    int xhot = 0;
    int yhot = 0;
    std::vector<std::uint32_t> pixels;
    std::string name;
};

/// A glyph of the X server's cursor font: where it is drawn (source) and where it is opaque
/// (mask), one flag per pixel, in a box of the mask glyph's size.
struct CursorGlyph {
    int width = 0;
    int height = 0;
    int xhot = 0;
    int yhot = 0;
    std::vector<bool> source;
    std::vector<bool> mask;
};

/// The names a text cursor goes by: "xterm", "text", "ibeam".
const std::set<std::string>& textCursorNames();

class CursorClassifier {
public:
    /// names: every name of the text cursor (textCursorNames() and the theme's aliases);
    /// themeImages: the theme's text cursor at each of its sizes; glyph: the cursor font's
    /// text cursor, if the server has that font.
    CursorClassifier(std::set<std::string> names, std::vector<CursorImage> themeImages,
                     std::optional<CursorGlyph> glyph);

    /// Whether the cursor is a text cursor: by its name, or by its picture, which equals the
    /// theme's text cursor at that size or the cursor font's (in any two colours). A cursor
    /// that merely has the size and hot spot of one is not.
    bool isText(const CursorImage& cursor) const;

private:
    bool isGlyph(const CursorImage& cursor) const;

    std::set<std::string> names_;
    std::vector<CursorImage> themeImages_;
    std::optional<CursorGlyph> glyph_;
};

/// Where a cursor theme's text cursor lives, and its other names.
struct TextCursorFiles {
    /// The file of the first text cursor the theme (or a theme it inherits) has, if any.
    std::optional<std::filesystem::path> file;
    /// textCursorNames() and every name in that folder that is a link to the same file.
    std::set<std::string> names;
};

/// Looks for the text cursor of theme in the folders of the cursor search path (each holding
/// themes as THEME/cursors/NAME), following the themes it inherits (THEME/index.theme's
/// "Inherits=" line), as libXcursor does.
TextCursorFiles findTextCursor(const std::vector<std::filesystem::path>& searchPath,
                               const std::string& theme);

}  // namespace lumivoke::desktop
