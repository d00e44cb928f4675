#pragma once

#include <memory>

#include "settings/Store.h"

namespace kestrova::settings {

// The store the user's settings live in, as the build decides: the registry on Windows, the
// settings file (FileStore.h) everywhere else.
std::unique_ptr<Store> OpenUserStore();

}  // namespace kestrova::settings
