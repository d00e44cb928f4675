#include "settings/FileStore.h"

#include <fcntl.h>
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

namespace kestrova::settings {

namespace {

constexpr std::string_view kHeader = "REGEDIT4";
constexpr std::string_view kRootName = "HKEY_CURRENT_USER";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Far beyond what eight short values need; a bigger file is not a settings file.
constexpr std::size_t kMaxFileSize = std::size_t{16} << 20;
constexpr std::size_t kMaxKeyPathBytes = std::size_t{1} << 20;

std::string FolderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A save writes "<prefix><pid>.<count><suffix>" beside its target, then renames it over.
constexpr std::string_view kTempSuffix = ".tmp";
std::string TempPrefix(const std::string& target) { return '.' + NameOf(target) + '.'; }

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

// --- the text format -----------------------------------------------------------------------

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

// --- the store -----------------------------------------------------------------------------

FileStore::FileStore(std::string path, FileIo* io)
    : path_(std::move(path)), io_(io ? *io : FileIo::System()) {}

FileStore::~FileStore() = default;

std::string FileStore::DefaultPath() {
  std::string base;
  // Relative values are to be ignored, as for every XDG base directory.
  if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && config[0] == '/') {
    base = config;
  } else {
    const char* home = std::getenv("HOME");
    std::string homeText = home ? home : "";
    if (homeText.empty()) {
      std::vector<char> buffer(16384);
      passwd entry{};
      passwd* found = nullptr;
      if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found &&
          found->pw_dir) {
        homeText = found->pw_dir;
      }
    }
    base = homeText + "/.config";
  }
  return base + "/Quillmere/Kestrova.reg";
}

void FileStore::Load() {
  loaded_ = true;
  // Not blocking: a pipe in the file's place must not hold up the start.
  Fd fd(io_, io_.Open(path_, O_RDONLY | O_CLOEXEC | O_NONBLOCK, 0));
  if (!fd) {
    // No file is a store with nothing in it; a file that cannot be opened is not.
    if (errno != ENOENT) damaged_ = true;
    return;
  }
  struct stat status {};
  if (io_.Fstat(fd.get(), &status) != 0 || !S_ISREG(status.st_mode)) {
    damaged_ = true;
    return;
  }
  std::string bytes;
  bool whole = true;
  std::vector<char> buffer(65536);
  while (true) {
    const ssize_t n = io_.Read(fd.get(), buffer.data(), buffer.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      whole = false;
      break;
    }
    if (n == 0) break;
    bytes.append(buffer.data(), static_cast<std::size_t>(n));
    if (bytes.size() > kMaxFileSize) {
      whole = false;
      break;
    }
  }
  fd.Close();
  if (!ParseRegFile(bytes, memory_) || !whole) {
    damaged_ = true;
    haveRaw_ = whole;
    if (whole) raw_ = std::move(bytes);
  }
}

bool FileStore::Damaged() {
  if (!loaded_) Load();
  return damaged_;
}

Status FileStore::OpenKey(KeyHandle root, const std::string& subKey, std::uint32_t access,
                          KeyHandle& key) {
  if (!loaded_) Load();
  if (IsPredefinedRoot(root) && root != kCurrentUser) return kFileNotFound;
  return memory_.OpenKey(root, subKey, access, key);
}

Status FileStore::CreateKey(KeyHandle root, const std::string& subKey, KeyHandle& key) {
  if (!loaded_) Load();
  if (IsPredefinedRoot(root) && root != kCurrentUser) return kFileNotFound;
  const auto before = memory_.Revision();
  KeyHandle created = 0;
  if (const Status status = memory_.CreateKey(root, subKey, created); status != kSuccess) {
    return status;
  }
  if (memory_.Revision() != before) dirty_ = true;
  if (const Status status = Changed(); status != kSuccess) {
    memory_.CloseKey(created);
    return status;
  }
  key = created;
  return kSuccess;
}

Status FileStore::QueryValue(KeyHandle key, const std::string& name, std::string& value) {
  if (!loaded_) Load();
  if (IsPredefinedRoot(key) && key != kCurrentUser) return kFileNotFound;
  return memory_.QueryValue(key, name, value);
}

Status FileStore::SetValue(KeyHandle key, const std::string& name, const std::string& value) {
  if (!loaded_) Load();
  if (IsPredefinedRoot(key) && key != kCurrentUser) return kFileNotFound;
  const auto before = memory_.Revision();
  if (const Status status = memory_.SetValue(key, name, value); status != kSuccess) return status;
  if (memory_.Revision() != before) dirty_ = true;
  return Changed();
}

Status FileStore::CloseKey(KeyHandle key) { return memory_.CloseKey(key); }

void FileStore::BeginBatch() { ++batchDepth_; }

Status FileStore::CommitBatch() {
  if (batchDepth_ == 0) return kSuccess;
  if (--batchDepth_ > 0) return kSuccess;
  return Commit();
}

// Outside a batch, memory and file must agree before a write reports success; that includes
// changes a failed earlier commit left behind.
Status FileStore::Changed() { return batchDepth_ > 0 ? kSuccess : Commit(); }

