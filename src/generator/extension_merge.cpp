#include "generator/extension_merge.hpp"

#include <functional>
#include <optional>

#include "foundation/project_context.hpp"
#include "foundation/template_lookup.hpp"
#include "generator/generation_extensions.hpp"
#include "generator/generation_run.hpp"
#include "generator/template_freshness.hpp"
#include "platform/automation/variant.hpp"
#include "platform/fs/files.hpp"
#include "platform/fs/path.hpp"
#include "platform/text/case_fold.hpp"
#include "projectfile/working_folders.hpp"
#include "templates/control.hpp"
#include "templates/control_session.hpp"
#include "templates/controls.hpp"
#include "templates/script_host.hpp"

namespace vantorel {

namespace {

constexpr std::u16string_view kExtensionFiles = u"extensionfiles";

bool extensionInstalled(const std::u16string& name) {
  const GenerationExtensions* extensions = Installed<GenerationExtensions>::get();
  return extensions && extensions->exists(name);
}

// Calls visit(key, path) for each file of the extension whose stamp is kept: its control file
// first, then each control's input and each session's input file that exists. False when the
// extension is not installed; True without a visit when its control file does not load.
bool walkExtensionFiles(
    GenerationRun& run, const std::u16string& name,
    const std::function<void(const std::u16string&, const std::u16string&)>& visit) {
  if (!extensionInstalled(name)) return false;
  const std::optional<std::u16string> folder = ExtensionFolder(name);
  if (!folder) return true;
  const std::u16string controlFile = fs::joinPath(*folder, u"control.xml");
  if (!fs::fileExists(controlFile) || !run.extensionControls->LoadControls(controlFile))
    return true;
  visit(name + u"\\control.xml", controlFile);
  auto visitIfPresent = [&](const std::u16string& relative) {
    if (relative.empty()) return;
    const std::optional<std::u16string> path = fs::joinInside(*folder, relative);
    if (path && fs::fileExists(*path)) visit(name + u"\\" + relative, *path);
  };
  for (const Ref<AGPControl>& control : run.extensionControls->items()) {
    if (equalsNoCase(control->CtrlType(), u"copy")) continue;
    // The input list is taken as one path, as the stamps were always keyed.
    std::u16string input = control->CtrlIFiles();
    if (!input.empty() && !control->CtrlIFolder().empty()) {
      input = control->CtrlIFolder() + u"\\" + input;
    }
    visitIfPresent(input);
    for (const Ref<AGPSession>& session : control->Sessions()->items()) {
      visitIfPresent(session->SessIFile());
    }
  }
  return true;
}

}  // namespace

bool ExtFilesUnchanged(GenerationRun& run, const std::u16string& name) {
  bool unchanged = true;
  const bool installed =
      walkExtensionFiles(run, name, [&](const std::u16string& key, const std::u16string& path) {
        if (IsFileChanged(run.templateCache.get(), std::u16string(kExtensionFiles), key, path) !=
            0) {
          unchanged = false;
        }
      });
  return installed && unchanged;
}

void CacheExtFiles(GenerationRun& run, const std::u16string& name) {
  walkExtensionFiles(run, name, [&](const std::u16string& key, const std::u16string& path) {
    CacheFileStamp(run.templateCache.get(), std::u16string(kExtensionFiles), key, path);
  });
}

Expected<> MergeExtControls(GenerationRun& run, const std::u16string& name) {
  const std::optional<std::u16string> folder =
      extensionInstalled(name) ? ExtensionFolder(name) : std::nullopt;
  const std::u16string controlFile =
      folder ? fs::joinPath(*folder, u"control.xml") : std::u16string();
  if (controlFile.empty() || !fs::fileExists(controlFile)) {
    return Failure{{}, kControlFileUnloadable};
  }
  if (Expected<> loaded = run.extensionControls->loadControlFile(controlFile); !loaded) {
    return loaded;
  }
  AGPControls& target = *run.templateControls;
  for (const Ref<AGPControl>& control : run.extensionControls->items()) {
    control->setCtrlExt(name);
    const std::u16string& action = control->CtrlAction();
    if (action == u"add") {
      target.AddControl(control);
    } else if (action == u"change") {
      for (const Ref<AGPControl>& existing : target.items()) {
        if (existing->CtrlID() == control->CtrlID()) {
          MergeCtrlSessions(*existing, *control);
          break;
        }
      }
    } else if (action == u"delete") {
      target.DeleteControl(control->CtrlID());
    }
  }
  return {};
}

void MergeCtrlSessions(AGPControl& templateControl, const AGPControl& extensionControl) {
  AGPSessions& sessions = *templateControl.Sessions();
  for (const Ref<AGPSession>& session : extensionControl.Sessions()->items()) {
    session->setSessExt(extensionControl.CtrlExt());
    const std::u16string& action = session->SessAction();
    if (action == u"add") {
      sessions.AddSession(session, session->SessLocation(), session->SessLocType());
    } else if (action == u"change") {
      if (sessions.SessionExist(session->SessValue())) {
        sessions.ChangeSession(session->SessValue(), session);
      }
    } else if (action == u"delete") {
      sessions.DeleteSession(session->SessValue());
    }
  }
}

}  // namespace vantorel
