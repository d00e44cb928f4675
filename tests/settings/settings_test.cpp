// The settings layer: one list of cases for every store (the memory store, and the one the user's
// settings live in: the settings file, or the registry on Windows), the Registry module's paths,
// window positions as text; then what only the settings file, or only Windows, has.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>

#include "settings/Persisted.h"
#include "settings/RegFile.h"
#include "settings/Registry.h"
#include "settings/Utf16.h"
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

// Fresh ground for a store; Reopen() gives a new store on it that sees what earlier ones left.
struct MemoryGround {
  Store& Reopen() { return store; }
  MemoryStore store;
};
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

template <typename Ground>
struct StoreContract : testing::Test {
  Ground ground;
};
using Grounds = testing::Types<MemoryGround, PlatformGround>;
TYPED_TEST_SUITE(StoreContract, Grounds);

// Reads give "Error" for what is not there, writes never make the key, and any text comes back,
// through the Registry module as the program goes.
TYPED_TEST(StoreContract, KeysAreMadeWithThoseAboveAndAnyTextComesBackUnderItsName) {
  const std::string path = "HKEY_CURRENT_USER\\" + kSub;
  Registry::SetStore(&this->ground.Reopen());
  Registry::WriteSettingValue(path, "Euro", "1");
  EXPECT_EQ(Registry::ReadSettingValue(path, "Euro"), "Error");
  Registry::CreateSettingsKey(path);
  EXPECT_EQ(Registry::ReadSettingValue(path, "Euro"), "Error");
  for (const std::string& text : kTexts) {  // the empty one as the key's own, nameless value
    Registry::WriteSettingValue(path, text.empty() ? "" : "Tooltip", text);
    Registry::SetStore(&this->ground.Reopen());
    Registry::CreateSettingsKey(path);  // opens what is there
    EXPECT_EQ(Registry::ReadSettingValue(path, text.empty() ? "" : "TOOLTIP"), text);
  }
  Registry::SetStore(nullptr);
}

TEST(RegistryPaths, SplitIntoRootAndSubKeyOrRefusedWithTheMessage) {
  MemoryStore store;
  std::vector<std::string> shown;
  Registry::SetStore(&store);
  Registry::SetMessageCallback([&shown](const std::string& text) { shown.push_back(text); });
  // clang-format off
  const std::tuple<std::string, KeyHandle, std::string> cases[] = {  // refused: the path stays
      {std::string(kSettingsKey), kCurrentUser, "Software\\Quillmere\\Kestrova"},
      {"HKEY_CLASSES_ROOT\\x", kClassesRoot, "x"}, {"HKEY_LOCAL_MACHINE", kLocalMachine, ""},
      {"HKEY_USERS\\\\x", kUsers, "\\x"}, {"HKEY_DYN_DATA\\a\\b", kDynData, "a\\b"},
      {"HKEY_\\Software", 0, "Software"}, {"HKEY_current_user", 0, ""},
      {"HKEY_CURRENT_USER \\x", 0, "x"}, {"HKEY_CURRENT_USER\\", 0, "HKEY_CURRENT_USER\\"},
      {"hkey_current_user\\x", 0, "hkey_current_user\\x"}, {"HKEY", 0, "HKEY"}};
  // clang-format on
  for (const auto& [path, root, subKey] : cases) {
    std::string split = path;
    KeyHandle handle = 7;
    shown.clear();
    Registry::SplitKeyPath(split, handle);
    EXPECT_EQ(std::tie(handle, split), std::tie(root, subKey)) << path;
    const bool refused = subKey == path;
    EXPECT_EQ(shown, std::vector<std::string>(refused, "Incorrect Format:\n\n" + path)) << path;
    Registry::CreateSettingsKey(path);  // every root holds values; an empty name makes no key
    Registry::WriteSettingValue(path, "Euro", path);
    const std::string back = subKey.rfind('\\', 0) == 0 ? "Error" : path;
    EXPECT_EQ(Registry::ReadSettingValue(path, "Euro"), root ? std::optional(back) : std::nullopt);
  }
  Registry::SetStore(nullptr);  // with none, every operation fails quietly
  Registry::CreateSettingsKey(std::string(kSettingsKey));
  EXPECT_EQ(Registry::ReadSettingValue(std::string(kSettingsKey), "Euro"), "Error");
  Registry::SetMessageCallback(nullptr);
}

// Any character crosses to UTF-16 and back; what is not well formed becomes U+FFFD, and a text
// cut inside a pair reads nothing beyond its end.
TEST(Utf16, TextsCrossAndBrokenFormsBecomeTheReplacementCharacter) {
  const std::string text = "A\xC3\x96\xE2\x82\xAC\xEF\xAC\x81\xF0\x9F\x98\x80\xF4\x8F\xBF\xBF";
  EXPECT_EQ(ToUtf16(text), u"A\u00D6\u20AC\uFB01\U0001F600\U0010FFFF");
  EXPECT_EQ(ToUtf8(ToUtf16(text)), text);
  const std::u16string pair = u"A\U0001F600";
  EXPECT_EQ(ToUtf8(std::u16string_view(pair).substr(0, 2)) + ToUtf8(u"\xDE00"),
            "A\xEF\xBF\xBD\xEF\xBF\xBD");
  EXPECT_EQ(ToUtf16("\xC0\xAF\xED\xA0\x80\xF4\x90\x80\x80"), u"\uFFFD\uFFFD\uFFFD");
}

