#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>

// The two-letter ISO 639-1 codes of the three-letter ISO 639-3 ones, as the iso-codes package
// ships them; read at run time, not copied, so a newer table is used as soon as it is installed.
// Every language with a two-letter code has the same three-letter code in ISO 639-2 (its
// terminology code) and ISO 639-3, so the small 639-2 table (37 KB) serves, not the 639-3 one
// (870 KB, a sixth of the program's start-up to parse). Needs no display.
namespace lumivoke::desktop {

class IsoLanguageCodes {
public:
    /// Where the iso-codes package keeps the table.
    static constexpr const char* standardPath = "/usr/share/iso-codes/json/iso_639-2.json";

    /// Reads the table at path: each entry's "alpha_3" with its "alpha_2", where it has one.
    /// On failure, why (the file cannot be read, or is not such a table).
    static IsoLanguageCodes read(const std::filesystem::path& path);

    /// "deu" → "de"; a code without a two-letter one, or one the table does not know, as it is.
    std::string twoLetter(const std::string& code) const;

    /// Why the table could not be read, or none when it was.
    const std::optional<std::string>& failure() const { return failure_; }
    std::size_t size() const { return twoLetter_.size(); }

private:
    std::map<std::string, std::string, std::less<>> twoLetter_;
    std::optional<std::string> failure_;
};

}  // namespace lumivoke::desktop
