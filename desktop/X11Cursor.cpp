#include "X11Cursor.h"

#include <X11/Xcursor/Xcursor.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/cursorfont.h>
#include <X11/extensions/Xfixes.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace lumivoke::desktop {
namespace {

// Enough to know every cursor of the applications in use by its serial.
constexpr std::size_t kVerdictsKept = 64;

class X11CursorObject final : public CursorObject {
public:
    X11CursorObject(Point hotSpot, Size size) : hotSpot_(hotSpot), size_(size) {}
    Point hotSpot() override { return hotSpot_; }
    Size imageSize() override { return size_; }

private:
    Point hotSpot_;
    Size size_;
};

// No cursor has it: what every cursor that is not text reports.
constexpr Point kNoTextHotSpot{-1, -1};
constexpr Size kNoTextSize{0, 0};

CursorImage fromXcursor(const XcursorImage& image, const std::string& name) {
    CursorImage cursor{
        static_cast<int>(image.width),
        static_cast<int>(image.height),
        static_cast<int>(image.xhot),
        static_cast<int>(image.yhot),
        std::vector<std::uint32_t>(image.pixels, image.pixels + image.width * image.height),
        name};
    return cursor;
}

/// The cursor search path, its "~" made the home folder.
std::vector<std::filesystem::path> cursorSearchPath() {
    std::vector<std::filesystem::path> folders;
    const std::string path = XcursorLibraryPath() != nullptr ? XcursorLibraryPath() : "";
    const char* home = std::getenv("HOME");
    std::size_t from = 0;
    while (from <= path.size()) {
        const auto colon = std::min(path.find(':', from), path.size());
        std::string folder = path.substr(from, colon - from);
        if (folder.starts_with("~") && home != nullptr) {
            folder = home + folder.substr(1);
        }
        if (!folder.empty()) {
            folders.emplace_back(folder);
        }
        from = colon + 1;
    }
    return folders;
}

/// The cursor font's glyph ch, in the box of its mask glyph ch + 1, as the server builds a
/// cursor from them.
std::optional<CursorGlyph> loadFontGlyph(Display* dpy, Window root, unsigned ch) {
    XFontStruct* font = XLoadQueryFont(dpy, "cursor");
    if (font == nullptr) {
        return std::nullopt;
    }
    const unsigned maskCh = ch + 1;
    const XCharStruct* metrics = nullptr;
    if (font->per_char == nullptr) {
        metrics = &font->max_bounds;
    } else if (maskCh >= font->min_char_or_byte2 && maskCh <= font->max_char_or_byte2) {
        metrics = &font->per_char[maskCh - font->min_char_or_byte2];
    }
    std::optional<CursorGlyph> glyph;
    if (metrics != nullptr) {
        CursorGlyph g;
        g.width = metrics->rbearing - metrics->lbearing;
        g.height = metrics->ascent + metrics->descent;
        g.xhot = -metrics->lbearing;
        g.yhot = metrics->ascent;
        if (g.width > 0 && g.height > 0 && g.width <= 64 && g.height <= 64) {
            const Pixmap pixmap = XCreatePixmap(dpy, root, static_cast<unsigned>(g.width),
                                                static_cast<unsigned>(g.height), 1);
            GC gc = XCreateGC(dpy, pixmap, 0, nullptr);
            XSetFont(dpy, gc, font->fid);
            for (const unsigned c : {ch, maskCh}) {
                XSetForeground(dpy, gc, 0);
                XFillRectangle(dpy, pixmap, gc, 0, 0, static_cast<unsigned>(g.width),
                               static_cast<unsigned>(g.height));
                XSetForeground(dpy, gc, 1);
                const char text = static_cast<char>(c);
                XDrawString(dpy, pixmap, gc, g.xhot, g.yhot, &text, 1);
                XImage* image = XGetImage(dpy, pixmap, 0, 0, static_cast<unsigned>(g.width),
                                          static_cast<unsigned>(g.height), 1, XYPixmap);
                if (image == nullptr) {
                    break;
                }
                auto& bits = c == ch ? g.source : g.mask;
                for (int y = 0; y < g.height; ++y) {
                    for (int x = 0; x < g.width; ++x) {
                        bits.push_back(XGetPixel(image, x, y) != 0);
                    }
                }
                XDestroyImage(image);
            }
            XFreeGC(dpy, gc);
            XFreePixmap(dpy, pixmap);
            if (g.mask.size() == g.source.size() &&
                g.mask.size() == static_cast<std::size_t>(g.width * g.height)) {
                glyph = std::move(g);
            }
        }
    }
    XFreeFont(dpy, font);
    return glyph;
}

}  // namespace

X11CursorServer::X11CursorServer(X11Connection& x11, LogSink& sink)
    : x11_(x11), log_(sink, "Cursor") {
    Display* dpy = x11_.display();
    int errorBase = 0;
    if (dpy == nullptr || !XFixesQueryExtension(dpy, &xfixesEventBase_, &errorBase)) {
        xfixesEventBase_ = -1;
        return;
    }
    int major = 2;
    int minor = 0;
    XFixesQueryVersion(dpy, &major, &minor);
    eventToken_ = x11_.addHandler([this](XEvent& event) {
        if (event.type == xfixesEventBase_ + XFixesCursorNotify) {
            ++changes_;
            announced_ = reinterpret_cast<XFixesCursorNotifyEvent&>(event).cursor_serial;
        }
    });
}