TEST(Persisted, PositionsAsTheLocaleWritesThemAndNothingElseReadBack) {
  EXPECT_EQ(FormatSingle(-1234.568f, ",") + FormatSingle(-0.0f, ","), "-1234,5680");
  EXPECT_EQ(ParseSingle(" -1234,568\t", ","), -1234.568f);
  EXPECT_EQ(FormatSingle(3e38f, "\302\267") + FormatSingle(0.5f, "\302\267"), "3e+380\302\2675");
  for (const char* text : {"Error", "1.5", "1 000", "--1", "1e", "e5", ",", "nan", "1e39"}) {
    EXPECT_EQ(ParseSingle(text, ","), std::nullopt) << text;
  }
}

#ifdef _WIN32

void Regedit(const std::string& arguments) {
  ASSERT_EQ(std::system(("start /wait regedit " + arguments).c_str()), 0) << arguments;
}
// The texts that `form` carries, each named by its place: the editor reads a REGEDIT4 file in
// the ANSI code page, and neither form holds a NUL.
std::vector<std::pair<std::string, std::string>> Carried(RegForm form) {
  std::vector<std::pair<std::string, std::string>> carried;
  for (const std::string& text : kTexts) {
    const bool ascii = std::all_of(text.begin(), text.end(), [](char c) { return c > 0; });
    if (text.find('\0') == text.npos && (ascii || form == RegForm::Version5)) {
      carried.emplace_back(std::to_string(carried.size()), text);
    }
  }
  return carried;
}

