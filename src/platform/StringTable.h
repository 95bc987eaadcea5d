#pragma once

#include <string>

namespace lumivoke {

/// The texts the application shows, as the platform words them. Every text of a view is a key
/// of this table, in the application's own words; the table gives the words to show, which are
/// the key itself where the platform has nothing else to say.
class StringTable {
public:
    virtual ~StringTable() = default;
    /// The text to show for key: the table's entry, else key itself.
    virtual std::string text(const std::string& key) const = 0;
};

}  // namespace lumivoke
