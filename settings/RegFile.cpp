#include "settings/RegFile.h"

#include <string>

#include "settings/Utf16.h"

namespace kestrova::settings {

namespace {

constexpr std::string_view kRegedit4 = "REGEDIT4";
constexpr std::string_view kVersion5 = "Windows Registry Editor Version 5.00";
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16Mark = "\xFF\xFE";

// Every key is written with its whole path, so a file of deep keys would otherwise grow without
// bound on its way back to disk.
constexpr std::size_t kMaxKeyPathBytes = std::size_t{1} << 20;

// Only what the editor itself escapes, so that it imports what is written here unchanged; a NUL
// has no form it reads, and gets one of ours.
void AppendEscaped(std::string& out, std::string_view text) {
  for (char c : text) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '"': out += "\\\""; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\0': out += "\\x00"; break;
      default: out += c;
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

// Takes the next line off `text`, without its line end.
std::string_view NextLine(std::string_view& text) {
  const auto end = text.find('\n');
  std::string_view line = text.substr(0, end);
  text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
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
    } else if (c == '\0') {
      return false;  // zeros where text should be: a file cut short by a crash
    } else {
      out += c;
    }
  }
  return false;  // no closing quote: cut off
}

// `"name"="text"`, `@="text"`, or a value of another type (`"name"=dword:...`) whose form is
// left in `data` as it stands; blanks allowed around the equals sign.
bool ParseValueLine(std::string_view line, std::string& name, std::string& data, bool& text) {
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
  text = pos < line.size() && line[pos] == '"';
  if (!text) {
    data = line.substr(pos);
    return true;
  }
  return ParseQuoted(line, pos, data) && pos == line.size();
}

// "dword:" with up to eight hex digits, or "hex:" or "hex(<type>):" with bytes in hex.
bool IsOtherForm(std::string_view form) {
  const auto colon = form.find(':');
  if (colon == std::string_view::npos) return false;
  const std::string_view type = form.substr(0, colon);
  const std::string_view data = form.substr(colon + 1);
  auto allHex = [](std::string_view digits, std::string_view alsoAllowed) {
    for (char c : digits) {
      if (HexDigit(c) < 0 && alsoAllowed.find(c) == std::string_view::npos) return false;
    }
    return true;
  };
  if (type == "dword") return !data.empty() && data.size() <= 8 && allHex(data, "");
  const bool hexType =
      type == "hex" || (type.size() > 5 && type.substr(0, 4) == "hex(" && type.back() == ')' &&
                        allHex(type.substr(4, type.size() - 5), ""));
  return hexType && allHex(data, ", \t");
}

const RootName* FindRoot(std::string_view name) {
  for (const RootName& root : kRootNames) {
    if (NamesEqual(std::string(name), std::string(root.name))) return &root;
  }
  return nullptr;
}

std::string ToUtf16Bytes(std::string_view utf8) {
  std::string out(kUtf16Mark);
  for (char16_t c : ToUtf16(utf8)) {
    out += static_cast<char>(c & 0xFF);
    out += static_cast<char>(c >> 8);
  }
  return out;
}

}  // namespace

std::string FormatRegFile(const MemoryStore& store, RegForm form) {
  const bool version5 = form == RegForm::Version5;
  const std::string_view eol = version5 ? "\r\n" : "\n";
  std::string out(version5 ? kVersion5 : kRegedit4);
  out += eol;
  for (const RootName& root : kRootNames) {
    for (const auto& key : store.Keys(root.handle)) {
      // A root always exists; it needs a section only for values of its own.
      if (key.path.empty() && key.values.empty()) continue;
      out += eol;
      out += '[';
      out += root.name;
      if (!key.path.empty()) {
        out += '\\';
        out += key.path;
      }
      out += ']';
      out += eol;
      for (const auto& value : key.values) {
        if (value.name.empty()) {
          out += '@';
        } else {
          out += '"';
          AppendEscaped(out, value.name);
          out += '"';
        }
        out += '=';
        if (value.text) {
          out += '"';
          AppendEscaped(out, value.data);
          out += '"';
        } else {
          out += value.data;
        }
        out += eol;
      }
    }
  }
  return version5 ? ToUtf16Bytes(out) : out;
}

bool ParseRegFile(std::string_view bytes, MemoryStore& store, RegForm* form) {
  bool clean = true;
  std::string decoded;
  std::string_view text = bytes;
  // What came in UTF-16 goes back in it; the header does not decide, since either may be found
  // in either encoding.
  const bool utf16 = text.substr(0, kUtf16Mark.size()) == kUtf16Mark;
  if (form) *form = utf16 ? RegForm::Version5 : RegForm::Regedit4;
  if (utf16) {
    std::u16string wide;
    for (std::size_t i = kUtf16Mark.size(); i + 1 < bytes.size(); i += 2) {
      wide += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                    static_cast<unsigned char>(bytes[i + 1]) << 8);
    }
    clean = bytes.size() % 2 == 0;
    decoded = ToUtf8(wide);
    text = decoded;
  } else if (text.substr(0, kUtf8Mark.size()) == kUtf8Mark) {
    text.remove_prefix(kUtf8Mark.size());
  }

  std::size_t pathBytes = 0;  // at most what the keys' paths take, each key with its whole path
  bool headerLine = true;
  KeyHandle current = 0;
  auto closeCurrent = [&] {
    if (current) store.CloseKey(current);
    current = 0;
  };
  while (!text.empty()) {
    const std::string_view line = TrimBlanks(NextLine(text));
    if (line.empty()) continue;

    if (headerLine) {
      headerLine = false;
      if (line == kRegedit4 || line == kVersion5) continue;
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
      // A deletion ("[-HKEY_...]") is nothing a store of values can keep.
      const RootName* root = FindRoot(path.substr(0, slash));
      if (!root) {
        clean = false;
        continue;
      }
      const std::string subKey(slash == std::string_view::npos ? "" : path.substr(slash + 1));
      // The key's own path, and those of the keys above it unless they are there already.
      std::size_t added = subKey.size();
      const auto parentEnd = subKey.rfind('\\');
      KeyHandle parent = 0;
      if (parentEnd != std::string::npos &&
          store.OpenKey(root->handle, subKey.substr(0, parentEnd), kKeyRead, parent) == kSuccess) {
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
      if (store.CreateKey(root->handle, subKey, current) != kSuccess) {
        current = 0;
        clean = false;
      }
      continue;
    }

    std::string name;
    std::string data;
    bool isText = true;
    if (!current || !ParseValueLine(line, name, data, isText)) {
      clean = false;
      continue;
    }
    if (isText) {
      store.SetValue(current, name, data);
      continue;
    }
    // The editor breaks long lists of bytes over lines that end in a backslash.
    while (!data.empty() && data.back() == '\\' && !text.empty()) {
      data.pop_back();
      data += TrimBlanks(NextLine(text));
    }
    if (IsOtherForm(data)) {
      store.KeepValue(current, name, data);
    } else {
      clean = false;
    }
  }
  closeCurrent();
  return clean && !headerLine;
}

}  // namespace kestrova::settings
