#pragma once
// The user's special folders and the operating system's version, as the engine reports them.
#include <cstdint>
#include <string>

namespace vantorel {

// The shell's folder id of the user's documents folder.
constexpr std::int32_t kFolderIdDocuments = 5;

// The folder's path; empty for an id this platform has no folder for, or on any failure.
std::u16string GetSpecialFolderPath(std::int32_t windowHandle, std::int32_t folderId);

struct WinVersionInfo {
  std::int32_t PlatformId = 0;  // 2: the NT family, the only family this engine runs on
  std::u16string Name;
  std::u16string Version;  // major.minor
  std::u16string ServicePack;
  std::u16string Build;
};

// Fills `info` for the running system: PlatformId 2, Name the kernel's name ("Linux"), Version
// and Build from its release ("6.1.0-18" gives "6.1" and "0"). Always returns the empty text.
std::u16string GetWinVersion(WinVersionInfo& info);

}  // namespace vantorel
