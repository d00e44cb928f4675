#include "ui/SingleInstance.h"

#include <utility>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "settings/FileStore.h"
#endif

namespace kestrova::ui::platform {

SingleInstance::~SingleInstance() { Release(); }

#ifdef _WIN32

SingleInstance::State SingleInstance::Acquire(const std::string& lockPath) {
  Release();
  HANDLE mutex = CreateMutexA(nullptr, FALSE, lockPath.c_str());
  if (!mutex) {
    Fail(static_cast<int>(GetLastError()));
    return State::Failed;
  }
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    CloseHandle(mutex);
    return State::AlreadyRunning;
  }
  mutex_ = mutex;
  return State::First;
}

void SingleInstance::Release() {
  if (mutex_) CloseHandle(std::exchange(mutex_, nullptr));
}

void SingleInstance::Fail(int number) {
  errorNumber_ = number;
  char* text = nullptr;
  FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, static_cast<DWORD>(number), 0, reinterpret_cast<char*>(&text), 0, nullptr);
  errorText_ = text ? text : "error " + std::to_string(number);
  LocalFree(text);
  while (!errorText_.empty() && (errorText_.back() == '\n' || errorText_.back() == '\r')) {
    errorText_.pop_back();
  }
}

std::string SingleInstance::DefaultLockPath() { return "Local\\Quillmere.Kestrova"; }

#else

SingleInstance::State SingleInstance::Acquire(const std::string& lockPath) {
  Release();
  // Close-on-exec: a browser started from the about window must not inherit the lock.
  const int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) {
    Fail(errno);
    return State::Failed;
  }
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int error = errno;
    ::close(fd);
    if (error == EWOULDBLOCK) return State::AlreadyRunning;
    Fail(error);
    return State::Failed;
  }
  fd_ = fd;
  return State::First;
}

void SingleInstance::Release() {
  if (fd_ >= 0) ::close(std::exchange(fd_, -1));
}

void SingleInstance::Fail(int number) {
  errorNumber_ = number;
  errorText_ = std::strerror(number);
}

std::string SingleInstance::DefaultLockPath() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime && *runtime) return std::string(runtime) + "/Kestrova.lock";
  return settings::FileStore::UserFolder() + "/Kestrova.lock";
}

#endif

}  // namespace kestrova::ui::platform
