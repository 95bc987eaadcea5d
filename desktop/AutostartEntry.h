#pragma once

#include <string>
#include <string_view>

// The XDG autostart entry that launches the program at login: what is written, and whether an
// entry found there still starts it.
namespace lumivoke::desktop {

/// One argument of an Exec= line as the format quotes it: in double quotes, with '"', '`', '$'
/// and '\' escaped by a backslash and '%' doubled (the value escapes come on top, when the line
/// is written).
std::string quotedExecArgument(std::string_view argument);

/// The text of an autostart entry that starts program (an absolute path) without arguments.
std::string autostartEntryText(std::string_view program);

/// Whether the session starts what an autostart entry's text describes: an application entry
/// that neither Hidden=true (how a desktop deletes an entry) nor X-GNOME-Autostart-enabled=false
/// (how session settings switch one off) turns off.
bool autostartEntryStartsProgram(std::string_view text);

}  // namespace lumivoke::desktop
