#include "settings/UserStore.h"

#ifdef _WIN32
#include "settings/WindowsRegistry.h"
#else
#include "settings/FileStore.h"
#endif

namespace kestrova::settings {

std::unique_ptr<Store> OpenUserStore() {
#ifdef _WIN32
  return std::make_unique<WindowsRegistry>();
#else
  return std::make_unique<FileStore>();
#endif
}

}  // namespace kestrova::settings
