#include "generator/template_freshness.hpp"

#include <string_view>

#include "foundation/project_context.hpp"
#include "foundation/template_lookup.hpp"
#include "foundation/text_files.hpp"
#include "foundation/value_format.hpp"
#include "generator/generation_extensions.hpp"
#include "generator/run_end.hpp"
#include "generator/template_compiler.hpp"
#include "generator/template_loading.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/fs/files.hpp"
#include "platform/fs/path.hpp"
#include "platform/sys/clock.hpp"
#include "platform/text/strings.hpp"
#include "projectfile/working_folders.hpp"
#include "templates/control.hpp"
#include "templates/control_session.hpp"
#include "templates/stamp_cache.hpp"

namespace vantorel {

namespace {

[[noreturn]] void missing(std::u16string_view name) {
  RaiseGenError(u"Missing \"" + std::u16string(name) + u"\" in template folder \"" +
                projectContext().templateFolder + u"\". Generation aborted.");
}

// A template name that climbs out of its folder is refused as plainly as a missing one.
[[noreturn]] void outside(std::u16string_view name) {
  RaiseGenError(projectContext().productTitle + u": Template file \"" + std::u16string(name) +
                u"\" leads outside its folder! Generation aborted.");
}

std::u16string sourcePath(const std::u16string& folder, std::u16string_view entry) {
  const std::u16string_view name = trimBlanks(entry);
  const std::optional<std::u16string> path = fs::joinInside(folder, name);
  if (!path) outside(entry);
  return *path;
}

std::u16string extensionFolder(const std::u16string& extension) {
  if (extension.empty()) return projectContext().templateFolder;
  const std::optional<std::u16string> folder =
      fs::joinInside(projectContext().extensionWorkFolder, extension);
  if (!folder) outside(extension);
  return *folder;
}

class OutdatedTest {
 public:
  explicit OutdatedTest(std::u16string compiledStamp) : compiledStamp_(std::move(compiledStamp)) {}

  // True when path (which must exist) or a file it includes is newer than the compiled one.
  bool newer(const std::u16string& path, std::u16string_view shownName) {
    const std::optional<FileStamp> stamp = fileStamp(path);
    if (!stamp) missing(shownName);
    if (later(*stamp)) return true;
    const std::u16string includes = GetIncludeFiles(toString(ReadTextFile(Variant(path))));
    if (includes.empty()) return false;
    for (const std::u16string& name : split(includes, u",")) {
      const std::optional<FileStamp> included = fileStamp(GetTemplateFilePath(name));
      if (!included) missing(name);
      if (later(*included)) return true;
    }
    return false;
  }

 private:
  bool later(const FileStamp& stamp) const {
    return toString(FormatDateStamp(stamp.date)) > compiledStamp_;
  }

  std::u16string compiledStamp_;
};

}  // namespace

std::optional<FileStamp> fileStamp(const std::u16string& path) {
  if (path.empty() || !fs::fileExists(path)) return std::nullopt;
  const auto modified = fs::modifiedTime(path);
  const auto size = fs::fileSize(path);
  if (!modified || !size) return std::nullopt;
  Variant sizeValue = *size <= 0x7fffffffu ? Variant(static_cast<std::int32_t>(*size))
                                           : Variant(static_cast<double>(*size));
  return FileStamp{Variant::date(sys::toOleDate(*modified)), std::move(sizeValue)};
}

std::int16_t IsFileChanged(AGPCache* cache, const std::u16string& group, const std::u16string& key,
                           const std::u16string& file) {
  const std::optional<FileStamp> stamp = fileStamp(file);
  if (!stamp) return -1;
  // Outside a run there is no cache, so nothing was recorded.
  if (!cache) return 2;
  return cache->CheckCache(Variant(group), Variant(key), stamp->date, stamp->size);
}

void CacheFileStamp(AGPCache* cache, const std::u16string& group, const std::u16string& key,
                    const std::u16string& file) {
  if (!cache) return;
  if (const std::optional<FileStamp> stamp = fileStamp(file)) {
    cache->AddCache(Variant(group), Variant(key), stamp->date, stamp->size);
  }
}

bool IsTplOutdated(AGPCache* cache, AGPControl& control) {
  control.setCtrlGen(false);
  projectContext().currentSourceFolder = extensionFolder(control.CtrlExt());

  const std::u16string_view inputFolder = trimBlanks(control.CtrlIFolder());
  if (!inputFolder.empty() &&
      !fs::folderExists(sourcePath(projectContext().currentSourceFolder, control.CtrlIFolder()))) {
    missing(control.CtrlIFolder());
  }

  const std::u16string compiled = GetTplFileName(control);
  const Variant stored =
      !cache ? Variant::date(0.0)
             : cache->GetCacheDate(Variant(u"tpl"), Variant(fs::fileNameOf(compiled)));
  // No recorded stamp (after a purge) or no compiled file: nothing to compare with.
  if (stored.type() == VarType::Date || !fs::fileExists(compiled)) {
    control.setCtrlGen(true);
    return true;
  }
  if (control.CtrlIFiles().empty()) return false;

  OutdatedTest test(toString(stored));
  bool outdated = false;
  for (const std::u16string& entry : split(control.CtrlIFiles(), u",")) {
    if (test.newer(sourcePath(projectContext().currentSourceFolder, entry), entry)) {
      outdated = true;
      break;
    }
  }
  if (!outdated) {
    for (const Ref<AGPSession>& session : control.Sessions()->items()) {
      if (session->SessType() != u"key") continue;
      projectContext().currentSourceFolder = extensionFolder(session->SessExt());
      if (session->SessIFile().empty()) continue;
      std::u16string path = sourcePath(projectContext().currentSourceFolder, session->SessIFile());
      // An extension's session may rely on the template set's copy of its input file.
      if (projectContext().currentSourceFolder != projectContext().templateFolder &&
          !fs::fileExists(path)) {
        path = sourcePath(projectContext().templateFolder, session->SessIFile());
      }
      if (test.newer(path, session->SessIFile())) {
        outdated = true;
        break;
      }
    }
  }
  control.setCtrlGen(outdated);
  return outdated;
}

}  // namespace vantorel
