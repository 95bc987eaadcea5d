#include "XkbLayoutCatalog.h"

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include <libintl.h>

namespace lumivoke::desktop {
namespace {

constexpr const char* kTranslationDomain = "xkeyboard-config";

std::string layoutCode(const XkbLayout& layout) {
    return layout.variant.empty() ? layout.layout : layout.layout + "(" + layout.variant + ")";
}

NamedLayout nameLayout(const XkbLayout& layout, const XkbRegistry* registry,
                       const IsoLanguageCodes& codes, const Translate& translate) {
    NamedLayout named{layout, layoutSourceID(layout), layoutCode(layout), {}};
    const RegistryEntry* entry = registry ? registry->find(layout.layout, layout.variant) : nullptr;
    const RegistryEntry* base = registry ? registry->find(layout.layout, "") : nullptr;
    if (entry != nullptr) {
        named.name = translate(entry->description);
    } else if (base != nullptr) {
        named.name = translate(base->description) + " (" + layout.variant + ")";
    }
    const RegistryEntry* source = entry != nullptr ? entry : base;
    if (source != nullptr) {
        for (const auto& code : source->languages) {
            named.languages.push_back(codes.twoLetter(code));
        }
        if (named.languages.empty() && !source->brief.empty()) {
            named.languages.push_back(source->brief);
        }
    }
    if (named.languages.empty()) {
        named.languages.push_back(layout.layout);
    }
    return named;
}

std::string describeForLog(const std::vector<NamedLayout>& layouts) {
    std::string text;
    for (const auto& named : layouts) {
        text += (text.empty() ? "" : ", ") + named.id + " \"" + named.name + "\" ";
        for (std::size_t i = 0; i < named.languages.size(); ++i) {
            text += (i == 0 ? "" : "+") + named.languages[i];
        }
    }
    return text.empty() ? std::string("none") : text;
}

}  // namespace

std::string registryTranslation(const std::string& description) {
    static const bool bound = [] {
        // The names must reach Qt as UTF-8 whatever the locale's own character set.
        bind_textdomain_codeset(kTranslationDomain, "UTF-8");
        return true;
    }();
    (void)bound;
    return dgettext(kTranslationDomain, description.c_str());
}

std::vector<NamedLayout> nameLayouts(const std::vector<XkbLayout>& layouts,
                                     const XkbRegistry* registry, const IsoLanguageCodes& codes,
                                     const Translate& translate) {
    std::vector<NamedLayout> named;
    named.reserve(layouts.size());
    for (const auto& layout : layouts) {
        named.push_back(nameLayout(layout, registry, codes, translate));
    }
    return named;
}

XkbLayoutCatalog::XkbLayoutCatalog(LogSink& sink, LayoutNamingSources sources)
    : sink_(sink), log_(sink, "Layouts"), sources_(std::move(sources)) {}

const std::vector<NamedLayout>& XkbLayoutCatalog::layouts(const std::string& rulesNamesProperty,
                                                          std::size_t maxLayouts) {
    auto layouts = parseRulesNames(rulesNamesProperty);
    if (layouts.size() > maxLayouts) {
        layouts.resize(maxLayouts);
    }
    const std::string ruleset = rulesetOf(rulesNamesProperty);
    if (lastRuleset_ != ruleset || layouts != lastLayouts_) {
        describe(ruleset, std::move(layouts));
    }
    return named_;
}

void XkbLayoutCatalog::describe(const std::string& ruleset, std::vector<XkbLayout> layouts) {
    lastRuleset_ = ruleset;
    lastLayouts_ = std::move(layouts);
    if (lastLayouts_.empty()) {
        named_.clear();
        return;
    }
    if (!codes_) {
        codes_ = IsoLanguageCodes::read(sources_.languageTable);
        if (codes_->failure()) {
            log_.error(
                "cannot read the language codes (%{public}s); layouts show the first two "
                "letters of their three-letter language codes",
                *codes_->failure());
        }
    }
    ++registryReads_;
    {
        std::optional<XkbRegistry> registry;
        if (auto prefetched = sources_.prefetch ? sources_.prefetch->take(
                                                      ruleset, sources_.registryIncludes, sink_)
                                                : std::nullopt) {
            registry = std::move(*prefetched);
        } else {
            registry = XkbRegistry::load(ruleset, sources_.registryIncludes, sink_);
        }
        sources_.prefetch.reset();
        if (!registry) {
            log_.error(
                "cannot read the XKB registry of the rules %{public}s; layouts are named "
                "by their codes",
                ruleset);
        }
        named_ =
            nameLayouts(lastLayouts_, registry ? &*registry : nullptr, *codes_, sources_.translate);
    }
#ifdef __GLIBC__
    // The registry's parse peaks at a few megabytes that are all freed by now; without this the
    // allocator keeps them as this process's own memory for as long as it runs.
    malloc_trim(0);
#endif
    log_.info("layouts %{public}s", describeForLog(named_));
}

}  // namespace lumivoke::desktop
