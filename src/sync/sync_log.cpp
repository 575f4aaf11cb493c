#include "sync/sync_log.hpp"

#include <algorithm>
#include <cstddef>
#include <string_view>
#include <utility>

#include "agp/agp.hpp"
#include "foundation/project_context.hpp"
#include "foundation/setting_values.hpp"
#include "platform/fs/files.hpp"
#include "platform/sys/clock.hpp"
#include "platform/text/case_fold.hpp"
#include "platform/text/code_page.hpp"
#include "platform/text/strings.hpp"
#include "platform/text/unicode.hpp"
#include "project/project_catalogue.hpp"

namespace vantorel {

namespace {

std::u16string twoDigits(int value) {
  std::u16string text = toU16(value);
  return text.size() < 2 ? u"0" + text : text;
}

std::u16string actionCode(const std::u16string& action) {
  if (action == u"A") return u"ADDED  ";
  if (action == u"C") return u"CHANGED";
  if (action == u"D") return u"DELETED";
  return u"*******";
}

// A provider's message may run over several lines; its record stays on one, the lines joined
// by a blank.
std::u16string onOneLine(std::u16string_view text) {
  if (text.find_first_of(u"\r\n") == std::u16string_view::npos) return std::u16string(text);
  std::u16string out;
  for (std::size_t at = 0; at <= text.size();) {
    const std::size_t end = std::min(text.find_first_of(u"\r\n", at), text.size());
    const std::u16string_view line = trimBlanks(text.substr(at, end - at));
    if (!line.empty()) {
      if (!out.empty()) out += u' ';
      out += line;
    }
    at = end + 1;
  }
  return out;
}

std::tm localNow() {
  const std::time_t seconds = std::chrono::system_clock::to_time_t(sys::now());
  std::tm local{};
  localtime_r(&seconds, &local);
  return local;
}

}  // namespace

void SyncChangeLog::AddSyncLog(std::u16string action, std::u16string kind, std::u16string table,
                               std::u16string field, std::u16string message,
                               std::u16string oldValue, std::u16string newValue) {
  entries_.push_back(SyncLogEntry{std::move(action), std::move(kind), std::move(table),
                                  std::move(field), std::move(message), std::move(oldValue),
                                  std::move(newValue)});
}

void SyncChangeLog::AddSyncFailure(std::u16string kind, std::u16string table,
                                   std::u16string message) {
  AddSyncLog(u"C", std::move(kind), std::move(table), u"", std::move(message));
  entries_.back().failure = true;
}

void SyncChangeLog::sort() {
  // Binary order: letter case counts, as the log has always been sorted.
  std::stable_sort(entries_.begin(), entries_.end(),
                   [](const SyncLogEntry& a, const SyncLogEntry& b) {
                     if (a.table != b.table) return a.table < b.table;
                     return a.field < b.field;
                   });
}

std::u16string syncLogFileName(const std::u16string& projVar, const std::tm& local) {
  std::u16string name;
  for (char16_t c : projVar) {
    if (c != u'/' && c != u'\\') name += c;
  }
  while (name.find(u"..") != std::u16string::npos) name = replaceAll(name, u"..", u"");
  return name + u"_" + toU16(local.tm_year + 1900) + twoDigits(local.tm_mon + 1) +
         twoDigits(local.tm_mday) + twoDigits(local.tm_hour) + twoDigits(local.tm_min) +
         twoDigits(local.tm_sec) + u".log";
}

std::u16string formatSyncLogLine(const SyncLogEntry& e) {
  const std::u16string object = toLower(e.kind) == u"field" ? e.table + u"->" + e.field : e.table;
  std::u16string line = actionCode(e.action) + u" : (" + e.kind + u") " + object;
  if (e.action == u"C") line += u" - " + e.message;
  return onOneLine(line);
}

std::u16string formatSyncLog(const std::vector<SyncLogEntry>& sorted, const std::tm& local) {
  const ProjectContext& ctx = projectContext();
  std::u16string out = u"# Software: " + ctx.productTitle + u"\r\n";
  out += u"# Version: " + ctx.shortVersion + u"\r\n";
  out += u"# Date: " + toU16(local.tm_year + 1900) + u"-" + twoDigits(local.tm_mon + 1) + u"-" +
         twoDigits(local.tm_mday) + u" " + twoDigits(local.tm_hour) + u":" +
         twoDigits(local.tm_min) + u":" + twoDigits(local.tm_sec) + u"\r\n";
  std::u16string previous;
  for (const SyncLogEntry& e : sorted) {
    if (e.table != previous) {
      out += u"#\r\n# " + e.table + u"\r\n#\r\n";
      previous = e.table;
    }
    out += formatSyncLogLine(e) + u"\r\n";
  }
  return out;
}

std::u16string WriteSyncLog(AGP& project, SyncChangeLog& log) {
  Variant& setting = project.properties().setting(kProjSyncLog);
  setting = Variant(u"");
  const std::u16string& folder = projectContext().reportFolder;
  if (folder.empty()) return u"the report folder is not known";
  // The folder is made at start-up, but the user may have removed it since.
  if (!fs::folderExists(folder) && !fs::createFolders(folder)) {
    return u"the report folder \"" + folder + u"\" cannot be created";
  }
  const std::tm local = localNow();
  const std::u16string path =
      folder + u"/" + syncLogFileName(settingAsText(project.properties().setting(kProjVar)), local);
  log.sort();
  try {
    fs::appendFile(path, toAnsi(formatSyncLog(log.entries(), local)));
  } catch (const fs::FileError& e) {
    return fromUtf8(e.what());
  }
  if (log.count() > 0) setting = Variant(path);
  return {};
}

}  // namespace vantorel
