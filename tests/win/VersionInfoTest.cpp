// Version blocks read through version.dll, and the update download against a
// local HTTP server that answers well, badly, partly or not at all.
#include "ShellHttpServer.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>

#include "ShellTestFiles.h"
#include "components/UVersionInfo.h"

namespace corvane {
namespace {

using namespace corvane::testing;
using namespace std::chrono_literals;

std::string ProgramExe() {
  const char* exe = std::getenv("CORVANE_EXE");
  return exe ? exe : "";
}

std::vector<std::string*> ValueFields(TVersionInfo& info) {
  return {&info.CompanyName,    &info.FileDescription, &info.FileVersion,      &info.InternalName,
          &info.LegalCopyright, &info.LegalTradeMarks, &info.OriginalFilename, &info.ProductName,
          &info.ProductVersion, &info.Comments,        &info.UpdateInfo};
}

TEST(VersionInfo, TheProgramCarriesItsVersionBlock) {
  std::string exe = ProgramExe();
  ASSERT_FALSE(exe.empty()) << "CORVANE_EXE is not set";
  TVersionInfo info;
  ASSERT_TRUE(info.ReadVersionInfo(exe));
  EXPECT_EQ(info.FileVersion, "1.3.3.16");
  EXPECT_EQ(info.ProductName, "Corvane");
  EXPECT_EQ(info.ProductVersion, "1.0.0.0");
  EXPECT_EQ(info.UpdateInfo, "111");
  EXPECT_FALSE(info.CompanyName.empty());
  EXPECT_FALSE(info.FileDescription.empty());
  EXPECT_FALSE(info.LegalCopyright.empty());
  EXPECT_FALSE(info.Comments.empty());
  EXPECT_EQ(info.InternalName, "");
  EXPECT_EQ(info.LegalTradeMarks, "");
  EXPECT_EQ(info.OriginalFilename, "");
}

TEST(VersionInfo, TheProgramsFixedNumbersAndTranslationAgreeWithItsStrings) {
  std::string exe = ProgramExe();
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeA(exe.c_str(), &ignored);
  ASSERT_GT(size, 0u);
  std::vector<char> block(size);
  ASSERT_TRUE(GetFileVersionInfoA(exe.c_str(), 0, size, block.data()));
  void* value = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\", &value, &length));
  ASSERT_GE(length, sizeof(VS_FIXEDFILEINFO));
  auto* fixed = static_cast<VS_FIXEDFILEINFO*>(value);
  EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(3, 1));
  EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(16, 3));
  EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(0, 1));
  EXPECT_EQ(fixed->dwProductVersionLS, 0u);
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", &value, &length));
  ASSERT_GE(length, 4u);
  EXPECT_EQ(static_cast<WORD*>(value)[0], 0x0809);
  EXPECT_EQ(static_cast<WORD*>(value)[1], 1252);
}

TEST(VersionInfo, CreationReadsTheRunningExecutable) {
  TComponent form(nullptr);
  TVersionInfo& info = form.Create<TVersionInfo>();
  EXPECT_EQ(info.FileVersion, "0.0.0.7");
  EXPECT_EQ(info.ProductName, "Corvane tests");
  EXPECT_EQ(info.UpdateInfo, "7");
  EXPECT_EQ(info.CompanyName, "");
  EXPECT_EQ(info.Owner(), &form);
  EXPECT_TRUE(info.InheritsFrom("TComponent"));
  EXPECT_STREQ(info.ClassName(), "TVersionInfo");
}

TEST(VersionInfo, TheAddressIsTheStoredProperty) {
  TVersionInfo info;
  EXPECT_EQ(PropText(info.GetProperty("URL")), std::optional<std::string>(kUpdateInfoUrl));
  EXPECT_TRUE(info.SetProperty("URL", std::string("http://127.0.0.1:1/updates/updateinfo.ini")));
  EXPECT_EQ(info.URL, "http://127.0.0.1:1/updates/updateinfo.ini");
  EXPECT_FALSE(info.SetProperty("URL", std::int64_t{5}));
  EXPECT_EQ(info.URL, "http://127.0.0.1:1/updates/updateinfo.ini");
  EXPECT_FALSE(info.SetProperty("FileVersion", std::string("9.9")));
  EXPECT_TRUE(info.SetProperty("Name", std::string("VersionInfo1")));
  EXPECT_EQ(info.Name, "VersionInfo1");
}

