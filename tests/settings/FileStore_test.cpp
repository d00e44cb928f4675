#include "settings/FileStore.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "settings/Persisted.h"

namespace kestrova::settings {
namespace {

namespace fs = std::filesystem;
using Names = std::set<std::string>;
const std::string kSub = "Software\\Quillmere\\Kestrova";
const std::string kGood =
    "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Quillmere\\Kestrova]\n\"Euro\"=\"1\"\n";

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

Names Tree(const fs::path& root) {
  Names names;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    names.insert(fs::relative(entry.path(), root).string());
  }
  return names;
}

unsigned ModeOf(const fs::path& p) { return static_cast<unsigned>(fs::status(p).permissions()); }

// The system's calls, writing at most 100 bytes at a time; the call named `failing` fails with
// EIO once `successes` of its kind have gone through.
struct FaultyIo : FileIo {
  bool Fails(const char* call) { return failing == call && successes-- <= 0 && (errno = EIO) != 0; }
  int Open(const std::string& path, int flags, mode_t mode) override {
    const bool read = !(flags & (O_CREAT | O_DIRECTORY));
    readOpens += read;
    if (Fails(read ? "open-read" : (flags & O_CREAT) ? "open-temp" : "open-folder")) return -1;
    return FileIo::Open(path, flags, mode);
  }
  ssize_t Write(int fd, const void* data, std::size_t size) override {
    return Fails("write") ? -1 : FileIo::Write(fd, data, std::min<std::size_t>(size, 100));
  }
  int Fsync(int fd) override { return Fails("fsync") ? -1 : FileIo::Fsync(fd); }
  // A failing close still closes.
  int Close(int fd) override { return FileIo::Close(fd) == 0 && !Fails("close") ? 0 : -1; }
  int Rename(const std::string& from, const std::string& to) override {
    if (Fails("rename")) return -1;
    ++renames;
    return FileIo::Rename(from, to);
  }

  std::string failing;
  int successes = 0, renames = 0, readOpens = 0;
};

Status Create(Store& store, const std::string& subKey = kSub) {
  KeyHandle key = 0;
  const Status status = store.CreateKey(kCurrentUser, subKey, key);
  store.CloseKey(key);
  return status;
}

Status Put(Store& store, const std::string& name, const std::string& value) {
  KeyHandle key = 0;
  Status status = store.OpenKey(kCurrentUser, kSub, kKeyWrite, key);
  if (status == kSuccess) status = store.SetValue(key, name, value);
  store.CloseKey(key);
  return status;
}

template <typename AnyStore>
std::optional<std::string> Get(AnyStore&& store, const std::string& name) {
  KeyHandle key = 0;
  std::string value;
  Status status = store.OpenKey(kCurrentUser, kSub, kKeyRead, key);
  if (status == kSuccess) status = store.QueryValue(key, name, value);
  store.CloseKey(key);
  return status == kSuccess ? std::optional(value) : std::nullopt;
}

// What `step` writes to stderr.
template <typename Step>
std::string Stderr(Step&& step) {
  testing::internal::CaptureStderr();
  step();
  return testing::internal::GetCapturedStderr();
}

// A fresh $XDG_CONFIG_HOME for each test, and a store on its file that goes through `io`.
class FileStoreTest : public ::testing::Test {
 protected:
  FileStoreTest() { setenv("XDG_CONFIG_HOME", root.c_str(), 1); }
  ~FileStoreTest() override { fs::remove_all(root); }

