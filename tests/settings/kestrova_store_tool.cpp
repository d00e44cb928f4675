// kestrova_store_tool FILE NAME VALUE
// Writes one value under the settings key of the file store in FILE, as a close does; exits 1
// when the store reports that the value did not reach the disk.
#include <cstdio>

#include "settings/FileStore.h"

int main(int argc, char** argv) {
  using namespace kestrova::settings;
  if (argc != 4) return 2;
  FileStore store(argv[1]);
  store.BeginBatch();
  KeyHandle key = 0;
  Status status = store.CreateKey(kCurrentUser, "Software\\Quillmere\\Kestrova", key);
  if (status == kSuccess) status = store.SetValue(key, argv[2], argv[3]);
  if (const Status commit = store.CommitBatch(); status == kSuccess) status = commit;
  if (status == kSuccess) return 0;
  std::fprintf(stderr, "kestrova_store_tool: the store failed with status %d\n", status);
  return 1;
}
