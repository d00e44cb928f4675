#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "settings/Store.h"

// The program's only way to its per-user settings: key paths such as
// "HKEY_CURRENT_USER\Software\Quillmere\Kestrova" over whatever Store is installed.
namespace kestrova::settings::Registry {

// Which store the module works on (not owned); nullptr makes every operation fail quietly.
void SetStore(Store* store);
Store* CurrentStore();

// Shows the "Incorrect Format:" text modally; the window supplies a message box. Without a
// callback the text is dropped.
void SetMessageCallback(std::function<void(const std::string& text)> callback);

// One of the seven root names, exactly; 0 for any other name.
KeyHandle RootKeyFromName(std::string name);

// Splits `path` into its root handle and (in `path`) the sub-key. A malformed path shows the
// message, leaves `path` as it was and sets `root` to 0.
void SplitKeyPath(std::string& path, KeyHandle& root);

void CreateSettingsKey(std::string path);

// The value's text; "Error" when the key cannot be opened or the value cannot be read; nullopt
// (no value) for a malformed path or an unknown root.
std::optional<std::string> ReadSettingValue(std::string path, const std::string& name);

// Sets the value in an existing key; never creates the key.
void WriteSettingValue(std::string path, const std::string& name, const std::string& value);

}  // namespace kestrova::settings::Registry
