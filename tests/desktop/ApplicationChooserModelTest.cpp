#include "ApplicationChooserModel.h"

#include <gtest/gtest.h>

#include <strings.h>

#include <string>
#include <vector>

namespace lumivoke::desktop {
namespace {

using Names = std::vector<std::string>;

DesktopEntry entry(const std::string& id, const std::string& name,
                   const std::string& genericName = {}, std::vector<std::string> keywords = {},
                   const std::string& icon = {}) {
    DesktopEntry e;
    e.id = id;
    e.path = "/apps/" + id + ".desktop";
    e.type = "Application";
    e.name = name;
    e.untranslatedName = name;
    e.genericName = genericName;
    e.keywords = std::move(keywords);
    e.icon = icon;
    return e;
}

// Byte order ignoring ASCII case: enough to tell the model sorts by what it is given.
int caseless(std::string_view a, std::string_view b) {
    const int c = ::strncasecmp(a.data(), b.data(), std::min(a.size(), b.size()));
    if (c != 0) {
        return c;
    }
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

Names shown(const ApplicationChooserModel& model) {
    Names names;
    for (std::size_t i = 0; i < model.count(); ++i) {
        names.push_back(model.row(i).name);
    }
    return names;
}

ApplicationChooserModel sample() {
    auto translated = entry("org.example.Writer", "Schreiber", "Textverarbeitung", {"Brief"});
    translated.untranslatedName = "Writer";
    return ApplicationChooserModel(
        {
            entry("zeta", "zeta"),
            entry("org.gnome.Calculator", "Calculator", "", {"math", "arithmetic"}),
            entry("alpha", "Alpha Editor", "Text Editor", {"code"}),
            entry("emacs", "Éditeur Émacs"),
            std::move(translated),
            entry("beta", "beta", "Web Browser"),
        },
        caseless);
}

TEST(ApplicationChooserModel, ListsTheApplicationsByNameIgnoringCase) {
    const auto model = sample();
    EXPECT_EQ(shown(model),
              (Names{"Alpha Editor", "beta", "Calculator", "Schreiber", "zeta", "Éditeur Émacs"}))
        << "the order is the comparison's; this one compares bytes past ASCII";
    EXPECT_EQ(model.total(), 6u);
    EXPECT_EQ(model.selection(), 0u) << "the first row is ready for Enter";
    EXPECT_EQ(model.chosenPath(), "/apps/alpha.desktop");
    EXPECT_EQ(model.placeholder(), "");
}

struct FilterCase {
    std::string filter;
    Names names;
};

TEST(ApplicationChooserModel, FiltersByNameGenericNameKeywordsAndID) {
    const std::vector<FilterCase> cases = {
        {"", {"Alpha Editor", "beta", "Calculator", "Schreiber", "zeta", "Éditeur Émacs"}},
        {"   ", {"Alpha Editor", "beta", "Calculator", "Schreiber", "zeta", "Éditeur Émacs"}},
        {"calc", {"Calculator"}},
        {"CALC", {"Calculator"}},                     // case is ignored
        {"ARITH", {"Calculator"}},                    // a keyword
        {"browser", {"beta"}},                        // the generic name
        {"writer", {"Schreiber"}},                    // the untranslated name, and the id
        {"brief", {"Schreiber"}},                     // a translated keyword
        {"gnome", {"Calculator"}},                    // the id
        {"edit", {"Alpha Editor", "Éditeur Émacs"}},  // accents are ignored
        {"ÉDIT", {"Alpha Editor", "Éditeur Émacs"}},
        {"text edit", {"Alpha Editor"}},  // every word, in any text
        {"edit text", {"Alpha Editor"}},
        {"alpha zeta", {}},
        {"editorcode", {}},  // a word does not run across two texts
        {"nothing", {}},
    };
    auto model = sample();
    for (const auto& c : cases) {
        model.setFilter(c.filter);
        EXPECT_EQ(shown(model), c.names) << '"' << c.filter << '"';
        EXPECT_EQ(model.filter(), c.filter);
        EXPECT_EQ(model.selection().has_value(), !c.names.empty()) << c.filter;
    }
}

TEST(ApplicationChooserModel, AddsOnlyWithASelectionAmongTheRowsShown) {
    auto model = sample();
    model.setFilter("edit");
    EXPECT_EQ(model.chosenPath(), "/apps/alpha.desktop");
    model.moveSelection(1);
    EXPECT_EQ(model.chosenPath(), "/apps/emacs.desktop");
    model.moveSelection(5);
    EXPECT_EQ(model.selection(), 1u) << "stops at the last row";
    model.moveSelection(-9);
    EXPECT_EQ(model.selection(), 0u) << "and at the first";
    model.select(1);
    EXPECT_EQ(model.selection(), 1u);
    model.select(2);
    EXPECT_EQ(model.selection(), 1u) << "a row that is not shown cannot be selected";

    model.setFilter("nothing");
    EXPECT_EQ(model.selection(), std::nullopt);
    EXPECT_EQ(model.chosenPath(), std::nullopt) << "nothing to add";
    model.moveSelection(1);
    EXPECT_EQ(model.chosenPath(), std::nullopt);
    EXPECT_EQ(model.placeholder(), ApplicationChooserModel::noMatchText);

    model.setFilter("");
    EXPECT_EQ(model.selection(), 0u);
    EXPECT_EQ(model.chosenPath(), "/apps/alpha.desktop");
}

TEST(ApplicationChooserModel, SaysSoWhenNothingIsInstalled) {
    ApplicationChooserModel model({}, caseless);
    EXPECT_EQ(model.count(), 0u);
    EXPECT_EQ(model.chosenPath(), std::nullopt);
    EXPECT_EQ(model.placeholder(), ApplicationChooserModel::noApplicationsText);
    model.setFilter("x");
    EXPECT_EQ(model.placeholder(), ApplicationChooserModel::noApplicationsText);
}

TEST(ApplicationChooserModel, TellsApplicationsOfOneNameApartByTheirIDs) {
    ApplicationChooserModel model({entry("b.Terminal", "Terminal"), entry("editor", "Editor"),
                                   entry("a.Terminal", "terminal")},
                                  caseless);
    ASSERT_EQ(model.count(), 3u);
    EXPECT_EQ(model.row(0).detail, "");
    EXPECT_EQ(model.row(1).id, "a.Terminal") << "equal names are ordered by id";
    EXPECT_EQ(model.row(1).detail, "a.Terminal");
    EXPECT_EQ(model.row(2).detail, "b.Terminal");
}

TEST(ApplicationChooserModel, GivesEachRowItsIcon) {
    ApplicationChooserModel model({entry("a", "A", "", {}, "accessories-text-editor"),
                                   entry("b", "B", "", {}, "/opt/b/icon.svg"), entry("c", "C")},
                                  caseless);
    EXPECT_EQ(model.row(0).icon,
              (ChooserIcon{ChooserIcon::Kind::themeName, "accessories-text-editor"}));
    EXPECT_EQ(model.row(1).icon, (ChooserIcon{ChooserIcon::Kind::file, "/opt/b/icon.svg"}));
    EXPECT_EQ(model.row(2).icon, (ChooserIcon{ChooserIcon::Kind::generic, ""}));
}

TEST(FoldedForSearch, IgnoresCaseAndAccents) {
    EXPECT_EQ(foldedForSearch("Écrire"), "ecrire");
    EXPECT_EQ(foldedForSearch("ECRIRE"), "ecrire");
    EXPECT_EQ(foldedForSearch("Straße"), "strasse");
    EXPECT_EQ(foldedForSearch("日本語"), "日本語");
    EXPECT_EQ(foldedForSearch(""), "");
}

}  // namespace
}  // namespace lumivoke::desktop
