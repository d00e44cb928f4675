#pragma once

#include <string>
#include <string_view>

#include "settings/MemoryStore.h"

// The text form of the settings file: the registry editor's own export files, in either of their
// two forms, so that a key exported on Windows can be copied in and a file written here imported
// there.
namespace kestrova::settings {

enum class RegForm {
  Regedit4,  // "REGEDIT4", UTF-8 here (the editor takes its bytes in the ANSI code page), LF
  Version5,  // "Windows Registry Editor Version 5.00", UTF-16LE with a byte-order mark, CRLF
};

// The file for every key of every root in `store`.
std::string FormatRegFile(const MemoryStore& store, RegForm form = RegForm::Regedit4);

// Puts every key and value of `bytes` into `store`, values of types other than text kept as they
// are spelled; false when any part could not be read (what could be read is still put in). Keys
// whose paths would add up to more than 1 MiB of text are not read. `form`, when given, receives
// the form to write the file back in: Version5 for a file in UTF-16, else Regedit4.
bool ParseRegFile(std::string_view bytes, MemoryStore& store, RegForm* form = nullptr);

}  // namespace kestrova::settings
