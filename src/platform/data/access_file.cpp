#include "platform/data/access_file.hpp"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <set>

#include "platform/data/access_error.hpp"
#include "platform/data/access_query_columns.hpp"
#include "platform/data/access_types.hpp"
#include "platform/data/mdb_handles.hpp"
#include "platform/data/mdb_query_rows.hpp"
#include "platform/data/mdb_stderr_capture.hpp"
#include "platform/data/mdb_table_reader.hpp"
#include "platform/text/case_fold.hpp"
#include "platform/text/strings.hpp"
#include "platform/text/unicode.hpp"

namespace vantorel::data::access {

namespace {

// MSysObjects.Flags: DAO's dbSystemObject bits, and the bit Access sets on hidden objects.
constexpr std::int32_t kSystemObject = static_cast<std::int32_t>(0x80000002u);
constexpr std::int32_t kHiddenObject = 0x8;

// A query reading queries reads at most this deep, so that a cycle cannot recurse for ever.
constexpr int kMaxQueryDepth = 16;

struct NoCaseLess {
  bool operator()(const std::u16string& a, const std::u16string& b) const noexcept {
    return compareNoCase(a, b) < 0;
  }
};

bool userTable(const MdbCatalogEntry& e, std::u16string_view name) {
  // Access treats every "MSys" name as a system object whatever its flags (MSysCompactError
  // is stored with none).
  return e.object_type == MDB_TABLE && (e.flags & (kSystemObject | kHiddenObject)) == 0 &&
         !startsWithNoCase(name, u"MSys");
}

bool userQuery(const MdbCatalogEntry& e, std::u16string_view name) {
  // "~sq_..." queries are the record sources Access keeps for forms and reports.
  return e.object_type == MDB_QUERY && (e.flags & kHiddenObject) == 0 && !startsWith(name, u"~");
}

void checkReadable(const std::filesystem::path& path) {
  if (path.empty()) raiseAccessError(AccessFailure::FileNotFound, u"No database file was named.");
  const std::u16string shown = fromUtf8(path.string());
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) {
    raiseAccessError(AccessFailure::FileNotFound, u"Could not find file '" + shown + u"'.");
  }
  if (std::filesystem::is_directory(path, ec)) {
    raiseAccessError(AccessFailure::CannotOpen, u"'" + shown + u"' is a folder, not a file.");
  }
  if (::access(path.c_str(), R_OK) != 0) {
    const int error = errno;
    raiseAccessError(AccessFailure::CannotOpen, u"Cannot open file '" + shown + u"': " +
                                                    fromUtf8(std::strerror(error)) + u".");
  }
}

}  // namespace

struct AccessFile::State {
  MdbHandlePtr mdb;
  JetFormat format = JetFormat::Jet4;
  std::u16string version;
  std::vector<std::u16string> tableNames;
  std::vector<QueryInfo> queries;
  std::map<std::u16string, MdbCatalogEntry*, NoCaseLess> tables;  // every table, by name
  std::map<std::u16string, MdbCatalogEntry*, NoCaseLess> queryEntries;
  QueryRowsById queryRows;
  std::map<std::u16string, AccessTable, NoCaseLess> tableCache;
  std::map<std::u16string, std::vector<AccessColumn>, NoCaseLess> queryColumnCache;
  std::u16string messages;
  std::u16string queryFailure;

  void note(const std::string& text) {
    if (text.empty()) return;
    messages += fromUtf8(text);
  }

  const AccessTable& table(std::u16string_view name);
  AccessQuery query(std::u16string_view name, int depth);
};

const AccessTable& AccessFile::State::table(std::u16string_view name) {
  const std::u16string key(name);
  if (auto cached = tableCache.find(key); cached != tableCache.end()) return cached->second;
  const auto entry = tables.find(key);
  if (entry == tables.end()) {
    raiseAccessError(AccessFailure::ObjectNotFound, u"Could not find table '" + key + u"'.");
  }
  AccessTable t = readTableDefinition(*entry->second, format);
  if (!t.indexNote.empty()) messages += t.indexNote + u"\r\n";
  return tableCache.emplace(key, std::move(t)).first->second;
}

