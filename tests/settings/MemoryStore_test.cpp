#include "settings/MemoryStore.h"

#include <gtest/gtest.h>

namespace kestrova::settings {
namespace {

TEST(MemoryStore, KeyAndValueNamesIgnoreAsciiCaseButKeepTheirOwn) {
  MemoryStore store;
  KeyHandle key = 0;
  ASSERT_EQ(store.CreateKey(kCurrentUser, "Software\\Quillmere", key), kSuccess);
  ASSERT_EQ(store.SetValue(key, "Tooltip", "a"), kSuccess);
  ASSERT_EQ(store.CloseKey(key), kSuccess);

  ASSERT_EQ(store.OpenKey(kCurrentUser, "SOFTWARE\\quillmere", kKeyWrite, key), kSuccess);
  EXPECT_EQ(store.SetValue(key, "TOOLTIP", "b"), kSuccess);
  EXPECT_EQ(store.CloseKey(key), kSuccess);
  // Creating with another case finds the same key rather than a sibling.
  ASSERT_EQ(store.CreateKey(kCurrentUser, "software\\QUILLMERE\\Kestrova", key), kSuccess);
  EXPECT_EQ(store.CloseKey(key), kSuccess);

  const auto keys = store.Keys(kCurrentUser);
  ASSERT_EQ(keys.size(), 4u);
  EXPECT_EQ(keys[1].path, "Software");
  EXPECT_EQ(keys[2].path, "Software\\Quillmere");
  EXPECT_EQ(keys[3].path, "Software\\Quillmere\\Kestrova");
  ASSERT_EQ(keys[2].values.size(), 1u);
  EXPECT_EQ(keys[2].values[0].first, "Tooltip");
  EXPECT_EQ(keys[2].values[0].second, "b");

  // Folding is ASCII only: bytes of other letters must match exactly.
  ASSERT_EQ(store.CreateKey(kCurrentUser, "\xC3\x84pfel", key), kSuccess);
  store.CloseKey(key);
  EXPECT_EQ(store.OpenKey(kCurrentUser, "\xC3\xA4pfel", kKeyRead, key), kFileNotFound);
}

TEST(MemoryStore, HandlesCarryTheirAccessRights) {
  MemoryStore store;
  KeyHandle created = 0;
  ASSERT_EQ(store.CreateKey(kCurrentUser, "K", created), kSuccess);
  EXPECT_EQ(store.SetValue(created, "Name", "v"), kSuccess);

  KeyHandle reader = 0;
  KeyHandle writer = 0;
  ASSERT_EQ(store.OpenKey(kCurrentUser, "K", kKeyRead, reader), kSuccess);
  ASSERT_EQ(store.OpenKey(kCurrentUser, "K", kKeyWrite, writer), kSuccess);
  EXPECT_NE(reader, writer);
  EXPECT_EQ(store.SetValue(reader, "Name", "w"), kAccessDenied);
  std::string value;
  EXPECT_EQ(store.QueryValue(writer, "Name", value), kAccessDenied);
  EXPECT_EQ(store.QueryValue(reader, "Name", value), kSuccess);
  EXPECT_EQ(value, "v");
  EXPECT_EQ(store.QueryValue(reader, "Other", value), kFileNotFound);

  EXPECT_EQ(store.OpenHandleCount(), 3u);
  for (KeyHandle key : {created, reader, writer}) EXPECT_EQ(store.CloseKey(key), kSuccess);
  EXPECT_EQ(store.OpenHandleCount(), 0u);
  EXPECT_EQ(store.CloseKey(reader), kInvalidHandle);
  EXPECT_EQ(store.QueryValue(reader, "Name", value), kInvalidHandle);
  EXPECT_EQ(store.SetValue(0, "Name", "v"), kInvalidHandle);
  // The predefined roots are always open.
  EXPECT_EQ(store.CloseKey(kCurrentUser), kSuccess);
  EXPECT_EQ(store.SetValue(kCurrentUser, "AtRoot", "r"), kSuccess);
  EXPECT_EQ(store.QueryValue(kCurrentUser, "atroot", value), kSuccess);
  EXPECT_EQ(value, "r");
}

TEST(MemoryStore, OpenKeysServeAsRootsAndRootsAreSeparate) {
  MemoryStore store;
  KeyHandle software = 0;
  ASSERT_EQ(store.CreateKey(kCurrentUser, "Software", software), kSuccess);
  KeyHandle below = 0;
  ASSERT_EQ(store.CreateKey(software, "Quillmere\\Kestrova", below), kSuccess);
  ASSERT_EQ(store.SetValue(below, "Euro", "1"), kSuccess);

  KeyHandle again = 0;
  ASSERT_EQ(store.OpenKey(kCurrentUser, "Software\\Quillmere\\Kestrova", kKeyRead, again),
            kSuccess);
  std::string value;
  EXPECT_EQ(store.QueryValue(again, "Euro", value), kSuccess);
  EXPECT_EQ(value, "1");

  KeyHandle elsewhere = 0;
  EXPECT_EQ(store.OpenKey(kLocalMachine, "Software", kKeyRead, elsewhere), kFileNotFound);
  EXPECT_EQ(store.OpenKey(0, "Software", kKeyRead, elsewhere), kInvalidHandle);
  EXPECT_EQ(store.CreateKey(0x12345, "Software", elsewhere), kInvalidHandle);
}

TEST(MemoryStore, RejectsSubKeysWithEmptyOrUnwritableNames) {
  MemoryStore store;
  KeyHandle key = 0;
  for (const std::string& bad : std::vector<std::string>{"\\Software", "Software\\\\Quillmere", "Software\\",
                                std::string("Line\nFeed"), std::string(256, 'k')}) {
    SCOPED_TRACE(bad);
    EXPECT_EQ(store.CreateKey(kCurrentUser, bad, key), kInvalidParameter);
    EXPECT_EQ(store.OpenKey(kCurrentUser, bad, kKeyRead, key), kFileNotFound);
  }
  EXPECT_EQ(store.Keys(kCurrentUser).size(), 1u);  // the root alone
  EXPECT_EQ(store.OpenHandleCount(), 0u);
  // 255 characters is still a name.
  ASSERT_EQ(store.CreateKey(kCurrentUser, std::string(255, 'k'), key), kSuccess);
  EXPECT_EQ(store.CloseKey(key), kSuccess);
}

TEST(MemoryStore, RevisionMovesOnlyWithChanges) {
  MemoryStore store;
  KeyHandle key = 0;
  auto revision = store.Revision();
  ASSERT_EQ(store.CreateKey(kCurrentUser, "A\\B", key), kSuccess);
  EXPECT_GT(store.Revision(), revision);
  store.CloseKey(key);

  revision = store.Revision();
  ASSERT_EQ(store.CreateKey(kCurrentUser, "a\\b", key), kSuccess);
  EXPECT_EQ(store.Revision(), revision);
  ASSERT_EQ(store.SetValue(key, "Name", "one"), kSuccess);
  EXPECT_GT(store.Revision(), revision);

  revision = store.Revision();
  ASSERT_EQ(store.SetValue(key, "NAME", "one"), kSuccess);
  EXPECT_EQ(store.Revision(), revision);
  ASSERT_EQ(store.SetValue(key, "Name", "two"), kSuccess);
  EXPECT_GT(store.Revision(), revision);
  store.CloseKey(key);
}

TEST(MemoryStore, KeysListParentsFirstAndSiblingsInCreationOrder) {
  MemoryStore store;
  KeyHandle key = 0;
  for (const char* path : {"B\\Two", "A", "B\\One", "B\\Two\\Deep"}) {
    ASSERT_EQ(store.CreateKey(kCurrentUser, path, key), kSuccess);
    store.CloseKey(key);
  }
  std::vector<std::string> paths;
  for (const auto& entry : store.Keys(kCurrentUser)) paths.push_back(entry.path);
  EXPECT_EQ(paths,
            (std::vector<std::string>{"", "B", "B\\Two", "B\\Two\\Deep", "B\\One", "A"}));
  EXPECT_TRUE(store.Keys(0x4242).empty());
}

}  // namespace
}  // namespace kestrova::settings
