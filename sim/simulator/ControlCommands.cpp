#include "Simulator.h"
#include "app/ControlRequests.h"

namespace lumivoke::sim {
namespace {

ControlRequestHandler& requireControl(Simulator& s) {
    AppState& app = s.requireApp();
    if (!s.control) {
        s.control = std::make_unique<ControlRequestHandler>(app);
    }
    return *s.control;
}

}  // namespace

void addControlCommands(CommandTable& t) {
    t.add("ctl", "ctl COMMAND [ARGUMENT]",
          "a script asks the running application, as lumivoke ctl does (list, current, next, "
          "select ID, settings [TAB], watch, state): the answer as a trace line \"ctl: {…}\"; "
          "after ctl watch, each change of the current source as \"ctl watch: {…}\"",
          [](const Args& a) {
              a.expectOnly(2, {});
              std::vector<std::string_view> words(a.positional().begin(), a.positional().end());
              const auto parsed = controlRequestFromWords(words);
              if (!parsed.request) {
                  throw ScenarioError(parsed.error);
              }
              const std::string line = controlRequestLine(*parsed.request);
              const bool watch = parsed.request->command == ControlRequest::Command::watch;
              return Action([line, watch](Simulator& s) {
                  auto& control = requireControl(s);
                  s.machine().trace.add("ctl", control.answer(line));
                  if (watch) {
                      s.controlWatches.push_back(control.watch([&s](const std::string& change) {
                          s.machine().trace.add("ctl watch", change);
                      }));
                  }
              });
          });
}

}  // namespace lumivoke::sim
