#include "XkbRegistry.h"

#include <xkbcommon/xkbregistry.h>

#include <cstdarg>
#include <cstdio>
#include <memory>

namespace lumivoke::desktop {
namespace {

struct ContextFree {
    void operator()(rxkb_context* context) const { rxkb_context_unref(context); }
};

std::string text(const char* value) {
    return value != nullptr ? value : "";
}

std::vector<std::string> languagesOf(rxkb_layout* layout) {
    std::vector<std::string> languages;
    for (auto* code = rxkb_layout_get_iso639_first(layout); code != nullptr;
         code = rxkb_iso639_code_next(code)) {
        if (const char* value = rxkb_iso639_code_get_code(code); value != nullptr && *value) {
            languages.emplace_back(value);
        }
    }
    return languages;
}

// The library reports through a C callback with no room for a closure beyond the context's user
// data: the logger of the load in progress.
void forwardLog(rxkb_context* context, rxkb_log_level level, const char* format, va_list args) {
    const auto* log = static_cast<const Logger*>(rxkb_context_get_user_data(context));
    if (log == nullptr) {
        return;
    }
    char buffer[512];
    std::vsnprintf(buffer, sizeof buffer, format, args);
    std::string message(buffer);
    while (!message.empty() && (message.back() == '\n' || message.back() == ' ')) {
        message.pop_back();
    }
    if (level <= RXKB_LOG_LEVEL_ERROR) {
        log->error("XKB registry: %{public}s", message);
    } else {
        log->debug("XKB registry: %{public}s", message);
    }
}

}  // namespace

std::optional<XkbRegistry> XkbRegistry::load(const std::string& ruleset,
                                             const std::vector<std::filesystem::path>& includePaths,
                                             LogSink& sink) {
    const Logger log(sink, "Layouts");
    auto flags = RXKB_CONTEXT_LOAD_EXOTIC_RULES;
    if (!includePaths.empty()) {
        flags = static_cast<rxkb_context_flags>(flags | RXKB_CONTEXT_NO_DEFAULT_INCLUDES);
    }
    std::unique_ptr<rxkb_context, ContextFree> context(rxkb_context_new(flags));
    if (!context) {
        return std::nullopt;
    }
    rxkb_context_set_user_data(context.get(), const_cast<Logger*>(&log));
    rxkb_context_set_log_fn(context.get(), forwardLog);
    rxkb_context_set_log_level(context.get(), RXKB_LOG_LEVEL_ERROR);
    for (const auto& path : includePaths) {
        rxkb_context_include_path_append(context.get(), path.c_str());
    }
    if (!rxkb_context_parse(context.get(), ruleset.c_str())) {
        rxkb_context_set_user_data(context.get(), nullptr);
        return std::nullopt;
    }
    XkbRegistry registry;
    for (auto* layout = rxkb_layout_first(context.get()); layout != nullptr;
         layout = rxkb_layout_next(layout)) {
        RegistryEntry entry{text(rxkb_layout_get_description(layout)),
                            text(rxkb_layout_get_brief(layout)), languagesOf(layout)};
        // The first of two entries of the same name wins, as the library lists the ruleset's
        // own before the extras.
        registry.entries_.emplace(
            std::pair(text(rxkb_layout_get_name(layout)), text(rxkb_layout_get_variant(layout))),
            std::move(entry));
    }
    rxkb_context_set_user_data(context.get(), nullptr);
    if (registry.entries_.empty()) {
        return std::nullopt;
    }
    return registry;
}

const RegistryEntry* XkbRegistry::find(const std::string& layout,
                                       const std::string& variant) const {
    const auto it = entries_.find(std::pair(layout, variant));
    return it != entries_.end() ? &it->second : nullptr;
}

XkbRegistryPrefetch::XkbRegistryPrefetch(std::string ruleset,
                                         std::vector<std::filesystem::path> includePaths)
    : ruleset_(std::move(ruleset)),
      includePaths_(std::move(includePaths)),
      log_(std::make_unique<MemoryLogSink>()),
      result_(std::async(std::launch::async,
                         [ruleset = ruleset_, includes = includePaths_, log = log_.get()] {
                             return XkbRegistry::load(ruleset, includes, *log);
                         })) {}

// A prefetch nobody took is waited for: its thread must not outlive the log it writes to.
XkbRegistryPrefetch::~XkbRegistryPrefetch() = default;

std::optional<std::optional<XkbRegistry>> XkbRegistryPrefetch::take(
    const std::string& ruleset, const std::vector<std::filesystem::path>& includePaths,
    LogSink& sink) {
    if (!result_.valid() || ruleset != ruleset_ || includePaths != includePaths_) {
        return std::nullopt;
    }
    auto registry = result_.get();
    for (const auto& record : log_->records) {
        sink.write(record);
    }
    log_->records.clear();
    return registry;
}

}  // namespace lumivoke::desktop
