#include "AutostartEntry.h"

#include "DesktopEntryFile.h"

namespace lumivoke::desktop {

std::string quotedExecArgument(std::string_view argument) {
    std::string out = "\"";
    for (const char c : argument) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') {
            out += '\\';
        } else if (c == '%') {
            out += '%';
        }
        out += c;
    }
    out += '"';
    return out;
}

std::string autostartEntryText(std::string_view program) {
    constexpr std::string_view g = DesktopEntryFile::mainGroup;
    DesktopEntryFile file;
    file.set(g, "Type", "Application");
    file.set(g, "Name", "Lumivoke");
    file.set(g, "Exec", quotedExecArgument(program));
    file.setBoolean(g, "X-GNOME-Autostart-enabled", true);
    file.setBoolean(g, "NoDisplay", true);
    return file.serialize();
}

bool autostartEntryStartsProgram(std::string_view text) {
    const auto file = DesktopEntryFile::parse(text);
    constexpr std::string_view g = DesktopEntryFile::mainGroup;
    return file.string(g, "Type") == "Application" && file.raw(g, "Exec").has_value() &&
           !file.boolean(g, "Hidden").value_or(false) &&
           file.boolean(g, "X-GNOME-Autostart-enabled").value_or(true);
}

}  // namespace lumivoke::desktop
