// Arbitrary bytes as a desktop entry file: reading never crashes and never fails; what it read
// writes out as text that reads back to the same groups and keys without a problem; each line
// has at most one problem, named by a line of the input; every value comes back from its escapes
// and every list from its separators; a translated text is always UTF-8; and the entry, the
// menu's choice and the autostart check take whatever the parser gives them.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "AutostartEntry.h"
#include "DesktopEntries.h"
#include "DesktopEntryFile.h"

namespace {

using namespace lumivoke::desktop;

void require(bool condition, const char* rule) {
    if (!condition) {
        std::fprintf(stderr, "desktop-entry fuzzer: %s\n", rule);
        std::abort();
    }
}

const std::optional<EntryLocale>& locale(int which) {
    static const std::optional<EntryLocale> locales[] = {
        std::nullopt,
        EntryLocale::parse("de"),
        EntryLocale::parse("sr_RS.UTF-8@latin"),
        EntryLocale::parse("pt_BR"),
    };
    return locales[which];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const DesktopEntryFile file = DesktopEntryFile::parse(text);

    const DesktopEntryFile again = DesktopEntryFile::parse(text);
    require(again.groups() == file.groups() && again.problems() == file.problems(),
            "reading the same text twice gives the same file");

    std::size_t lines = 0;
    for (const char c : text) {
        lines += c == '\n' ? 1 : 0;
    }
    lines += text.empty() || text.back() == '\n' ? 0 : 1;
    std::size_t previous = 0;
    for (const auto& problem : file.problems()) {
        require(problem.line > previous && problem.line <= lines,
                "at most one problem a line, each on a line of the input");
        require(!problem.reason.empty(), "a problem says what is wrong");
        previous = problem.line;
    }

    const std::string written = file.serialize();
    const DesktopEntryFile read = DesktopEntryFile::parse(written);
    require(read.problems().empty(), "what is written reads back without a problem");
    require(read.groups() == file.groups(), "what is written reads back to the same groups");
    require(read.serialize() == written, "writing what was read back gives the same text");

    for (const auto& group : file.groups()) {
        require(file.group(group.name) == &group, "a group name is found as its group");
        for (const auto& entry : group.entries) {
            const std::string value = unescapeValue(entry.value);
            require(unescapeValue(escapeValue(value)) == value, "a value survives its escapes");
            const auto items = splitList(entry.value);
            require(splitList(joinList(items)) == items, "a list survives its separators");
            const bool untranslated = file.raw(group.name, entry.key).has_value();
            for (int which = 0; which < 4; ++which) {
                const auto translated = file.localeString(group.name, entry.key, locale(which));
                require(translated.has_value() || !untranslated,
                        "a key with an untranslated value always has a text");
                require(!translated || isValidUtf8(*translated), "a translated text is UTF-8");
                const auto list = file.localeList(group.name, entry.key, locale(which));
                require(list.has_value() == translated.has_value(),
                        "a key read as text reads as a list");
                for (const auto& item : list.value_or(std::vector<std::string>{})) {
                    require(isValidUtf8(item), "a translated list is UTF-8");
                }
            }
            require(isValidUtf8(repairedUtf8(entry.value)), "repaired text is UTF-8");
        }
    }

    // What the rest of the program does with a file.
    if (const auto entry = entryFromFile(file, locale(1))) {
        require(!entry->name.empty() && isValidUtf8(entry->name), "an entry's name is UTF-8");
        static const XdgEnvironment environment =
            XdgEnvironment::from([](const char* name) -> std::optional<std::string> {
                if (std::string_view(name) == "XDG_CURRENT_DESKTOP") {
                    return "GNOME:KDE";
                }
                return std::nullopt;  // no PATH: a TryExec looks in no folder
            });
        (void)isShownInMenus(*entry, environment);
    }
    (void)autostartEntryStartsProgram(text);
    return 0;
}
