#include "settings/Registry.h"

#include <utility>

#include "settings/Persisted.h"

namespace kestrova::settings::Registry {

namespace {

// What the program installed; nothing of a single call is kept between calls.
Store* gStore = nullptr;
std::function<void(const std::string& text)> gMessage;

constexpr std::string_view kRootPrefix = "HKEY_";

}  // namespace

void SetStore(Store* store) { gStore = store; }

Store* CurrentStore() { return gStore; }

void SetMessageCallback(std::function<void(const std::string& text)> callback) {
  gMessage = std::move(callback);
}

KeyHandle RootKeyFromName(std::string name) {
  for (const auto& root : kRootNames) {
    if (name == root.name) return root.handle;
  }
  return 0;
}

void SplitKeyPath(std::string& path, KeyHandle& root) {
  const bool malformed = path.size() < kRootPrefix.size() ||
                         path.compare(0, kRootPrefix.size(), kRootPrefix) != 0 ||
                         path.back() == '\\';
  if (malformed) {
    if (gMessage) gMessage("Incorrect Format:\n\n" + path);
    root = 0;
    return;
  }
  const auto slash = path.find('\\');
  if (slash == std::string::npos) {
    root = RootKeyFromName(path);
    path.clear();
  } else {
    root = RootKeyFromName(path.substr(0, slash));
    path.erase(0, slash + 1);
  }
}

void CreateSettingsKey(std::string path) {
  KeyHandle root = 0;
  SplitKeyPath(path, root);
  if (root == 0 || !gStore) return;
  KeyHandle key = 0;
  if (gStore->CreateKey(root, path, key) == kSuccess) gStore->CloseKey(key);
}

std::optional<std::string> ReadSettingValue(std::string path, const std::string& name) {
  KeyHandle root = 0;
  SplitKeyPath(path, root);
  if (root == 0) return std::nullopt;
  const std::string error(kErrorText);
  KeyHandle key = 0;
  if (!gStore || gStore->OpenKey(root, path, kKeyRead, key) != kSuccess) return error;
  std::string value;
  const Status status = gStore->QueryValue(key, name, value);
  gStore->CloseKey(key);
  if (status != kSuccess) return error;
  return value;
}

void WriteSettingValue(std::string path, const std::string& name, const std::string& value) {
  KeyHandle root = 0;
  SplitKeyPath(path, root);
  if (root == 0 || !gStore) return;
  KeyHandle key = 0;
  if (gStore->OpenKey(root, path, kKeyWrite, key) != kSuccess) return;
  gStore->SetValue(key, name, value);
  gStore->CloseKey(key);
}

}  // namespace kestrova::settings::Registry
