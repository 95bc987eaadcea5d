// Arbitrary bytes as a stored "PerAppRules" value: decoding never crashes or throws, a decoded
// map always re-encodes to bytes that decode to the same map, and the store sets aside exactly
// the bytes it could not read.
#include <cstdint>
#include <cstdlib>
#include <map>

#include "rules/AppRulesStore.h"

namespace {

using namespace lumivoke;

/// Defaults in a map, without registrations or observers.
class MapDefaults final : public UserDefaults {
public:
    void registerDefaults(const std::vector<std::pair<std::string, DefaultsValue>>&) override {}
    std::optional<DefaultsValue> object(const std::string& key) override {
        auto it = values.find(key);
        return it == values.end() ? std::nullopt : std::optional<DefaultsValue>(it->second);
    }
    void set(const std::string& key, DefaultsValue value) override { values[key] = value; }
    Token observe(const std::string&, std::function<void()>) override { return {}; }

    std::map<std::string, DefaultsValue> values;
};

void require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Bytes stored(data, data + size);

    const RulesDecoding decoded = decodeRules(stored);
    if (decoded.rules) {
        // Whatever was decoded is valid UTF-8, so it always encodes, and the bytes read back.
        const RulesEncoding encoded = encodeRules(*decoded.rules);
        require(encoded.data.has_value());
        const RulesDecoding again = decodeRules(*encoded.data);
        require(again.rules.has_value() && *again.rules == *decoded.rules);
        require(encodeRules(*again.rules).data == encoded.data);
    } else {
        require(!decoded.error.empty());
    }

    // The store over the same value: the first edit keeps the edit and, for an undecodable
    // value, the original bytes.
    MapDefaults defaults;
    defaults.values[AppRulesStore::defaultsKey] = stored;
    MemoryLogSink log;
    AppRulesStore store(defaults, log);
    require(*store.rules == decoded.rules.value_or(RulesMap{}));
    store.setRule("com.example.Fuzz", "com.apple.keylayout.US");
    require(store.rules->at("com.example.Fuzz") == "com.apple.keylayout.US");
    const auto kept = defaults.object(AppRulesStore::unreadableKey);
    require(decoded.rules ? !kept.has_value() : kept == std::optional<DefaultsValue>(stored));
    const auto rewritten = defaultsData(defaults.object(AppRulesStore::defaultsKey));
    require(rewritten && decodeRules(*rewritten).rules == *store.rules);
    return 0;
}
