#include "settings/Registry.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "settings/FileStore.h"
#include "settings/MemoryStore.h"
#include "settings/Persisted.h"
#include "tests/settings/TempConfig.h"

namespace kestrova::settings {
namespace {

const std::string kPath(kSettingsKey);

// Passes every call on and keeps track of the keys left open and of the calls made.
class WatchingStore : public Store {
 public:
  explicit WatchingStore(Store& inner) : inner_(inner) {}

  Status OpenKey(KeyHandle root, const std::string& subKey, std::uint32_t access,
                 KeyHandle& key) override {
    calls.push_back("open " + subKey);
    const Status status = inner_.OpenKey(root, subKey, access, key);
    if (status == kSuccess) open.insert(key);
    return status;
  }
  Status CreateKey(KeyHandle root, const std::string& subKey, KeyHandle& key) override {
    calls.push_back("create " + subKey);
    const Status status = inner_.CreateKey(root, subKey, key);
    if (status == kSuccess) open.insert(key);
    return status;
  }
  Status QueryValue(KeyHandle key, const std::string& name, std::string& value) override {
    calls.push_back("query " + name);
    return inner_.QueryValue(key, name, value);
  }
  Status SetValue(KeyHandle key, const std::string& name, const std::string& value) override {
    calls.push_back("set " + name);
    return inner_.SetValue(key, name, value);
  }
  Status CloseKey(KeyHandle key) override {
    calls.push_back("close");
    open.erase(key);
    return inner_.CloseKey(key);
  }

  std::set<KeyHandle> open;
  std::vector<std::string> calls;

 private:
  Store& inner_;
};

enum class Kind { Memory, File };

void PrintTo(Kind kind, std::ostream* out) { *out << (kind == Kind::Memory ? "memory" : "file"); }

// Runs against the in-memory store and against the file store in a temporary config folder.
class RegistryTest : public ::testing::TestWithParam<Kind> {
 protected:
  void SetUp() override {
    if (GetParam() == Kind::Memory) {
      inner_ = std::make_unique<MemoryStore>();
    } else {
      config_ = std::make_unique<test::TempConfig>();
      inner_ = std::make_unique<FileStore>();
    }
    watcher_ = std::make_unique<WatchingStore>(*inner_);
    Registry::SetStore(watcher_.get());
    Registry::SetMessageCallback([this](const std::string& text) { messages_.push_back(text); });
  }
  void TearDown() override {
    EXPECT_TRUE(watcher_->open.empty()) << "a key was left open";
    Registry::SetStore(nullptr);
    Registry::SetMessageCallback(nullptr);
  }

  // A second store over the same file, or the same memory, to see what really was kept.
  std::optional<std::string> ReadAfresh(const std::string& name) {
    if (GetParam() == Kind::Memory) return Registry::ReadSettingValue(kPath, name);
    FileStore fresh;
    Registry::SetStore(&fresh);
    auto value = Registry::ReadSettingValue(kPath, name);
    Registry::SetStore(watcher_.get());
    return value;
  }

