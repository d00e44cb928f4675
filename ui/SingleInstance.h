#pragma once

#include <string>

namespace kestrova::ui::platform {

// At most one running copy per user: a named mutex of the session on Windows, an flock() on a
// file elsewhere. Either way the system drops it with the process, so a crashed copy never
// leaves it stuck, whatever became of its number.
class SingleInstance {
 public:
  enum class State { First, AlreadyRunning, Failed };

  SingleInstance() = default;
  ~SingleInstance();
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  // `lockPath` names the lock file, or the mutex on Windows.
  State Acquire(const std::string& lockPath);
  void Release();

  // Set when Acquire gives Failed: the system's error number and its text.
  int errorNumber() const { return errorNumber_; }
  const std::string& errorText() const { return errorText_; }

  // $XDG_RUNTIME_DIR/Kestrova.lock, or the settings folder when that variable is unset; on
  // Windows the mutex "Local\Quillmere.Kestrova".
  static std::string DefaultLockPath();

 private:
  void Fail(int number);

#ifdef _WIN32
  void* mutex_ = nullptr;
#else
  int fd_ = -1;
#endif
  int errorNumber_ = 0;
  std::string errorText_;
};

}  // namespace kestrova::ui::platform