AccessQuery AccessFile::State::query(std::u16string_view name, int depth) {
  const auto entry = queryEntries.find(std::u16string(name));
  if (entry == queryEntries.end()) {
    raiseAccessError(AccessFailure::ObjectNotFound,
                     u"Could not find query '" + std::u16string(name) + u"'.");
  }
  AccessQuery q;
  q.info.name = entry->first;
  q.info.kind = queryKindOf(entry->second->flags);
  const auto rows = queryRows.find(static_cast<std::uint32_t>(entry->second->table_pg));
  static const std::vector<QueryRow> kNoRows;
  ParsedQuery parsed = parseQuery(q.info.kind, rows == queryRows.end() ? kNoRows : rows->second);
  q.info.hasParameters = parsed.hasParameters;
  const ColumnSource columnsOf = [&](const std::u16string& source) {
    const std::vector<AccessColumn>* found = nullptr;
    if (tables.count(source)) {
      found = &table(source).columns;
    } else if (queryEntries.count(source) && depth < kMaxQueryDepth) {
      auto cached = queryColumnCache.find(source);
      if (cached == queryColumnCache.end()) {
        cached = queryColumnCache.emplace(source, query(source, depth + 1).columns).first;
      }
      found = &cached->second;
    }
    return found;
  };
  q.columns = describeOutputs(parsed, columnsOf);
  q.sql = std::move(parsed.sql);
  q.tables = std::move(parsed.tables);
  q.joins = std::move(parsed.joins);
  return q;
}

AccessFile AccessFile::open(const std::filesystem::path& path) {
  checkReadable(path);
  auto state = std::make_unique<State>();
  const std::u16string shown = fromUtf8(path.string());
  {
    MdbStderrCapture capture;
    state->mdb.reset(mdb_open(path.c_str(), MDB_NOFLAGS));
    if (!state->mdb || !mdb_read_catalog(state->mdb.get(), MDB_ANY)) {
      raiseAccessError(AccessFailure::UnrecognizedFormat,
                       u"Unrecognized database format '" + shown + u"'.", capture.release());
    }
    state->note(capture.release());
  }
  state->format = static_cast<JetFormat>(state->mdb->f->jet_version);
  state->version = formatVersion(state->format);

  std::set<std::u16string, NoCaseLess> tableNames;
  MdbCatalogEntry* msysQueries = nullptr;
  const GPtrArray* catalog = state->mdb->catalog;
  for (guint i = 0; i < catalog->len; ++i) {
    auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(catalog, i));
    std::u16string name = fromUtf8(entry->object_name);
    if (entry->object_type == MDB_TABLE) {
      if (name == u"MSysQueries") msysQueries = entry;
      if (userTable(*entry, name)) tableNames.insert(name);
      state->tables.emplace(std::move(name), entry);
    } else if (userQuery(*entry, name)) {
      state->queryEntries.emplace(std::move(name), entry);
    }
  }
  state->tableNames.assign(tableNames.begin(), tableNames.end());

  if (msysQueries && !state->queryEntries.empty()) {
    try {
      state->queryRows = readQueryRows(*msysQueries);
    } catch (const AutomationError& e) {
      // The tables stay readable; the queries then show as having no clauses.
      state->queryFailure = e.description();
      state->messages += e.description() + u"\r\n";
    }
  }
  for (const auto& [name, entry] : state->queryEntries) {
    QueryInfo info;
    info.name = name;
    info.kind = queryKindOf(entry->flags);
    const auto rows = state->queryRows.find(static_cast<std::uint32_t>(entry->table_pg));
    if (rows != state->queryRows.end()) {
      info.hasParameters = std::any_of(rows->second.begin(), rows->second.end(),
                                       [](const QueryRow& r) { return r.attribute == 2; });
    }
    state->queries.push_back(std::move(info));
  }
  return AccessFile(std::move(state));
}

AccessFile::AccessFile(std::unique_ptr<State> state) : state_(std::move(state)) {}
AccessFile::AccessFile(AccessFile&&) noexcept = default;
AccessFile& AccessFile::operator=(AccessFile&&) noexcept = default;
AccessFile::~AccessFile() = default;

const std::u16string& AccessFile::version() const noexcept {
  return state_->version;
}

const std::vector<std::u16string>& AccessFile::tableNames() const noexcept {
  return state_->tableNames;
}

const std::vector<QueryInfo>& AccessFile::queries() const noexcept {
  return state_->queries;
}

std::vector<std::u16string> AccessFile::viewNames() const {
  std::vector<std::u16string> names;
  // A query whose clauses are unknown could be anything: none is offered as a view.
  if (!state_->queryFailure.empty()) return names;
  for (const QueryInfo& q : state_->queries) {
    if (q.isView()) names.push_back(q.name);
  }
  return names;
}

const std::u16string& AccessFile::queryFailure() const noexcept {
  return state_->queryFailure;
}

AccessTable AccessFile::readTable(std::u16string_view name) {
  return state_->table(name);
}

AccessQuery AccessFile::readQuery(std::u16string_view name) {
  return state_->query(name, 0);
}

std::u16string AccessFile::messages() const {
  return state_->messages;
}

}  // namespace vantorel::data::access
