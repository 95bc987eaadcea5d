#include "Modifiers.h"
#include "Simulator.h"
#include "base/Unicode.h"

namespace lumivoke::sim {
namespace {

void sendFlags(Simulator& s, std::uint64_t flags) {
    KeyEvent e;
    e.type = KeyEventType::flagsChanged;
    e.modifierFlags = flags;
    s.machine().keyboard.deliver(e);
}

void setFn(Simulator& s, bool down) {
    auto& kb = s.machine().keyboard;
    kb.setHeld(down ? kb.held() | modifier::function : kb.held() & ~modifier::function);
    sendFlags(s, kb.eventFlags());
}

/// "none", "U+F702" or literal text.
std::optional<std::string> parseCharacters(const std::string& raw) {
    if (raw == "none") {
        return std::nullopt;
    }
    if (raw.size() > 2 && (raw.rfind("U+", 0) == 0 || raw.rfind("u+", 0) == 0)) {
        const std::string hex = raw.substr(2);
        if (hex.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos ||
            hex.size() > 6) {
            throw ScenarioError("bad code point \"" + raw + "\"");
        }
        const auto cp = static_cast<char32_t>(std::stoul(hex, nullptr, 16));
        if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            throw ScenarioError("bad code point \"" + raw + "\"");
        }
        return utf8Encode(cp);
    }
    return raw;
}

}  // namespace

void addRunningCommands(CommandTable& t) {
    t.add("launch", "launch", "starts the application", [](const Args& a) {
        a.expectOnly(0, {});
        return [](Simulator& s) { s.launch(); };
    });
    t.add("restart", "restart",
          "tears the application down and launches it again on the same machine, defaults kept",
          [](const Args& a) {
              a.expectOnly(0, {});
              return [](Simulator& s) {
                  s.requireApp();
                  s.terminate();
                  s.machine().settle();
                  s.launch();
              };
          });
    t.add("fn", "fn down|up",
          "a flags-changed event that adds or removes Fn from the held modifiers",
          [](const Args& a) {
              a.expectOnly(1, {});
              const std::string dir = a.at(0, "down or up");
              if (dir != "down" && dir != "up") {
                  throw ScenarioError("use fn down or fn up");
              }
              const bool down = dir == "down";
              return [down](Simulator& s) { setFn(s, down); };
          });
    t.add("flags", "flags MOD,MOD…|none",
          "a flags-changed event with exactly these modifiers held (shift, control, option, "
          "command, fn, capslock)",
          [](const Args& a) {
              a.expectOnly(1, {});
              const std::uint64_t flags = parseModifiers(a.at(0, "modifiers"));
              return [flags](Simulator& s) {
                  s.machine().keyboard.setHeld(flags & ~modifier::capsLock);
                  sendFlags(s, flags);
              };
          });
    t.add("key", "key CODE [chars=TEXT|chars=U+XXXX|chars=none] [flags=MOD,…]",
          "a key-down event; characters default to none, flags to the modifiers held",
          [](const Args& a) {
              a.expectOnly(1, {"chars", "flags"});
              const long long code = parseInteger(a.at(0, "key code"), "key code");
              if (code < 0 || code > 0xFFFF) {
                  throw ScenarioError("key code out of range (0-65535)");
              }
              const auto chars = parseCharacters(a.option("chars").value_or("none"));
              std::optional<std::uint64_t> flags;
              if (auto f = a.option("flags")) {
                  flags = parseModifiers(*f);
              }
              return [code, chars, flags](Simulator& s) {
                  KeyEvent e;
                  e.type = KeyEventType::keyDown;
                  e.keyCode = static_cast<std::uint16_t>(code);
                  e.charactersIgnoringModifiers = chars;
                  e.modifierFlags = flags.value_or(s.machine().keyboard.eventFlags());
                  s.machine().keyboard.deliver(e);
              };
          });
    t.add("type", "type TEXT", "one key-down per character, with the modifiers held",
          [](const Args& a) {
              a.expectOnly(1, {});
              const std::string text = a.at(0, "text");
              return [text](Simulator& s) {
                  for (std::size_t i = 0; i < text.size();) {
                      const std::string one = firstCharacters(text.substr(i), 1);
                      i += std::max<std::size_t>(one.size(), 1);
                      KeyEvent e;
                      e.type = KeyEventType::keyDown;
                      e.charactersIgnoringModifiers = one;
                      e.modifierFlags = s.machine().keyboard.eventFlags();
                      s.machine().keyboard.deliver(e);
                      s.machine().settle();
                  }
              };
          });
    t.add("tap", "tap [MS]",
          "Fn down, MS milliseconds (100 by default, at most 86400000, a day), Fn up",
          [](const Args& a, ParseScope& scope) {
              a.expectOnly(1, {});
              long long ms = 100;
              if (auto v = a.optionalAt(0)) {
                  ms = parseInteger(*v, "milliseconds");
                  if (ms < 0 ||
                      ms > std::chrono::duration_cast<std::chrono::milliseconds>(kMaxDuration)
                               .count()) {
                      throw ScenarioError("milliseconds out of range (0 to 86400000, a day)");
                  }
              }
              scope.coverTime(std::chrono::milliseconds(ms));
              return [ms](Simulator& s) {
                  setFn(s, true);
                  s.machine().advance(std::chrono::milliseconds(ms));
                  setFn(s, false);
              };
          });
    t.add("advance", "advance DURATION",
          "moves virtual time forward (150ms, 1s, 0.25s, 500us), at most 86400s (a day) at once",
          [](const Args& a, ParseScope& scope) {
              a.expectOnly(1, {});
              const Duration d = parseDuration(a.at(0, "duration"));
              scope.coverTime(d);
              return [d](Simulator& s) { s.machine().advance(d); };
          });
    t.add("system-select", "system-select ID", "another program selects the source",
          [](const Args& a, ParseScope& scope) {
              a.expectOnly(1, {});
              const std::string id = a.at(0, "source id");
              scope.requireSource(id);
              return [id](Simulator& s) {
                  if (!s.machine().inputSources.has(id)) {
                      throw ScenarioError("no source \"" + id + "\" was defined");
                  }
                  s.machine().inputSources.systemSelect(id);
              };
          });
    for (const bool enable : {true, false}) {
        t.add(enable ? "enable" : "disable", enable ? "enable ID…" : "disable ID…",
              enable ? "the user enables sources (one notification each)"
                     : "the user disables sources (one notification each)",
              [enable](const Args& a, ParseScope& scope) {
                  a.expectOnly(64, {});
                  const auto ids = a.positional();
                  if (ids.empty()) {
                      throw ScenarioError("missing source id");
                  }
                  for (const auto& id : ids) {
                      scope.requireSource(id);
                  }
                  return [ids, enable](Simulator& s) {
                      for (const auto& id : ids) {
                          if (!s.machine().inputSources.has(id)) {
                              throw ScenarioError("no source \"" + id + "\" was defined");
                          }
                          s.machine().inputSources.setEnabled(id, enable);
                      }
                  };
              });
    }
}

}  // namespace lumivoke::sim
