#include "settings/WindowsRegistry.h"

#include <windows.h>

#include "settings/Utf16.h"

namespace kestrova::settings {

namespace {

// The predefined roots are negative 32-bit numbers widened with their sign.
HKEY ToHkey(KeyHandle key) { return static_cast<HKEY>(LongToHandle(static_cast<LONG>(key))); }
KeyHandle FromHkey(HKEY key) { return static_cast<KeyHandle>(HandleToULong(key)); }

std::wstring Wide(const std::string& utf8) {
  const std::u16string wide = ToUtf16(utf8);
  return std::wstring(wide.begin(), wide.end());
}

}  // namespace

Status WindowsRegistry::OpenKey(KeyHandle root, const std::string& subKey, std::uint32_t access,
                                KeyHandle& key) {
  HKEY opened = nullptr;
  const LSTATUS status = RegOpenKeyExW(ToHkey(root), Wide(subKey).c_str(), 0, access, &opened);
  if (status == ERROR_SUCCESS) key = FromHkey(opened);
  return status;
}

Status WindowsRegistry::CreateKey(KeyHandle root, const std::string& subKey, KeyHandle& key) {
  HKEY created = nullptr;
  const LSTATUS status = RegCreateKeyW(ToHkey(root), Wide(subKey).c_str(), &created);
  if (status == ERROR_SUCCESS) key = FromHkey(created);
  return status;
}

Status WindowsRegistry::QueryValue(KeyHandle key, const std::string& name, std::string& value) {
  const std::wstring wideName = Wide(name);
  std::wstring data(128, L'\0');
  DWORD type = REG_NONE;
  DWORD size = 0;
  LSTATUS status = ERROR_MORE_DATA;
  while (status == ERROR_MORE_DATA) {
    size = static_cast<DWORD>(data.size() * sizeof(wchar_t));
    status = RegQueryValueExW(ToHkey(key), wideName.c_str(), nullptr, &type,
                              reinterpret_cast<BYTE*>(data.data()), &size);
    if (status == ERROR_MORE_DATA) data.resize(size / sizeof(wchar_t) + 1);
  }
  if (status != ERROR_SUCCESS) return status;
  if (type != REG_SZ) return kUnsupportedType;
  data.resize(size / sizeof(wchar_t));
  // The wide calls store a terminator; what an earlier version stored through the ANSI calls,
  // which the registry turned into UTF-16 from the code page then, has none.
  if (!data.empty() && data.back() == L'\0') data.pop_back();
  value = ToUtf8(std::u16string(data.begin(), data.end()));
  return kSuccess;
}

Status WindowsRegistry::SetValue(KeyHandle key, const std::string& name, const std::string& value) {
  const std::wstring data = Wide(value);
  return RegSetValueExW(ToHkey(key), Wide(name).c_str(), 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(data.c_str()),
                        static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
}

Status WindowsRegistry::CloseKey(KeyHandle key) { return RegCloseKey(ToHkey(key)); }

}  // namespace kestrova::settings
