#include "launcher/LinkStore.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <thread>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

#include "ChildProcess.h"
#include "launcher/CommaText.h"
#include "launcher/LaunchPlan.h"

namespace fs = std::filesystem;

namespace corvane {
namespace {

using Names = std::vector<std::string>;

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream all;
  all << in.rdbuf();
  return all.str();
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

// A fresh folder per test, removed afterwards (read-only marks included).
class StoreFolder {
 public:
  StoreFolder() {
    std::random_device seed;
    m_dir = fs::temp_directory_path() /
            ("corvane-store-" + std::to_string(seed()) + std::to_string(seed()));
    fs::create_directories(m_dir);
  }
  ~StoreFolder() {
    std::error_code ignored;
    for (auto& entry : fs::recursive_directory_iterator(m_dir, ignored))
      fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::permissions(m_dir, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(m_dir, ignored);
  }
  std::string Path(const std::string& name) const { return (m_dir / name).string(); }
  const fs::path& Dir() const { return m_dir; }

 private:
  fs::path m_dir;
};

std::string Message(const std::function<void()>& action) {
  try {
    action();
  } catch (const LinkStoreError& e) {
    return e.what();
  }
  return "(no error)";
}

TEST(LinkStore, MissingFileReadsAsEmptyAndReadsCreateNothing) {
  StoreFolder folder;
  const std::string path = folder.Path("Launch.ini");
  LinkStore store;
  store.Open(path);
  Names list{"old"};
  store.ReadSections(list);
  EXPECT_TRUE(list.empty());
  EXPECT_EQ(store.ReadString("GRAPHIC", "File", ""), "");
  EXPECT_EQ(store.ReadInteger("GRAPHIC", "Left", 0), 0);
  EXPECT_TRUE(store.ReadCommaText("Editor", "RunWith").empty());
  store.DeleteKey("Editor", "RunWith");
  store.EraseSection("Editor");
  store.UpdateFile();
  store.Close();
  EXPECT_FALSE(fs::exists(path));
}

TEST(LinkStore, WritesReachTheFileAndReadBackAfterReopening) {
  StoreFolder folder;
  const std::string path = folder.Path("Launch.ini");
  {
    LinkStore store;
    store.Open(path);
    store.WriteString("Editor", "Link", "D:\\Tools\\editor.exe");
    store.WriteString("Editor", "Param", "");
    store.WriteCommaText("Editor", "RunWith", {"Mail", "My Notes"});
    store.WriteString("GRAPHIC", "File", "D:\\Tools\\star.png");
    store.WriteInteger("GRAPHIC", "Left", 1210);
    store.WriteInteger("GRAPHIC", "Top", -38);
    store.Close();
  }
  EXPECT_EQ(ReadBytes(path),
            "[Editor]\r\nLink=D:\\Tools\\editor.exe\r\nParam=\r\nRunWith=Mail,\"My Notes\"\r\n\r\n"
            "[GRAPHIC]\r\nFile=D:\\Tools\\star.png\r\nLeft=1210\r\nTop=-38\r\n");
  EXPECT_FALSE(fs::exists(path + ".tmp"));
  LinkStore store;
  store.Open(path);
  EXPECT_EQ(store.ReadCommaText("editor", "runwith"), (Names{"Mail", "My Notes"}));
  EXPECT_EQ(store.ReadInteger("graphic", "top", 0), -38);
  Names sections;
  store.ReadSections(sections);
  EXPECT_EQ(sections, (Names{"Editor", "GRAPHIC"}));
}

TEST(LinkStore, SingleNameWithBlanksSurvivesAsARunWithList) {
  StoreFolder folder;
  LinkStore store;
  store.Open(folder.Path("Launch.ini"));
  store.WriteCommaText("Editor", "RunWith", {"My Notes"});
  EXPECT_EQ(store.ReadCommaText("Editor", "RunWith"), (Names{"My Notes"}));
  store.WriteCommaText("Editor", "RunWith", {"A B", "C D"});
  EXPECT_EQ(store.ReadCommaText("Editor", "RunWith"), (Names{"A B", "C D"}));
}

TEST(LinkStore, GraphicInAnyCaseIsThePictureSectionNotAMenuLink) {
  StoreFolder folder;
  LinkStore store;
  store.Open(folder.Path("Launch.ini"));
  store.WriteString("GRAPHIC", "File", "pic.png");
  store.WriteString("Mail", "Link", "mail.exe");
  store.WriteString("graphic", "Link", "oops.exe");  // a menu link saved as "graphic"
  Names sections;
  store.ReadSections(sections);
  EXPECT_EQ(sections, (Names{"GRAPHIC", "Mail"}));
  EXPECT_EQ(store.ReadString("GRAPHIC", "Link", ""), "oops.exe");
  EXPECT_EQ(store.ReadString("GRAPHIC", "File", ""), "pic.png");
  EXPECT_EQ(MenuLinkNames(sections), (Names{"Mail"}));
}

TEST(MenuLinkNames, DropsOnlyTheFirstGraphicInAnyCase) {
  EXPECT_EQ(MenuLinkNames({"a", "Graphic", "b", "GRAPHIC", "GRAPHICS"}),
            (Names{"a", "b", "GRAPHIC", "GRAPHICS"}));
  EXPECT_EQ(MenuLinkNames({}), Names{});
  EXPECT_EQ(MenuLinkNames({"x", "y"}), (Names{"x", "y"}));
}

TEST(LinkStore, MissingRunWithTargetReadsEmptyLinkAndParam) {
  StoreFolder folder;
  LinkStore store;
  store.Open(folder.Path("Launch.ini"));
  store.WriteString("Editor", "RunWith", "Ghost");
  for (const std::string& name : store.ReadCommaText("Editor", "RunWith")) {
    EXPECT_EQ(store.ReadString(name, "Link", ""), "");
    EXPECT_EQ(store.ReadString(name, "Param", ""), "");
  }
}

TEST(LinkStore, AnotherStoreObjectSeesEachWriteAtOnce) {
  StoreFolder folder;
  const std::string path = folder.Path("Launch.ini");
  LinkStore writer, reader;
  writer.Open(path);
  reader.Open(path);
  EXPECT_EQ(reader.ReadString("S", "Link", "none"), "none");
  // Same size, many times within one clock tick: the cheap check must still
  // notice every change.
  for (int i = 0; i < 100; ++i) {
    std::string value(8, static_cast<char>('a' + i % 26));
    writer.WriteString("S", "Link", value);
    ASSERT_EQ(reader.ReadString("S", "Link", ""), value) << "round " << i;
  }
  writer.EraseSection("S");
  EXPECT_EQ(reader.ReadString("S", "Link", "gone"), "gone");
}

TEST(LinkStore, ChangesApplyToTheCurrentFileNotAStaleCopy) {
  StoreFolder folder;
  const std::string path = folder.Path("Launch.ini");
  LinkStore first, second;
  first.Open(path);
  second.Open(path);
  first.WriteString("A", "Link", "a");
  EXPECT_EQ(second.ReadString("A", "Link", ""), "a");  // second now has a parsed copy
  first.WriteString("B", "Link", "b");
  second.WriteString("C", "Link", "c");
  Names sections;
  first.ReadSections(sections);
  EXPECT_EQ(sections, (Names{"A", "B", "C"}));
}

TEST(LinkStore, EditsMadeOutsideTheStoreAreSeen) {
  StoreFolder folder;
  const std::string path = folder.Path("Launch.ini");
  LinkStore store;
  store.Open(path);
  store.WriteString("A", "Link", "a");
  EXPECT_EQ(store.ReadString("A", "Link", ""), "a");
  WriteBytes(path, "\xEF\xBB\xBF[Hand]\nLink = \"edited.exe\" \n");
  EXPECT_EQ(store.ReadString("hand", "link", ""), "edited.exe");
  store.WriteString("Hand", "Param", "/x");
  EXPECT_EQ(ReadBytes(path), "\xEF\xBB\xBF[Hand]\r\nLink = \"edited.exe\" \r\nParam=/x\r\n");
  fs::remove(path);
  EXPECT_EQ(store.ReadString("Hand", "Link", "gone"), "gone");
}

TEST(LinkStore, AFileMovedAwayAndReplacedIsNeitherListedNorWrittenBack) {
  StoreFolder folder;
  const std::string path = folder.Path("Launch.ini");
  LinkStore store;
  store.Open(path);
  store.WriteString("Old", "Link", "o");
  EXPECT_EQ(store.ReadString("Old", "Link", ""), "o");
  fs::rename(path, path + ".bak");
  WriteBytes(path, "[New]\r\nLink=n\r\n");
  Names sections;
  store.ReadSections(sections);
  EXPECT_EQ(sections, (Names{"New"}));
  fs::rename(path, path + ".bak2");
  WriteBytes(path, "[Newer]\r\nLink=n\r\n");
  store.WriteString("Mine", "Link", "m");
  EXPECT_EQ(ReadBytes(path), "[Newer]\r\nLink=n\r\n\r\n[Mine]\r\nLink=m\r\n");
}

TEST(LinkStore, NamesAndValuesTheFormatCannotHoldAreRefusedAndNothingIsWritten) {
  StoreFolder folder;
  const std::string path = folder.Path("Launch.ini");
  LinkStore store;
  store.Open(path);
  store.WriteString("Keep", "Link", "k");
  const std::string before = ReadBytes(path);
  EXPECT_NE(Message([&] { store.WriteString("a]b", "Link", "x"); }).find("\"]\""),
            std::string::npos);
  EXPECT_NE(Message([&] { store.WriteString("Mail", "a=b", "x"); }).find("\"=\""),
            std::string::npos);
  EXPECT_NE(Message([&] { store.WriteString("Mail\r\n[Evil]", "Link", "x"); }).find("line break"),
            std::string::npos);
  EXPECT_NE(
      Message([&] { store.WriteString("Mail", "Link", "x\n[Evil]\nLink=y"); }).find("line break"),
      std::string::npos);
  EXPECT_NE(Message([&] { store.WriteString(" Mail", "Link", "x"); }).find("blank"),
            std::string::npos);
  EXPECT_NE(Message([&] { store.WriteInteger("Mail ", "Left", 1); }).find("blank"),
            std::string::npos);
  EXPECT_NE(
      Message([&] { store.WriteString(std::string_view("M\0l", 3), "Link", "x"); }).find("NUL"),
      std::string::npos);
  EXPECT_EQ(ReadBytes(path), before);
}

TEST(LinkStore, ClosedStoreRefusesUse) {
  LinkStore store;
  EXPECT_FALSE(store.IsOpen());
  EXPECT_EQ(Message([&] { store.ReadString("A", "B", ""); }), "The link store is not open");
  EXPECT_EQ(Message([&] { store.WriteString("A", "B", "c"); }), "The link store is not open");
  Names list;
  EXPECT_EQ(Message([&] { store.ReadSections(list); }), "The link store is not open");
  store.Close();
  store.UpdateFile();
}

// The system lets root write anywhere; probing tells whether a refusal can
// be arranged with permissions on this machine at all.
bool FolderRefusesNewFiles(const fs::path& dir) {
  std::ofstream probe(dir / "probe", std::ios::binary);
  if (!probe) return true;
  probe.close();
  std::error_code ignored;
  fs::remove(dir / "probe", ignored);
  return false;
}

TEST(LinkStoreRefusal, ReadOnlyFileGivesTheErrorAndStaysUntouched) {
  StoreFolder folder;
  const std::string path = folder.Path("Launch.ini");
  LinkStore store;
  store.Open(path);
  store.WriteString("Mail", "Link", "mail.exe");
  store.WriteString("Mail", "RunWith", "x");
  const std::string before = ReadBytes(path);
  fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);