TEST(VersionInfo, AFileWithoutABlockEmptiesEveryField) {
  std::string exe = ProgramExe();
  ScratchFolder scratch;
  std::string plain = scratch.Path() + "plain.txt";
  ASSERT_TRUE(WriteWholeFile(plain, "no version block in here"));

  TVersionInfo info;
  ASSERT_TRUE(info.ReadVersionInfo(exe));
  ASSERT_EQ(info.UpdateInfo, "111");
  EXPECT_FALSE(info.ReadVersionInfo(plain));
  for (std::string* field : ValueFields(info)) EXPECT_EQ(*field, "");

  ASSERT_TRUE(info.ReadVersionInfo(exe));
  EXPECT_FALSE(info.ReadVersionInfo(scratch.Path() + "missing.exe"));
  for (std::string* field : ValueFields(info)) EXPECT_EQ(*field, "");
}

TEST(VersionInfo, StringsUnderAnotherTranslationThanTheFirstReadEmpty) {
  TVersionInfo info;
  ASSERT_TRUE(info.ReadVersionInfo(ExeFolder() + "shell_argv_logger.exe"));
  for (std::string* field : ValueFields(info)) EXPECT_EQ(*field, "");
}

TEST(VersionInfo, TheUpdateAddressIsHttpAndEndsInTheUpdatePath) {
  TVersionInfo info;
  std::string url = info.URL;
  EXPECT_EQ(url, kUpdateInfoUrl);
  EXPECT_EQ(url.rfind("http://", 0), 0u);
  const std::string path = "/updates/updateinfo.ini";
  ASSERT_GT(url.size(), path.size() + 7);
  EXPECT_EQ(url.substr(url.size() - path.size()), path);
  EXPECT_EQ(url.find('/', 7), url.size() - path.size()) << "the path must sit right after the host";
}

// Update-information files the test makes, read the way the link editor reads them.
TEST(UpdateInfoFile, TheNumberDecidesWhetherAnUpdateIsAnnounced) {
  ScratchFolder scratch;
  std::string file = scratch.Path() + "updateinfo.ini";
  ASSERT_TRUE(WriteWholeFile(
      file, "[Updates]\r\ncorvane=112\r\nnewcorvane=http://example.invalid/get\r\n"));
  UpdateFileInfo info = ReadUpdateInfoFile(file);
  EXPECT_EQ(info.newest, 112);
  EXPECT_EQ(info.downloadPage, "http://example.invalid/get");
  EXPECT_TRUE(IsUpdateAvailable(info, 111));

  ASSERT_TRUE(WriteWholeFile(file, "[Updates]\r\ncorvane=111\r\n"));
  EXPECT_FALSE(IsUpdateAvailable(ReadUpdateInfoFile(file), 111));

  ASSERT_TRUE(WriteWholeFile(file, "[Updates]\r\nnewcorvane=somewhere\r\n"));
  EXPECT_EQ(ReadUpdateInfoFile(file).newest, 1);
  EXPECT_EQ(ReadUpdateInfoFile(scratch.Path() + "absent.ini").newest, 1);
}

constexpr auto kQuick = 5000ms;

TEST(FetchUpdateInfo, WritesBesideTheExecutableAndKeepsOnlyTheNewest) {
  ShellHttpServer server;
  TVersionInfo info;
  info.URL = server.Url("/updates/updateinfo.ini");
  info.DownloadLimit = kQuick;
  const std::string expectedFile = ExeFolder() + "updateinfo.ini";
  auto temporaries = [] { return ListFolder(ExeFolder(), "cvu*.tmp").size(); };
  size_t temporariesBefore = temporaries();

  const std::string first = "[Updates]\r\ncorvane=112\r\nnewcorvane=first\r\n";
  server.SetBody(first);
  ASSERT_TRUE(info.FetchUpdateInfo());
  EXPECT_EQ(lstrcmpiA(info.UpdateInfoFile.c_str(), expectedFile.c_str()), 0) << info.UpdateInfoFile;
  EXPECT_EQ(ReadWholeFile(expectedFile), first);
  EXPECT_TRUE(IsUpdateAvailable(ReadUpdateInfoFile(info.UpdateInfoFile), 111));

  const std::string second = "[Updates]\r\ncorvane=111\r\nnewcorvane=second\r\n";
  server.SetBody(second);
  ASSERT_TRUE(info.FetchUpdateInfo());
  EXPECT_EQ(ReadWholeFile(expectedFile), second);
  EXPECT_FALSE(IsUpdateAvailable(ReadUpdateInfoFile(info.UpdateInfoFile), 111));
  EXPECT_EQ(ListFolder(ExeFolder(), "updateinfo*").size(), 1u);
  EXPECT_EQ(temporaries(), temporariesBefore);

  // A failed fetch leaves neither last time's answer nor the error page.
  info.URL = server.Url("/missing");
  EXPECT_FALSE(info.FetchUpdateInfo());
  EXPECT_FALSE(Exists(expectedFile));
  EXPECT_EQ(temporaries(), temporariesBefore);
  EXPECT_EQ(server.Requests(), 3);
}

