// Whatever a settings file holds: reading it ends, and what was read, once written in the form it
// came in, reads back cleanly in that form and writes the very same bytes again.
#include <cassert>
#include <cstdint>
#include <string>
#include <string_view>

#include "settings/MemoryStore.h"
#include "settings/RegFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kestrova::settings;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  MemoryStore read;
  RegForm form{};
  ParseRegFile(bytes, read, &form);
  assert(read.OpenHandleCount() == 0);
  const std::string written = FormatRegFile(read, form);

  MemoryStore reread;
  RegForm formAgain{};
  assert(ParseRegFile(written, reread, &formAgain) && formAgain == form);
  assert(FormatRegFile(reread, form) == written);
  return 0;
}
