#include "settings/FileStore.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <optional>
#include <random>
#include <thread>

#include "settings/Persisted.h"
#include "tests/settings/TempConfig.h"

namespace kestrova::settings {
namespace {

using test::ModeOf;
using test::ReadFile;
using test::TempConfig;
using test::Tree;
using test::WriteFile;

const std::string kSub = "Software\\Quillmere\\Kestrova";

// The system's calls, but one kind of them can be made to fail after a number of successes,
// writes can be made short, and the interesting calls are counted.
class FaultyIo : public FileIo {
 public:
  enum class Call { None, OpenRead, OpenTemp, Write, Fsync, Close, Rename, Mkdir };

  void FailAfter(Call call, int successes, int error = EIO) {
    fail_ = call;
    successes_ = successes;
    error_ = error;
  }
  void Heal() { fail_ = Call::None; }

  int Open(const std::string& path, int flags, mode_t mode) override {
    const bool creates = flags & O_CREAT;
    if (!creates && !(flags & O_DIRECTORY)) ++readOpens;
    if (Fails(creates ? Call::OpenTemp : (flags & O_DIRECTORY) ? Call::None : Call::OpenRead)) {
      return -1;
    }
    return FileIo::Open(path, flags, mode);
  }
  ssize_t Write(int fd, const void* buffer, std::size_t size) override {
    if (Fails(Call::Write)) return -1;
    return FileIo::Write(fd, buffer, std::min<std::size_t>(size, maxWrite));
  }
  int Fsync(int fd) override { return Fails(Call::Fsync) ? -1 : FileIo::Fsync(fd); }
  int Close(int fd) override {
    // A failing close still closes, as on Linux.
    const int result = FileIo::Close(fd);
    return Fails(Call::Close) ? -1 : result;
  }
  int Rename(const std::string& from, const std::string& to) override {
    if (Fails(Call::Rename)) return -1;
    ++renames;
    return FileIo::Rename(from, to);
  }
  int Mkdir(const std::string& path, mode_t mode) override {
    return Fails(Call::Mkdir) ? -1 : FileIo::Mkdir(path, mode);
  }

  int renames = 0;
  int readOpens = 0;
  std::size_t maxWrite = static_cast<std::size_t>(-1);

 private:
  bool Fails(Call call) {
    if (call == Call::None || call != fail_) return false;
    if (successes_-- > 0) return false;
    errno = error_;
    return true;
  }

