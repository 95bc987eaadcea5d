#include "Keysyms.h"

#include "base/Unicode.h"
#include "platform/Keyboard.h"

namespace lumivoke::desktop {
namespace {

// Keysym values from X11/keysymdef.h and XF86keysym.h, spelled out so that these conversions
// need no X11 headers.
constexpr std::uint32_t kBackSpace = 0xff08, kTab = 0xff09, kReturn = 0xff0d, kEscape = 0xff1b;
constexpr std::uint32_t kDelete = 0xffff, kISOLeftTab = 0xfe20, kKPEnter = 0xff8d;

// The private-use characters the function keys produce on the system the core was made for.
constexpr char32_t kUpArrow = 0xF700, kDownArrow = 0xF701, kLeftArrow = 0xF702,
                   kRightArrow = 0xF703, kF1 = 0xF704, kInsert = 0xF727, kDeleteForward = 0xF728,
                   kHome = 0xF729, kBegin = 0xF72A, kEnd = 0xF72B, kPageUp = 0xF72C,
                   kPageDown = 0xF72D, kPrintScreen = 0xF72E, kScrollLock = 0xF72F, kPause = 0xF730,
                   kSysReq = 0xF731, kBreak = 0xF732, kMenu = 0xF735, kHelp = 0xF746,
                   kClear = 0xF739;

std::optional<char32_t> functionKeyCharacter(std::uint32_t keysym) {
    if (keysym >= 0xffbe && keysym <= 0xffe0) {  // F1 … F35
        return kF1 + (keysym - 0xffbe);
    }
    if (keysym >= 0xff91 && keysym <= 0xff94) {  // KP_F1 … KP_F4
        return kF1 + (keysym - 0xff91);
    }
    switch (keysym) {
        case 0xff52:  // Up
        case 0xff97:  // KP_Up
            return kUpArrow;
        case 0xff54:  // Down
        case 0xff99:
            return kDownArrow;
        case 0xff51:  // Left
        case 0xff96:
            return kLeftArrow;
        case 0xff53:  // Right
        case 0xff98:
            return kRightArrow;
        case 0xff50:  // Home
        case 0xff95:
            return kHome;
        case 0xff57:  // End
        case 0xff9c:
            return kEnd;
        case 0xff55:  // Prior
        case 0xff9a:
            return kPageUp;
        case 0xff56:  // Next
        case 0xff9b:
            return kPageDown;
        case 0xff58:  // Begin
        case 0xff9d:
            return kBegin;
        case 0xff63:  // Insert
        case 0xff9e:
            return kInsert;
        case kDelete:
        case 0xff9f:  // KP_Delete
            return kDeleteForward;
        case 0xff61:  // Print
            return kPrintScreen;
        case 0xff14:  // Scroll_Lock
            return kScrollLock;
        case 0xff13:  // Pause
            return kPause;
        case 0xff15:  // Sys_Req
            return kSysReq;
        case 0xff6b:  // Break
            return kBreak;
        case 0xff67:  // Menu
            return kMenu;
        case 0xff6a:  // Help
            return kHelp;
        case 0xff0b:  // Clear
            return kClear;
        default:
            return std::nullopt;
    }
}

std::optional<char32_t> keypadCharacter(std::uint32_t keysym) {
    if (keysym >= 0xffb0 && keysym <= 0xffb9) {  // KP_0 … KP_9
        return U'0' + (keysym - 0xffb0);
    }
    switch (keysym) {
        case 0xff80:
            return U' ';
        case 0xffaa:
            return U'*';
        case 0xffab:
            return U'+';
        case 0xffac:
            return U',';
        case 0xffad:
            return U'-';
        case 0xffae:
            return U'.';
        case 0xffaf:
            return U'/';
        case 0xffbd:
            return U'=';
        default:
            return std::nullopt;
    }
}

// The legacy (pre-Unicode) keysym blocks of printable characters: Latin 2–4, Katakana,
// Arabic, Cyrillic, Greek, technical, Hebrew, Thai, Korean, currency.
bool isLegacyPrintable(std::uint32_t keysym) {
    return (keysym >= 0x01a1 && keysym <= 0x0eff) || (keysym >= 0x13bc && keysym <= 0x13be) ||
           (keysym >= 0x20a0 && keysym <= 0x20ac);
}

}  // namespace

std::optional<std::uint64_t> modifierBitForKeysym(std::uint32_t keysym) {
    switch (keysym) {
        case 0xffe1:  // Shift_L
        case 0xffe2:  // Shift_R
            return modifier::shift;
        case 0xffe3:  // Control_L
        case 0xffe4:  // Control_R
            return modifier::control;
        case 0xffe9:  // Alt_L
        case 0xffea:  // Alt_R
        case 0xffe7:  // Meta_L
        case 0xffe8:  // Meta_R
        case 0xfe03:  // ISO_Level3_Shift (AltGr)
        case 0xff7e:  // Mode_switch
            return modifier::option;
        case 0xffeb:  // Super_L
        case 0xffec:  // Super_R
        case 0xffed:  // Hyper_L
        case 0xffee:  // Hyper_R
            return modifier::command;
        case 0xffe5:  // Caps_Lock
            return modifier::capsLock;
        default:
            return std::nullopt;
    }
}

std::optional<std::string> charactersForKeysym(std::uint32_t keysym) {
    switch (keysym) {
        case kReturn:
            return std::string("\r");
        case kKPEnter:
            return std::string("\x03");
        case kTab:
        case kISOLeftTab:
            return std::string("\t");
        case kEscape:
            return std::string("\x1b");
        case kBackSpace:
            return std::string("\x7f");
        default:
            break;
    }
    if (auto c = functionKeyCharacter(keysym)) {
        return utf8Encode(*c);
    }
    if (auto c = keypadCharacter(keysym)) {
        return utf8Encode(*c);
    }
    if ((keysym >= 0x20 && keysym <= 0x7e) || (keysym >= 0xa0 && keysym <= 0xff)) {
        return utf8Encode(static_cast<char32_t>(keysym));
    }
    if (keysym >= 0x01000100 && keysym <= 0x0110ffff) {
        return utf8Encode(static_cast<char32_t>(keysym - 0x01000000));
    }
    if (isLegacyPrintable(keysym)) {
        // Some printable character of an older keysym block. Only printability matters to the
        // core (the text is never shown, logged or stored), so the replacement character stands
        // in rather than carrying a full conversion table.
        return utf8Encode(U'\uFFFD');
    }
    return std::nullopt;
}

}  // namespace lumivoke::desktop
