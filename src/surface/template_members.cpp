// The script members of the control file and its sessions, the template parser, the caches,
// the output builder and the script host.
#include "platform/automation/bind.hpp"
#include "surface/install_table.hpp"
#include "surface/surface_tables.hpp"
#include "templates/control.hpp"
#include "templates/control_session.hpp"
#include "templates/control_sessions.hpp"
#include "templates/controls.hpp"
#include "templates/empty_model_list.hpp"
#include "templates/file_cache.hpp"
#include "templates/output_builder.hpp"
#include "templates/script_host.hpp"
#include "templates/stamp_cache.hpp"
#include "templates/template_parser.hpp"
#include "templates/user_script.hpp"

namespace vantorel::surface {

void installTemplateTables() noexcept {
  installTable<AGPControl>(u"AGPControl", [](ClassInfo& c) {
    using T = AGPControl;
    ClassBuilder<T>(c)
        .get<&T::Sessions>(u"Sessions")
        .prop<&T::CtrlID, &T::setCtrlID>(u"CtrlID")
        .prop<&T::CtrlType, &T::setCtrlType>(u"CtrlType")
        .prop<&T::CtrlOFile, &T::setCtrlOFile>(u"CtrlOFile")
        .prop<&T::CtrlOFileCompat, &T::setCtrlOFileCompat>(u"CtrlOFileCompat")
        .prop<&T::CtrlOExt, &T::setCtrlOExt>(u"CtrlOExt")
        .prop<&T::CtrlOFolder, &T::setCtrlOFolder>(u"CtrlOFolder")
        .prop<&T::CtrlOFolderID, &T::setCtrlOFolderID>(u"CtrlOFolderID")
        .prop<&T::CtrlIFiles, &T::setCtrlIFiles>(u"CtrlIFiles")
        .prop<&T::CtrlIFolder, &T::setCtrlIFolder>(u"CtrlIFolder")
        .prop<&T::CtrlCond, &T::setCtrlCond>(u"CtrlCond")
        .prop<&T::CtrlTagExt, &T::setCtrlTagExt>(u"CtrlTagExt")
        .prop<&T::CtrlParm, &T::setCtrlParm>(u"CtrlParm")
        .prop<&T::CtrlSpace, &T::setCtrlSpace>(u"CtrlSpace")
        .prop<&T::CtrlGen, &T::setCtrlGen>(u"CtrlGen")
        .prop<&T::CtrlExt, &T::setCtrlExt>(u"CtrlExt")
        .prop<&T::CtrlAction, &T::setCtrlAction>(u"CtrlAction")
        .prop<&T::CtrlOverwrite, &T::setCtrlOverwrite>(u"CtrlOverwrite")
        .prop<&T::CtrlRemark, &T::setCtrlRemark>(u"CtrlRemark")
        .method<&T::scriptLoad>(u"Load");
  });
  installTable<AGPControls>(u"AGPControls", [](ClassInfo& c) {
    using T = AGPControls;
    ClassBuilder<T>(c)
        .get<&T::curIndex>(u"curIndex")
        .get<&T::ProdDate>(u"ProdDate")
        .get<&T::ProdVersion>(u"ProdVersion")
        .get<&T::ProdDesc>(u"ProdDesc")
        .get<&T::ProdAuthor>(u"ProdAuthor")
        .method<&T::LoadControls>(u"LoadControls")
        .method<&T::AddControl>(u"AddControl")
        .method<&T::DeleteControl>(u"DeleteControl")
        .method<&T::ControlExist>(u"ControlExist")
        .method<&T::Count>(u"Count")
        .method<&T::Item>(u"Item");
  });
  installTable<AGPSession>(u"AGPSession", [](ClassInfo& c) {
    using T = AGPSession;
    ClassBuilder<T>(c)
        .prop<&T::SessType, &T::setSessType>(u"SessType")
        .prop<&T::SessValue, &T::setSessValue>(u"SessValue")
        .prop<&T::SessParm, &T::setSessParm>(u"SessParm")
        .prop<&T::SessIFile, &T::setSessIFile>(u"SessIFile")
        .prop<&T::SessCond, &T::setSessCond>(u"SessCond")
        .prop<&T::SessExt, &T::setSessExt>(u"SessExt")
        .prop<&T::SessAction, &T::setSessAction>(u"SessAction")
        .prop<&T::SessLocation, &T::setSessLocation>(u"SessLocation")
        .prop<&T::SessLocType, &T::setSessLocType>(u"SessLocType")
        .method<&T::scriptLoad>(u"Load");
  });
  installTable<AGPSessions>(u"AGPSessions", [](ClassInfo& c) {
    using T = AGPSessions;
    ClassBuilder<T>(c)
        .method<&T::scriptLoad>(u"Load")
        .method<&T::AddSession>(u"AddSession")
        .method<&T::ChangeSession>(u"ChangeSession")
        .method<&T::DeleteSession>(u"DeleteSession")
        .method<&T::SessionExist>(u"SessionExist")
        .method<&T::Count>(u"Count")
        .method<&T::Item>(u"Item");
  });
  installTable<AGParser>(u"AGParser", [](ClassInfo& c) {
    using T = AGParser;
    ClassBuilder<T>(c)
        .get<&T::BlockType>(u"BlockType")
        .get<&T::BlockName>(u"BlockName")
        .get<&T::BlockValue>(u"BlockValue")
        .get<&T::BlockIndent>(u"BlockIndent")
        .prop<&T::BlockID, &T::setBlockID>(u"BlockID")
        .get<&T::Count>(u"Count")
        .method<&T::Parse>(u"Parse")
        .method<&T::GetSession>(u"GetSession");
  });
  installTable<AGPFileCache>(u"AGPFileCache", [](ClassInfo& c) {
    using T = AGPFileCache;
    ClassBuilder<T>(c)
        .method<&T::Clear>(u"Clear")
        .method<&T::AddFile>(u"AddFile")
        .method<&T::GetSession>(u"GetSession");
  });
  installTable<AGPCache>(u"AGPCache", [](ClassInfo& c) {
    using T = AGPCache;
    ClassBuilder<T>(c)
        .method<&T::AddCache>(u"AddCache")
        .method<&T::DeleteCache>(u"DeleteCache")
        .method<&T::DeleteCacheGroup>(u"DeleteCacheGroup")
        .method<&T::DeleteAllCache>(u"DeleteAllCache")
        .method<&T::CheckCache>(u"CheckCache")
        .method<&T::GetCacheDate>(u"GetCacheDate")
        .method<&T::MatchCacheGroup>(u"MatchCacheGroup")
        .method<&T::WriteCacheFile>(u"WriteCacheFile");
  });
  installTable<TemplateOutputBuilder>(u"StringBuilder", [](ClassInfo& c) {
    ClassBuilder<TemplateOutputBuilder>(c)
        .method<&TemplateOutputBuilder::append>(u"Append")
        .method<&TemplateOutputBuilder::toString>(u"ToString")
        .method<&TemplateOutputBuilder::clear>(u"Clear")
        .get<&TemplateOutputBuilder::length>(u"Length");
  });
  installTable<AGUserScript>(u"AGUserScript", [](ClassInfo& c) {
    using T = AGUserScript;
    ClassBuilder<T>(c)
        .method<&T::AddUserModule>(u"AddUserModule")
        .method<&T::UserModuleExist>(u"UserModuleExist");
  });
  installTable<AGScript>(u"AGScript", [](ClassInfo& c) {
    using T = AGScript;
    ClassBuilder<T>(c)
        .method<&T::Initialize>(u"Initialize")
        .method<&T::IsInitialized>(u"IsInitialized")
        .method<&T::NonEnglishLocale>(u"NonEnglishLocale")
        .method<&T::Reset>(u"Reset")
        .method<&T::AddTemplateScript>(u"AddTemplateScript")
        .method<&T::AddUserCode>(u"AddUserCode")
        .method<&T::ModuleExist>(u"ModuleExist")
        .method<&T::UserModuleExist>(u"UserModuleExist")
        .method<&T::Validate>(u"Validate")
        .method<&T::RunModule>(u"RunModule")
        .method<&T::BuildNewCode>(u"BuildNewCode");
  });
  installTable<EmptyModelList>(u"EmptyModelList", [](ClassInfo& c) {
    using T = EmptyModelList;
    ClassBuilder<T>(c)
        .get<&T::Count>(u"Count")
        .get<&T::curName>(u"curName")
        .method<&T::Seq>(u"Seq")
        .method<&T::Item>(u"Item")
        .method<&T::ExtensionExist>(u"ExtensionExist")
        .method<&T::ScriptItem>(u"ScriptItem")
        .defaultMember(u"Item")
        .enumerator<&T::newEnum>();
  });
}

}  // namespace vantorel::surface