  Call fail_ = Call::None;
  int successes_ = 0;
  int error_ = EIO;
};

Status Put(Store& store, const std::string& name, const std::string& value) {
  KeyHandle key = 0;
  if (const Status status = store.OpenKey(kCurrentUser, kSub, kKeyWrite, key); status) {
    return status;
  }
  const Status status = store.SetValue(key, name, value);
  store.CloseKey(key);
  return status;
}

std::optional<std::string> Get(Store& store, const std::string& name) {
  KeyHandle key = 0;
  if (store.OpenKey(kCurrentUser, kSub, kKeyRead, key) != kSuccess) return std::nullopt;
  std::string value;
  const Status status = store.QueryValue(key, name, value);
  store.CloseKey(key);
  if (status != kSuccess) return std::nullopt;
  return value;
}

Status Create(Store& store, const std::string& subKey = kSub) {
  KeyHandle key = 0;
  const Status status = store.CreateKey(kCurrentUser, subKey, key);
  if (status == kSuccess) store.CloseKey(key);
  return status;
}

TEST(FileStorePath, FollowsXdgConfigHomeElseHome) {
  const char* oldXdg = std::getenv("XDG_CONFIG_HOME");
  const std::optional<std::string> savedXdg = oldXdg ? std::optional<std::string>(oldXdg) : std::nullopt;
  const std::string savedHome = std::getenv("HOME") ? std::getenv("HOME") : "";

  setenv("HOME", "/home/anna", 1);
  setenv("XDG_CONFIG_HOME", "/elsewhere/cfg", 1);
  EXPECT_EQ(FileStore::DefaultPath(), "/elsewhere/cfg/Quillmere/Kestrova.reg");
  setenv("XDG_CONFIG_HOME", "", 1);
  EXPECT_EQ(FileStore::DefaultPath(), "/home/anna/.config/Quillmere/Kestrova.reg");
  setenv("XDG_CONFIG_HOME", "relative/cfg", 1);
  EXPECT_EQ(FileStore::DefaultPath(), "/home/anna/.config/Quillmere/Kestrova.reg");
  unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(FileStore::DefaultPath(), "/home/anna/.config/Quillmere/Kestrova.reg");
  EXPECT_EQ(FileStore().Path(), FileStore::DefaultPath());

  setenv("HOME", savedHome.c_str(), 1);
  if (savedXdg) setenv("XDG_CONFIG_HOME", savedXdg->c_str(), 1);
}

TEST(FileStore, FirstKeyMakesPrivateFoldersAndFileWhateverTheUmask) {
  for (mode_t mask : {mode_t{022}, mode_t{0}}) {
    SCOPED_TRACE(mask);
    TempConfig config;
    const mode_t old = umask(mask);
    // The config folder itself is missing too: every missing level is made.
    setenv("XDG_CONFIG_HOME", (config.Root() / "deep" / "cfg").c_str(), 1);
    FileStore store;
    EXPECT_EQ(Create(store), kSuccess);
    umask(old);

    const auto file = config.Root() / "deep" / "cfg" / "Quillmere" / "Kestrova.reg";
    EXPECT_EQ(store.Path(), file.string());
    EXPECT_EQ(ModeOf(config.Root() / "deep"), 0700u);
    EXPECT_EQ(ModeOf(config.Root() / "deep" / "cfg"), 0700u);
    EXPECT_EQ(ModeOf(file.parent_path()), 0700u);
    EXPECT_EQ(ModeOf(file), 0600u);
    // A key with no values is still a key, and its parents are keys of their own.
    EXPECT_EQ(ReadFile(file),
              "REGEDIT4\n"
              "\n[HKEY_CURRENT_USER\\Software]\n"
              "\n[HKEY_CURRENT_USER\\Software\\Quillmere]\n"
              "\n[HKEY_CURRENT_USER\\Software\\Quillmere\\Kestrova]\n");
    EXPECT_EQ(Tree(file.parent_path()), std::set<std::string>{"Kestrova.reg"});
  }
}

TEST(FileStore, WritesTheTextFormatWithEscapes) {
  TempConfig config;
  FileStore store;
  ASSERT_EQ(Create(store), kSuccess);
  ASSERT_EQ(Put(store, "Euro", "1"), kSuccess);
  ASSERT_EQ(Put(store, "Tooltip", " Belgian \"Francs\" "), kSuccess);
  ASSERT_EQ(Put(store, "Odd\\Name", "a\\b\nc\rd\te\x01" "f\x1B\xE2\x82\xAC"), kSuccess);
  ASSERT_EQ(Put(store, "", "default"), kSuccess);
  ASSERT_EQ(Put(store, "EURO", "2"), kSuccess);  // the same value, its name kept as created
  KeyHandle root = kCurrentUser;
  ASSERT_EQ(store.SetValue(root, "AtRoot", ""), kSuccess);

  EXPECT_EQ(ReadFile(config.File()),
            "REGEDIT4\n"
            "\n[HKEY_CURRENT_USER]\n"
            "\"AtRoot\"=\"\"\n"
            "\n[HKEY_CURRENT_USER\\Software]\n"
            "\n[HKEY_CURRENT_USER\\Software\\Quillmere]\n"
            "\n[HKEY_CURRENT_USER\\Software\\Quillmere\\Kestrova]\n"
            "\"Euro\"=\"2\"\n"
            "\"Tooltip\"=\" Belgian \\\"Francs\\\" \"\n"
            "\"Odd\\\\Name\"=\"a\\\\b\\nc\\rd\\te\\x01f\\x1B\xE2\x82\xAC\"\n"
            "@=\"default\"\n");
}

TEST(FileStore, AnyBytesSurviveTheFile) {
  TempConfig config;
  std::mt19937 random(20020101);
  std::vector<std::pair<std::string, std::string>> written;
  {
    FileStore store;
    ASSERT_EQ(Create(store), kSuccess);
    Batch batch(&store);
    for (int i = 0; i < 200; ++i) {
      std::string name = "v" + std::to_string(i) + ':';
      std::string value(random() % 40, '\0');
      for (char& c : value) c = static_cast<char>(random() % 256);
      name += value.substr(0, 5);
      written.emplace_back(name, value);
      ASSERT_EQ(Put(store, name, value), kSuccess);
    }
  }
  FileStore reader;
  EXPECT_FALSE(reader.Damaged());
  for (const auto& [name, value] : written) EXPECT_EQ(Get(reader, name), value);
}

TEST(FileStore, HandEditedFilesAreReadAsMeant) {
  TempConfig config;
  const std::string edited =
      "\xEF\xBB\xBF" "REGEDIT4\r\n"
      "\r\n"
      "; the values I like\r\n"
      "   [hkey_current_user\\SOFTWARE\\quillmere\\KESTROVA]   \r\n"
      "  \"Euro\"  =   \"12.5\"\r\n"
      "\"Tooltip\"=\" Belgian Francs \"\t\r\n"
      "   \t \r\n"
      "[HKEY_CURRENT_USER\\Software\\Quillmere\\Kestrova\\Sub]\r\n"
      "@=\"deep\"\r\n"
      "[HKEY_CURRENT_USER\\Software\\Quillmere\\Kestrova]\r\n"
      "\"Image\"=\"img\tGER\"\r\n"
      "\"Euro\"=\"13\"";  // no line end at all
  WriteFile(config.File(), edited);

  FileStore store;
  EXPECT_FALSE(store.Damaged());
  EXPECT_EQ(Get(store, "euro"), "13");  // the later line wins
  EXPECT_EQ(Get(store, "Tooltip"), " Belgian Francs ");
  EXPECT_EQ(Get(store, "Image"), "img\tGER");
  KeyHandle sub = 0;
  ASSERT_EQ(store.OpenKey(kCurrentUser, kSub + "\\sub", kKeyRead, sub), kSuccess);
  std::string value;
  EXPECT_EQ(store.QueryValue(sub, "", value), kSuccess);
  EXPECT_EQ(value, "deep");
  store.CloseKey(sub);

  // Unread bytes stay as the user left them until a write replaces the file in our own form.
  EXPECT_EQ(ReadFile(config.File()), edited);
  testing::internal::CaptureStderr();
  ASSERT_EQ(Put(store, "Currency", "40,34"), kSuccess);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(Tree(config.Folder()), std::set<std::string>{"Kestrova.reg"});
  const std::string rewritten = ReadFile(config.File());
  EXPECT_NE(rewritten.find("[HKEY_CURRENT_USER\\SOFTWARE\\quillmere\\KESTROVA]\n"
                           "\"Euro\"=\"13\"\n"),
            std::string::npos);
  FileStore again;
  EXPECT_FALSE(again.Damaged());
  EXPECT_EQ(Get(again, "Tooltip"), " Belgian Francs ");
  EXPECT_EQ(Get(again, "Currency"), "40,34");
}

TEST(FileStore, DamagedFilesAreReadAsFarAsPossibleAndKeptAsBad) {
  static const char kBinary[] = "\x7F" "ELF\x02\x01\x01\0\0\0\0\x03\x00>\x00\n\xFF\xFE";
  const std::string good =
      "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Quillmere\\Kestrova]\n\"Euro\"=\"1\"\n";
  struct Case {
    const char* what;
    std::string bytes;
    bool euroReadable;
  };
  const std::vector<Case> cases = {
      {"cut off in a value", good + "\"Tooltip\"=\" Belgian Fr", true},
      {"unknown escape", good + "\"Tooltip\"=\"a\\qb\"\n", true},
      {"bad hex escape", good + "\"Tooltip\"=\"a\\x4\"\n", true},
      {"text after the value", good + "\"Tooltip\"=\"a\" b\n", true},
      {"no header", good.substr(9), true},
      {"another root", good + "\n[HKEY_LOCAL_MACHINE\\Software]\n\"Tooltip\"=\"m\"\n", true},
      {"a deletion", good + "\n[-HKEY_CURRENT_USER\\Software\\Old]\n", true},
      {"a number value", good + "\"Tooltip\"=dword:00000001\n", true},
      {"an open section", good + "[HKEY_CURRENT_USER\\Software\n\"Tooltip\"=\"x\"\n", true},
      {"a value before any key", "REGEDIT4\n\"Euro\"=\"1\"\n", false},
      {"binary", std::string(kBinary, sizeof kBinary - 1), false},
      {"empty", "", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempConfig config;
    WriteFile(config.File(), c.bytes);
    {
      FileStore store;
      EXPECT_TRUE(store.Damaged());
      EXPECT_EQ(Get(store, "Euro"), c.euroReadable ? std::optional<std::string>("1") : std::nullopt);
      EXPECT_EQ(Get(store, "Tooltip"), std::nullopt);
    }
    // Reading alone leaves the disk as it was.
    EXPECT_EQ(Tree(config.Folder()), std::set<std::string>{"Kestrova.reg"});

    FileStore store;
    testing::internal::CaptureStderr();
    ASSERT_EQ(Create(store), kSuccess);
    ASSERT_EQ(Put(store, "Tooltip", "t"), kSuccess);
    const std::string note = testing::internal::GetCapturedStderr();
    EXPECT_NE(note.find(config.File().string() + ".bad"), std::string::npos) << note;
    EXPECT_EQ(std::count(note.begin(), note.end(), '\n'), 1);
    EXPECT_EQ(ReadFile(config.File().string() + ".bad"), c.bytes);
    EXPECT_EQ(ModeOf(config.File().string() + ".bad"), 0600u);

    // Kept once: later writes leave the kept copy alone and say nothing more.
    WriteFile(config.File().string() + ".bad", "moved on");
    testing::internal::CaptureStderr();
    ASSERT_EQ(Put(store, "Tooltip", "u"), kSuccess);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(ReadFile(config.File().string() + ".bad"), "moved on");

    FileStore after;
    EXPECT_FALSE(after.Damaged());
    EXPECT_EQ(Get(after, "Tooltip"), "u");
    EXPECT_EQ(Get(after, "Euro"), c.euroReadable ? std::optional<std::string>("1") : std::nullopt);
    EXPECT_EQ(Tree(config.Folder()), (std::set<std::string>{"Kestrova.reg", "Kestrova.reg.bad"}));
  }
}

TEST(FileStore, AFileThatCannotBeReadIsMovedAside) {
  TempConfig config;
  WriteFile(config.File(), "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software]\n\"A\"=\"1\"\n");
  FaultyIo io;
  io.FailAfter(FaultyIo::Call::OpenRead, 0);
  FileStore store(config.File().string(), &io);
  EXPECT_TRUE(store.Damaged());
  io.Heal();
  testing::internal::CaptureStderr();
  EXPECT_EQ(Create(store), kSuccess);
  EXPECT_NE(testing::internal::GetCapturedStderr().find(".bad"), std::string::npos);
  EXPECT_EQ(ReadFile(config.File().string() + ".bad"),
            "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software]\n\"A\"=\"1\"\n");
  FileStore after;
  EXPECT_FALSE(after.Damaged());
  KeyHandle software = 0;
  ASSERT_EQ(after.OpenKey(kCurrentUser, "Software", kKeyRead, software), kSuccess);
  std::string value;
  EXPECT_EQ(after.QueryValue(software, "A", value), kFileNotFound);
  after.CloseKey(software);
}

TEST(FileStore, AFailedWriteLeavesTheOldFileAndNoTemporary) {
  using Call = FaultyIo::Call;
  struct Fault {
    const char* what;
    Call call;
    int successes;
    int error;
  };
  const std::vector<Fault> faults = {
      {"temporary not created", Call::OpenTemp, 0, EACCES},
      {"disk full half-way", Call::Write, 3, ENOSPC},
      {"write error", Call::Write, 0, EIO},
      {"fsync", Call::Fsync, 0, EIO},
      {"close", Call::Close, 0, EIO},
      {"rename", Call::Rename, 0, EIO},
  };
  for (const Fault& fault : faults) {
    SCOPED_TRACE(fault.what);
    TempConfig config;
    FaultyIo io;
    io.maxWrite = 100;  // short writes: the rest must follow, not be lost
    {
      FileStore store(config.File().string(), &io);
      ASSERT_EQ(Create(store), kSuccess);
      ASSERT_EQ(Put(store, "Tooltip", std::string(1000, 'o')), kSuccess);
    }
    const std::string before = ReadFile(config.File());

    FileStore store(config.File().string(), &io);
    ASSERT_FALSE(store.Damaged());  // loaded before the fault, which is for the write alone
    io.FailAfter(fault.call, fault.successes, fault.error);
    EXPECT_EQ(Put(store, "Tooltip", std::string(1000, 'n')), kWriteFault);
    EXPECT_EQ(ReadFile(config.File()), before);
    EXPECT_EQ(Tree(config.Folder()), std::set<std::string>{"Kestrova.reg"});
    FileStore onDisk;
    EXPECT_EQ(Get(onDisk, "Tooltip"), std::string(1000, 'o'));

    // The change is not forgotten: the next write, once the disk is well, carries it too.
    io.Heal();
    EXPECT_EQ(Put(store, "Euro", "5"), kSuccess);
    FileStore after;
    EXPECT_EQ(Get(after, "Tooltip"), std::string(1000, 'n'));
    EXPECT_EQ(Get(after, "Euro"), "5");
  }
}

TEST(FileStore, FailuresBeforeTheFileAreReported) {
  TempConfig config;
  FaultyIo io;
  FileStore store(config.File().string(), &io);
  io.FailAfter(FaultyIo::Call::Mkdir, 0, EACCES);
  KeyHandle key = 0;
  EXPECT_EQ(store.CreateKey(kCurrentUser, kSub, key), kWriteFault);
  EXPECT_FALSE(std::filesystem::exists(config.Folder()));
  EXPECT_EQ(store.CloseKey(key), kInvalidHandle);  // no handle is left behind for a failure

  io.Heal();
  EXPECT_EQ(Create(store), kSuccess);
  FileStore after;
  EXPECT_EQ(Put(after, "Euro", "1"), kSuccess);  // the key reached the disk with the retry
}

TEST(FileStore, ABatchIsOneCommit) {
  TempConfig config;
  FaultyIo io;
  FileStore store(config.File().string(), &io);
  ASSERT_EQ(Create(store), kSuccess);
  EXPECT_EQ(io.renames, 1);

  io.renames = 0;
  {
    Batch batch(&store);
    for (std::string_view name : kValueNames) ASSERT_EQ(Put(store, std::string(name), "a"), kSuccess);
    EXPECT_EQ(io.renames, 0);
    EXPECT_EQ(Get(store, "Tooltip"), "a");  // held writes read back at once
    FileStore outsider;
    EXPECT_EQ(Get(outsider, "Tooltip"), std::nullopt);
  }
  EXPECT_EQ(io.renames, 1);
  FileStore after;
  for (std::string_view name : kValueNames) EXPECT_EQ(Get(after, std::string(name)), "a");

  // Outside a batch each change is its own commit, and no change is none.
  io.renames = 0;
  for (std::string_view name : kValueNames) ASSERT_EQ(Put(store, std::string(name), "b"), kSuccess);
  EXPECT_EQ(io.renames, 8);
  io.renames = 0;
  ASSERT_EQ(Put(store, "Euro", "b"), kSuccess);
  ASSERT_EQ(Create(store), kSuccess);
  {
    Batch unchanged(&store);
    ASSERT_EQ(Put(store, "Euro", "b"), kSuccess);
  }
  EXPECT_EQ(io.renames, 0);

  // Nested batches commit with the outermost.
  store.BeginBatch();
  store.BeginBatch();
  ASSERT_EQ(Put(store, "Euro", "c"), kSuccess);
  EXPECT_EQ(store.CommitBatch(), kSuccess);
  EXPECT_EQ(io.renames, 0);
  EXPECT_EQ(store.CommitBatch(), kSuccess);
  EXPECT_EQ(io.renames, 1);
  EXPECT_EQ(store.CommitBatch(), kSuccess);  // unbalanced: nothing to do

  // A batch whose commit fails reports it and leaves the old file.
  const std::string before = ReadFile(config.File());
  store.BeginBatch();
  ASSERT_EQ(Put(store, "Euro", "d"), kSuccess);
  io.FailAfter(FaultyIo::Call::Fsync, 0);
  EXPECT_EQ(store.CommitBatch(), kWriteFault);
  EXPECT_EQ(ReadFile(config.File()), before);
}

TEST(FileStore, ReadsTheFileOnceAndOnlyWhenNeeded) {
  TempConfig config;
  WriteFile(config.File(),
            "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Quillmere\\Kestrova]\n\"Euro\"=\"1\"\n");
  FaultyIo io;
  FileStore store(config.File().string(), &io);
  EXPECT_EQ(io.readOpens, 0);
  for (int i = 0; i < 5; ++i) {
    for (std::string_view name : kValueNames) Get(store, std::string(name));
  }
  EXPECT_EQ(io.readOpens, 1);
  ASSERT_EQ(Put(store, "Top", "1815"), kSuccess);
  EXPECT_EQ(Get(store, "Top"), "1815");
  EXPECT_EQ(io.readOpens, 1);

  // With nothing on disk, reading creates nothing.
  TempConfig empty;
  FileStore fresh;
  EXPECT_EQ(Get(fresh, "Euro"), std::nullopt);
  EXPECT_FALSE(fresh.Damaged());
  EXPECT_TRUE(Tree(empty.Root()).empty());
}

TEST(FileStore, NamesNeverReachTheFileSystem) {
  TempConfig config;
  FileStore store;
  const std::vector<std::string> keys = {"..\\..\\..\\escaped", "\\tmp", "/tmp/kestrova-escape",
                                         "Kestrova.reg.bad", "a/../../b", "]\\[x"};
  for (const auto& key : keys) {
    if (key.front() == '\\') {
      EXPECT_EQ(Create(store, key), kInvalidParameter) << key;
    } else {
      EXPECT_EQ(Create(store, key), kSuccess) << key;
    }
  }
  ASSERT_EQ(Create(store), kSuccess);
  ASSERT_EQ(Put(store, "../../evil", "/etc/passwd"), kSuccess);
  ASSERT_EQ(Put(store, "\n[HKEY_CURRENT_USER\\Injected]\n\"x", "\"\n[HKEY_CURRENT_USER\\Injected]"),
            kSuccess);
  EXPECT_EQ(Tree(config.Root()), (std::set<std::string>{"Quillmere", "Quillmere/Kestrova.reg"}));
  EXPECT_FALSE(std::filesystem::exists("/tmp/kestrova-escape"));

  FileStore after;
  EXPECT_FALSE(after.Damaged());
  KeyHandle key = 0;
  EXPECT_EQ(after.OpenKey(kCurrentUser, "Injected", kKeyRead, key), kFileNotFound);
  EXPECT_EQ(after.OpenKey(kCurrentUser, "]\\[x", kKeyRead, key), kSuccess);
  after.CloseKey(key);
  EXPECT_EQ(Get(after, "../../evil"), "/etc/passwd");
}

TEST(FileStore, OtherRootsHoldNothing) {
  TempConfig config;
  FileStore store;
  KeyHandle key = 0;
  for (KeyHandle root : {kClassesRoot, kLocalMachine, kUsers, kPerformanceData, kCurrentConfig,
                         kDynData}) {
    EXPECT_EQ(store.CreateKey(root, "Software", key), kFileNotFound);
    EXPECT_EQ(store.OpenKey(root, "", kKeyRead, key), kFileNotFound);
    EXPECT_EQ(store.SetValue(root, "Name", "v"), kFileNotFound);
    std::string value;
    EXPECT_EQ(store.QueryValue(root, "Name", value), kFileNotFound);
  }
  EXPECT_TRUE(Tree(config.Root()).empty());
}

// A writer killed at random moments leaves, each time, one whole file: the old or the new.
TEST(FileStore, KillAtAnyMomentLeavesAWholeFile) {
  TempConfig config;
  const std::string a(20000, 'a');
  const std::string b(20000, 'b');
  {
    FileStore store;
    ASSERT_EQ(Create(store), kSuccess);
    ASSERT_EQ(Put(store, "Tooltip", a), kSuccess);
  }
  std::mt19937 random(4711);
  for (int round = 0; round < 20; ++round) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      FileStore store;
      for (int i = 0;; ++i) {
        if (Put(store, "Tooltip", i % 2 ? a : b) != kSuccess) _exit(3);
      }
    }
    std::this_thread::sleep_for(std::chrono::microseconds(500 + random() % 20000));
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the writer failed by itself";

    FileStore reader;
    ASSERT_FALSE(reader.Damaged()) << "round " << round;
    const auto value = Get(reader, "Tooltip");
    ASSERT_TRUE(value == a || value == b) << "round " << round;
  }
  // Killed writers may leave their temporaries, but never in place of the file.
  for (const auto& name : Tree(config.Folder())) {
    EXPECT_TRUE(name == "Kestrova.reg" || name.rfind(".Kestrova.reg.", 0) == 0) << name;
  }
}

}  // namespace
}  // namespace kestrova::settings
