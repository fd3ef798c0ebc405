// Unit UVersionInfo: reads the string values of a file's version block and
// fetches the update-information file into the program's folder. Windows
// only (version.dll, WinINet); the file's contents are read by UpdateInfo.h.
#pragma once

#include <chrono>
#include <string>

#include "components/UpdateInfo.h"
#include "framework/Classes.h"

namespace corvane {

// Longest a whole download may take, connecting included: the update check
// runs on the GUI thread, so a silent server must not freeze the program.
inline constexpr std::chrono::milliseconds kDownloadLimit{20000};

// Version block reader and update-information fetcher; the link editor owns
// one, created when the editor is.
class TVersionInfo : public TComponent {
  CORVANE_CLASS(TVersionInfo, TComponent)

 public:
  // Reads the running executable's own version block.
  explicit TVersionInfo(TComponent* owner = nullptr);

  // Replaces every value field with fileName's block; False (all fields
  // empty) when the file has no version block.
  bool ReadVersionInfo(const std::string& fileName);

  // Deletes the previous "updateinfo.ini" beside the executable and fetches
  // URL into it; True only for a complete download with status 200.
  bool FetchUpdateInfo();

  // Value fields of the block read last; an absent key leaves its field empty.
  std::string CompanyName;
  std::string FileDescription;
  std::string FileVersion;
  std::string InternalName;
  std::string LegalCopyright;
  std::string LegalTradeMarks;
  std::string OriginalFilename;
  std::string ProductName;
  std::string ProductVersion;
  std::string Comments;
  std::string UpdateInfo;  // the update number as decimal text

  std::string URL = kUpdateInfoUrl;
  std::string UpdateInfoFile;  // set by FetchUpdateInfo
  // Bound of FetchUpdateInfo's download; tests shorten it.
  std::chrono::milliseconds DownloadLimit = kDownloadLimit;

  // "URL" is the one stored property; the value fields are read-only.
  TPropValue GetProperty(std::string_view name) const override;
  bool SetProperty(std::string_view name, const TPropValue& value) override;

 private:
  // One string of the loaded block, looked up under its first translation.
  static std::string QueryVersionValue(const void* block, const std::string& key);
};

// Downloads url into fileName. True only when the server answered 200 and the
// whole body (as long as announced) was written; the body goes to a temporary
// file in the same folder that replaces fileName only then, so a failure
// never leaves a partial file or an error page behind. Gives up with False
// once limit has passed, whatever the server does.
bool FetchUrlToFile(const std::string& url, const std::string& fileName,
                    std::chrono::milliseconds limit = kDownloadLimit);

// Reads a downloaded update-information file; a missing or unreadable file
// reads as one without keys.
UpdateFileInfo ReadUpdateInfoFile(const std::string& path);

}  // namespace corvane
