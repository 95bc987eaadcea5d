#pragma once

#include <stdlib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace lumivoke::testing_support {

/// A folder of the test's own below the temporary folder, removed with everything in it when
/// the object goes, unless kept (to look at a failed run).
class ScratchDir {
public:
    explicit ScratchDir(const std::string& prefix = "lumivoke-test") {
        std::string pattern =
            (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
        if (mkdtemp(pattern.data()) == nullptr) {
            // Without a folder of its own a test would write where it runs: it cannot go on.
            // (No test assertion here: the X headers some users include first break gtest's.)
            std::perror("cannot create a temporary folder");
            std::abort();
        }
        path_ = pattern;
    }
    ~ScratchDir() {
        if (!path_.empty() && !keep_) {
            std::error_code ec;
            // A test may have taken its permissions away to see a failure.
            std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ec);
            std::filesystem::remove_all(path_, ec);
        }
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    void keep() { keep_ = true; }

    /// Writes text to a file below the folder (or anywhere, by an absolute path), making its
    /// folders; the file.
    std::filesystem::path write(const std::filesystem::path& file, const std::string& text) const {
        const std::filesystem::path full = path_ / file;
        std::filesystem::create_directories(full.parent_path());
        std::ofstream(full, std::ios::binary) << text;
        return full;
    }

private:
    std::filesystem::path path_;
    bool keep_ = false;
};

}  // namespace lumivoke::testing_support