// Fetches into a fresh folder and checks that a failure left nothing there
// and did not touch an earlier file of the target's name.
void ExpectFetchFails(const std::string& url, std::chrono::milliseconds limit = kQuick) {
  ScratchFolder scratch;
  std::string target = scratch.Path() + "updateinfo.ini";
  ASSERT_TRUE(WriteWholeFile(target, "earlier"));
  EXPECT_FALSE(FetchUrlToFile(url, target, limit)) << url;
  EXPECT_EQ(ReadWholeFile(target), "earlier") << url;
  EXPECT_EQ(ListFolder(scratch.Path()).size(), 1u) << url;
}

TEST(FetchUrlToFile, ErrorPagesAreFailures) {
  ShellHttpServer server;
  ExpectFetchFails(server.Url("/missing"));
  ExpectFetchFails(server.Url("/error"));
  EXPECT_EQ(server.Requests(), 2);
}

TEST(FetchUrlToFile, ARefusedConnectionIsAFailure) {
  ExpectFetchFails("http://127.0.0.1:" + std::to_string(ShellHttpServer::ClosedPort()) +
                   "/updates/updateinfo.ini");
}

TEST(FetchUrlToFile, ABodyCutShortIsAFailure) {
  ShellHttpServer server;
  ExpectFetchFails(server.Url("/short"));
}

TEST(FetchUrlToFile, OnlyWebAddressesAreFetched) {
  ScratchFolder scratch;
  std::string source = scratch.Path() + "local.ini";
  ASSERT_TRUE(WriteWholeFile(source, "[Updates]\r\ncorvane=500\r\n"));
  ExpectFetchFails("file:///" + source);
  ExpectFetchFails("not an address");
  ExpectFetchFails("");
}

TEST(FetchUrlToFile, ABodyEndedByClosingIsComplete) {
  ShellHttpServer server;
  const std::string body = "[Updates]\ncorvane=120\n";
  server.SetBody(body);
  ScratchFolder scratch;
  std::string target = scratch.Path() + "updateinfo.ini";
  ASSERT_TRUE(FetchUrlToFile(server.Url("/nolength"), target, kQuick));
  EXPECT_EQ(ReadWholeFile(target), body);
  EXPECT_EQ(ListFolder(scratch.Path()).size(), 1u);
}

TEST(FetchUrlToFile, ATargetThatCannotBeWrittenIsAFailure) {
  ShellHttpServer server;
  server.SetBody("[Updates]\r\ncorvane=112\r\n");
  ScratchFolder scratch;
  EXPECT_FALSE(FetchUrlToFile(server.Url("/updates/updateinfo.ini"),
                              scratch.Path() + "no\\such\\folder.ini", kQuick));
  // A folder stands where the file should go: it must stay, and nothing else appear.
  std::string blocked = scratch.Path() + "updateinfo.ini";
  ASSERT_TRUE(CreateDirectoryA(blocked.c_str(), nullptr));
  EXPECT_FALSE(FetchUrlToFile(server.Url("/updates/updateinfo.ini"), blocked, kQuick));
  EXPECT_TRUE(GetFileAttributesA(blocked.c_str()) & FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_EQ(ListFolder(scratch.Path()).size(), 1u);
}

double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

TEST(FetchUrlToFile, AServerThatTricklesIsAbandonedAtTheBound) {
  ShellHttpServer server;
  auto start = std::chrono::steady_clock::now();
  ExpectFetchFails(server.Url("/trickle"), 2000ms);
  double elapsed = SecondsSince(start);
  EXPECT_GE(elapsed, 1.5);
  EXPECT_LT(elapsed, 4.0);
  server.Stop();
}

TEST(FetchUpdateInfo, AServerThatNeverAnswersGivesUpWithinTwentySeconds) {
  ShellHttpServer server;
  TVersionInfo info;
  EXPECT_EQ(info.DownloadLimit, kDownloadLimit);
  EXPECT_EQ(kDownloadLimit, 20000ms);
  info.URL = server.Url("/silent");
  size_t temporariesBefore = ListFolder(ExeFolder(), "cvu*.tmp").size();
  auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(info.FetchUpdateInfo());
  double elapsed = SecondsSince(start);
  EXPECT_GE(elapsed, 19.0);
  EXPECT_LT(elapsed, 23.0);
  EXPECT_FALSE(Exists(info.UpdateInfoFile));
  EXPECT_EQ(ListFolder(ExeFolder(), "cvu*.tmp").size(), temporariesBefore);
  EXPECT_EQ(server.Requests(), 1);
  server.Stop();
}

}  // namespace
}  // namespace corvane
