#include "foundation/system_info.hpp"

#include <sys/utsname.h>

#include <cstdlib>
#include <exception>
#include <string>

#include "platform/sys/folders.hpp"
#include "platform/text/strings.hpp"
#include "platform/text/unicode.hpp"

namespace vantorel {

std::u16string GetSpecialFolderPath(std::int32_t /*windowHandle*/, std::int32_t folderId) {
  try {
    if (folderId == kFolderIdDocuments) return sys::documentsFolder();
  } catch (const std::exception&) {
  }
  return {};
}

std::u16string GetWinVersion(WinVersionInfo& info) {
  struct utsname names {};
  if (uname(&names) != 0) return {};
  // The release reads "major.minor.patch-extra"; each missing number counts as 0.
  const char* p = names.release;
  long numbers[3] = {0, 0, 0};
  for (long& n : numbers) {
    char* end = nullptr;
    n = std::strtol(p, &end, 10);
    if (end == p) break;
    p = end;
    if (*p != '.') break;
    ++p;
  }
  info.PlatformId = 2;
  info.Name = fromUtf8(names.sysname);
  info.Version = toU16(numbers[0]) + u"." + toU16(numbers[1]);
  info.ServicePack.clear();
  info.Build = toU16(numbers[2] & 0xFFFF);
  return {};
}

}  // namespace vantorel
