#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <string>

namespace kestrova::settings::test {

// A fresh folder that stands in for $XDG_CONFIG_HOME while the object lives.
class TempConfig {
 public:
  TempConfig() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kestrova-settings-XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    root_ = pattern;
    if (const char* old = std::getenv("XDG_CONFIG_HOME")) saved_ = old;
    setenv("XDG_CONFIG_HOME", root_.c_str(), 1);
  }
  ~TempConfig() {
    if (saved_) {
      setenv("XDG_CONFIG_HOME", saved_->c_str(), 1);
    } else {
      unsetenv("XDG_CONFIG_HOME");
    }
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }
  TempConfig(const TempConfig&) = delete;
  TempConfig& operator=(const TempConfig&) = delete;

  const std::filesystem::path& Root() const { return root_; }
  std::filesystem::path Folder() const { return root_ / "Quillmere"; }
  std::filesystem::path File() const { return Folder() / "Kestrova.reg"; }

 private:
  std::filesystem::path root_;
  std::optional<std::string> saved_;
};

inline std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// Every file and folder below `root`, as paths relative to it.
inline std::set<std::string> Tree(const std::filesystem::path& root) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
    names.insert(std::filesystem::relative(entry.path(), root).string());
  }
  return names;
}

inline unsigned ModeOf(const std::filesystem::path& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return ~0u;
  return info.st_mode & 07777;
}

}  // namespace kestrova::settings::test
