#include "platform/data/mdb_table_reader.hpp"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>

#include "platform/data/access_error.hpp"
#include "platform/data/mdb_stderr_capture.hpp"
#include "platform/text/case_fold.hpp"
#include "platform/text/strings.hpp"
#include "platform/text/unicode.hpp"

namespace vantorel::data::access {

namespace {

// libmdb's index types: 1 the primary key, 2 the reference a relationship keeps on the other
// table (no key columns of its own).
constexpr unsigned char kPrimaryIndex = 1;
constexpr unsigned char kForeignReference = 2;

std::optional<std::u16string> property(const MdbColumn& col, const char* key) {
  const char* value = mdb_col_get_prop(&col, key);
  if (!value) return std::nullopt;
  return fromUtf8(value);
}

bool yes(const std::optional<std::u16string>& value) {
  return value && (equalsNoCase(*value, u"yes") || equalsNoCase(*value, u"true") || *value == u"1");
}

// A calculated column is stored under a type of the engine's choosing (Integer for a Boolean
// result, Text of no size for a Memo, Double for Currency or Decimal); its "ResultType"
// property holds the type DAO gives the field. 0 or nothing: a plain column.
std::int32_t resultTypeOf(const MdbColumn& col) {
  const std::optional<std::u16string> value = property(col, "ResultType");
  if (!value || value->empty() || value->size() > 3) return col.col_type;
  std::int32_t type = 0;
  for (char16_t ch : *value) {
    if (ch < u'0' || ch > u'9') return col.col_type;
    type = type * 10 + (ch - u'0');
  }
  return type > 0 ? type : col.col_type;
}

AccessColumn columnOf(const MdbColumn& col, std::int32_t ordinal, JetFormat format) {
  AccessColumn c;
  c.name = fromUtf8(col.name);
  c.ordinalPosition = ordinal;
  c.jetType = col.col_type;
  const std::int32_t type = resultTypeOf(col);
  c.daoType = daoTypeOf(type);
  c.size = daoSizeOf(type, col.col_size, format);
  if (col.col_type == MDB_NUMERIC && type == MDB_NUMERIC) {
    // libmdb's two fields hold the format's precision and scale bytes the other way round.
    c.precision = static_cast<std::uint8_t>(col.col_scale);
    c.scale = static_cast<std::uint8_t>(col.col_prec);
  }
  // libmdb sets the auto-number bit on complex columns too; only a Long counts up.
  c.autoIncrement = col.col_type == MDB_LONGINT && col.is_long_auto;
  c.autoGuid = col.col_type == MDB_REPID && col.is_uuid_auto;
  c.attributes = (col.is_fixed ? kDaoFixedField : kDaoVariableField) |
                 (c.autoIncrement ? kDaoAutoIncrField : kDaoUpdatableField);
  c.required = yes(property(col, "Required"));
  c.allowZeroLength = yes(property(col, "AllowZeroLength"));
  c.defaultValue = property(col, "DefaultValue").value_or(u"");
  c.caption = property(col, "Caption");
  return c;
}

// libmdb walks the key lists of the "real" indexes 0..n-1 in file order, finding each one's
// logical entry by number; when one is missing it skips the entry without moving past it, so
// every later key list is read from the wrong place. Such a list is refused whole.
bool indexesReadable(const MdbTableDef& table, std::string_view messages) {
  if (messages.find("can't find") != std::string_view::npos) return false;
  const GPtrArray* indices = table.indices;
  if (!indices) return table.num_idxs == 0;
  unsigned real = 0;
  for (guint i = 0; i < indices->len; ++i) {
    const auto* idx = static_cast<const MdbIndex*>(g_ptr_array_index(indices, i));
    if (idx->index_type != kForeignReference) ++real;
  }
  for (unsigned n = 0; n < real; ++n) {
    bool found = false;
    for (guint i = 0; i < indices->len && !found; ++i) {
      const auto* idx = static_cast<const MdbIndex*>(g_ptr_array_index(indices, i));
      found = idx->index_type != kForeignReference && idx->index_num == static_cast<int>(n);
    }
    if (!found) return false;
  }
  for (guint i = 0; i < indices->len; ++i) {
    const auto* idx = static_cast<const MdbIndex*>(g_ptr_array_index(indices, i));
    if (idx->index_type == kForeignReference) continue;
    if (idx->num_keys == 0 || idx->num_keys > MDB_MAX_IDX_COLS) return false;
    for (unsigned k = 0; k < idx->num_keys; ++k) {
      if (idx->key_col_num[k] < 1 || unsigned(idx->key_col_num[k]) > table.columns->len) {
        return false;
      }
    }
  }
  return true;
}

std::vector<AccessIndex> indexesOf(const MdbTableDef& table,
                                   const std::vector<AccessColumn>& columns) {
  std::vector<AccessIndex> list;
  if (!table.indices) return list;
  for (guint i = 0; i < table.indices->len; ++i) {
    const auto* idx = static_cast<const MdbIndex*>(g_ptr_array_index(table.indices, i));
    AccessIndex x;
    x.name = fromUtf8(idx->name);
    // Access refuses "." in object names: such an entry is the engine's own bookkeeping.
    if (x.name.find(u'.') != std::u16string::npos) continue;
    x.kind = idx->index_type == kPrimaryIndex       ? IndexKind::Primary
             : idx->index_type == kForeignReference ? IndexKind::Foreign
                                                    : IndexKind::Other;
    x.unique = (idx->flags & MDB_IDX_UNIQUE) != 0;
    x.ignoreNulls = (idx->flags & MDB_IDX_IGNORENULLS) != 0;
    if (!x.foreign()) {
      for (unsigned k = 0; k < idx->num_keys; ++k) {
        x.fields.push_back(columns[std::size_t(idx->key_col_num[k]) - 1].name);
      }
    }
    list.push_back(std::move(x));
  }
  return list;
}

}  // namespace

AccessTable readTableDefinition(MdbCatalogEntry& entry, JetFormat format) {
  AccessTable t;
  t.name = fromUtf8(entry.object_name);
  MdbStderrCapture capture;
  MdbTablePtr table(mdb_read_table(&entry));
  if (!table || !mdb_read_columns(table.get())) {
    raiseAccessError(AccessFailure::ObjectUnreadable,
                     u"The definition of table '" + t.name + u"' cannot be read.",
                     capture.release());
  }
  const GPtrArray* columns = table->columns;
  t.columns.reserve(columns->len);
  for (guint i = 0; i < columns->len; ++i) {
    const auto* col = static_cast<const MdbColumn*>(g_ptr_array_index(columns, i));
    t.columns.push_back(columnOf(*col, static_cast<std::int32_t>(i), format));
  }
  mdb_read_indices(table.get());
  const std::string messages = capture.release();
  if (indexesReadable(*table, messages)) {
    t.indexes = indexesOf(*table, t.columns);
  } else {
    t.indexNote = u"The indexes of table '" + t.name + u"' could not be read; it is given none.";
    const std::size_t end = messages.find('\n');
    if (!messages.empty()) t.indexNote += u" libmdb: " + fromUtf8(messages.substr(0, end));
    const auto more = std::count(messages.begin(), messages.end(), '\n') - 1;
    if (end != std::string::npos && more > 0) t.indexNote += u" (and " + toU16(more) + u" more)";
  }
  return t;
}

}  // namespace vantorel::data::access
