#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "DesktopEntries.h"

namespace lumivoke::desktop {

/// Where a row's icon comes from.
struct ChooserIcon {
    enum class Kind { generic, themeName, file };
    Kind kind = Kind::generic;
    std::string value;  ///< the theme icon's name or the file's path

    /// The icon an entry's Icon= names: an absolute path is a file, anything else a theme
    /// icon, nothing the generic application icon.
    static ChooserIcon of(const std::string& icon);
    friend bool operator==(const ChooserIcon&, const ChooserIcon&) = default;
};

/// One application the chooser lists.
struct ChooserRow {
    std::string id;    ///< desktop file id without ".desktop"
    std::string path;  ///< what choosing the row hands over
    std::string name;  ///< the name shown, in the user's language
    /// Shown beside the name when another application has a name that sorts the same, so the
    /// two can be told apart: the id. Empty otherwise.
    std::string detail;
    ChooserIcon icon;
};

/// The application chooser without its window: the installed applications in name order, the
/// filter typed above them, and the row that Enter would add. The window only draws it.
class ApplicationChooserModel {
public:
    /// Orders two names for people: negative, zero or positive.
    using Compare = std::function<int(std::string_view, std::string_view)>;

    static constexpr std::string_view noApplicationsText = "No applications are installed";
    static constexpr std::string_view noMatchText = "No application matches";
    /// The filter field's hint, and the button that closes the chooser without adding.
    static constexpr std::string_view searchHint = "Search applications";
    static constexpr std::string_view cancelTitle = "Cancel";

    /// Lists the entries as given (the caller has chosen which a menu shows), sorted by name
    /// with compare, and then by id.
    ApplicationChooserModel(std::vector<DesktopEntry> entries, const Compare& compare);

    /// Shows only the applications that every word of text names: each word, ignoring case and
    /// accents, is part of the application's name, its untranslated name, its generic name, one
    /// of its keywords or its id. Selects the first row shown, if any.
    void setFilter(std::string_view text);
    const std::string& filter() const { return filter_; }

    /// The rows shown, in order.
    std::size_t count() const { return visible_.size(); }
    const ChooserRow& row(std::size_t index) const { return rows_[visible_.at(index)].row; }
    /// All the applications listed, shown or not.
    std::size_t total() const { return rows_.size(); }

    /// The selected row among those shown.
    std::optional<std::size_t> selection() const { return selection_; }
    /// Selects a row shown; an index past them changes nothing.
    void select(std::size_t index);
    /// Moves the selection by steps rows (negative: up), stopping at the first and last; from
    /// no selection, any move selects the first row.
    void moveSelection(int steps);
    /// The path that adding hands over: the selected row's; none without a selection.
    std::optional<std::string> chosenPath() const;

    /// What the window shows instead of rows when none are shown; empty while there are rows.
    std::string_view placeholder() const;

private:
    struct Listed {
        ChooserRow row;
        std::string searchText;  ///< the folded texts a word may be part of, apart
    };

    std::vector<Listed> rows_;
    std::vector<std::size_t> visible_;
    std::string filter_;
    std::optional<std::size_t> selection_;
};

/// Text as the filter compares it: case-folded, accents and other combining marks removed
/// ("Écrire" and "ECRIRE" both give "ecrire"; "Straße" gives "strasse").
std::string foldedForSearch(std::string_view utf8);

}  // namespace lumivoke::desktop
