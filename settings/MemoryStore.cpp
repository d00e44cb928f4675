#include "settings/MemoryStore.h"

#include <algorithm>
#include <optional>
#include <string_view>

namespace kestrova::settings {

namespace {

// The platform registry's limits for one key name and for the depth of a key below its root.
constexpr std::size_t kMaxKeyNameLength = 255;
constexpr std::size_t kMaxKeyDepth = 512;

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// A key name holds no control characters: the file store keeps one key per line.
bool IsValidKeyName(std::string_view name) {
  if (name.empty() || name.size() > kMaxKeyNameLength) return false;
  return std::none_of(name.begin(), name.end(),
                      [](char c) { return static_cast<unsigned char>(c) < 0x20; });
}

// The names of a sub-key path, or nullopt when one of them is empty or not a valid name.
std::optional<std::vector<std::string>> SplitSubKey(const std::string& subKey) {
  std::vector<std::string> parts;
  if (subKey.empty()) return parts;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = subKey.find('\\', start);
    std::string_view part(subKey.data() + start,
                          (end == std::string::npos ? subKey.size() : end) - start);
    if (!IsValidKeyName(part) || parts.size() == kMaxKeyDepth) return std::nullopt;
    parts.emplace_back(part);
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return parts;
}

}  // namespace

bool NamesEqual(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return FoldAscii(x) == FoldAscii(y);
         });
}

MemoryStore::MemoryStore() {
  for (KeyHandle root = kClassesRoot; root <= kDynData; ++root) {
    roots_[root] = std::make_unique<Node>();
  }
}

MemoryStore::~MemoryStore() = default;

MemoryStore::Node* MemoryStore::Resolve(KeyHandle key) const {
  if (auto root = roots_.find(key); root != roots_.end()) return root->second.get();
  if (auto open = handles_.find(key); open != handles_.end()) return open->second.node;
  return nullptr;
}

MemoryStore::Node* MemoryStore::Child(const Node& parent, const std::string& name) {
  for (const auto& child : parent.children) {
    if (NamesEqual(child->name, name)) return child.get();
  }
  return nullptr;
}

std::uint32_t MemoryStore::AccessOf(KeyHandle key) const {
  if (auto open = handles_.find(key); open != handles_.end()) return open->second.access;
  return kKeyAllAccess;  // a predefined root
}

KeyHandle MemoryStore::Issue(Node* node, std::uint32_t access) {
  while (nextHandle_ == 0 || IsPredefinedRoot(nextHandle_) || handles_.count(nextHandle_)) {
    ++nextHandle_;
  }
  const KeyHandle key = nextHandle_++;
  handles_[key] = OpenKeyState{node, access};
  return key;
}

Status MemoryStore::OpenKey(KeyHandle root, const std::string& subKey, std::uint32_t access,
                            KeyHandle& key) {
  Node* node = Resolve(root);
  if (!node) return kInvalidHandle;
  const auto parts = SplitSubKey(subKey);
  if (!parts) return kFileNotFound;
  for (const std::string& part : *parts) {
    node = Child(*node, part);
    if (!node) return kFileNotFound;
  }
  key = Issue(node, access);
  return kSuccess;
}

Status MemoryStore::CreateKey(KeyHandle root, const std::string& subKey, KeyHandle& key) {
  Node* node = Resolve(root);
  if (!node) return kInvalidHandle;
  const auto parts = SplitSubKey(subKey);
  if (!parts) return kInvalidParameter;
  for (const std::string& part : *parts) {
    if (Node* child = Child(*node, part)) {
      node = child;
    } else {
      node->children.push_back(std::make_unique<Node>(Node{part, {}, {}}));
      ++revision_;
      node = node->children.back().get();
    }
  }
  key = Issue(node, kKeyAllAccess);
  return kSuccess;
}

Status MemoryStore::QueryValue(KeyHandle key, const std::string& name, std::string& value) {
  const Node* node = Resolve(key);
  if (!node) return kInvalidHandle;
  if (!(AccessOf(key) & kKeyQueryValue)) return kAccessDenied;
  for (const Value& stored : node->values) {
    if (NamesEqual(stored.name, name)) {
      if (!stored.text) return kUnsupportedType;
      value = stored.data;
      return kSuccess;
    }
  }
  return kFileNotFound;
}

Status MemoryStore::SetValue(KeyHandle key, const std::string& name, const std::string& value) {
  return Set(key, Value{name, value, true});
}

Status MemoryStore::KeepValue(KeyHandle key, const std::string& name, const std::string& form) {
  return Set(key, Value{name, form, false});
}

Status MemoryStore::Set(KeyHandle key, const Value& value) {
  Node* node = Resolve(key);
  if (!node) return kInvalidHandle;
  if (!(AccessOf(key) & kKeySetValue)) return kAccessDenied;
  for (Value& stored : node->values) {
    if (NamesEqual(stored.name, value.name)) {
      if (stored.data != value.data || stored.text != value.text) {
        stored.data = value.data;
        stored.text = value.text;
        ++revision_;
      }
      return kSuccess;
    }
  }
  node->values.push_back(value);
  ++revision_;
  return kSuccess;
}

Status MemoryStore::CloseKey(KeyHandle key) {
  if (roots_.count(key)) return kSuccess;
  return handles_.erase(key) ? kSuccess : kInvalidHandle;
}

std::vector<MemoryStore::KeyEntry> MemoryStore::Keys(KeyHandle root) const {
  std::vector<KeyEntry> out;
  const Node* top = Resolve(root);
  if (!top) return out;
  struct Frame {
    const Node* node;
    std::string path;
  };
  std::vector<Frame> pending{{top, ""}};
  while (!pending.empty()) {
    Frame frame = std::move(pending.back());
    pending.pop_back();
    out.push_back(KeyEntry{frame.path, frame.node->values});
    // Pushed in reverse so that siblings come out in creation order.
    for (auto child = frame.node->children.rbegin(); child != frame.node->children.rend();
         ++child) {
      pending.push_back(Frame{
          child->get(), frame.path.empty() ? (*child)->name : frame.path + '\\' + (*child)->name});
    }
  }
  return out;
}

}  // namespace kestrova::settings
