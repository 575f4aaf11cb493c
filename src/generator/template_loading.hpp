#pragma once
// Loads the template files a control may need into the shared section cache before templates
// are compiled: the control's input files, the files they include, and the input files of its
// "key" sessions with theirs.
#include <string>
#include <string_view>

namespace vantorel {

class AGPControl;
class AGPFileCache;

// The file names of the "<!--##include ...##-->" directives of text (opener in any case), in
// order, joined by ","; a reference "file/section" names file (the part before the last "/",
// trimmed). A name included twice appears twice. An opener without a closer ends the scan.
std::u16string GetIncludeFiles(std::u16string_view text);

// Sets CurrentSourceFolder for the control (its extension's folder, else the template folder)
// and adds its input files and their includes to SharedFileCache. A control without input
// files loads nothing, not even its sessions. Missing files are skipped, as are names that
// would lead outside their folder; the freshness test reports missing files.
void LoadCtrlTplFiles(AGPFileCache& cache, const AGPControl& control);

}  // namespace vantorel
