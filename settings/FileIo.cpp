#include "settings/FileIo.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <utility>

namespace kestrova::settings {

int FileIo::Open(const std::string& path, int flags, mode_t mode) {
  int fd;
  do {
    fd = ::open(path.c_str(), flags, mode);
  } while (fd < 0 && errno == EINTR);
  return fd;
}
ssize_t FileIo::Read(int fd, void* buffer, std::size_t size) { return ::read(fd, buffer, size); }
ssize_t FileIo::Write(int fd, const void* buffer, std::size_t size) {
  return ::write(fd, buffer, size);
}
int FileIo::Fstat(int fd, struct stat* status) { return ::fstat(fd, status); }
int FileIo::Lstat(const std::string& path, struct stat* status) {
  return ::lstat(path.c_str(), status);
}
int FileIo::Fsync(int fd) { return ::fsync(fd); }
int FileIo::Close(int fd) { return ::close(fd); }
int FileIo::Rename(const std::string& from, const std::string& to) {
  return ::rename(from.c_str(), to.c_str());
}
int FileIo::Unlink(const std::string& path) { return ::unlink(path.c_str()); }
int FileIo::Mkdir(const std::string& path, mode_t mode) { return ::mkdir(path.c_str(), mode); }

int FileIo::Realpath(const std::string& path, std::string& resolved) {
  char buffer[PATH_MAX];
  if (!::realpath(path.c_str(), buffer)) return -1;
  resolved = buffer;
  return 0;
}

int FileIo::ListFolder(const std::string& folder, std::vector<std::string>& names) {
  DIR* listing = ::opendir(folder.c_str());
  if (!listing) return -1;
  errno = 0;
  while (const dirent* entry = ::readdir(listing)) names.emplace_back(entry->d_name);
  const int error = errno;
  ::closedir(listing);
  errno = error;
  return error == 0 ? 0 : -1;
}

int FileIo::Kill(pid_t pid, int signal) { return ::kill(pid, signal); }

FileIo& FileIo::System() {
  static FileIo io;
  return io;
}

Fd::~Fd() {
  // Called on a path that is already failing: its errno is the one to keep.
  const int error = errno;
  Close();
  errno = error;
}

int Fd::Close() {
  if (fd_ < 0) return 0;
  return io_->Close(std::exchange(fd_, -1));
}

}  // namespace kestrova::settings
