#pragma once

#include <string>
#include <string_view>

#include "settings/MemoryStore.h"

// The text form of the settings file: REGEDIT4, the registry's own export format.
namespace kestrova::settings {

// The text of the file for every key under "HKEY_CURRENT_USER" in `store`.
std::string FormatRegFile(const MemoryStore& store);

// Puts every key and value that `text` holds under "HKEY_CURRENT_USER" into `store`; false when
// any part of the text could not be read (what could be read is still put in). Keys whose paths
// would add up to more than 1 MiB of text are not read.
bool ParseRegFile(std::string_view text, MemoryStore& store);

}  // namespace kestrova::settings
