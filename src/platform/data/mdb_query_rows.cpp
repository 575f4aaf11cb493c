#include "platform/data/mdb_query_rows.hpp"

#include <array>
#include <cstdlib>
#include <string_view>

#include "platform/data/access_error.hpp"
#include "platform/data/mdb_stderr_capture.hpp"
#include "platform/text/unicode.hpp"

namespace vantorel::data::access {

namespace {

enum Column { kObjectId, kAttribute, kName1, kName2, kExpression, kFlag, kColumnCount };

constexpr std::array<const char*, kColumnCount> kColumnNames = {"ObjectId", "Attribute",  "Name1",
                                                                "Name2",    "Expression", "Flag"};

// libmdb writes each bound value as text of up to the handle's bind size.
struct Binding {
  std::vector<char> text;
  int length = 0;

  std::string_view value() const {
    return {text.data(), static_cast<std::size_t>(length > 0 ? length : 0)};
  }
};

long number(const Binding& b) {
  return std::strtol(std::string(b.value()).c_str(), nullptr, 10);
}

}  // namespace

QueryRowsById readQueryRows(MdbCatalogEntry& msysQueries) {
  MdbStderrCapture capture;
  MdbTablePtr table(mdb_read_table(&msysQueries));
  if (!table || !mdb_read_columns(table.get())) {
    raiseAccessError(AccessFailure::ObjectUnreadable, u"The stored queries cannot be read.",
                     capture.release());
  }
  const std::size_t size = msysQueries.mdb->bind_size + 1;
  std::array<Binding, kColumnCount> bound;
  for (int c = 0; c < kColumnCount; ++c) {
    bound[c].text.assign(size, '\0');
    std::string name = kColumnNames[c];
    if (mdb_bind_column_by_name(table.get(), name.data(), bound[c].text.data(), &bound[c].length) <
        0) {
      raiseAccessError(AccessFailure::ObjectUnreadable,
                       u"The stored queries have no column " + fromUtf8(name) + u".",
                       capture.release());
    }
  }
  QueryRowsById rows;
  mdb_rewind_table(table.get());
  while (mdb_fetch_row(table.get())) {
    QueryRow r;
    r.attribute = static_cast<std::int32_t>(number(bound[kAttribute]));
    r.name1 = fromUtf8(bound[kName1].value());
    r.name2 = fromUtf8(bound[kName2].value());
    r.expression = fromUtf8(bound[kExpression].value());
    r.flag = static_cast<std::int32_t>(number(bound[kFlag]));
    rows[catalogueId(number(bound[kObjectId]))].push_back(std::move(r));
  }
  return rows;
}

}  // namespace vantorel::data::access
