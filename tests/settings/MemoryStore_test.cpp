#include "settings/MemoryStore.h"

#include <gtest/gtest.h>

namespace kestrova::settings {
namespace {

TEST(MemoryStore, HandlesCarryTheirRightsAndNamesFoldAsciiCaseOnly) {
  MemoryStore store;
  KeyHandle software = 0, reader = 0, writer = 0;
  ASSERT_EQ(store.CreateKey(kCurrentUser, "Software", software), kSuccess);
  ASSERT_EQ(store.CreateKey(software, "\xC3\x84pfel", writer), kSuccess);  // an open key as root
  ASSERT_EQ(store.SetValue(writer, "Euro", "1"), kSuccess);
  ASSERT_EQ(store.OpenKey(kCurrentUser, "SOFTWARE\\\xC3\x84pfel", kKeyRead, reader), kSuccess);

  std::string value;
  EXPECT_EQ(store.QueryValue(reader, "EURO", value), kSuccess);
  EXPECT_EQ(value, "1");
  EXPECT_EQ(store.SetValue(reader, "Euro", "2"), kAccessDenied);
  EXPECT_EQ(store.CloseKey(writer), kSuccess);
  ASSERT_EQ(store.OpenKey(software, "\xC3\x84pfel", kKeyWrite, writer), kSuccess);
  EXPECT_EQ(store.QueryValue(writer, "Euro", value), kAccessDenied);
  // Bytes beyond ASCII must match exactly.
  EXPECT_EQ(store.OpenKey(software, "\xC3\xA4pfel", kKeyRead, reader), kFileNotFound);

  for (KeyHandle key : {software, reader, writer}) EXPECT_EQ(store.CloseKey(key), kSuccess);
  EXPECT_EQ(store.OpenHandleCount(), 0u);
  EXPECT_EQ(store.QueryValue(reader, "Euro", value), kInvalidHandle);
}

TEST(MemoryStore, RejectsEmptyOverlongAndControlKeyNames) {
  MemoryStore store;
  KeyHandle key = 0;
  for (const std::string& name :
       {std::string("\\Software"), std::string("Software\\\\Quillmere"), std::string("Software\\"),
        std::string("Line\nFeed"), std::string(256, 'k')}) {
    EXPECT_EQ(store.CreateKey(kCurrentUser, name, key), kInvalidParameter) << name;
    EXPECT_EQ(store.OpenKey(kCurrentUser, name, kKeyRead, key), kFileNotFound) << name;
  }
  EXPECT_EQ(store.Keys(kCurrentUser).size(), 1u);  // the root alone
  EXPECT_EQ(store.CreateKey(kCurrentUser, std::string(255, 'k'), key), kSuccess);

  // Five hundred and twelve levels down at most, as in the registry.
  std::string deep = "d";
  for (int level = 1; level < 512; ++level) deep += "\\d";
  EXPECT_EQ(store.CreateKey(kCurrentUser, deep + "\\d", key), kInvalidParameter);
  EXPECT_EQ(store.CreateKey(kCurrentUser, deep, key), kSuccess);
}

}  // namespace
}  // namespace kestrova::settings
