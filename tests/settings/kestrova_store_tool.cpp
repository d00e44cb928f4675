// kestrova_store_tool FILE NAME VALUE
// Writes one value under the settings key of the store in FILE; exits non-zero when the store
// reports that the value did not reach the disk.
#include <cstdio>
#include <string>

#include "settings/FileStore.h"

int main(int argc, char** argv) {
  using namespace kestrova::settings;
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s FILE NAME VALUE\n", argv[0]);
    return 2;
  }
  FileStore store(argv[1]);
  store.BeginBatch();
  KeyHandle key = 0;
  Status status = store.CreateKey(kCurrentUser, "Software\\Quillmere\\Kestrova", key);
  if (status == kSuccess) {
    status = store.SetValue(key, argv[2], argv[3]);
    store.CloseKey(key);
  }
  if (const Status commit = store.CommitBatch(); status == kSuccess) status = commit;
  if (status != kSuccess) {
    std::fprintf(stderr, "kestrova_store_tool: the store failed with status %d\n", status);
    return 1;
  }
  return 0;
}
