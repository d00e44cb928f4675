#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kestrova::settings {

// Handles and status codes keep the widths of the platform registry so that a registry-backed
// store can sit behind the same interface.
using KeyHandle = std::uint32_t;
using Status = std::int32_t;

inline constexpr Status kSuccess = 0;
inline constexpr Status kFileNotFound = 2;
inline constexpr Status kAccessDenied = 5;
inline constexpr Status kInvalidHandle = 6;
inline constexpr Status kWriteFault = 29;
inline constexpr Status kInvalidParameter = 87;
// A value that is there but is not text.
inline constexpr Status kUnsupportedType = 1630;

inline constexpr std::uint32_t kKeyRead = 0x20019;
inline constexpr std::uint32_t kKeyWrite = 0x20006;
inline constexpr std::uint32_t kKeyAllAccess = 0xF003F;
// The rights within an access mask that decide whether a handle may read or set values.
inline constexpr std::uint32_t kKeyQueryValue = 0x0001;
inline constexpr std::uint32_t kKeySetValue = 0x0002;

// The predefined roots, with the platform registry's handle values.
inline constexpr KeyHandle kClassesRoot = 0x80000000;
inline constexpr KeyHandle kCurrentUser = 0x80000001;
inline constexpr KeyHandle kLocalMachine = 0x80000002;
inline constexpr KeyHandle kUsers = 0x80000003;
inline constexpr KeyHandle kPerformanceData = 0x80000004;
inline constexpr KeyHandle kCurrentConfig = 0x80000005;
inline constexpr KeyHandle kDynData = 0x80000006;

inline constexpr bool IsPredefinedRoot(KeyHandle key) {
  return key >= kClassesRoot && key <= kDynData;
}

struct RootName {
  std::string_view name;
  KeyHandle handle;
};

// The names a key path may begin with, in the order they are looked up.
inline constexpr std::array<RootName, 7> kRootNames = {{
    {"HKEY_CLASSES_ROOT", kClassesRoot},
    {"HKEY_CURRENT_USER", kCurrentUser},
    {"HKEY_LOCAL_MACHINE", kLocalMachine},
    {"HKEY_USERS", kUsers},
    {"HKEY_PERFORMANCE_DATA", kPerformanceData},
    {"HKEY_CURRENT_CONFIG", kCurrentConfig},
    {"HKEY_DYN_DATA", kDynData},
}};

// The five operations the Registry module needs of a per-user hierarchical store.
class Store {
 public:
  virtual ~Store() = default;

  // Opens an existing key for reading (kKeyRead) or writing (kKeyWrite).
  virtual Status OpenKey(KeyHandle root, const std::string& subKey, std::uint32_t access,
                         KeyHandle& key) = 0;
  // Creates the key with any missing keys above it, or opens it when present.
  virtual Status CreateKey(KeyHandle root, const std::string& subKey, KeyHandle& key) = 0;
  virtual Status QueryValue(KeyHandle key, const std::string& name, std::string& value) = 0;
  virtual Status SetValue(KeyHandle key, const std::string& name, const std::string& value) = 0;
  virtual Status CloseKey(KeyHandle key) = 0;

  // Writes between BeginBatch and CommitBatch may be held and reach the disk as one commit, so an
  // interrupted close leaves all-old or all-new values. The default store writes through.
  virtual void BeginBatch() {}
  virtual Status CommitBatch() { return kSuccess; }
};

// Holds the writes of one scope and commits them when it ends.
class Batch {
 public:
  explicit Batch(Store* store) : store_(store) {
    if (store_) store_->BeginBatch();
  }
  ~Batch() {
    if (store_) store_->CommitBatch();
  }
  Batch(const Batch&) = delete;
  Batch& operator=(const Batch&) = delete;

 private:
  Store* store_;
};

}  // namespace kestrova::settings
