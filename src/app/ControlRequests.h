#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "base/Token.h"
#include "base/WeakAnchor.h"
#include "settings/SettingsTab.h"

namespace lumivoke {

class AppState;

/// One request of the control channel, as its JSON line names it:
/// {"command":"list"}, {"command":"select","id":"xkb:de"}, {"command":"settings","tab":"setup"}.
struct ControlRequest {
    enum class Command { list, current, next, select, settings, watch, state };
    Command command = Command::list;
    /// The layout to select (select only).
    std::string id;
    /// The tab to open (settings only); General when the request names none.
    SettingsTab tab = SettingsTab::general;
};

/// A request line, or why it is not one.
struct ParsedControlRequest {
    std::optional<ControlRequest> request;
    std::string error;
};

/// The longest request line taken, in bytes (its newline not counted); a longer one is answered
/// with an error and otherwise ignored.
inline constexpr std::size_t kMaxControlRequestBytes = 4096;

/// Reads one request line: a JSON object with a "command" text and the fields that command
/// takes, nothing else. Never throws; any other input gives a one-line reason.
ParsedControlRequest parseControlRequest(std::string_view line);

/// The request line of a request, as parseControlRequest reads it back.
std::string controlRequestLine(const ControlRequest& request);
/// A request from command-line words after "ctl": "list", "select xkb:de", "settings setup".
ParsedControlRequest controlRequestFromWords(std::span<const std::string_view> words);

/// The command names and tab names as requests spell them ("per-app-rules").
const char* controlCommandName(ControlRequest::Command command);
const char* controlTabName(SettingsTab tab);
std::optional<SettingsTab> controlTabNamed(std::string_view name);

/// An error answer: {"ok":false,"error":"…"}.
std::string controlErrorLine(std::string_view message);

/// Answers control requests on the running application: each request line gets one answer line
/// (JSON, no newline), and a watch gets a line now and one each time the current layout
/// changes. Lives as long as the application state it was given.
class ControlRequestHandler {
public:
    explicit ControlRequestHandler(AppState& state);

    /// The answer to one request line (at most kMaxControlRequestBytes; a longer one is an
    /// error). A watch request gets its first line here; start it with watch().
    std::string answer(std::string_view line);
    /// Whether line is a watch request that answer() accepted.
    static bool isWatch(std::string_view line);

    /// Calls send with the current layout ({"current":{…}} or {"current":null}) each time it
    /// changes, until the token ends. send never runs after the handler is gone.
    Token watch(std::function<void(const std::string&)> send);

private:
    std::string handle(const ControlRequest& request);

    AppState& state_;
    WeakAnchor<ControlRequestHandler> anchor_{this};
};

}  // namespace lumivoke