  std::unique_ptr<test::TempConfig> config_;
  std::unique_ptr<Store> inner_;
  std::unique_ptr<WatchingStore> watcher_;
  std::vector<std::string> messages_;
};

TEST(RegistryRoots, SevenExactNames) {
  EXPECT_EQ(Registry::RootKeyFromName("HKEY_CLASSES_ROOT"), 0x80000000u);
  EXPECT_EQ(Registry::RootKeyFromName("HKEY_CURRENT_USER"), 0x80000001u);
  EXPECT_EQ(Registry::RootKeyFromName("HKEY_LOCAL_MACHINE"), 0x80000002u);
  EXPECT_EQ(Registry::RootKeyFromName("HKEY_USERS"), 0x80000003u);
  EXPECT_EQ(Registry::RootKeyFromName("HKEY_PERFORMANCE_DATA"), 0x80000004u);
  EXPECT_EQ(Registry::RootKeyFromName("HKEY_CURRENT_CONFIG"), 0x80000005u);
  EXPECT_EQ(Registry::RootKeyFromName("HKEY_DYN_DATA"), 0x80000006u);
  for (const char* other : {"hkey_current_user", "HKEY_Current_User", "HKEY_CURRENT_USER ",
                            " HKEY_CURRENT_USER", "HKEY_", "HKCU", ""}) {
    EXPECT_EQ(Registry::RootKeyFromName(other), 0u) << other;
  }
}

TEST(RegistrySplit, WellFormedPaths) {
  std::vector<std::string> messages;
  Registry::SetMessageCallback([&](const std::string& text) { messages.push_back(text); });

  std::string path = kPath;
  KeyHandle root = 0;
  Registry::SplitKeyPath(path, root);
  EXPECT_EQ(root, kCurrentUser);
  EXPECT_EQ(path, "Software\\Quillmere\\Kestrova");

  path = "HKEY_LOCAL_MACHINE";
  Registry::SplitKeyPath(path, root);
  EXPECT_EQ(root, kLocalMachine);
  EXPECT_EQ(path, "");

  // Only the first backslash splits; the rest belongs to the sub-key.
  path = "HKEY_USERS\\\\x";
  Registry::SplitKeyPath(path, root);
  EXPECT_EQ(root, kUsers);
  EXPECT_EQ(path, "\\x");

  // An unknown root passes the format test and ends silently as no root.
  for (const char* unknown : {"HKEY_\\Software", "HKEY_NOWHERE\\Software", "HKEY_current_user"}) {
    path = unknown;
    root = 1;
    Registry::SplitKeyPath(path, root);
    EXPECT_EQ(root, 0u) << unknown;
  }
  EXPECT_TRUE(messages.empty());
  Registry::SetMessageCallback(nullptr);
}

TEST(RegistrySplit, MalformedPathsShowTheMessageAndStayAsTheyWere) {
  std::vector<std::string> messages;
  Registry::SetMessageCallback([&](const std::string& text) { messages.push_back(text); });
  const std::vector<std::string> malformed = {
      "HKEY_CURRENT_USER\\Software\\", "hkey_current_user\\software\\quillmere\\kestrova",
      "HKEY_\\", "HKEY", "", "Software\\HKEY_CURRENT_USER", " HKEY_CURRENT_USER\\Software"};
  for (const std::string& bad : malformed) {
    std::string path = bad;
    KeyHandle root = 7;
    Registry::SplitKeyPath(path, root);
    EXPECT_EQ(root, 0u) << bad;
    EXPECT_EQ(path, bad);
  }
  ASSERT_EQ(messages.size(), malformed.size());
  for (std::size_t i = 0; i < malformed.size(); ++i) {
    EXPECT_EQ(messages[i], "Incorrect Format:\n\n" + malformed[i]);
  }
  // Without a callback the text is dropped, and nothing else changes.
  Registry::SetMessageCallback(nullptr);
  std::string path = "HKEY_CURRENT_USER\\";
  KeyHandle root = 7;
  Registry::SplitKeyPath(path, root);
  EXPECT_EQ(root, 0u);
}

TEST_P(RegistryTest, CreateWriteReadInTheirOrder) {
  EXPECT_EQ(Registry::ReadSettingValue(kPath, "Euro"), "Error");  // no key yet
  Registry::WriteSettingValue(kPath, "Euro", "1");                // no key: nothing written
  EXPECT_EQ(Registry::ReadSettingValue(kPath, "Euro"), "Error");

  Registry::CreateSettingsKey(kPath);
  EXPECT_EQ(Registry::ReadSettingValue(kPath, "Euro"), "Error");  // key, but no value
  Registry::WriteSettingValue(kPath, "Euro", "1");
  Registry::WriteSettingValue(kPath, "Currency", "40,34");
  EXPECT_EQ(Registry::ReadSettingValue(kPath, "Euro"), "1");
  EXPECT_EQ(ReadAfresh("Currency"), "40,34");
  Registry::WriteSettingValue(kPath, "Euro", "2,5");
  EXPECT_EQ(ReadAfresh("Euro"), "2,5");
  EXPECT_TRUE(messages_.empty());

  // Creating again opens what is there and loses nothing.
  Registry::CreateSettingsKey(kPath);
  EXPECT_EQ(ReadAfresh("Currency"), "40,34");

  // Each operation opens one key and closes it before it returns.
  watcher_->calls.clear();
  Registry::ReadSettingValue(kPath, "Euro");
  Registry::ReadSettingValue(kPath, "Missing");
  Registry::WriteSettingValue(kPath, "Euro", "3");
  Registry::CreateSettingsKey(kPath);
  const std::string sub = "Software\\Quillmere\\Kestrova";
  EXPECT_EQ(watcher_->calls,
            (std::vector<std::string>{"open " + sub, "query Euro", "close", "open " + sub,
                                      "query Missing", "close", "open " + sub, "set Euro", "close",
                                      "create " + sub, "close"}));
}

TEST_P(RegistryTest, BadPathsLeaveTheStoreAlone) {
  const std::string lower = "hkey_current_user\\software\\quillmere\\kestrova";
  Registry::CreateSettingsKey(lower);
  Registry::WriteSettingValue(lower, "Euro", "1");
  EXPECT_EQ(Registry::ReadSettingValue(lower, "Euro"), std::nullopt);
  EXPECT_EQ(messages_.size(), 3u);
  for (const auto& text : messages_) EXPECT_EQ(text, "Incorrect Format:\n\n" + lower);

  messages_.clear();
  const std::string unknown = "HKEY_\\Software\\Quillmere\\Kestrova";
  Registry::CreateSettingsKey(unknown);
  Registry::WriteSettingValue(unknown, "Euro", "1");
  EXPECT_EQ(Registry::ReadSettingValue(unknown, "Euro"), std::nullopt);
  EXPECT_TRUE(messages_.empty());

  EXPECT_TRUE(watcher_->calls.empty());
  if (config_) {
    EXPECT_FALSE(std::filesystem::exists(config_->Folder()));
  }
}

TEST_P(RegistryTest, RootKeyItselfHoldsValues) {
  Registry::WriteSettingValue("HKEY_CURRENT_USER", "AtRoot", "yes");
  EXPECT_EQ(ReadAfresh("AtRoot"), "Error");  // not under the settings key
  EXPECT_EQ(Registry::ReadSettingValue("HKEY_CURRENT_USER", "AtRoot"), "yes");
  if (GetParam() == Kind::File) {
    FileStore fresh;
    Registry::SetStore(&fresh);
    EXPECT_EQ(Registry::ReadSettingValue("HKEY_CURRENT_USER", "AtRoot"), "yes");
    Registry::SetStore(watcher_.get());
  }
}

TEST_P(RegistryTest, AwkwardValuesComeBackExactly) {
  Registry::CreateSettingsKey(kPath);
  const std::vector<std::string> values = {
      " Belgian Francs ",
      "",
      "   ",
      "\tTabbed\t",
      "say \"cheese\"",
      "C:\\Temp\\new\\table",
      "two\nlines\r\nand a carriage return\r",
      std::string("nul\0inside", 10),
      "\x01\x1F\x7F",
      "\xC3\x96sterreichische Schilling \xE2\x82\xAC",
      "\xFF\xFE not UTF-8",
      "\"=\"[HKEY_CURRENT_USER\\Other]",
      std::string(10000, 'x') + "end",
  };
  for (const std::string& value : values) {
    Registry::WriteSettingValue(kPath, "Tooltip", value);
    EXPECT_EQ(Registry::ReadSettingValue(kPath, "Tooltip"), value);
    EXPECT_EQ(ReadAfresh("Tooltip"), value) << value.substr(0, 40);
  }
  // What a run reads, the next close writes back: it must not wear away.
  Registry::WriteSettingValue(kPath, "Tooltip", " Belgian Francs ");
  for (int run = 0; run < 3; ++run) {
    const auto read = ReadAfresh("Tooltip");
    ASSERT_TRUE(read);
    Registry::WriteSettingValue(kPath, "Tooltip", *read);
  }
  EXPECT_EQ(ReadAfresh("Tooltip"), " Belgian Francs ");
}

TEST_P(RegistryTest, OtherRootsAndNoStore) {
  const std::string machine = "HKEY_LOCAL_MACHINE\\Software\\Quillmere\\Kestrova";
  Registry::CreateSettingsKey(machine);
  Registry::WriteSettingValue(machine, "Euro", "1");
  if (GetParam() == Kind::File) {
    // The file holds the current user only; the other roots are nowhere.
    EXPECT_EQ(Registry::ReadSettingValue(machine, "Euro"), "Error");
    EXPECT_FALSE(std::filesystem::exists(config_->File()));
  } else {
    EXPECT_EQ(Registry::ReadSettingValue(machine, "Euro"), "1");
    EXPECT_EQ(Registry::ReadSettingValue(kPath, "Euro"), "Error");
  }

  Registry::SetStore(nullptr);
  EXPECT_EQ(Registry::CurrentStore(), nullptr);
  Registry::CreateSettingsKey(kPath);
  Registry::WriteSettingValue(kPath, "Euro", "1");
  EXPECT_EQ(Registry::ReadSettingValue(kPath, "Euro"), "Error");
  EXPECT_EQ(Registry::ReadSettingValue("HKEY_\\x", "Euro"), std::nullopt);
  Registry::SetStore(watcher_.get());
  EXPECT_EQ(Registry::ReadSettingValue(kPath, "Euro"), "Error");
}

INSTANTIATE_TEST_SUITE_P(Stores, RegistryTest, ::testing::Values(Kind::Memory, Kind::File),
                         [](const auto& info) {
                           return info.param == Kind::Memory ? "Memory" : "File";
                         });

}  // namespace
}  // namespace kestrova::settings
