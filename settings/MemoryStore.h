#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "settings/Store.h"

namespace kestrova::settings {

// A store that lives in memory only: seven empty roots at construction. It follows the
// platform registry where the program can tell: key and value names compare without regard to
// ASCII case but keep the case they were created with, handles carry their access rights, and
// a handle of an open key may serve as the root of another open or create, and one call goes at
// most 512 levels down.
class MemoryStore : public Store {
 public:
  // A text value, or one of another type kept as the settings file spells it ("dword:0000002a"),
  // so that it goes back to the file as it came.
  struct Value {
    std::string name;
    std::string data;
    bool text = true;
  };
  using Values = std::vector<Value>;

  // One key of a root: its path below the root ("" for the root itself) and its values, in the
  // order they were first set.
  struct KeyEntry {
    std::string path;
    Values values;
  };

  MemoryStore();
  ~MemoryStore() override;
  MemoryStore(const MemoryStore&) = delete;
  MemoryStore& operator=(const MemoryStore&) = delete;

  Status OpenKey(KeyHandle root, const std::string& subKey, std::uint32_t access,
                 KeyHandle& key) override;
  Status CreateKey(KeyHandle root, const std::string& subKey, KeyHandle& key) override;
  Status QueryValue(KeyHandle key, const std::string& name, std::string& value) override;
  Status SetValue(KeyHandle key, const std::string& name, const std::string& value) override;
  Status CloseKey(KeyHandle key) override;

  // Sets a value of another type than text, in its file form; reading it gives kUnsupportedType.
  Status KeepValue(KeyHandle key, const std::string& name, const std::string& form);

  // Every key under `root`, each before its sub-keys, siblings in creation order.
  std::vector<KeyEntry> Keys(KeyHandle root) const;

  // Goes up whenever a key is created or a value added or changed; lets a caller tell whether
  // an operation changed anything.
  std::uint64_t Revision() const { return revision_; }

  std::size_t OpenHandleCount() const { return handles_.size(); }

 private:
  struct Node {
    std::string name;
    std::vector<std::unique_ptr<Node>> children;
    Values values;
  };
  struct OpenKeyState {
    Node* node;
    std::uint32_t access;
  };

  Node* Resolve(KeyHandle key) const;
  static Node* Child(const Node& parent, const std::string& name);
  std::uint32_t AccessOf(KeyHandle key) const;
  KeyHandle Issue(Node* node, std::uint32_t access);
  Status Set(KeyHandle key, const Value& value);

  std::map<KeyHandle, std::unique_ptr<Node>> roots_;
  std::unordered_map<KeyHandle, OpenKeyState> handles_;
  KeyHandle nextHandle_ = 1;
  std::uint64_t revision_ = 0;
};

// ASCII-only case folding, as the registry compares names.
bool NamesEqual(const std::string& a, const std::string& b);

}  // namespace kestrova::settings
