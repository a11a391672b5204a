// A temporary folder for tests that use the real file system, removed after.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

namespace tolvenek {

class TestFolder {
 public:
  TestFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tolvenek-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
  }
  ~TestFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TestFolder(const TestFolder&) = delete;
  TestFolder& operator=(const TestFolder&) = delete;

  const std::string& path() const { return path_; }
  std::string operator/(const std::string& relative) const { return path_ + "/" + relative; }

  // Writes `bytes` to `relative`, making the folders on the way.
  void Write(const std::string& relative, const std::string& bytes) const {
    const std::filesystem::path file = *this / relative;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
  }

  // The file's bytes, or "<missing>".
  std::string Read(const std::string& relative) const {
    std::ifstream file(*this / relative, std::ios::binary);
    if (!file) return "<missing>";
    return std::string(std::istreambuf_iterator<char>(file), {});
  }

 private:
  std::string path_;
};

}  // namespace tolvenek