Status FileStore::Commit() {
  if (!dirty_) return kSuccess;
  const std::string target = WriteTarget();
  // Cleared before this save makes its own, so a kill in mid-save leaves no more than that one.
  RemoveStaleTemporaries(path_);
  if (target != path_) RemoveStaleTemporaries(target);
  const bool saved = MakeFolders(FolderOf(path_)) &&
                     (!damaged_ || damagedKept_ || KeepDamagedFile() == kSuccess) &&
                     WriteAtomically(target, FormatRegFile(memory_));
  if (!saved) {
    // Said once: a close makes no window, and the next commits would only repeat it.
    if (!failureTold_) {
      failureTold_ = true;
      std::fprintf(stderr, "Kestrova: the settings could not be saved to %s: %s\n", path_.c_str(),
                   std::strerror(errno));
    }
    return kWriteFault;
  }
  dirty_ = false;
  return kSuccess;
}

// A copy killed in the middle of a save leaves its temporary beside `target`; the next save
// clears away those of copies that are no longer running.
void FileStore::RemoveStaleTemporaries(const std::string& target) {
  const std::string folder = FolderOf(target);
  const std::string prefix = TempPrefix(target);
  std::vector<std::string> names;
  if (io_.ListFolder(folder, names) != 0) return;
  for (const std::string& name : names) {
    const std::size_t suffix = kTempSuffix.size();
    if (name.size() <= prefix.size() + suffix || name.compare(0, prefix.size(), prefix) != 0 ||
        name.compare(name.size() - suffix, suffix, kTempSuffix) != 0) {
      continue;
    }
    // The prefix also takes the temporaries of ".bad" copies: "<prefix>bad[.n].<pid>.<count>".
    const std::string_view rest(name.data(), name.size() - suffix);
    const auto countDot = rest.rfind('.');
    const auto pidDot = rest.rfind('.', countDot - 1);
    if (pidDot < prefix.size() - 1 || countDot - pidDot < 2 || countDot - pidDot > 10) continue;
    const std::string pid(rest.substr(pidDot + 1, countDot - pidDot - 1));
    if (pid.find_first_not_of("0123456789") != std::string::npos) continue;
    const pid_t owner = static_cast<pid_t>(std::stol(pid));
    if (owner != getpid() && io_.Kill(owner, 0) != 0 && errno == ESRCH) {
      io_.Unlink(folder + '/' + name);
    }
  }
}

// A link to the settings (kept in a dotfiles folder, say) is followed rather than replaced by
// a plain file. A link that leads nowhere is replaced: nothing behind it is lost.
std::string FileStore::WriteTarget() const {
  struct stat link {};
  if (io_.Lstat(path_, &link) != 0 || !S_ISLNK(link.st_mode)) return path_;
  std::string resolved;
  return io_.Realpath(path_, resolved) == 0 ? resolved : path_;
}

Status FileStore::KeepDamagedFile() {
  // An older copy is just as unreadable to us and just as much the user's: it stays.
  auto taken = [this](const std::string& name) {
    struct stat status {};
    return io_.Lstat(name, &status) == 0;
  };
  std::string kept = path_ + ".bad";
  for (int n = 1; n < 100 && taken(kept); ++n) kept = path_ + ".bad." + std::to_string(n);
  if (taken(kept)) {
    errno = EEXIST;
    return kWriteFault;
  }
  bool done;
  if (haveRaw_) {
    done = WriteAtomically(kept, raw_);
  } else {
    // Its bytes could not be had, so the file itself moves aside.
    done = (io_.Rename(path_, kept) == 0 || errno == ENOENT) && SyncFolder(FolderOf(path_));
  }
  if (!done) return kWriteFault;
  std::fprintf(stderr, "Kestrova: %s could not be read in full; it is kept as %s\n", path_.c_str(),
               kept.c_str());
  damagedKept_ = true;
  raw_.clear();
  return kSuccess;
}

bool FileStore::MakeFolders(const std::string& folder) {
  if (io_.Mkdir(folder, 0700) == 0) return SyncFolder(FolderOf(folder));
  if (errno == EEXIST) return true;
  if (errno != ENOENT) return false;
  const std::string parent = FolderOf(folder);
  if (parent == folder || !MakeFolders(parent)) return false;
  if (io_.Mkdir(folder, 0700) == 0) return SyncFolder(parent);
  return errno == EEXIST;
}

bool FileStore::SyncFolder(const std::string& folder) {
  Fd fd(io_, io_.Open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0));
  if (!fd) return false;
  const bool synced = io_.Fsync(fd.get()) == 0;
  return fd.Close() == 0 && synced;
}

bool FileStore::WriteAtomically(const std::string& target, std::string_view bytes) {
  const std::string folder = FolderOf(target);
  std::string temp;
  int opened = -1;
  for (int attempt = 0; attempt < 100 && opened < 0; ++attempt) {
    temp = folder + '/' + TempPrefix(target) + std::to_string(getpid()) + '.' +
           std::to_string(++tempCounter_) + std::string(kTempSuffix);
    opened = io_.Open(temp, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (opened < 0 && errno != EEXIST) return false;
  }
  if (opened < 0) return false;
  Fd fd(io_, opened);

  auto discard = [&] {
    const int error = errno;
    fd.Close();
    io_.Unlink(temp);
    errno = error;
    return false;
  };
  std::size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t n = io_.Write(fd.get(), bytes.data() + written, bytes.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return discard();
    written += static_cast<std::size_t>(n);
  }
  if (io_.Fsync(fd.get()) != 0 || fd.Close() != 0) return discard();
  if (io_.Rename(temp, target) != 0) return discard();
  return SyncFolder(folder);
}

}  // namespace kestrova::settings
