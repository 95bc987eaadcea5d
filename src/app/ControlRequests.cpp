#include "app/ControlRequests.h"

#include <memory>
#include <nlohmann/json.hpp>

#include "app/AppState.h"
#include "app/MenuBarContent.h"
#include "badge/BadgePresenter.h"
#include "settings/SettingsWindowController.h"

namespace lumivoke {
namespace {

using Json = nlohmann::json;

struct CommandSpelling {
    ControlRequest::Command command;
    const char* name;
};

constexpr CommandSpelling kCommands[] = {
    {ControlRequest::Command::list, "list"},         {ControlRequest::Command::current, "current"},
    {ControlRequest::Command::next, "next"},         {ControlRequest::Command::select, "select"},
    {ControlRequest::Command::settings, "settings"}, {ControlRequest::Command::watch, "watch"},
    {ControlRequest::Command::state, "state"},
};

ParsedControlRequest refuse(std::string reason) {
    return {std::nullopt, std::move(reason)};
}

/// Text as it can be written into an answer whatever bytes it holds: names come from the
/// system, and an answer must stay one valid line.
std::string dump(const Json& value) {
    return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

Json sourceJson(const InputSource& source) {
    return Json{{"id", source.id}, {"name", source.name}, {"code", shortCode(source)}};
}

Json currentJson(const std::optional<InputSource>& source) {
    return source ? sourceJson(*source) : Json(nullptr);
}

Json layoutsJson(AppState& state) {
    const auto& current = *state.languageSwitcher().currentSource;
    Json layouts = Json::array();
    for (const auto& source : *state.languageSwitcher().sources) {
        Json layout = sourceJson(source);
        layout["current"] = current.has_value() && current->id == source.id;
        layouts.push_back(std::move(layout));
    }
    return layouts;
}

Json settingsJson(AppState& state) {
    auto* controller = state.settingsControllerIfCreated();
    const bool open = controller != nullptr && controller->window() != nullptr &&
                      controller->window()->isVisible();
    return Json{
        {"open", open},
        {"tab", controller != nullptr ? Json(controlTabName(*controller->tabSelection().selected))
                                      : Json(nullptr)}};
}

std::string okWith(const char* key, Json value) {
    Json answer{{"ok", true}};
    answer[key] = std::move(value);
    return dump(answer);
}

}  // namespace

const char* controlCommandName(ControlRequest::Command command) {
    for (const auto& spelling : kCommands) {
        if (spelling.command == command) {
            return spelling.name;
        }
    }
    return "list";
}

const char* controlTabName(SettingsTab tab) {
    switch (tab) {
        case SettingsTab::setup:
            return "setup";
        case SettingsTab::general:
            return "general";
        case SettingsTab::perAppRules:
            return "per-app-rules";
    }
    return "general";
}

std::optional<SettingsTab> controlTabNamed(std::string_view name) {
    for (const auto tab : {SettingsTab::setup, SettingsTab::general, SettingsTab::perAppRules}) {
        if (name == controlTabName(tab)) {
            return tab;
        }
    }
    return std::nullopt;
}

std::string controlErrorLine(std::string_view message) {
    return dump(Json{{"ok", false}, {"error", std::string(message)}});
}

ParsedControlRequest parseControlRequest(std::string_view line) {
    if (line.size() > kMaxControlRequestBytes) {
        return refuse("the request is longer than " + std::to_string(kMaxControlRequestBytes) +
                      " bytes");
    }
    // The parser stops at a NUL byte as at the end of the text; what follows it would pass
    // unread.
    if (line.find('\0') != std::string_view::npos) {
        return refuse("the request is not JSON");
    }
    // Without exceptions: a malformed request is a discarded value, not a throw.
    const Json json = Json::parse(line.begin(), line.end(), nullptr, false);
    if (json.is_discarded()) {
        return refuse("the request is not JSON");
    }
    if (!json.is_object()) {
        return refuse("the request is not a JSON object");
    }
    const auto command = json.find("command");
    if (command == json.end() || !command->is_string()) {
        return refuse("the request has no \"command\" text");
    }
    const auto& name = command->get_ref<const std::string&>();
    const CommandSpelling* spelling = nullptr;
    for (const auto& candidate : kCommands) {
        if (name == candidate.name) {
            spelling = &candidate;
        }
    }
    if (spelling == nullptr) {
        return refuse("unknown command \"" + name +
                      "\"; the commands are list, current, next, select, settings, watch, state");
    }
    ControlRequest request;
    request.command = spelling->command;
    for (const auto& [key, value] : json.items()) {
        const bool takesID = request.command == ControlRequest::Command::select;
        const bool takesTab = request.command == ControlRequest::Command::settings;
        if (key == "command") {
            continue;
        }
        if ((key == "id" && takesID) || (key == "tab" && takesTab)) {
            if (!value.is_string()) {
                return refuse("\"" + key + "\" is not text");
            }
            continue;
        }
        return refuse("\"" + name + "\" takes no \"" + key + "\"");
    }
    if (request.command == ControlRequest::Command::select) {
        const auto id = json.find("id");
        if (id == json.end() || id->get_ref<const std::string&>().empty()) {
            return refuse("\"select\" needs the \"id\" of a layout");
        }
        request.id = id->get_ref<const std::string&>();
    }
    if (request.command == ControlRequest::Command::settings) {
        if (const auto tab = json.find("tab"); tab != json.end()) {
            const auto named = controlTabNamed(tab->get_ref<const std::string&>());
            if (!named) {
                return refuse("unknown tab \"" + tab->get_ref<const std::string&>() +
                              "\"; the tabs are setup, general, per-app-rules");
            }
            request.tab = *named;
        }
    }
    return {request, ""};
}

std::string controlRequestLine(const ControlRequest& request) {
    Json line{{"command", controlCommandName(request.command)}};
    if (request.command == ControlRequest::Command::select) {
        line["id"] = request.id;
    } else if (request.command == ControlRequest::Command::settings) {
        line["tab"] = controlTabName(request.tab);
    }
    return dump(line);
}

ParsedControlRequest controlRequestFromWords(std::span<const std::string_view> words) {
    if (words.empty()) {
        return refuse(
            "ctl needs a command: list, current, next, select ID, settings [TAB], "
            "watch, state");
    }
    const std::string name(words[0]);
    const CommandSpelling* spelling = nullptr;
    for (const auto& candidate : kCommands) {
        if (name == candidate.name) {
            spelling = &candidate;
        }
    }
    if (spelling == nullptr) {
        return refuse("unknown ctl command \"" + name +
                      "\"; the commands are list, current, next, select ID, settings [TAB], "
                      "watch, state");
    }
    ControlRequest request;
    request.command = spelling->command;
    const auto rest = words.subspan(1);
    switch (request.command) {
        case ControlRequest::Command::select:
            if (rest.size() != 1 || rest[0].empty()) {
                return refuse("ctl select needs one layout id (ctl list shows them)");
            }
            request.id = std::string(rest[0]);
            return {request, ""};
        case ControlRequest::Command::settings:
            if (rest.size() > 1) {
                return refuse("ctl settings takes at most one tab: setup, general, per-app-rules");
            }
            if (rest.size() == 1) {
                const auto tab = controlTabNamed(rest[0]);
                if (!tab) {
                    return refuse("unknown tab \"" + std::string(rest[0]) +
                                  "\"; the tabs are setup, general, per-app-rules");
                }
                request.tab = *tab;
            }
            return {request, ""};
        default:
            if (!rest.empty()) {
                return refuse("ctl " + name + " takes nothing more, not \"" + std::string(rest[0]) +
                              "\"");
            }
            return {request, ""};
    }
}

ControlRequestHandler::ControlRequestHandler(AppState& state) : state_(state) {}

std::string ControlRequestHandler::answer(std::string_view line) {
    const auto parsed = parseControlRequest(line);
    if (!parsed.request) {
        return controlErrorLine(parsed.error);
    }
    return handle(*parsed.request);
}

bool ControlRequestHandler::isWatch(std::string_view line) {
    const auto parsed = parseControlRequest(line);
    return parsed.request && parsed.request->command == ControlRequest::Command::watch;
}

std::string ControlRequestHandler::handle(const ControlRequest& request) {
    auto& switcher = state_.languageSwitcher();
    switch (request.command) {
        case ControlRequest::Command::list:
            return okWith("layouts", layoutsJson(state_));
        case ControlRequest::Command::current:
        case ControlRequest::Command::watch:
            return okWith("current", currentJson(*switcher.currentSource));
        case ControlRequest::Command::next: {
            const auto selected = state_.switchToNextSource();
            if (!selected) {
                return controlErrorLine(switcher.sources->empty()
                                            ? "there are no layouts to switch between"
                                            : "the system did not switch to the next layout");
            }
            return okWith("current", sourceJson(*selected));
        }
        case ControlRequest::Command::select: {
            for (const auto& source : *switcher.sources) {
                if (source.id != request.id) {
                    continue;
                }
                MenuBarContent(state_).selectSource(source);
                const auto& current = *switcher.currentSource;
                if (!current || current->id != source.id) {
                    return controlErrorLine("the system did not select " + request.id);
                }
                return okWith("current", sourceJson(source));
            }
            return controlErrorLine("no layout has the id " + request.id +
                                    "; lumivoke ctl list shows them");
        }
        case ControlRequest::Command::settings:
            state_.settingsController().show(request.tab);
            return okWith("settings", settingsJson(state_));
        case ControlRequest::Command::state: {
            auto& badge = state_.badgePresenter();
            const auto& hudText = *state_.hudModel().text;
            Json answer{
                {"ok", true},
                {"layouts", layoutsJson(state_)},
                {"current", currentJson(*switcher.currentSource)},
                {"hud",
                 {{"text", hudText ? Json(*hudText) : Json(nullptr)},
                  {"visible", hudText.has_value()}}},
                {"badge",
                 {{"enabled", badge.isEnabled()},
                  {"text", *badge.model().text},
                  {"visible", badge.model().isVisible()}}},
                {"settings", settingsJson(state_)},
                {"switches",
                 {{"hoverBadge", *state_.isHoverBadgeEnabled},
                  {"perAppRules", *state_.isPerAppRulesEnabled},
                  {"hudOnAutoSwitch", *state_.isHUDOnAutoSwitchEnabled}}},
            };
            return dump(answer);
        }
    }
    return controlErrorLine("unknown command");
}

Token ControlRequestHandler::watch(std::function<void(const std::string&)> send) {
    auto& switcher = state_.languageSwitcher();
    // The switcher publishes on every assignment; a watcher hears of changes only.
    auto last = std::make_shared<std::optional<std::string>>();
    if (const auto& current = *switcher.currentSource) {
        *last = current->id;
    }
    return switcher.currentSource.subscribe([weak = anchor_.weak(), last, send = std::move(send)](
                                                const std::optional<InputSource>& source) {
        if (!weak.lock()) {
            return;
        }
        std::optional<std::string> id;
        if (source) {
            id = source->id;
        }
        if (id == *last) {
            return;
        }
        *last = id;
        send(okWith("current", currentJson(source)));
    });
}

}  // namespace lumivoke
