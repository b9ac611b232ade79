// A fresh folder of its own, removed with everything in it when it goes: the application folder of a
// scenario, a benchmark or a test.
#pragma once

#include <filesystem>
#include <stdlib.h>
#include <string>
#include <string_view>

namespace squeakrun {

class TempFolder {
  public:
    // Made under `base`, the system's temporary folder unless given; path() is empty when it failed.
    explicit TempFolder(std::string_view prefix = "squeakrun", std::filesystem::path base = {}) {
        if (base.empty()) base = std::filesystem::temp_directory_path();
        std::string pattern = (base / (std::string(prefix) + "-XXXXXX")).string();
        if (mkdtemp(pattern.data())) path_ = pattern;
    }
    ~TempFolder() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

} // namespace squeakrun
