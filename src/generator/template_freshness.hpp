#pragma once
// Whether the compiled templates of a template set can be reused: each file a compiled template
// was built from is compared, by its stamp, with what the template's stamp cache recorded.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/automation/variant.hpp"

namespace vantorel {

class AGPCache;
class AGPControl;

// A file's stamp as the cache keeps it: its modification time (a date) and its size.
struct FileStamp {
  Variant date;
  Variant size;
};
// Nothing when the path is empty or names no file.
std::optional<FileStamp> fileStamp(const std::u16string& path);

// -1 when file does not exist (an empty path included), else the cache's verdict: 0 same
// stamp, 1 another stamp, 2 no entry.
std::int16_t IsFileChanged(AGPCache* cache, const std::u16string& group, const std::u16string& key,
                           const std::u16string& file);
// Records the file's stamp in the cache when the file exists.
void CacheFileStamp(AGPCache* cache, const std::u16string& group, const std::u16string& key,
                    const std::u16string& file);

// Sets and returns the control's CtrlGen: True when its compiled template is missing, has no
// recorded stamp, or is older (to the second) than one of its input files, the files they
// include, or its "key" sessions' input files. A missing input folder or file (or one named
// outside its folder) ends the run through RaiseGenError.
bool IsTplOutdated(AGPCache* cache, AGPControl& control);

}  // namespace vantorel
