// Whatever a settings file holds: reading it ends, and what was read, once written in the form it
// came in, reads back cleanly in that form and writes the very same bytes again.
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "settings/MemoryStore.h"
#include "settings/RegFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kestrova::settings;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  MemoryStore read;
  RegForm form{};
  ParseRegFile(bytes, read, &form);
  FUZZ_CHECK(read.OpenHandleCount() == 0);
  const std::string written = FormatRegFile(read, form);

  MemoryStore reread;
  RegForm formAgain{};
  FUZZ_CHECK(ParseRegFile(written, reread, &formAgain) && formAgain == form);
  FUZZ_CHECK(FormatRegFile(reread, form) == written);
  return 0;
}
