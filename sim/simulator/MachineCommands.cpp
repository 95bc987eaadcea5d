#include <sstream>

#include "Modifiers.h"
#include "Simulator.h"
#include "platform/Keyboard.h"

namespace lumivoke::sim {
namespace {

struct ModifierName {
    const char* name;
    std::uint64_t bit;
};
constexpr ModifierName kModifiers[] = {
    {"shift", modifier::shift},   {"control", modifier::control},
    {"option", modifier::option}, {"command", modifier::command},
    {"fn", modifier::function},   {"capslock", modifier::capsLock},
};

std::vector<std::string> splitList(const std::string& text) {
    std::vector<std::string> items;
    std::stringstream in(text);
    std::string item;
    while (std::getline(in, item, ',')) {
        items.push_back(item);
    }
    return items;
}

/// A property value: natural for the property, or forced by "text:", "bool:", "real:" and
/// "list:" to test values of the wrong type.
PropertyValue parseProperty(const std::string& raw, SourceProperty which) {
    auto startsWith = [&](const char* p) { return raw.rfind(p, 0) == 0; };
    const auto rest = raw.substr(raw.find(':') + 1);
    if (startsWith("text:")) {
        return rest;
    }
    if (startsWith("bool:")) {
        return parseSwitch(rest, "boolean");
    }
    if (startsWith("real:")) {
        return parseNumber(rest, "number");
    }
    if (startsWith("list:")) {
        return splitList(rest);
    }
    switch (which) {
        case SourceProperty::languages:
            return splitList(raw);
        case SourceProperty::isSelectCapable:
            return parseSwitch(raw, "selectable");
        case SourceProperty::category:
            if (raw == "keyboard") {
                return std::string(kKeyboardInputSourceCategory);
            }
            if (raw == "palette") {
                return std::string("TISCategoryPaletteInputSource");
            }
            return raw;
        default:
            return raw;
    }
}

std::string requireSource(Simulator& s, const std::string& id) {
    if (!s.machine().inputSources.has(id)) {
        throw ScenarioError("no source \"" + id + "\" was defined");
    }
    return id;
}

Rect parseRect(const Args& a, std::size_t from) {
    return {{parseCoordinate(a.at(from, "x"), "x"), parseCoordinate(a.at(from + 1, "y"), "y")},
            {parseExtent(a.at(from + 2, "width"), "width"),
             parseExtent(a.at(from + 3, "height"), "height")}};
}

}  // namespace

std::uint64_t parseModifiers(const std::string& list) {
    if (list == "none" || list.empty()) {
        return 0;
    }
    std::uint64_t flags = 0;
    for (const auto& name : splitList(list)) {
        bool known = false;
        for (const auto& m : kModifiers) {
            if (name == m.name) {
                flags |= m.bit;
                known = true;
            }
        }
        if (!known) {
            throw ScenarioError("unknown modifier \"" + name +
                                "\" (shift, control, option, command, fn, capslock)");
        }
    }
    return flags;
}

std::string modifierNames(std::uint64_t flags) {
    std::string out;
    for (const auto& m : kModifiers) {
        if ((flags & m.bit) != 0) {
            out += (out.empty() ? "" : ",") + std::string(m.name);
        }
    }
    return out.empty() ? "none" : out;
}

void addMachineCommands(CommandTable& t) {
    t.add("source",
          "source [id=ID] [name=\"NAME\"] [langs=L1,L2] [category=keyboard|palette] "
          "[selectable=yes|no]",
          "defines an enabled input source; a property left out is missing; a value prefixed "
          "text:, bool:, real: or list: has that type",
          [](const Args& a, ParseScope& scope) {
              a.expectOnly(0, {"id", "name", "langs", "category", "selectable"});
              std::map<SourceProperty, PropertyValue> props;
              const std::pair<const char*, SourceProperty> keys[] = {
                  {"id", SourceProperty::id},
                  {"name", SourceProperty::localizedName},
                  {"langs", SourceProperty::languages},
                  {"category", SourceProperty::category},
                  {"selectable", SourceProperty::isSelectCapable}};
              for (const auto& [key, which] : keys) {
                  if (auto v = a.option(key)) {
                      props[which] = parseProperty(*v, which);
                  }
              }
              // Named as the system will name it: by its id when that is text.
              const auto id = props.find(SourceProperty::id);
              if (id != props.end() && std::holds_alternative<std::string>(id->second)) {
                  scope.sources.insert(std::get<std::string>(id->second));
              } else {
                  scope.sources.insert("source#" + std::to_string(++scope.unnamedSources));
              }
              return [props](Simulator& s) { s.machine().inputSources.define(props); };
          });
    t.add("current", "current ID|none", "makes a source the system's current one (no notification)",
          [](const Args& a, ParseScope& scope) {
              a.expectOnly(1, {});
              const std::string id = a.at(0, "source id");
              if (id != "none") {
                  scope.requireSource(id);
              }
              return [id](Simulator& s) {
                  s.machine().inputSources.setCurrent(id == "none" ? "" : requireSource(s, id));
              };
          });
    t.add("capslock", "capslock on|off", "sets the caps-lock state", [](const Args& a) {
        a.expectOnly(1, {});
        const bool on = parseSwitch(a.at(0, "on or off"), "caps lock");
        return [on](Simulator& s) { s.machine().keyboard.setCapsLock(on); };
    });
    t.add("trust", "trust on|off",
          "whether the process is trusted for Accessibility (key events reach it only then)",
          [](const Args& a) {
              a.expectOnly(1, {});
              const bool on = parseSwitch(a.at(0, "on or off"), "trust");
              return [on](Simulator& s) { s.machine().keyboard.setTrusted(on); };
          });
    t.add("screen", "screen X Y W H visible X Y W H",
          "adds a display (the first one given replaces the default 1920x1080 display)",
          [](const Args& a) {
              a.expectOnly(9, {});
              if (a.at(4, "the word visible") != "visible") {
                  throw ScenarioError("expected \"visible\" after the frame");
              }
              const Screen screen{parseRect(a, 0), parseRect(a, 5)};
              return [screen](Simulator& s) { s.addScreen(screen); };
          });
    t.add("no-screens", "no-screens", "removes every display", [](const Args& a) {
        a.expectOnly(0, {});
        return [](Simulator& s) { s.clearScreens(); };
    });
    t.add("pointer", "pointer X Y", "moves the pointer", [](const Args& a) {
        a.expectOnly(2, {});
        const Point p{parseCoordinate(a.at(0, "x"), "x"), parseCoordinate(a.at(1, "y"), "y")};
        return [p](Simulator& s) { s.machine().screens.setPointer(p); };
    });
    t.add("bundle", "bundle [version=V] [build=B]",
          "sets the bundle's version values; one left out is missing", [](const Args& a) {
              a.expectOnly(0, {"version", "build"});
              auto version = a.option("version");
              auto build = a.option("build");
              return [version, build](Simulator& s) {
                  auto& values = s.machine().bundle.values;
                  values.erase("CFBundleShortVersionString");
                  values.erase("CFBundleVersion");
                  if (version) {
                      values["CFBundleShortVersionString"] = *version;
                  }
                  if (build) {
                      values["CFBundleVersion"] = *build;
                  }
              };
          });
    t.add("defaults", "defaults KEY bool|int|real|string|data VALUE",
          "stores a value in the application's defaults (data takes the text's bytes)",
          [](const Args& a) {
              a.expectOnly(3, {});
              const std::string key = a.at(0, "key");
              const std::string type = a.at(1, "type");
              const std::string raw = a.at(2, "value");
              DefaultsValue value;
              if (type == "bool") {
                  value = parseSwitch(raw, "boolean");
              } else if (type == "int") {
                  value = static_cast<std::int64_t>(parseInteger(raw, "integer"));
              } else if (type == "real") {
                  value = parseNumber(raw, "number");
              } else if (type == "string") {
                  value = raw;
              } else if (type == "data") {
                  value = Bytes(raw.begin(), raw.end());
              } else {
                  throw ScenarioError("unknown type \"" + type +
                                      "\" (bool, int, real, string, data)");
              }
              return [key, value](Simulator& s) { s.machine().defaults.plant(key, value); };
          });
    t.add("select-fails", "select-fails ID", "the system refuses to select the source (status -50)",
          [](const Args& a, ParseScope& scope) {
              a.expectOnly(1, {});
              const std::string id = a.at(0, "source id");
              scope.requireSource(id);
              return [id](Simulator& s) {
                  s.machine().inputSources.failSelection(requireSource(s, id));
              };
          });
    t.add("vanish", "vanish ID", "the source disappears from the system without a notification",
          [](const Args& a, ParseScope& scope) {
              a.expectOnly(1, {});
              const std::string id = a.at(0, "source id");
              scope.requireSource(id);
              return [id](Simulator& s) { s.machine().inputSources.vanish(requireSource(s, id)); };
          });
    t.add("hid-fails", "hid-fails matching|service|open|none",
          "makes one step of the caps-lock path fail", [](const Args& a) {
              a.expectOnly(1, {});
              const std::string step = a.at(0, "step");
              SimKeyboard::HIDFailure f = SimKeyboard::HIDFailure::none;
              if (step == "matching") {
                  f = SimKeyboard::HIDFailure::matching;
              } else if (step == "service") {
                  f = SimKeyboard::HIDFailure::service;
              } else if (step == "open") {
                  f = SimKeyboard::HIDFailure::open;
              } else if (step != "none") {
                  throw ScenarioError("unknown step \"" + step + "\"");
              }
              return [f](Simulator& s) { s.machine().keyboard.setHIDFailure(f); };
          });
    t.add("monitor-token", "monitor-token none|some",
          "whether registering a global event monitor yields a token", [](const Args& a) {
              a.expectOnly(1, {});
              const std::string v = a.at(0, "none or some");
              if (v != "none" && v != "some") {
                  throw ScenarioError("use none or some");
              }
              return [v](Simulator& s) { s.machine().keyboard.setNoMonitorToken(v == "none"); };
          });
}

}  // namespace lumivoke::sim
