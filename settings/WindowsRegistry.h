#pragma once

#include <cstdint>
#include <string>

#include "settings/Store.h"

namespace kestrova::settings {

// The Windows registry itself, through advapi32's wide calls: texts are UTF-8 here and UTF-16
// there, so any text goes in and comes back. Key handles are the registry's own; only their low
// 32 bits count, as on every 64-bit Windows. Only text values are read; a value of another type
// gives kUnsupportedType.
class WindowsRegistry : public Store {
 public:
  Status OpenKey(KeyHandle root, const std::string& subKey, std::uint32_t access,
                 KeyHandle& key) override;
  Status CreateKey(KeyHandle root, const std::string& subKey, KeyHandle& key) override;
  Status QueryValue(KeyHandle key, const std::string& name, std::string& value) override;
  Status SetValue(KeyHandle key, const std::string& name, const std::string& value) override;
  Status CloseKey(KeyHandle key) override;
};

}  // namespace kestrova::settings
