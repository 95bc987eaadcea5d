#include "settings/LocalizedCollator.h"

#include <unicode/coll.h>
#include <unicode/locid.h>
#include <unicode/stringpiece.h>

#include <algorithm>
#include <cctype>
#include <string>

namespace lumivoke {

struct LocalizedCollator::Impl {
    std::unique_ptr<icu::Collator> collator;
};

LocalizedCollator::LocalizedCollator() : impl_(std::make_unique<Impl>()) {
    // The C locale arrives as en_US_POSIX, whose collation is code-point order (capitals
    // first); a user without a locale gets the common order instead.
    icu::Locale locale = icu::Locale::getDefault();
    if (std::string_view(locale.getVariant()) == "POSIX") {
        locale = icu::Locale::getRoot();
    }
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Collator> collator(icu::Collator::createInstance(locale, status));
    if (U_SUCCESS(status) && collator) {
        // Secondary strength: base letters and accents decide, letter case does not.
        collator->setStrength(icu::Collator::SECONDARY);
        impl_->collator = std::move(collator);
    }
}

LocalizedCollator::~LocalizedCollator() = default;

int LocalizedCollator::compare(std::string_view a, std::string_view b) const {
    if (impl_->collator) {
        UErrorCode status = U_ZERO_ERROR;
        const auto result = impl_->collator->compareUTF8(
            icu::StringPiece(a.data(), static_cast<int32_t>(a.size())),
            icu::StringPiece(b.data(), static_cast<int32_t>(b.size())), status);
        if (U_SUCCESS(status)) {
            return result == UCOL_LESS ? -1 : result == UCOL_GREATER ? 1 : 0;
        }
    }
    // Without a collator, at least keep case out of the order.
    auto lower = [](std::string_view s) {
        std::string out(s);
        std::transform(out.begin(), out.end(), out.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        return out;
    };
    const int c = lower(a).compare(lower(b));
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}

}  // namespace lumivoke