  fs::path root = [] {
    std::string pattern = (fs::temp_directory_path() / "kestrova-settings-XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    return fs::path(pattern);
  }();
  fs::path folder = root / "Quillmere";
  fs::path file = folder / "Kestrova.reg";
  std::string bad = file.string() + ".bad";
  FaultyIo io;
  FileStore store{file.string(), &io};
};

TEST(FileStorePath, FollowsAnAbsoluteXdgConfigHomeElseHome) {
  const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
  setenv("HOME", "/home/anna", 1);
  for (const char* xdg : {"", "relative/cfg"}) {
    setenv("XDG_CONFIG_HOME", xdg, 1);
    EXPECT_EQ(FileStore::DefaultPath(), "/home/anna/.config/Quillmere/Kestrova.reg") << xdg;
  }
  setenv("XDG_CONFIG_HOME", "/elsewhere/cfg", 1);
  EXPECT_EQ(FileStore().Path(), "/elsewhere/cfg/Quillmere/Kestrova.reg");
  unsetenv("XDG_CONFIG_HOME");
  setenv("HOME", home.c_str(), 1);
}

TEST_F(FileStoreTest, PrivateFoldersAndFileInTheTextFormatThatKeepsAnyValue) {
  const fs::path deep = root / "deep" / "Quillmere" / "Kestrova.reg";
  setenv("XDG_CONFIG_HOME", (root / "deep").c_str(), 1);
  const mode_t old = umask(0);
  FileStore made;
  const Status status = Create(made);
  umask(old);
  ASSERT_EQ(status, kSuccess);
  EXPECT_EQ(ModeOf(root / "deep"), 0700u);
  EXPECT_EQ(ModeOf(deep.parent_path()), 0700u);
  EXPECT_EQ(ModeOf(deep), 0600u);
  const std::string keys =
      "\n[HKEY_CURRENT_USER\\Software]\n\n[HKEY_CURRENT_USER\\Software\\Quillmere]\n"
      "\n[HKEY_CURRENT_USER\\Software\\Quillmere\\Kestrova]\n";
  EXPECT_EQ(ReadFile(deep), "REGEDIT4\n" + keys);

  ASSERT_EQ(Create(made, "Software\\Other"), kSuccess);
  ASSERT_EQ(Put(made, "Euro", "1"), kSuccess);
  ASSERT_EQ(Put(made, "Tooltip", " Belgian \"Francs\" "), kSuccess);
  ASSERT_EQ(Put(made, "Odd\\Name",
                "a\\b\nc\rd\te\x01"
                "f\x1B\xE2\x82\xAC"),
            kSuccess);
  ASSERT_EQ(Put(made, "", "default"), kSuccess);
  ASSERT_EQ(Put(made, "EURO", "2"), kSuccess);
  ASSERT_EQ(made.SetValue(kCurrentUser, "AtRoot", ""), kSuccess);
  EXPECT_EQ(ReadFile(deep), "REGEDIT4\n\n[HKEY_CURRENT_USER]\n\"AtRoot\"=\"\"\n" + keys +
                                "\"Euro\"=\"2\"\n\"Tooltip\"=\" Belgian \\\"Francs\\\" \"\n"
                                "\"Odd\\\\Name\"=\"a\\\\b\\nc\\rd\te\x01"
                                "f\x1B\xE2\x82\xAC\"\n@=\"default\"\n"
                                "\n[HKEY_CURRENT_USER\\Software\\Other]\n");

  // Awkward values come back exactly.
  const std::string values[] = {" Belgian Francs ",
                                "",
                                "say \"cheese\"",
                                "C:\\Temp\\new",
                                "two\nlines\r\n",
                                "\tTab\t\x01\x1F\x7F",
                                std::string("nul\0in", 6),
                                "\xC3\x96sterreich \xE2\x82\xAC",
                                "\xFF\xFE",
                                "\"=\"\n[HKEY_CURRENT_USER\\Other]",
                                std::string(10000, 'x') + "end"};
  for (const std::string& value : values) {
    ASSERT_EQ(Put(made, "Tooltip", value), kSuccess);
    FileStore fresh;
    EXPECT_EQ(Get(fresh, "Tooltip"), value) << value.substr(0, 20);
    EXPECT_FALSE(fresh.Damaged());
  }
}

TEST_F(FileStoreTest, HandEditedFilesAreReadOnceAndAsMeant) {
  const std::string edited =
      "\xEF\xBB\xBF"
      "REGEDIT4\r\n\r\n; the values I like\r\n"
      "   [hkey_current_user\\SOFTWARE\\quillmere\\KESTROVA]   \r\n"
      "  \"Euro\"  =   \"12.5\"\r\n\"Tooltip\"=\" Belgian Francs \"\t\r\n@=\"img\tGER\"\r\n"
      "\"Euro\"=\"13\"";  // the later line wins, with no line end at all
  WriteFile(file, edited);
  EXPECT_FALSE(store.Damaged());
  EXPECT_EQ(Get(store, "euro"), "13");
  EXPECT_EQ(Get(store, "Tooltip"), " Belgian Francs ");
  EXPECT_EQ(Get(store, ""), "img\tGER");
  EXPECT_EQ(ReadFile(file), edited);  // reading writes nothing
  ASSERT_EQ(Put(store, "Currency", "40,34"), kSuccess);
  EXPECT_EQ(Get(store, "Currency"), "40,34");
  EXPECT_EQ(io.readOpens, 1);
}

TEST_F(FileStoreTest, DamagedFilesAreReadAsFarAsPossibleAndKeptAsBad) {
  const std::string& good = kGood;
  std::string deep = "[HKEY_CURRENT_USER";
  for (int level = 0; level < 100000; ++level) deep += "\\d";
  // Each line alone is harmless; together their keys would write gigabytes.
  std::string many;
  for (int line = 0; line < 200; ++line) {
    many += "[HKEY_CURRENT_USER\\" + std::to_string(line);
    for (int level = 0; level < 500; ++level) many += "\\" + std::string(30, 'k');
    many += "]\n";
  }
  const struct {
    std::string bytes;
    bool euroKept;
  } cases[] = {
      {good + "\"Tooltip\"=\" Belgian Fr", true},  // cut off
      {good + "\"Tooltip\"=\"a\\qb\"\n", true},
      {good + "\"Tooltip\"=\"a\" b\n", true},
      {good + "[-HKEY_CURRENT_USER\\Software]\n\"Tooltip\"=\"m\"\n", true},
      {good.substr(9), true},  // no header
      {"REGEDIT4\n\"Euro\"=\"1\"\n", false},
      {std::string("\x7F"
                   "ELF\x02\0\0\n\xFF\xFE",
                   10),
       false},
      {"", false},
      {good + deep + "]\n", true},
      {good + many, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bytes.substr(0, 60));
    fs::remove_all(folder);
    WriteFile(file, c.bytes);
    FileStore damaged;
    EXPECT_TRUE(damaged.Damaged());
    EXPECT_EQ(Get(damaged, "Euro"), c.euroKept ? std::optional<std::string>("1") : std::nullopt);
    EXPECT_EQ(Get(damaged, "Tooltip"), std::nullopt);

    const std::string note = Stderr([&] {
      ASSERT_EQ(Create(damaged), kSuccess);
      ASSERT_EQ(Put(damaged, "Tooltip", "t"), kSuccess);
    });
    EXPECT_EQ(std::count(note.begin(), note.end(), '\n'), 1) << note;
    EXPECT_NE(note.find(bad), std::string::npos) << note;
    EXPECT_EQ(ReadFile(bad), c.bytes);
    EXPECT_EQ(ModeOf(bad), 0600u);
    EXPECT_LT(fs::file_size(file), std::uintmax_t{2} << 20);

    // Kept once: later writes leave the copy alone.
    WriteFile(bad, "moved on");
    ASSERT_EQ(Put(damaged, "Tooltip", "u"), kSuccess);
    EXPECT_EQ(ReadFile(bad), "moved on");
    EXPECT_FALSE(FileStore().Damaged());
  }
}

// The name a save's temporary for `target` gets in the process `pid`.
std::string TemporaryOf(const fs::path& target, pid_t pid) {
  return "." + target.filename().string() + "." + std::to_string(pid) + ".3.tmp";
}

pid_t DeadPid() {
  const pid_t dead = fork();
  if (dead == 0) _exit(0);
  waitpid(dead, nullptr, 0);
  return dead;
}

TEST_F(FileStoreTest, AnOlderDamagedCopyStaysAndTheDeadCopiesTemporariesGo) {
  WriteFile(file, "damaged again");
  WriteFile(bad, "damaged before");
  const std::string running = TemporaryOf(file, 1);  // pid 1 never ends
  WriteFile(folder / TemporaryOf(file, DeadPid()), "half");
  WriteFile(folder / running, "half");
  EXPECT_TRUE(store.Damaged());
  EXPECT_NE(Stderr([&] { ASSERT_EQ(Create(store), kSuccess); }).find(bad + ".1"),
            std::string::npos);
  EXPECT_EQ(ReadFile(bad), "damaged before");
  EXPECT_EQ(ReadFile(bad + ".1"), "damaged again");
  EXPECT_EQ(Tree(folder),
            (Names{"Kestrova.reg", "Kestrova.reg.bad", "Kestrova.reg.bad.1", running}));
}

// A save killed after making its temporary must find no other left beside it, so the clean-up
// comes before the save's own write; and it looks where a linked file's temporaries go.
TEST_F(FileStoreTest, DeadCopiesTemporariesGoBeforeTheSaveEvenBehindALink) {
  const fs::path elsewhere = root / "dotfiles" / "kestrova.reg";
  const fs::path here = folder / TemporaryOf(file, DeadPid());
  const fs::path there = elsewhere.parent_path() / TemporaryOf(elsewhere, DeadPid());
  WriteFile(elsewhere, kGood);
  WriteFile(here, "half");
  WriteFile(there, "half");
  fs::create_symlink("../dotfiles/kestrova.reg", file);
  io.failing = "rename";
  Stderr([&] { EXPECT_EQ(Put(store, "Euro", "2"), kWriteFault); });
  EXPECT_FALSE(fs::exists(here));
  EXPECT_EQ(Tree(root / "dotfiles"), Names{"kestrova.reg"});
  EXPECT_EQ(ReadFile(elsewhere), kGood);
}

TEST_F(FileStoreTest, WhatCannotBeReadIsNotWaitedOnAndMovedAside) {
  const std::string bytes = "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software]\n\"A\"=\"1\"\n";
  for (const fs::file_type type :
       {fs::file_type::fifo, fs::file_type::directory, fs::file_type::regular}) {
    fs::remove_all(folder);
    fs::create_directories(folder);
    const bool plain = type == fs::file_type::regular;
    if (plain) {
      WriteFile(file, bytes);  // but it fails to open
    } else {
      ASSERT_EQ(
          type == fs::file_type::fifo ? mkfifo(file.c_str(), 0600) : mkdir(file.c_str(), 0700), 0);
    }
    FileStore damaged(file.string(), &io);
    io.failing = plain ? "open-read" : "";
    EXPECT_TRUE(damaged.Damaged());  // a pipe with no writer would block a plain open for good
    io.failing.clear();
    Stderr([&] { ASSERT_EQ(Create(damaged), kSuccess); });
    EXPECT_EQ(fs::status(bad).type(), type);
    EXPECT_EQ(plain ? ReadFile(bad) : bytes, bytes);
    EXPECT_FALSE(FileStore().Damaged());
  }
}

TEST_F(FileStoreTest, ALinkedFileIsReplacedBehindItsLink) {
  const fs::path elsewhere = root / "dotfiles" / "kestrova.reg";
  WriteFile(elsewhere, kGood);
  fs::create_directories(folder);
  fs::create_symlink("../dotfiles/kestrova.reg", file);
  EXPECT_EQ(Get(store, "Euro"), "1");
  ASSERT_EQ(Put(store, "Euro", "2"), kSuccess);
  EXPECT_TRUE(fs::is_symlink(file));
  EXPECT_EQ(Get(FileStore(elsewhere.string()), "Euro"), "2");
  EXPECT_EQ(Tree(root / "dotfiles"), Names{"kestrova.reg"});
}

TEST_F(FileStoreTest, AFailedSaveLeavesTheOldFileIsToldOnceAndIsKeptForTheNextCommit) {
  io.failing = "open-temp";
  KeyHandle key = 0;
  EXPECT_EQ(store.CreateKey(kCurrentUser, kSub, key), kWriteFault);
  EXPECT_EQ(store.CloseKey(key), kInvalidHandle);  // no key is handed out for a failure

  const std::pair<const char*, int> faults[] = {
      {"open-temp", 0}, {"write", 3}, {"fsync", 0}, {"close", 0}, {"rename", 0}};
  for (const auto& [call, successes] : faults) {
    SCOPED_TRACE(call);
    fs::remove_all(folder);
    io.failing.clear();
    FileStore writer(file.string(), &io);
    ASSERT_EQ(Create(writer), kSuccess);
    ASSERT_EQ(Put(writer, "Tooltip", std::string(1000, 'o')), kSuccess);
    const std::string before = ReadFile(file);

    io.failing = call;
    io.successes = successes;
    // Told once: a close makes no window, and the next commits would only repeat it.
    EXPECT_EQ(
        Stderr([&] {
          EXPECT_EQ(Put(writer, "Tooltip", std::string(1000, 'n')), kWriteFault);
          EXPECT_EQ(Put(writer, "Euro", "2"), kWriteFault);
        }),
        "Kestrova: the settings could not be saved to " + file.string() + ": Input/output error\n");
    EXPECT_EQ(ReadFile(file), before);
    EXPECT_EQ(Tree(folder), Names{"Kestrova.reg"});

    // The change is not lost: the next commit, once the disk is well, carries it.
    io.failing.clear();
    writer.BeginBatch();
    EXPECT_EQ(writer.CommitBatch(), kSuccess);
    EXPECT_EQ(Get(FileStore(), "Tooltip"), std::string(1000, 'n'));
    EXPECT_EQ(Get(FileStore(), "Euro"), "2");
  }
}

TEST_F(FileStoreTest, ABatchIsOneCommit) {
  auto commits = [&] { return std::exchange(io.renames, 0); };
  ASSERT_EQ(Create(store), kSuccess);
  EXPECT_EQ(commits(), 1);
  {
    Batch batch(&store);
    for (auto name : kValueNames) ASSERT_EQ(Put(store, std::string(name), "a"), kSuccess);
    EXPECT_EQ(Get(store, "Tooltip"), "a");  // held writes read back at once
    {
      Batch nested(&store);
      ASSERT_EQ(Put(store, "Euro", "b"), kSuccess);
    }
    EXPECT_EQ(commits(), 0);
  }
  EXPECT_EQ(commits(), 1);
  EXPECT_EQ(Get(FileStore(), "Background"), "a");
  EXPECT_EQ(Get(FileStore(), "Euro"), "b");

  // Outside a batch each change commits by itself, and no change commits nothing.
  ASSERT_EQ(Put(store, "Euro", "c"), kSuccess);
  ASSERT_EQ(Put(store, "Top", "c"), kSuccess);
  EXPECT_EQ(commits(), 2);
  ASSERT_EQ(Put(store, "EURO", "c"), kSuccess);
  ASSERT_EQ(Create(store), kSuccess);
  EXPECT_EQ(commits(), 0);

  store.BeginBatch();
  ASSERT_EQ(Put(store, "Euro", "d"), kSuccess);
  io.failing = "fsync";
  EXPECT_EQ(store.CommitBatch(), kWriteFault);
}

TEST_F(FileStoreTest, NothingButTheOneFileIsTouched) {
  EXPECT_EQ(Get(store, "Euro"), std::nullopt);
  EXPECT_FALSE(store.Damaged());
  KeyHandle key = 0;
  std::string value;
  EXPECT_EQ(store.CreateKey(kLocalMachine, "Software", key), kFileNotFound);
  EXPECT_EQ(store.OpenKey(kUsers, "", kKeyRead, key), kFileNotFound);
  EXPECT_EQ(store.SetValue(kDynData, "Name", "v"), kFileNotFound);
  EXPECT_EQ(store.QueryValue(kClassesRoot, "Name", value), kFileNotFound);
  EXPECT_TRUE(Tree(root).empty());

  // Names of keys and values are text in the one file, whatever they look like.
  for (const char* name : {"..\\..\\escaped", "/tmp/kestrova-escape", "a/../../b", "]\\[x"}) {
    EXPECT_EQ(Create(store, name), kSuccess) << name;
  }
  EXPECT_EQ(Create(store, "x\n[HKEY_CURRENT_USER\\Injected]"), kInvalidParameter);
  ASSERT_EQ(Create(store), kSuccess);
  ASSERT_EQ(Put(store, "../../evil", "/etc/passwd"), kSuccess);
  ASSERT_EQ(Put(store, "\n[HKEY_CURRENT_USER\\Injected]\n\"x", "\"\n[HKEY_CURRENT_USER\\Injected]"),
            kSuccess);
  EXPECT_EQ(Tree(root), (Names{"Quillmere", "Quillmere/Kestrova.reg"}));

  FileStore reread;
  EXPECT_FALSE(reread.Damaged());
  EXPECT_EQ(reread.OpenKey(kCurrentUser, "Injected", kKeyRead, key), kFileNotFound);
  EXPECT_EQ(reread.OpenKey(kCurrentUser, "]\\[x", kKeyRead, key), kSuccess);
  EXPECT_EQ(Get(reread, "../../evil"), "/etc/passwd");
}

}  // namespace
}  // namespace kestrova::settings
