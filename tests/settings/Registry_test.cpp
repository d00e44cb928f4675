#include "settings/Registry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/MemoryStore.h"
#include "settings/Persisted.h"

namespace kestrova::settings {
namespace {

const std::string kPath(kSettingsKey);

class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Registry::SetStore(&store_);
    Registry::SetMessageCallback([this](const std::string& text) { messages_.push_back(text); });
  }
  void TearDown() override {
    EXPECT_EQ(store_.OpenHandleCount(), 0u) << "a key was left open";
    Registry::SetStore(nullptr);
    Registry::SetMessageCallback(nullptr);
  }

  MemoryStore store_;
  std::vector<std::string> messages_;
};

TEST(RegistryRoots, SevenExactNames) {
  KeyHandle handle = 0x80000000;
  for (const char* name :
       {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_USERS",
        "HKEY_PERFORMANCE_DATA", "HKEY_CURRENT_CONFIG", "HKEY_DYN_DATA"}) {
    EXPECT_EQ(Registry::RootKeyFromName(name), handle++) << name;
  }
  for (const char* other : {"hkey_current_user", "HKEY_CURRENT_USER ", "HKEY_", ""}) {
    EXPECT_EQ(Registry::RootKeyFromName(other), 0u) << other;
  }
}

TEST_F(RegistryTest, SplitKeyPath) {
  const struct {
    std::string path;
    KeyHandle root;
    std::string subKey;
  } cases[] = {
      {kPath, kCurrentUser, "Software\\Quillmere\\Kestrova"},
      {"HKEY_LOCAL_MACHINE", kLocalMachine, ""},
      {"HKEY_USERS\\\\x", kUsers, "\\x"},
      // Formed right but none of the seven roots: silent.
      {"HKEY_\\Software", 0, "Software"},
      {"HKEY_current_user", 0, ""},
      // Malformed: the message, and the path stays as it was.
      {"HKEY_CURRENT_USER\\Software\\", 0, "HKEY_CURRENT_USER\\Software\\"},
      {"hkey_current_user\\software", 0, "hkey_current_user\\software"},
      {"HKEY_\\", 0, "HKEY_\\"},
      {"HKEY", 0, "HKEY"},
  };
  for (const auto& c : cases) {
    messages_.clear();
    std::string path = c.path;
    KeyHandle root = 7;
    Registry::SplitKeyPath(path, root);
    EXPECT_EQ(root, c.root) << c.path;
    EXPECT_EQ(path, c.subKey) << c.path;
    // The malformed rows are those that keep the path as it was.
    const std::vector<std::string> shown{"Incorrect Format:\n\n" + c.path};
    EXPECT_EQ(messages_, c.subKey == c.path ? shown : std::vector<std::string>{}) << c.path;
  }
}

TEST_F(RegistryTest, ReadsGiveErrorAndWritesNeverCreateTheKey) {
  EXPECT_EQ(Registry::ReadSettingValue(kPath, "Euro"), "Error");
  Registry::WriteSettingValue(kPath, "Euro", "1");
  Registry::CreateSettingsKey(kPath);
  EXPECT_EQ(Registry::ReadSettingValue(kPath, "Euro"), "Error");

  Registry::WriteSettingValue(kPath, "Euro", "1");
  Registry::WriteSettingValue(kPath, "Euro", "2,5");
  Registry::CreateSettingsKey(kPath);  // opens what is there
  EXPECT_EQ(Registry::ReadSettingValue(kPath, "Euro"), "2,5");

  // A bare root name is the root key itself.
  Registry::WriteSettingValue("HKEY_CURRENT_USER", "AtRoot", "yes");
  EXPECT_EQ(Registry::ReadSettingValue("HKEY_CURRENT_USER", "AtRoot"), "yes");
  EXPECT_EQ(Registry::ReadSettingValue(kPath, "AtRoot"), "Error");
  EXPECT_TRUE(messages_.empty());
}

TEST_F(RegistryTest, BadPathsLeaveTheStoreAlone) {
  const std::string lower = "hkey_current_user\\software\\quillmere\\kestrova";
  for (const std::string& path : {lower, std::string("HKEY_\\Software\\Quillmere\\Kestrova")}) {
    Registry::CreateSettingsKey(path);
    Registry::WriteSettingValue(path, "Euro", "1");
    EXPECT_EQ(Registry::ReadSettingValue(path, "Euro"), std::nullopt) << path;
  }
  EXPECT_EQ(store_.Keys(kCurrentUser).size(), 1u);  // the root alone
  EXPECT_EQ(messages_, std::vector<std::string>(3, "Incorrect Format:\n\n" + lower));

  // With no store and no callback everything fails quietly.
  Registry::SetStore(nullptr);
  Registry::SetMessageCallback(nullptr);
  Registry::CreateSettingsKey(kPath);
  Registry::WriteSettingValue(kPath, "Euro", "1");
  EXPECT_EQ(Registry::ReadSettingValue(kPath, "Euro"), "Error");
  EXPECT_EQ(Registry::ReadSettingValue(kPath + "\\", "Euro"), std::nullopt);
}

}  // namespace
}  // namespace kestrova::settings
