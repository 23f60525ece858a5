#pragma once

#include <filesystem>
#include <string>

namespace test_support {

// A fresh folder under the system's temporary folder, removed with everything in it when
// the object is destroyed. Each instance has its own folder, so tests never share files.
class TemporaryFolder {
  public:
    TemporaryFolder();
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // Absolute path of `name` inside the folder (the file need not exist).
    std::string file(const std::string& name) const { return (path_ / name).string(); }

  private:
    std::filesystem::path path_;
};

}  // namespace test_support
