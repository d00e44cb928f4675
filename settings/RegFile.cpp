#include "settings/RegFile.h"

#include <string>

namespace kestrova::settings {

namespace {

constexpr std::string_view kHeader = "REGEDIT4";
constexpr std::string_view kRootName = "HKEY_CURRENT_USER";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Every key is written with its whole path, so a file of deep keys would otherwise grow without
// bound on its way back to disk.
constexpr std::size_t kMaxKeyPathBytes = std::size_t{1} << 20;

void AppendEscaped(std::string& out, std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '"': out += "\\\""; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (byte < 0x20) {
          out += "\\x";
          out += kHex[byte >> 4];
          out += kHex[byte & 0xF];
        } else {
          out += c;
        }
    }
  }
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads the quoted text that starts at line[pos]; leaves pos after the closing quote.
bool ParseQuoted(std::string_view line, std::size_t& pos, std::string& out) {
  if (pos >= line.size() || line[pos] != '"') return false;
  ++pos;
  while (pos < line.size()) {
    const char c = line[pos++];
    if (c == '"') return true;
    if (c == '\\') {
      if (pos >= line.size()) return false;
      switch (const char e = line[pos++]) {
        case '\\':
        case '"': out += e; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case 'x': {
          if (pos + 2 > line.size()) return false;
          const int high = HexDigit(line[pos]);
          const int low = HexDigit(line[pos + 1]);
          if (high < 0 || low < 0) return false;
          out += static_cast<char>(high * 16 + low);
          pos += 2;
          break;
        }
        default: return false;
      }
    } else if (static_cast<unsigned char>(c) < 0x20 && c != '\t') {
      // A tab typed by hand is harmless; any other control byte means damage.
      return false;
    } else {
      out += c;
    }
  }
  return false;  // no closing quote: cut off
}

// `"name"="value"` or `@="value"`, blanks allowed around the equals sign.
bool ParseValueLine(std::string_view line, std::string& name, std::string& value) {
  std::size_t pos = 0;
  if (line.front() == '@') {
    pos = 1;
  } else if (!ParseQuoted(line, pos, name)) {
    return false;
  }
  while (pos < line.size() && IsBlank(line[pos])) ++pos;
  if (pos >= line.size() || line[pos] != '=') return false;
  ++pos;
  while (pos < line.size() && IsBlank(line[pos])) ++pos;
  if (!ParseQuoted(line, pos, value)) return false;
  return pos == line.size();
}

}  // namespace

std::string FormatRegFile(const MemoryStore& store) {
  std::string out(kHeader);
  out += '\n';
  for (const auto& key : store.Keys(kCurrentUser)) {
    // The root always exists; it needs a section only for values of its own.
    if (key.path.empty() && key.values.empty()) continue;
    out += "\n[";
    out += kRootName;
    if (!key.path.empty()) {
      out += '\\';
      out += key.path;
    }
    out += "]\n";
    for (const auto& [name, value] : key.values) {
      if (name.empty()) {
        out += '@';
      } else {
        out += '"';
        AppendEscaped(out, name);
        out += '"';
      }
      out += "=\"";
      AppendEscaped(out, value);
      out += "\"\n";
    }
  }
  return out;
}

bool ParseRegFile(std::string_view text, MemoryStore& store) {
  bool clean = true;
  std::size_t pathBytes = 0;  // at most what the keys' paths take, each key with its whole path
  bool headerLine = true;
  KeyHandle current = 0;
  auto closeCurrent = [&] {
    if (current) store.CloseKey(current);
    current = 0;
  };

  if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
    text.remove_prefix(kByteOrderMark.size());
  }
  while (!text.empty()) {
    const auto end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    line = TrimBlanks(line);
    if (line.empty()) continue;

    if (headerLine) {
      headerLine = false;
      if (line == kHeader) continue;
      clean = false;
    }
    if (line.front() == ';') continue;

    if (line.front() == '[') {
      closeCurrent();
      if (line.size() < 2 || line.back() != ']') {
        clean = false;
        continue;
      }
      const std::string_view path = line.substr(1, line.size() - 2);
      const auto slash = path.find('\\');
      // Another root, or a deletion ("[-HKEY_...]"), is nothing this store can keep.
      if (!NamesEqual(std::string(path.substr(0, slash)), std::string(kRootName))) {
        clean = false;
        continue;
      }
      const std::string subKey(slash == std::string_view::npos ? "" : path.substr(slash + 1));
      // The key's own path, and those of the keys above it unless they are there already.
      std::size_t added = subKey.size();
      const auto parentEnd = subKey.rfind('\\');
      KeyHandle parent = 0;
      if (parentEnd != std::string::npos &&
          store.OpenKey(kCurrentUser, subKey.substr(0, parentEnd), kKeyRead, parent) == kSuccess) {
        store.CloseKey(parent);
      } else {
        for (std::size_t i = 0; i < subKey.size() && added <= kMaxKeyPathBytes; ++i) {
          if (subKey[i] == '\\') added += i;
        }
      }
      if (added > kMaxKeyPathBytes - pathBytes) {
        clean = false;
        continue;
      }
      pathBytes += added;
      if (store.CreateKey(kCurrentUser, subKey, current) != kSuccess) {
        current = 0;
        clean = false;
      }
      continue;
    }

    std::string name;
    std::string value;
    if (!current || !ParseValueLine(line, name, value)) {
      clean = false;
      continue;
    }
    store.SetValue(current, name, value);
  }
  closeCurrent();
  return clean && !headerLine;
}

}  // namespace kestrova::settings