// What the file store writes imports into the registry value for value; what the editor exports
// is read with every key and value, and written back the same way it imports whole.
TEST(Windows, RegeditImportsWhatTheFileStoreWritesAndItsExportsGoBackWhole) {
  const std::string file = std::string(std::getenv("TEMP")) + "\\kestrova-test.reg";
  PlatformGround ground;
  MemoryStore written, read;
  Create(written), Create(ground.Reopen(), kSub + "\\Later");
  for (const auto& [name, text] : Carried(RegForm::Regedit4)) Put(written, name, text);
  std::ofstream(file, std::ios::binary) << FormatRegFile(written);
  Regedit("/S " + file);
  for (const auto& [name, text] : Carried(RegForm::Regedit4))
    EXPECT_EQ(Get(*ground.store, name), text);
  for (const auto& [name, text] : Carried(RegForm::Version5)) Put(*ground.store, name, text);
  const DWORD count = 42;
  RegSetKeyValueA(HKEY_CURRENT_USER, kSub.c_str(), "Count", REG_DWORD, &count, sizeof count);

  Regedit("/E " + file + " \"HKEY_CURRENT_USER\\" + kSub + "\"");
  RegForm form{};
  ASSERT_TRUE(ParseRegFile(ReadFile(file), read, &form) && form == RegForm::Version5);
  PlatformGround::Clear();
  std::ofstream(file, std::ios::binary) << FormatRegFile(read, form);
  Regedit("/S " + file);
  for (const auto& [name, text] : Carried(form))
    EXPECT_EQ(Get(read, name) + Get(ground.Reopen(), name), text + text);
  EXPECT_EQ(Get(*ground.store, "Count"), "status 1630");  // kept, though not a text
  KeyHandle later = 0;
  EXPECT_EQ(ground.store->OpenKey(kCurrentUser, kSub + "\\Later", kKeyRead, later), kSuccess);

  // An earlier version wrote through the ANSI calls, in the code page (1252 here, as under Wine).
  const std::string ansi = " \xD6sterreichische Schilling \x80 ";  // without a terminator
  RegSetKeyValueA(HKEY_CURRENT_USER, kSub.c_str(), "Tooltip", REG_SZ, ansi.data(), ansi.size());
  if (GetACP() == 1252) {
    EXPECT_EQ(Get(ground.Reopen(), "Tooltip"), " \xC3\x96sterreichische Schilling \xE2\x82\xAC ");
  }
  using ui::platform::SingleInstance;  // one copy at a time: a named mutex of the session
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

void WriteFile(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

// The call named `failing` fails with EIO once `successes` of its kind went through; writes move
// at most 100 bytes.
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
  std::string failing;
  int successes = 0, renames = 0;
};

struct FileStoreTest : testing::Test {
  FileStoreTest() { ground.io = &io; }
  FaultyIo io;
  PlatformGround ground;
  const std::string file = ground.file, bad = file + ".bad";
};

// A batch is one commit; hand edits are read as meant, and so is what the editor exports
// (KESTROVA_EXPORT, from `regedit /E` under Wine), which goes back in its form.
TEST_F(FileStoreTest, CommitsABatchOnceAndReadsHandEditsAndExportsWhole) {
  FileStore& store = ground.Reopen();
  {
    Batch batch(&store);
    Create(store), Put(store, "Tooltip", "\t\"1\"\\\n"), Put(store, "", std::string(1, '\0'));
  }
  EXPECT_EQ(io.renames, 1);
  const std::string text = ReadFile(file);
  EXPECT_EQ(text.substr(0, 9) + text.substr(text.find(kSub)),
            "REGEDIT4\n" + kSub + "]\n\"Tooltip\"=\"\t\\\"1\\\"\\\\\\n\"\n@=\"\\x00\"\n");
  EXPECT_EQ(Create(store, "a\n[HKEY_CURRENT_USER\\Injected]"), kInvalidParameter);

  const std::string name(250, 'k'), deep = name + '\\' + name + '\\' + name + '\\' + name;
  WriteFile(file, "\xEF\xBB\xBFREGEDIT4\r\n; mine\r\n[hkey_current_user\\" + kSub +
                      "] \r\n \"Euro\" = \"a\\x41\\x4A\\x6a\"\r\n[HKEY_CURRENT_USER\\" + deep +
                      '\\' + deep + "]");
  EXPECT_FALSE(ground.Reopen().Damaged());
  EXPECT_EQ(Get(*ground.store, "euro"), "aAJj");

  WriteFile(file, ReadFile(KESTROVA_EXPORT));
  EXPECT_EQ(Get(ground.Reopen(), "Tooltip"), " \xC3\x96sterreichische Schilling \xE2\x82\xAC ");
  ASSERT_EQ(Put(*ground.store, "Euro", "2"), kSuccess);
  EXPECT_EQ(ReadFile(file).substr(0, 4), std::string("\xFF\xFEW\0", 4));
  EXPECT_EQ(Get(ground.Reopen(), "Count") + Get(*ground.store, "Blob"), "status 1630status 1630");
  EXPECT_EQ(Get(*ground.store, "Sign"), "\xF0\x9F\x98\x80\xE0\xA4\x95");
}

TEST_F(FileStoreTest, DamagedFilesAreReadAsFarAsPossibleAndKeptAsBadOnce) {
  std::string deep, many;  // each key harmless, together gigabytes once every path is written out
  for (int level = 0; level < 500; ++level) deep += "\\" + std::string(30, 'k');
  for (int i = 0; i < 200; ++i) many += "[HKEY_CURRENT_USER\\" + std::to_string(i) + deep + "]\n";
  // The first key, whose paths reach the 1 MiB budget exactly 142 levels down.
  std::string budget = "[HKEY_CURRENT_USER";
  for (int level = 0; level < 228; ++level) budget += "\\" + std::string(100, 'b');
  budget += "\\" + std::string(237, 'b') + "]";
  const std::string tip = kGood + "\"Tooltip\"=\"";
  // clang-format off
  const std::pair<std::string, std::string> cases[] = {
      {"", tip + " Belgian Fr"}, {"", tip + "\\x"}, {"", tip + "a\\q\""}, {"", tip + "a\" b"},
      {"", tip + std::string("\0\"", 2)}, {"", tip + "\"\nx"}, {"", kGood + "\"C\"=dword:x"},
      {"", kGood + "\"C\"=hex(q):0"}, {"", kGood + "[-HKEY_CURRENT_USER\\A]"}, {"", kGood + many},
      {"", "REGEDIT4\n" + budget + kGood.substr(8)}, {"", kGood.substr(9)},
      {"", "REGEDIT4\n\"Euro\"=\"1\""}, {"", ""}, {"open", kGood}, {"read", kGood}, {"fifo", ""},
      {"folder", ""}};
  // clang-format on
  for (const auto& [how, bytes] : cases) {
    SCOPED_TRACE(how + bytes.substr(0, 70));
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
    Create(damaged), Put(damaged, "Tooltip", "t");
    EXPECT_EQ(GetCapturedStderr(),
              "Kestrova: " + file + " could not be read in full; it is kept as " + bad + ".1\n");
    const bool plain = fs::is_regular_file(bad + ".1");
    EXPECT_EQ(plain, how != "fifo" && how != "folder");
    EXPECT_EQ(plain ? ReadFile(bad + ".1") : bytes, bytes);
    EXPECT_EQ(ReadFile(bad) + Get(ground.Reopen(), "Tooltip"), "damaged beforet");
    EXPECT_LT(fs::file_size(file), 1000u);
  }
}

// A dead copy's temporary beside a link's target goes before the save makes its own.
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
    EXPECT_TRUE(fs::is_symlink(file) && ReadFile(file) == kGood);
    EXPECT_EQ(std::distance(fs::directory_iterator(target.parent_path()), {}), 2);
    ground.store->BeginBatch();  // the next commit carries the change
    EXPECT_EQ(ground.store->CommitBatch(), kSuccess);
    EXPECT_EQ(Get(ground.Reopen(), "Tooltip"), "2");
    EXPECT_EQ(Get(*ground.store, "Euro"), std::string(1000, 'n'));
  }
}

#endif

}  // namespace
}  // namespace kestrova::settings::test
