#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "settings/FileIo.h"
#include "settings/MemoryStore.h"
#include "settings/RegFile.h"
#include "settings/Store.h"

namespace kestrova::settings {

// "HKEY_CURRENT_USER" kept in one file of the registry editor's export form (RegFile.h), written
// back in the form it came in; the other roots give nothing, though what the file holds of them
// is kept, as is every key and value the program does not know. The file is read once, when first
// needed, and replaced whole and atomically whenever a write changes something: at once outside a
// batch, at CommitBatch inside one. When the file is a symbolic link, the file it names is the one
// replaced, so the link stays.
class FileStore : public Store {
 public:
  // `io` is not owned; nullptr means the system.
  explicit FileStore(std::string path = DefaultPath(), FileIo* io = nullptr);
  ~FileStore() override;
  FileStore(const FileStore&) = delete;
  FileStore& operator=(const FileStore&) = delete;

  // $XDG_CONFIG_HOME/Quillmere/Kestrova.reg, or under $HOME/.config without it.
  static std::string DefaultPath();
  // The folder of DefaultPath(), made private as a save makes it when it is missing; other
  // per-user files of the program belong there too.
  static std::string UserFolder();

  const std::string& Path() const { return path_; }

  Status OpenKey(KeyHandle root, const std::string& subKey, std::uint32_t access,
                 KeyHandle& key) override;
  Status CreateKey(KeyHandle root, const std::string& subKey, KeyHandle& key) override;
  Status QueryValue(KeyHandle key, const std::string& name, std::string& value) override;
  Status SetValue(KeyHandle key, const std::string& name, const std::string& value) override;
  Status CloseKey(KeyHandle key) override;

  // Batches nest; only the outermost CommitBatch writes. A failed commit keeps the changes in
  // memory, and the next commit tries again with all of them.
  void BeginBatch() override;
  Status CommitBatch() override;

  // True when the file held something that could not be read (corrupt, truncated, hand-edited
  // beyond the format, too big, not a plain file); such a file is kept as Path() + ".bad"
  // before it is first replaced.
  bool Damaged();

 private:
  void Load();
  // Loads the file when first needed; whether `key` lies where this store keeps anything (any
  // key but the roots other than HKEY_CURRENT_USER).
  bool Holds(KeyHandle key);
  Status Changed();
  Status Commit();
  Status KeepDamagedFile();
  bool WriteAtomically(const std::string& target, std::string_view bytes);
  std::string WriteTarget() const;
  void RemoveStaleTemporaries(const std::string& target);

  std::string path_;
  FileIo& io_;
  MemoryStore memory_;
  RegForm form_ = RegForm::Regedit4;
  bool loaded_ = false;
  bool damaged_ = false;
  bool damagedKept_ = false;
  bool haveRaw_ = false;  // the damaged file's bytes are in raw_
  std::string raw_;
  bool dirty_ = false;  // memory holds changes the file does not
  bool failureTold_ = false;
  int batchDepth_ = 0;
  unsigned tempCounter_ = 0;
};

}  // namespace kestrova::settings
