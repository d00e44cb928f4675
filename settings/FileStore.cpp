#include "settings/FileStore.h"

#include <fcntl.h>
#include <pwd.h>
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

// Far beyond what eight short values need; a bigger file is not a settings file.
constexpr std::size_t kMaxFileSize = std::size_t{16} << 20;

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

bool SyncFolder(FileIo& io, const std::string& folder) {
  Fd fd(io, io.Open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0));
  if (!fd) return false;
  const bool synced = io.Fsync(fd.get()) == 0;
  return fd.Close() == 0 && synced;
}

bool MakeFolders(FileIo& io, const std::string& folder) {
  if (io.Mkdir(folder, 0700) == 0) return SyncFolder(io, FolderOf(folder));
  if (errno == EEXIST) return true;
  if (errno != ENOENT) return false;
  const std::string parent = FolderOf(folder);
  if (parent == folder || !MakeFolders(io, parent)) return false;
  if (io.Mkdir(folder, 0700) == 0) return SyncFolder(io, parent);
  return errno == EEXIST;
}

// A save writes "<prefix><pid>.<count><suffix>" beside its target, then renames it over.
constexpr std::string_view kTempSuffix = ".tmp";
std::string TempPrefix(const std::string& target) { return '.' + NameOf(target) + '.'; }

}  // namespace

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

std::string FileStore::UserFolder() {
  const std::string folder = FolderOf(DefaultPath());
  MakeFolders(FileIo::System(), folder);
  return folder;
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
  if (!ParseRegFile(bytes, memory_, &form_) || !whole) {
    damaged_ = true;
    haveRaw_ = whole;
    if (whole) raw_ = std::move(bytes);
  }
}

bool FileStore::Damaged() {
  if (!loaded_) Load();
  return damaged_;
}

bool FileStore::Holds(KeyHandle key) {
  if (!loaded_) Load();
  return !IsPredefinedRoot(key) || key == kCurrentUser;
}

Status FileStore::OpenKey(KeyHandle root, const std::string& subKey, std::uint32_t access,
                          KeyHandle& key) {
  if (!Holds(root)) return kFileNotFound;
  return memory_.OpenKey(root, subKey, access, key);
}

Status FileStore::CreateKey(KeyHandle root, const std::string& subKey, KeyHandle& key) {
  if (!Holds(root)) return kFileNotFound;
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
  if (!Holds(key)) return kFileNotFound;
  return memory_.QueryValue(key, name, value);
}

Status FileStore::SetValue(KeyHandle key, const std::string& name, const std::string& value) {
  if (!Holds(key)) return kFileNotFound;
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
  const bool saved = MakeFolders(io_, FolderOf(path_)) &&
                     (!damaged_ || damagedKept_ || KeepDamagedFile() == kSuccess) &&
                     WriteAtomically(target, FormatRegFile(memory_, form_));
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
    done = (io_.Rename(path_, kept) == 0 || errno == ENOENT) && SyncFolder(io_, FolderOf(path_));
  }
  if (!done) return kWriteFault;
  std::fprintf(stderr, "Kestrova: %s could not be read in full; it is kept as %s\n", path_.c_str(),
               kept.c_str());
  damagedKept_ = true;
  raw_.clear();
  return kSuccess;
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
  return SyncFolder(io_, folder);
}

}  // namespace kestrova::settings