  const std::string expected = "Unable to write to " + path;
  EXPECT_EQ(Message([&] { store.WriteString("Mail", "Link", "other.exe"); }), expected);
  EXPECT_EQ(Message([&] { store.WriteString("New", "Link", "n"); }), expected);
  EXPECT_EQ(Message([&] { store.EraseSection("Mail"); }), expected);
  EXPECT_EQ(Message([&] { store.WriteInteger("GRAPHIC", "Left", 5); }), expected);
  // Deleting a key and flushing report nothing, but do not write either.
  store.DeleteKey("Mail", "RunWith");
  store.UpdateFile();
  EXPECT_EQ(ReadBytes(path), before);
  EXPECT_EQ(store.ReadString("Mail", "Link", ""), "mail.exe");
  // Nothing to change is no write, so no refusal either.
  store.EraseSection("Missing");
  store.WriteString("Mail", "Link", "mail.exe");
  EXPECT_FALSE(fs::exists(path + ".tmp"));
}

TEST(LinkStoreRefusal, FolderThatCannotHoldFilesGivesTheError) {
  StoreFolder folder;
  // A file where the folder should be refuses everyone, root included.
  WriteBytes(folder.Path("notafolder"), "data");
  const std::string path = folder.Path("notafolder") + "/Launch.ini";
  LinkStore store;
  store.Open(path);
  EXPECT_EQ(store.ReadString("A", "Link", "none"), "none");
  // The message names the folder as the cause, on a line after the path.
  const std::string folderCause =
      "The folder " + folder.Path("notafolder") + "/ cannot be written to";
  for (const std::string& message : {Message([&] { store.WriteString("A", "Link", "a"); }),
                                     Message([&] { store.EraseSection("A"); })}) {
    EXPECT_EQ(message.rfind("Unable to write to " + path + "\n", 0), 0u) << message;
    EXPECT_NE(message.find(folderCause), std::string::npos) << message;
  }
  EXPECT_EQ(ReadBytes(folder.Path("notafolder")), "data");
}

TEST(LinkStoreRefusal, ReadOnlyFolderGivesTheErrorAndKeepsTheFile) {
  StoreFolder folder;
  fs::path dir = folder.Dir() / "ro";
  fs::create_directories(dir);
  const std::string path = (dir / "Launch.ini").string();
  WriteBytes(path, "[Mail]\r\nLink=mail.exe\r\n");
  // The file refuses too: a writable store in such a folder is rewritten in
  // place (LinkStoreInPlace below).
  fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec);
  if (!FolderRefusesNewFiles(dir))
    GTEST_SKIP() << "this user may create files in a read-only folder (root, or a platform without "
                    "folder permissions)";
  LinkStore store;
  store.Open(path);
  std::string message = Message([&] { store.WriteString("Mail", "Link", "x"); });
  EXPECT_EQ(message.rfind("Unable to write to " + path + "\n", 0), 0u) << message;
  EXPECT_NE(message.find("The folder " + (dir / "").string() + " cannot be written to"),
            std::string::npos);
  EXPECT_EQ(ReadBytes(path), "[Mail]\r\nLink=mail.exe\r\n");
}

TEST(LinkStoreRefusal, UnreadableFileIsNeverReplaced) {
  StoreFolder folder;
  // A folder in the store's place cannot be read as a file by anyone.
  const std::string path = folder.Path("Launch.ini");
  fs::create_directories(fs::path(path) / "inside");
  LinkStore store;
  store.Open(path);
  Names list{"x"};
  store.ReadSections(list);
  EXPECT_TRUE(list.empty());
  EXPECT_EQ(Message([&] { store.WriteString("A", "Link", "a"); }), "Unable to write to " + path);
  EXPECT_TRUE(fs::is_directory(fs::path(path) / "inside"));
}

// The names in a folder, sorted.
Names Listing(const fs::path& dir) {
  Names names;
  for (const auto& entry : fs::directory_iterator(dir)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(LinkStoreLeftovers, NothingButTheStoreStaysAndAKilledWritersFileGoesAtOpenAndAtTheNextWrite) {
  StoreFolder folder;
  const std::string path = folder.Path("Launch.ini");
  {
    LinkStore store;
    store.Open(path);
    store.WriteString("Mail", "Link", "mail.exe");
    store.WriteStrings("GRAPHIC", {{"Left", "10"}, {"Top", "20"}});
    store.EraseSection("Mail");
    EXPECT_EQ(Listing(folder.Dir()), Names{"Launch.ini"}) << "while the store is open";
  }
  EXPECT_EQ(Listing(folder.Dir()), Names{"Launch.ini"});
  // A writer killed between writing its temporary file and renaming it.
  WriteBytes(path + ".tmp", "[Half]\r\nLink=");
  LinkStore store;
  store.Open(path);
  EXPECT_EQ(Listing(folder.Dir()), Names{"Launch.ini"}) << "removed at open";
  WriteBytes(path + ".tmp", "[Half]\r\nLink=");
  store.WriteInteger("GRAPHIC", "Left", 11);
  EXPECT_EQ(Listing(folder.Dir()), Names{"Launch.ini"}) << "removed by the next write";
  EXPECT_EQ(store.ReadInteger("GRAPHIC", "Top", 0), 20);
}

TEST(LinkStore, SeveralKeysWrittenAsOneChangeAreAllOrNothing) {
  StoreFolder folder;
  const std::string path = folder.Path("Launch.ini");
  LinkStore store;
  store.Open(path);
  store.WriteStrings("GRAPHIC", {{"Left", "10"}, {"Top", "20"}});
  EXPECT_EQ(ReadBytes(path), "[GRAPHIC]\r\nLeft=10\r\nTop=20\r\n");
  // One bad value refuses the whole change.
  EXPECT_NE(Message([&] { store.WriteStrings("GRAPHIC", {{"Left", "30"}, {"Top", "4\n0"}}); })
                .find("line break"),
            std::string::npos);
  EXPECT_EQ(ReadBytes(path), "[GRAPHIC]\r\nLeft=10\r\nTop=20\r\n");
}

// Links are made, and told apart from files, only on the Linux side: under
// Wine the program's own tests cover them with links made there.
#ifdef _WIN32
#define SKIP_WITHOUT_LINKS() GTEST_SKIP() << "links are tested with the program under Wine"
#else
#define SKIP_WITHOUT_LINKS() (void)0
#endif

TEST(LinkStoreLinks, ALinkedStoreStaysALinkAndItsTargetTakesEveryWrite) {
  SKIP_WITHOUT_LINKS();
  struct Case {
    const char* name;
    bool hard;
    bool targetExists;
  } cases[] = {
      {"symbolic link into another folder", false, true},
      {"symbolic link to a file not made yet", false, false},
      {"second hard link", true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    StoreFolder folder;
    fs::create_directories(folder.Dir() / "app");
    fs::create_directories(folder.Dir() / "synced");
    const fs::path target = folder.Dir() / "synced" / "Launch.ini";
    const fs::path store = folder.Dir() / "app" / "Launch.ini";
    if (c.targetExists) WriteBytes(target.string(), "[Old]\r\nLink=old.exe\r\n");
    if (c.hard)
      fs::create_hard_link(target, store);
    else
      fs::create_symlink(target, store);
    {
      LinkStore linked;
      linked.Open(store.string());
      linked.WriteString("Mail", "Link", "mail.exe");
      linked.WriteStrings("GRAPHIC", {{"Left", "5"}, {"Top", "6"}});
      linked.EraseSection("Old");
      EXPECT_EQ(linked.ReadString("Mail", "Link", ""), "mail.exe");
    }
    EXPECT_EQ(fs::is_symlink(store), !c.hard);
    if (c.hard) {
      EXPECT_EQ(fs::hard_link_count(store), 2u);
    }
    LinkStore direct;
    direct.Open(target.string());
    Names sections;
    direct.ReadSections(sections);
    EXPECT_EQ(sections, (Names{"Mail", "GRAPHIC"}));
    EXPECT_EQ(direct.ReadString("Mail", "Link", ""), "mail.exe");
    EXPECT_EQ(direct.ReadInteger("GRAPHIC", "Top", 0), 6);
    EXPECT_EQ(Listing(folder.Dir() / "app"), Names{"Launch.ini"});
    EXPECT_EQ(Listing(folder.Dir() / "synced"), Names{"Launch.ini"});
  }
}

TEST(LinkStoreLinks, ALinkIntoAMissingFolderIsRefusedAndKept) {
  SKIP_WITHOUT_LINKS();
  StoreFolder folder;
  const fs::path store = folder.Dir() / "Launch.ini";
  const fs::path target = folder.Dir() / "unplugged" / "Launch.ini";
  fs::create_symlink(target, store);
  LinkStore linked;
  linked.Open(store.string());
  EXPECT_EQ(linked.ReadString("Mail", "Link", "none"), "none");
  std::string message = Message([&] { linked.WriteString("Mail", "Link", "mail.exe"); });
  EXPECT_EQ(message.rfind("Unable to write to " + store.string() + "\n", 0), 0u) << message;
  EXPECT_NE(message.find("cannot be reached"), std::string::npos) << message;
  EXPECT_TRUE(fs::is_symlink(store));
  EXPECT_EQ(fs::read_symlink(store), target);
  EXPECT_EQ(Listing(folder.Dir()), Names{"Launch.ini"});
}

// Makes a folder refuse new entries while it lives: by its mode, or for
// root (whom modes do not stop) by the immutable flag where the file
// system has one.
class NoNewFilesIn {
 public:
  explicit NoNewFilesIn(fs::path dir) : m_dir(std::move(dir)) {
#ifndef _WIN32
    fs::permissions(m_dir, fs::perms::owner_read | fs::perms::owner_exec);
    if (!FolderRefusesNewFiles(m_dir))
      m_immutable = std::system(("chattr +i '" + m_dir.string() + "' 2>/dev/null").c_str()) == 0;
#endif
  }
  ~NoNewFilesIn() {
#ifndef _WIN32
    if (m_immutable) (void)std::system(("chattr -i '" + m_dir.string() + "'").c_str());
    fs::permissions(m_dir, fs::perms::owner_all, fs::perm_options::add);
#endif
  }
  NoNewFilesIn(const NoNewFilesIn&) = delete;
  NoNewFilesIn& operator=(const NoNewFilesIn&) = delete;
  bool Holds() const { return FolderRefusesNewFiles(m_dir); }

 private:
  fs::path m_dir;
  bool m_immutable = false;
};

TEST(LinkStoreInPlace, AFolderThatTakesNoNewFileHasAWritableStoreRewrittenInPlace) {
  StoreFolder folder;
  const fs::path dir = folder.Dir() / "shared";
  fs::create_directories(dir);
  const std::string path = (dir / "Launch.ini").string();
  WriteBytes(path, "[Mail]\r\nLink=mail.exe\r\nParam=/check\r\n\r\n[Notes]\r\nLink=notes.exe\r\n");
  NoNewFilesIn locked(dir);
  if (!locked.Holds()) GTEST_SKIP() << "no folder refusing new files can be made here";
  LinkStore store, other;
  store.Open(path);
  other.Open(path);
  EXPECT_EQ(other.ReadString("Notes", "Link", ""), "notes.exe");
  // Longer, shorter and erased: each is the whole new file, nothing more.
  store.WriteString("Mail", "Param", "/check /all /quiet");
  EXPECT_EQ(ReadBytes(path),
            "[Mail]\r\nLink=mail.exe\r\nParam=/check /all /quiet\r\n\r\n[Notes]\r\nLink=notes.exe\r\n");
  store.EraseSection("Mail");
  EXPECT_EQ(ReadBytes(path), "[Notes]\r\nLink=notes.exe\r\n");
  EXPECT_EQ(other.ReadString("Mail", "Link", "gone"), "gone") << "another reader sees the change";
  store.WriteStrings("GRAPHIC", {{"Left", "7"}, {"Top", "8"}});
  EXPECT_EQ(other.ReadInteger("GRAPHIC", "Top", 0), 8);
  EXPECT_EQ(Listing(dir), Names{"Launch.ini"});

  // A store that refuses as well: the folder is what the user can change.
  fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  std::string message = Message([&] { store.WriteString("Notes", "Link", "x"); });
  EXPECT_NE(message.find("The folder " + (dir / "").string() + " cannot be written to"),
            std::string::npos)
      << message;
  fs::permissions(path, fs::perms::owner_write, fs::perm_options::add);
  // No store at all: there is nothing to rewrite, and no file can be made.
  LinkStore missing;
  missing.Open((dir / "Other.ini").string());
  message = Message([&] { missing.WriteString("A", "Link", "a"); });
  EXPECT_NE(message.find("cannot be written to"), std::string::npos) << message;
  EXPECT_EQ(Listing(dir), Names{"Launch.ini"});
}

#ifndef _WIN32
// A writer that keeps the lock (hung, say) makes a change wait a bounded
// time and end as busy with its own message: never a hang, nothing written.
TEST(LinkStoreRefusal, ALockHeldTooLongMakesAChangeBusyNotAHang) {
  StoreFolder folder;
  const std::string path = folder.Path("Launch.ini");
  LinkStore store;
  store.Open(path);
  store.WriteString("Mail", "Link", "mail.exe");
  const std::string before = ReadBytes(path);
  // The POSIX store locks the folder of the file it writes.
  int held = open(folder.Dir().c_str(), O_RDONLY | O_DIRECTORY);
  ASSERT_GE(held, 0);
  ASSERT_EQ(flock(held, LOCK_EX), 0);
  store.SetWaitLimit(200);
  auto start = std::chrono::steady_clock::now();
  std::string message = Message([&] { store.WriteString("Mail", "Link", "other.exe"); });
  auto waited = std::chrono::steady_clock::now() - start;
  close(held);
  EXPECT_EQ(message.rfind("Unable to write to " + path + "\n", 0), 0u) << message;
  EXPECT_NE(message.find("Another program is using this file"), std::string::npos) << message;
  EXPECT_LT(waited, std::chrono::seconds(2));
  EXPECT_EQ(ReadBytes(path), before);
  store.WriteString("Mail", "Link", "other.exe");  // once let go, the change goes through
  EXPECT_EQ(store.ReadString("Mail", "Link", ""), "other.exe");
}
#endif

// ---- Two processes -------------------------------------------------------

constexpr int kCrashSections = 40;

std::string CrashValue(int section, int round) {
  return std::string(static_cast<size_t>(100 + (round * 7 + section) % 50),
                     static_cast<char>('a' + round % 26));
}

// Rewrites the sections of the store at args[0] in an endless loop, each
// change one replacement of the whole file, until it is killed.
CORVANE_TEST_CHILD(StoreWriterLoop) {
  LinkStore store;
  store.Open(args.at(0));
  for (int round = 1;; ++round) {
    for (int s = 0; s < kCrashSections; s += 3)
      store.WriteString("S" + std::to_string(s), "Link", CrashValue(s, round));
    store.WriteInteger("Count", "Rounds", store.ReadInteger("Count", "Rounds", 0) + 1);
  }
}

// Every section present and every value one the writer could have written
// whole: a torn or truncated file fails one of these.
void ExpectCompleteStore(const std::string& path) {
  const std::string bytes = ReadBytes(path);
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
  IniDocument doc = IniDocument::Parse(bytes);
  EXPECT_EQ(doc.Serialize(), bytes);
  Names sections;
  doc.ReadSections(sections);
  ASSERT_EQ(sections.size(), static_cast<size_t>(kCrashSections + 1));
  for (int s = 0; s < kCrashSections; ++s) {
    std::string value = doc.ReadString("S" + std::to_string(s), "Link", "");
    ASSERT_GE(value.size(), 100u) << "section " << s;
    ASSERT_LT(value.size(), 150u) << "section " << s;
    EXPECT_EQ(value.find_first_not_of(value[0]), std::string::npos) << "section " << s;
  }
}

TEST(LinkStoreCrash, KilledWriterLeavesTheOldOrTheNewFile) {
  StoreFolder folder;
  const std::string path = folder.Path("Launch.ini");
  {
    LinkStore store;
    store.Open(path);
    for (int s = 0; s < kCrashSections; ++s)
      store.WriteString("S" + std::to_string(s), "Link", CrashValue(s, 0));
    store.WriteInteger("Count", "Rounds", 0);
  }
  std::mt19937 random(12345);
  std::uniform_int_distribution<int> pause(20, 250);
  // The rounds a writer finished, as the file says now.
  auto rounds = [&] { return IniDocument::Parse(ReadBytes(path)).ReadInteger("Count", "Rounds", 0); };
  for (int kill = 0; kill < 12; ++kill) {
    corvane::testing::ChildProcess child("StoreWriterLoop", {path});
    std::this_thread::sleep_for(std::chrono::milliseconds(pause(random)));
    // On a busy machine the random pauses may all end before any writer's
    // first round: the last writer lives until it has finished one, so the
    // kills are known to land among real writes.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (kill == 11 && rounds() == 0 && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    child.Kill();
    ExpectCompleteStore(path);
    if (::testing::Test::HasFatalFailure()) return;
  }
  LinkStore store;
  store.Open(path);
  // The children did write (else the test proved nothing), and the store
  // still takes changes after their deaths, stale lock and temp file included.
  EXPECT_GT(store.ReadInteger("Count", "Rounds", 0), 0);
  store.WriteString("S0", "Link", CrashValue(0, 99));
  EXPECT_EQ(store.ReadString("S0", "Link", ""), CrashValue(0, 99));
  ExpectCompleteStore(path);
}

CORVANE_TEST_CHILD(StoreWriteSections) {
  LinkStore store;
  store.Open(args.at(0));
  const std::string& prefix = args.at(1);
  for (int i = 0; i < 60; ++i) {
    store.WriteString(prefix + std::to_string(i), "Link", prefix + "-link-" + std::to_string(i));
    store.WriteString(prefix + std::to_string(i), "Param", std::to_string(i));
  }
  return 0;
}

TEST(LinkStoreConcurrency, TwoProcessesWritingDistinctSectionsLoseNothing) {
  StoreFolder folder;
  const std::string path = folder.Path("Launch.ini");
  {
    corvane::testing::ChildProcess a("StoreWriteSections", {path, "A"});
    corvane::testing::ChildProcess b("StoreWriteSections", {path, "B"});
    ASSERT_EQ(a.Wait(), 0);
    ASSERT_EQ(b.Wait(), 0);
  }
  LinkStore store;
  store.Open(path);
  Names sections;
  store.ReadSections(sections);
  EXPECT_EQ(sections.size(), 120u);
  for (const char* prefix : {"A", "B"}) {
    for (int i = 0; i < 60; ++i) {
      std::string section = prefix + std::to_string(i);
      EXPECT_EQ(store.ReadString(section, "Link", ""),
                std::string(prefix) + "-link-" + std::to_string(i));
      EXPECT_EQ(store.ReadInteger(section, "Param", -1), i);
    }
  }
}

TEST(LaunchPlan, RunWithLinksStartNormallyFirstAndOnlyTheEntryItselfElevated) {
  StoreFolder folder;
  LinkStore store;
  store.Open(folder.Path("Launch.ini"));
  store.WriteString("Tools", "Link", "C:\\tools.exe");
  store.WriteString("Tools", "Param", "-q");
  store.WriteString("Notes", "Link", "C:\\notes.txt");
  store.WriteString("Main", "Link", "C:\\main.exe");
  store.WriteString("Main", "Param", "/x");
  store.WriteString("Main", "RunWith", "Notes,Gone,Tools");
  store.WriteString("Group", "Link", "");
  store.WriteString("Group", "RunWith", "Tools");
  const std::vector<Launch> runWith{{"", "C:\\notes.txt", ""}, {"", "", ""}, {"", "C:\\tools.exe", "-q"}};
  struct Case {
    const char* name;
    bool elevated;
    std::vector<Launch> plan;
  } cases[] = {
      {"Main", false, {runWith[0], runWith[1], runWith[2], {"", "C:\\main.exe", "/x"}}},
      {"Main", true, {runWith[0], runWith[1], runWith[2], {"runas", "C:\\main.exe", "/x"}}},
      {"Group", true, {runWith[2]}},  // no link of its own: nothing to elevate
      {"Missing", true, {}},
  };
  for (const Case& c : cases) EXPECT_EQ(LaunchPlan(store, c.name, c.elevated), c.plan) << c.name << c.elevated;
}

TEST(LinkStoreConcurrency, TwoProcessesRewritingInPlaceLoseNothing) {
  StoreFolder folder;
  const fs::path dir = folder.Dir() / "shared";
  fs::create_directories(dir);
  const std::string path = (dir / "Launch.ini").string();
  WriteBytes(path, "");
  NoNewFilesIn locked(dir);
  if (!locked.Holds()) GTEST_SKIP() << "no folder refusing new files can be made here";
  {
    corvane::testing::ChildProcess a("StoreWriteSections", {path, "A"});
    corvane::testing::ChildProcess b("StoreWriteSections", {path, "B"});
    ASSERT_EQ(a.Wait(), 0);
    ASSERT_EQ(b.Wait(), 0);
  }
  LinkStore store;
  store.Open(path);
  Names sections;
  store.ReadSections(sections);
  EXPECT_EQ(sections.size(), 120u);
  for (const char* prefix : {"A", "B"}) {
    for (int i = 0; i < 60; ++i)
      EXPECT_EQ(store.ReadInteger(prefix + std::to_string(i), "Param", -1), i) << prefix << i;
  }
}

}  // namespace
}  // namespace corvane
