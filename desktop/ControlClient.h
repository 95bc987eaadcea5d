#pragma once

#include <filesystem>
#include <iosfwd>
#include <string>

// `lumivoke ctl`: one request to the running Lumivoke over its socket, its answers printed one
// JSON line each. Plain POSIX, so it needs neither Qt nor a display.
namespace lumivoke::desktop {

/// The exit status of `lumivoke ctl`.
enum ControlExit { controlOK = 0, controlNotRunning = 1, controlRefused = 2 };

/// Sends requestLine to the Lumivoke listening at socket and writes each answer line to out;
/// for a watch, every line until Lumivoke goes. What went wrong goes to err, one line
/// "lumivoke: …". controlOK when the answer says ok; controlRefused when it refused the
/// request; controlNotRunning when nobody answers at socket or the answer broke off.
int runControlClient(const std::filesystem::path& socket, const std::string& requestLine,
                     bool watch, std::ostream& out, std::ostream& err);

}  // namespace lumivoke::desktop
