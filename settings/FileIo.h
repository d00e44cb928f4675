#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>
#include <string>
#include <vector>

namespace kestrova::settings {

// Every system call the file store makes, one virtual each, so that a test can make any of them
// fail. Each returns what the system call returns and leaves errno set.
class FileIo {
 public:
  virtual ~FileIo() = default;
  virtual int Open(const std::string& path, int flags, mode_t mode);
  virtual ssize_t Read(int fd, void* buffer, std::size_t size);
  virtual ssize_t Write(int fd, const void* buffer, std::size_t size);
  virtual int Fstat(int fd, struct stat* status);
  virtual int Lstat(const std::string& path, struct stat* status);
  virtual int Fsync(int fd);
  virtual int Close(int fd);
  virtual int Rename(const std::string& from, const std::string& to);
  virtual int Unlink(const std::string& path);
  virtual int Mkdir(const std::string& path, mode_t mode);
  // realpath(): 0 and the path with every link resolved in `resolved`, or -1.
  virtual int Realpath(const std::string& path, std::string& resolved);
  // opendir(), readdir() to the end and closedir(): 0 and the names in `folder`, or -1.
  virtual int ListFolder(const std::string& folder, std::vector<std::string>& names);
  virtual int Kill(pid_t pid, int signal);

  // The one that goes straight to the system.
  static FileIo& System();
};

// An open descriptor that closes itself through its FileIo on every path; Close() says whether
// the close went well, which matters after a write.
class Fd {
 public:
  Fd(FileIo& io, int fd) : io_(&io), fd_(fd) {}
  ~Fd();
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;

  explicit operator bool() const { return fd_ >= 0; }
  int get() const { return fd_; }
  int Close();

 private:
  FileIo* io_;
  int fd_;
};

}  // namespace kestrova::settings
