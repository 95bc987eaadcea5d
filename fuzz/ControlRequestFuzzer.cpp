// Arbitrary bytes as a line on the control socket: parsing never crashes or throws; a request
// that parses writes back to a line that parses to the same request; and the running
// application (on the simulated machine) answers every line with one JSON line, acting only on
// requests that parsed.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <nlohmann/json.hpp>
#include <string_view>

#include "SimPlatform.h"
#include "app/AppState.h"
#include "app/ControlRequests.h"

namespace {

using namespace lumivoke;

void require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

std::map<SourceProperty, PropertyValue> keyboardSource(const std::string& id,
                                                       const std::string& language) {
    return {{SourceProperty::id, id},
            {SourceProperty::localizedName, id},
            {SourceProperty::languages, std::vector<std::string>{language}},
            {SourceProperty::category, std::string("TISCategoryKeyboardInputSource")},
            {SourceProperty::isSelectCapable, true}};
}

/// One application answering input after input, as the real one answers request after request.
struct Running {
    Running() {
        machine.inputSources.define(keyboardSource("xkb:us", "en"));
        machine.inputSources.define(keyboardSource("xkb:de", "de"));
        machine.inputSources.setCurrent("xkb:us");
        app = std::make_unique<AppState>(machine.platform(), machine.views);
        machine.settle();
        handler = std::make_unique<ControlRequestHandler>(*app);
    }
    sim::SimPlatform machine;
    std::unique_ptr<AppState> app;
    std::unique_ptr<ControlRequestHandler> handler;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    const auto parsed = parseControlRequest(line);
    require(parsed.request.has_value() != !parsed.error.empty());
    if (parsed.request) {
        const auto again = parseControlRequest(controlRequestLine(*parsed.request));
        require(again.request.has_value());
        require(again.request->command == parsed.request->command);
        require(again.request->id == parsed.request->id);
        require(again.request->tab == parsed.request->tab);
    }

    // A fresh application now and then, so the machine's trace does not grow without end.
    static auto running = std::make_unique<Running>();
    static int answered = 0;
    if (++answered % 2000 == 0) {
        running = std::make_unique<Running>();
    }
    const std::size_t traced = running->machine.trace.lines().size();
    const std::string answer = running->handler->answer(line);
    require(answer.find('\n') == std::string::npos);
    const auto json = nlohmann::json::parse(answer, nullptr, false);
    require(json.is_object() && json.contains("ok") && json["ok"].is_boolean());
    if (!parsed.request) {
        require(json["ok"] == false && json["error"].is_string());
        require(running->machine.trace.lines().size() == traced);
    }
    running->machine.settle();
    return 0;
}
