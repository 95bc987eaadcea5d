#include "ApplicationChooserModel.h"

#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include <algorithm>

namespace lumivoke::desktop {
namespace {

// Separates the texts of one application in its search text: no folded word holds it, so a
// word never matches across two texts.
constexpr char kApart = '\n';

std::vector<std::string> words(std::string_view folded) {
    std::vector<std::string> out;
    std::string word;
    for (const char c : folded) {
        if (static_cast<unsigned char>(c) <= ' ') {
            if (!word.empty()) {
                out.push_back(std::move(word));
                word.clear();
            }
        } else {
            word += c;
        }
    }
    if (!word.empty()) {
        out.push_back(std::move(word));
    }
    return out;
}

}  // namespace

std::string foldedForSearch(std::string_view utf8) {
    icu::UnicodeString text = icu::UnicodeString::fromUTF8(
        icu::StringPiece(utf8.data(), static_cast<int32_t>(utf8.size())));
    text.foldCase();
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* nfd = icu::Normalizer2::getNFDInstance(status);
    if (U_SUCCESS(status)) {
        icu::UnicodeString decomposed = nfd->normalize(text, status);
        if (U_SUCCESS(status)) {
            text = std::move(decomposed);
        }
    }
    icu::UnicodeString bare;
    for (int32_t i = 0; i < text.length();) {
        const UChar32 c = text.char32At(i);
        if (u_charType(c) != U_NON_SPACING_MARK) {
            bare.append(c);
        }
        i += U16_LENGTH(c);
    }
    std::string out;
    bare.toUTF8String(out);
    return out;
}

ChooserIcon ChooserIcon::of(const std::string& icon) {
    if (icon.empty()) {
        return {};
    }
    return {icon.front() == '/' ? Kind::file : Kind::themeName, icon};
}

ApplicationChooserModel::ApplicationChooserModel(std::vector<DesktopEntry> entries,
                                                 const Compare& compare) {
    rows_.reserve(entries.size());
    for (auto& entry : entries) {
        Listed listed;
        std::string search = foldedForSearch(entry.name);
        for (const std::string* text : {&entry.untranslatedName, &entry.genericName, &entry.id}) {
            search += kApart;
            search += foldedForSearch(*text);
        }
        for (const auto& keyword : entry.keywords) {
            search += kApart;
            search += foldedForSearch(keyword);
        }
        listed.searchText = std::move(search);
        listed.row = ChooserRow{std::move(entry.id),
                                std::move(entry.path),
                                std::move(entry.name),
                                {},
                                ChooserIcon::of(entry.icon)};
        rows_.push_back(std::move(listed));
    }
    std::sort(rows_.begin(), rows_.end(), [&](const Listed& a, const Listed& b) {
        const int c = compare(a.row.name, b.row.name);
        return c != 0 ? c < 0 : a.row.id < b.row.id;
    });
    // Names that sort the same sit side by side now.
    for (std::size_t i = 0; i + 1 < rows_.size(); ++i) {
        if (compare(rows_[i].row.name, rows_[i + 1].row.name) == 0) {
            rows_[i].row.detail = rows_[i].row.id;
            rows_[i + 1].row.detail = rows_[i + 1].row.id;
        }
    }
    setFilter({});
}

void ApplicationChooserModel::setFilter(std::string_view text) {
    filter_ = std::string(text);
    const auto wanted = words(foldedForSearch(text));
    visible_.clear();
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const std::string& search = rows_[i].searchText;
        if (std::all_of(wanted.begin(), wanted.end(), [&](const std::string& word) {
                return search.find(word) != std::string::npos;
            })) {
            visible_.push_back(i);
        }
    }
    selection_ = visible_.empty() ? std::nullopt : std::optional<std::size_t>(0);
}

void ApplicationChooserModel::select(std::size_t index) {
    if (index < visible_.size()) {
        selection_ = index;
    }
}

void ApplicationChooserModel::moveSelection(int steps) {
    if (visible_.empty()) {
        return;
    }
    if (!selection_) {
        selection_ = 0;
        return;
    }
    const auto last = static_cast<long>(visible_.size()) - 1;
    const long moved = std::clamp(static_cast<long>(*selection_) + steps, 0L, last);
    selection_ = static_cast<std::size_t>(moved);
}

std::optional<std::string> ApplicationChooserModel::chosenPath() const {
    if (!selection_) {
        return std::nullopt;
    }
    return row(*selection_).path;
}

std::string_view ApplicationChooserModel::placeholder() const {
    if (!visible_.empty()) {
        return {};
    }
    return rows_.empty() ? noApplicationsText : noMatchText;
}

}  // namespace lumivoke::desktop
