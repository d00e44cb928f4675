// Whatever a settings file holds: reading it ends, and what was read, once written, reads back
// cleanly and writes the very same text again.
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "settings/MemoryStore.h"
#include "settings/RegFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kestrova::settings;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  MemoryStore read;
  ParseRegFile(text, read);
  FUZZ_CHECK(read.OpenHandleCount() == 0);
  const std::string written = FormatRegFile(read);

  MemoryStore reread;
  FUZZ_CHECK(ParseRegFile(written, reread));
  FUZZ_CHECK(FormatRegFile(reread) == written);
  return 0;
}
