// kestrova_settings_dump FILE
// Prints the eight values a close writes, one "Name=value" line each ("Name" alone when the value
// is missing); exits 1 when the file could not be read in full, 2 on wrong use.
#include <cstdio>
#include <string>

#include "settings/FileStore.h"
#include "settings/Persisted.h"

int main(int argc, char** argv) {
  using namespace kestrova::settings;
  if (argc != 2) return 2;
  FileStore store(argv[1]);
  KeyHandle key = 0;
  const bool open =
      store.OpenKey(kCurrentUser, "Software\\Quillmere\\Kestrova", kKeyRead, key) == kSuccess;
  for (const auto name : kValueNames) {
    std::string value;
    if (open && store.QueryValue(key, std::string(name), value) == kSuccess) {
      std::printf("%.*s=%s\n", static_cast<int>(name.size()), name.data(), value.c_str());
    } else {
      std::printf("%.*s\n", static_cast<int>(name.size()), name.data());
    }
  }
  return store.Damaged() ? 1 : 0;
}
