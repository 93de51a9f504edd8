// A private folder under the system's temporary folder, removed with everything in it.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <string>

namespace demo {

class TempFolder {
  public:
    explicit TempFolder(const std::string& stem)
        : path_(std::filesystem::temp_directory_path() / (stem + "-" + std::to_string(::getpid()))) {
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

}  // namespace demo