X11CursorServer::~X11CursorServer() = default;

CursorSeedFunction X11CursorServer::lookUpCursorSeed() {
    Display* dpy = x11_.display();
    if (dpy == nullptr || xfixesEventBase_ < 0) {
        return {};
    }
    loadTextCursors();
    if (!watching_) {
        XFixesSelectCursorInput(dpy, x11_.root(), XFixesDisplayCursorNotifyMask);
        XFlush(dpy);
        watching_ = true;
    }
    return [this] { return changes_; };
}

void X11CursorServer::loadTextCursors() {
    Display* dpy = x11_.display();
    if (classifier_ || dpy == nullptr) {
        return;
    }
    const char* themeName = XcursorGetTheme(dpy);
    const std::string theme = themeName != nullptr ? themeName : "default";
    const int size = XcursorGetDefaultSize(dpy);
    const TextCursorFiles files = findTextCursor(cursorSearchPath(), theme);
    std::vector<CursorImage> images;
    std::optional<CursorImage> atDefaultSize;
    if (files.file) {
        if (XcursorImages* all = XcursorFilenameLoadAllImages(files.file->c_str())) {
            for (int i = 0; i < all->nimage; ++i) {
                images.push_back(fromXcursor(*all->images[i], ""));
            }
            XcursorImagesDestroy(all);
        }
        if (XcursorImage* best = XcursorFilenameLoadImage(files.file->c_str(), size)) {
            atDefaultSize = fromXcursor(*best, "");
            XcursorImageDestroy(best);
        }
    }
    auto glyph = loadFontGlyph(dpy, x11_.root(), XC_xterm);
    if (atDefaultSize) {
        textShape_ = {
            {static_cast<double>(atDefaultSize->xhot), static_cast<double>(atDefaultSize->yhot)},
            {static_cast<double>(atDefaultSize->width),
             static_cast<double>(atDefaultSize->height)}};
    } else if (glyph) {
        textShape_ = {{static_cast<double>(glyph->xhot), static_cast<double>(glyph->yhot)},
                      {static_cast<double>(glyph->width), static_cast<double>(glyph->height)}};
    }
    std::string names;
    for (const auto& name : files.names) {
        names += (names.empty() ? "" : ", ") + name;
    }
    log_.info(
        "text cursors: theme %{public}s%{public}s (%{public}d sizes), names %{public}s, "
        "cursor font glyph %{public}s",
        theme, files.file ? " at " + files.file->string() : std::string(" not found"),
        static_cast<int>(images.size()), names,
        glyph ? std::to_string(glyph->width) + "x" + std::to_string(glyph->height)
              : std::string("none"));
    classifier_.emplace(files.names, std::move(images), std::move(glyph));
}

std::optional<Point> X11CursorServer::iBeamHotSpot() {
    loadTextCursors();
    return textShape_.hotSpot;
}

std::optional<Size> X11CursorServer::iBeamImageSize() {
    loadTextCursors();
    return textShape_.size;
}

std::optional<bool> X11CursorServer::currentIsText() {
    if (verdict_ && verdictAt_ == changes_ && watching_) {
        return verdict_;
    }
    if (announced_ && watching_) {
        if (auto known = verdicts_.find(*announced_); known != verdicts_.end()) {
            verdict_ = known->second;
            verdictAt_ = changes_;
            return verdict_;
        }
    }
    Display* dpy = x11_.display();
    XFixesCursorImage* image = XFixesGetCursorImage(dpy);
    if (image == nullptr) {
        return std::nullopt;
    }
    loadTextCursors();
    CursorImage cursor{image->width, image->height,
                       image->xhot,  image->yhot,
                       {},           image->name != nullptr ? image->name : ""};
    const std::size_t count =
        static_cast<std::size_t>(image->width) * static_cast<std::size_t>(image->height);
    cursor.pixels.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        // Xlib hands 32-bit pixels out as longs.
        cursor.pixels.push_back(static_cast<std::uint32_t>(image->pixels[i]));
    }
    const unsigned long serial = image->cursor_serial;
    XFree(image);
    const bool isText = classifier_->isText(cursor);
    verdicts_[serial] = isText;
    if (verdicts_.size() > kVerdictsKept) {
        verdicts_.erase(verdicts_.begin());
    }
    verdict_ = isText;
    verdictAt_ = changes_;
    return verdict_;
}

std::unique_ptr<CursorObject> X11CursorServer::currentSystemCursor() {
    if (x11_.display() == nullptr || xfixesEventBase_ < 0) {
        return nullptr;
    }
    const auto isText = currentIsText();
    if (!isText) {
        return nullptr;
    }
    return *isText ? std::make_unique<X11CursorObject>(textShape_.hotSpot, textShape_.size)
                   : std::make_unique<X11CursorObject>(kNoTextHotSpot, kNoTextSize);
}

}  // namespace lumivoke::desktop
