// The store the user's settings live in (the settings file, or the registry on Windows) through
// the Registry module, window positions as text; then what only the file, or only Windows, has.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>

#include "settings/Persisted.h"
#include "settings/Registry.h"
#ifdef _WIN32
#include <windows.h>

#include "settings/WindowsRegistry.h"
#include "ui/SingleInstance.h"
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <filesystem>

#include "settings/FileStore.h"
#endif

namespace kestrova::settings::test {
namespace {

const std::string kSub = "Software\\Quillmere\\Kestrova Tests";
// clang-format off
const std::vector<std::string> kTexts = {
    " Belgian Francs ", "", "say \"cheese\"", "C:\\Temp\\new", "two\nlines\r\n",
    "\tTab\x01\x1F\x7F",
    std::string("nul\0in", 6), "\xC3\x96sterreich \xE2\x82\xAC \xF0\x9F\x98\x80\xE0\xA4\x95",
    "\"=\"\n[HKEY_CURRENT_USER\\Other]", std::string(10000, 'x')};
// clang-format on

// Fresh ground for the store the user's settings live in; Reopen() gives a new store on it that
// sees what earlier ones left.
#ifdef _WIN32
struct PlatformGround {  // the registry
  PlatformGround() { Clear(); }
  ~PlatformGround() { Clear(); }
  static void Clear() { RegDeleteTreeA(HKEY_CURRENT_USER, kSub.c_str()); }
  Store& Reopen() { return *(store = std::make_unique<WindowsRegistry>()); }
  std::unique_ptr<Store> store;
};
#else
struct PlatformGround {  // the settings file
  ~PlatformGround() { std::filesystem::remove_all(root); }
  FileStore& Reopen() { return *(store = std::make_unique<FileStore>(file.string(), io)); }
  std::string pattern = std::filesystem::temp_directory_path() / "kestrova-XXXXXX";
  std::filesystem::path root = mkdtemp(pattern.data()), file = root / "Quillmere/Kestrova.reg";
  FileIo* io = nullptr;
  std::unique_ptr<FileStore> store;
};
#endif

// Reads give "Error" for what is not there, writes never make the key, and any text comes back,
// through the Registry module as the program goes.
TEST(UserStore, KeysAreMadeWithThoseAboveAndAnyTextComesBackUnderItsName) {
  PlatformGround ground;
  const std::string path = "HKEY_CURRENT_USER\\" + kSub;
  Registry::SetStore(&ground.Reopen());
  Registry::WriteSettingValue(path, "Euro", "1");
  EXPECT_EQ(Registry::ReadSettingValue(path, "Euro"), "Error");
  Registry::CreateSettingsKey(path);
  EXPECT_EQ(Registry::ReadSettingValue(path, "Euro"), "Error");
  for (const std::string& text : kTexts) {  // the empty one as the key's own, nameless value
    Registry::WriteSettingValue(path, text.empty() ? "" : "Tooltip", text);
    Registry::SetStore(&ground.Reopen());
    Registry::CreateSettingsKey(path);  // opens what is there
    EXPECT_EQ(Registry::ReadSettingValue(path, text.empty() ? "" : "TOOLTIP"), text);
  }
  Registry::SetStore(nullptr);
}

// At most seven digits, the locale's separator, an exponent for what needs one.
TEST(Persisted, PositionsAsTheLocaleWritesThemAndNothingElseReadBack) {
  const std::tuple<float, const char*, const char*> cases[] = {
      {-1234.568f, ",", "-1234,568"}, {-0.0f, ",", "0"},           {0.5f, "\302\267", "0\302\2675"},
      {3e38f, ".", "3e+38"},          {-1.5e-5f, ".", "-1.5e-05"}, {1815.0f, ",", "1815"}};
  for (const auto& [value, separator, text] : cases) {
    EXPECT_EQ(FormatSingle(value, separator), text) << value;
    EXPECT_EQ(ParseSingle(text, separator), value) << text;
  }
  EXPECT_EQ(ParseSingle(" +1E1\t", ","), 10.0f);
  for (const char* text :
       {"Error", "1.5", "1 000", "--1", "1e", "e5", ",", "nan", "1e39", "1e-50", "1e+"}) {
    EXPECT_EQ(ParseSingle(text, ","), std::nullopt) << text;
  }
}

#ifdef _WIN32

// One copy at a time: a named mutex of the session.
TEST(Windows, OnlyTheFirstCopyTakesTheMutexUntilItLetsGo) {
  using ui::platform::SingleInstance;
  const std::string name = SingleInstance::DefaultLockPath() + ".test";
  SingleInstance first, second, nowhere;
  EXPECT_EQ(first.Acquire(name), SingleInstance::State::First);
  EXPECT_EQ(second.Acquire(name), SingleInstance::State::AlreadyRunning);
  first.Release();
  EXPECT_EQ(second.Acquire(name), SingleInstance::State::First);
  EXPECT_EQ(nowhere.Acquire("Nowhere\\Kestrova"), SingleInstance::State::Failed);
}

#else

namespace fs = std::filesystem;
using testing::internal::CaptureStderr, testing::internal::GetCapturedStderr;
const std::string kGood = "REGEDIT4\n[HKEY_CURRENT_USER\\" + kSub + "]\n\"Euro\"=\"1\"\n";
constexpr std::size_t kMiB = 1 << 20;

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
// The value's text, or the status that reading it gave.
std::string Get(Store& store, const std::string& name) {
  KeyHandle key = 0;
  std::string value;
  Status status = store.OpenKey(kCurrentUser, kSub, kKeyRead, key);
  if (status == kSuccess) status = store.QueryValue(key, name, value);
  store.CloseKey(key);
  return status == kSuccess ? value : "status " + std::to_string(status);
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}
void WriteFile(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}
// A first key whose path and those of the keys above it, each written out in full, come to the
// 1 MiB budget exactly.
std::string KeyOfTheBudget() {
  std::string key = "[HKEY_CURRENT_USER";
  for (int level = 0; level < 94; ++level) key += "\\" + std::string(229, 'b');
  return key + "\\" + std::string(100, 'b') + "]\n";
}

// The call named `failing` fails with EIO once `successes` of its kind went through; writes move
// at most 100 bytes. A "race" is a folder that another copy makes just before this one.
struct FaultyIo : FileIo {
  bool Fails(const char* call) { return failing == call && successes-- <= 0 && (errno = EIO); }
  int Open(const std::string& p, int f, mode_t m) override {
    return Fails(f & O_CREAT ? "open-temp" : "open") ? -1 : FileIo::Open(p, f, m);
  }
  ssize_t Read(int f, void* p, size_t n) override {
    return Fails("read") ? -1 : FileIo::Read(f, p, n);
  }
  ssize_t Write(int f, const void* p, size_t n) override {
    return Fails("write") ? -1 : FileIo::Write(f, p, std::min<size_t>(n, 100));
  }
  int Fsync(int f) override { return Fails("fsync") ? -1 : FileIo::Fsync(f); }
  int Close(int f) override { return FileIo::Close(f) == 0 && !Fails("close") ? 0 : -1; }
  int Rename(const std::string& a, const std::string& b) override {
    if (Fails("rename")) return -1;
    ++renames;
    const int done = FileIo::Rename(a, b);
    if (done == 0) errno = EIO;  // a call that succeeds says nothing of errno
    return done;
  }
  int Mkdir(const std::string& p, mode_t m) override {
    if (!Fails(failing == "race" ? "race" : "mkdir")) return FileIo::Mkdir(p, m);
    if (failing == "race" && FileIo::Mkdir(p, m) == 0) errno = EEXIST;
    return -1;
  }
  std::string failing;
  int successes = 0, renames = 0;
};

struct FileStoreTest : testing::Test {
  FileStoreTest() { ground.io = &io; }
  FaultyIo io;
  PlatformGround ground;
  const std::string file = ground.file, bad = file + ".bad";
};

// A batch is one commit, in the form the editor imports.
TEST_F(FileStoreTest, CommitsABatchOnceInTheEditorsForm) {
  FileStore& store = ground.Reopen();
  {
    Batch batch(&store);
    Create(store);
    Put(store, "Tooltip", "\t\"1\"\\\n");
    Put(store, "", std::string(1, '\0'));
  }
  EXPECT_EQ(io.renames, 1);
  EXPECT_EQ(ReadFile(file),
            "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software]\n\n[HKEY_CURRENT_USER\\Software\\Quillmere]"
            "\n\n[HKEY_CURRENT_USER\\" +
                kSub + "]\n\"Tooltip\"=\"\t\\\"1\\\"\\\\\\n\"\n@=\"\\x00\"\n");
}

// Hand edits are read as meant, and so is what the editor exports (KESTROVA_EXPORT, from
// `regedit /E` under Wine), which goes back in its form; a file may reach the limits exactly.
TEST_F(FileStoreTest, ReadsHandEditsExportsAndFilesAtTheLimitsWhole) {
  WriteFile(file,
            "\xEF\xBB\xBFREGEDIT4\r\n; mine\r\n[hkey_current_user\\" + kSub +
                "] \r\n \"Euro\" = \"a\\x41\\x4A\\x6a\"\r\n\"Multi\"=hex(7):41,00,\\\r\n  00,00");
  EXPECT_FALSE(ground.Reopen().Damaged());
  EXPECT_EQ(Get(*ground.store, "euro"), "aAJj");
  for (const std::string& limit : {"REGEDIT4\n" + KeyOfTheBudget(),
                                   kGood + ';' + std::string(16 * kMiB - kGood.size() - 1, 'x')}) {
    WriteFile(file, limit);
    EXPECT_FALSE(ground.Reopen().Damaged()) << limit.size() << " bytes";
  }

  WriteFile(file, ReadFile(KESTROVA_EXPORT));
  EXPECT_EQ(Get(ground.Reopen(), "Tooltip"), " \xC3\x96sterreichische Schilling \xE2\x82\xAC ");
  ASSERT_EQ(Put(*ground.store, "Euro", "2"), kSuccess);
  EXPECT_EQ(ReadFile(file).substr(0, 4), std::string("\xFF\xFEW\0", 4));
  EXPECT_EQ(Get(ground.Reopen(), "Count"), "status 1630");
  EXPECT_EQ(Get(*ground.store, "Blob"), "status 1630");
  EXPECT_EQ(Get(*ground.store, "Sign"), "\xF0\x9F\x98\x80\xE0\xA4\x95");
}

TEST_F(FileStoreTest, DamagedFilesAreReadAsFarAsPossibleAndKeptAsBadOnce) {
  // The first key, whose paths reach the 1 MiB budget exactly 142 levels down.
  std::string budget = "[HKEY_CURRENT_USER";
  for (int level = 0; level < 228; ++level) budget += "\\" + std::string(100, 'b');
  budget += "\\" + std::string(237, 'b') + "]";
  const std::string tip = kGood + "\"Tooltip\"=\"";
  // clang-format off
  const std::pair<std::string, std::string> cases[] = {
      {"", tip + " Belgian Fr"}, {"", tip + "\\x"}, {"", tip + "\\x4\""}, {"", tip + "a\\q\""},
      {"", tip + "a\" b"}, {"", tip + std::string("\0\"", 2)}, {"", tip + "\"\nx"},
      {"", kGood + "\"C\""}, {"", kGood + "\"C\":\"1\""}, {"", kGood + "@"},
      {"", kGood + "\"C\"="}, {"", kGood + "\"C"}, {"", kGood + "\"C\"=dword:x"},
      {"", kGood + "\"C\"=dword:123456789"}, {"", kGood + "\"C\"=hex(q):0"},
      {"", kGood + "\"C\"=hex():0"}, {"", kGood + "\"C\"=hex:0,\\"}, {"", kGood + "[]"},
      {"", kGood + "[HKEY_CURRENT_USER\\A"}, {"", kGood + "[-HKEY_CURRENT_USER\\A]"},
      {"", "REGEDIT4\n" + budget + kGood.substr(8)}, {"", kGood + KeyOfTheBudget()},
      {"", kGood + std::string(16 * kMiB - kGood.size() + 1, ';')}, {"", kGood.substr(9)},
      {"", "REGEDIT4\n\"Euro\"=\"1\""}, {"", ""}, {"open", kGood}, {"read", kGood}, {"fifo", ""},
      {"folder", ""}};
  // clang-format on
  for (const auto& [how, bytes] : cases) {
    SCOPED_TRACE(how + bytes.substr(bytes.size() - std::min<std::size_t>(bytes.size(), 60)));
    fs::remove_all(ground.root);
    WriteFile(bad, "damaged before");
    if (how == "fifo") mkfifo(file.c_str(), 0600);
    if (how == "folder") fs::create_directory(file);
    if (!fs::exists(file)) WriteFile(file, bytes);
    io.failing = how;
    FileStore& damaged = ground.Reopen();
    EXPECT_TRUE(damaged.Damaged());
    io.failing.clear();
    const bool keyed = how.empty() && bytes.find("[HKEY") != bytes.npos;
    EXPECT_EQ(Get(damaged, "Euro"), keyed ? "1" : "status 2");
    CaptureStderr();
    Create(damaged);
    Put(damaged, "Tooltip", "t");
    EXPECT_EQ(GetCapturedStderr(),
              "Kestrova: " + file + " could not be read in full; it is kept as " + bad + ".1\n");
    const bool plain = fs::is_regular_file(bad + ".1");
    EXPECT_EQ(plain, how != "fifo" && how != "folder");
    EXPECT_TRUE(!plain || ReadFile(bad + ".1") == bytes);
    EXPECT_EQ(ReadFile(bad), "damaged before");
    EXPECT_EQ(Get(ground.Reopen(), "Tooltip"), "t");
    EXPECT_LT(fs::file_size(file), 1000u);
  }
}

// A dead copy's temporary beside a link's target goes before the save makes its own; the link
// stays a link.
TEST_F(FileStoreTest, AFailedSaveLeavesTheOldFileIsToldOnceAndIsKeptForTheNextCommit) {
  const fs::path target = ground.root / "dotfiles/kestrova.reg";
  for (const auto& [call, successes] :
       {std::pair{"open-temp", 0}, {"write", 3}, {"fsync", 0}, {"close", 0}, {"rename", 0}}) {
    SCOPED_TRACE(call);
    fs::remove_all(ground.root);
    for (const pid_t pid : {fork(), 1}) {  // pid 1 never ends
      if (pid == 0) _exit(0);
      waitpid(pid, nullptr, 0);
      WriteFile(target.parent_path() / (".kestrova.reg." + std::to_string(pid) + ".3.tmp"), "");
    }
    WriteFile(target, kGood);
    fs::create_directories(ground.file.parent_path());
    fs::create_symlink("../dotfiles/kestrova.reg", file);
    io.failing = call;
    io.successes = successes;
    CaptureStderr();
    EXPECT_EQ(Put(ground.Reopen(), "Euro", std::string(1000, 'n')), kWriteFault);
    EXPECT_EQ(Put(*ground.store, "Tooltip", "2"), kWriteFault);
    EXPECT_EQ(GetCapturedStderr(),
              "Kestrova: the settings could not be saved to " + file + ": Input/output error\n");
    io.failing.clear();
    EXPECT_TRUE(fs::is_symlink(file));
    EXPECT_EQ(ReadFile(file), kGood);
    EXPECT_EQ(std::distance(fs::directory_iterator(target.parent_path()), {}), 2);
    ground.store->BeginBatch();  // the next commit carries the change
    EXPECT_EQ(ground.store->CommitBatch(), kSuccess);
    EXPECT_EQ(Get(ground.Reopen(), "Tooltip"), "2");
    EXPECT_EQ(Get(*ground.store, "Euro"), std::string(1000, 'n'));
    EXPECT_TRUE(fs::is_symlink(file));
  }
}

// A save makes the folder and those above it; one that another copy made meanwhile will do.
TEST_F(FileStoreTest, ASaveMakesTheFolderOrSaysWhyNot) {
  for (const auto& [call, successes, status] : {std::tuple{"mkdir", 0, kWriteFault},
                                                {"mkdir", 1, kWriteFault},
                                                {"mkdir", 2, kWriteFault},
                                                {"race", 2, kSuccess}}) {
    SCOPED_TRACE(call + std::to_string(successes));
    fs::remove_all(ground.root);  // the first try at the folder finds nothing above it
    io.failing = call;
    io.successes = successes;
    CaptureStderr();
    EXPECT_EQ(Create(ground.Reopen()), status);
    const std::string told = "Kestrova: the settings could not be saved to " + file + ": ";
    EXPECT_EQ(GetCapturedStderr(), status ? told + "Input/output error\n" : "");
    EXPECT_EQ(fs::exists(file), !status);
  }
}

#endif

}  // namespace
}  // namespace kestrova::settings::test
