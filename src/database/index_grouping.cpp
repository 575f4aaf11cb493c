#include "database/index_grouping.hpp"

#include "fields/field_settings.hpp"
#include "foundation/sql_quoting.hpp"

namespace vantorel {

namespace {

class IndexGrouping {
 public:
  IndexGrouping(AGPFields& fields, std::int16_t kind) : fields_(fields), kind_(kind) {}

  void add(const IndexColumn& row) {
    if (row.indexName != previousIndex_) {
      finishIndex();
      previousIndex_ = row.indexName;
    }
    unique_ = row.unique;
    column_ = row.column;
    const bool primary =
        row.primaryKey.value_or(kind_ == kDbmsAccess && row.indexName == u"PrimaryKey");
    if (!column_.empty()) ++columnCount_;
    if (kind_ == kDbmsAccess && primary) {
      forFieldsNamed(fields_, column_, [](AGPField& f) { f.setFldIsPrimaryKey(true); });
    }
  }

  // Marks the single column of the index just read when that index is unique.
  void finishIndex() {
    if (columnCount_ == 1 && unique_) {
      forFieldsNamed(fields_, column_,
                     [](AGPField& f) { f.properties().setting(kFldUniqueIdx) = Variant(true); });
    }
    columnCount_ = 0;
    unique_ = false;
  }

 private:
  AGPFields& fields_;
  std::int16_t kind_;
  std::u16string previousIndex_;
  std::u16string column_;
  std::int32_t columnCount_ = 0;
  bool unique_ = false;
};

}  // namespace

void applyIndexColumns(const std::vector<IndexColumn>& rows, AGPFields& fields,
                       std::int16_t dbmsKind) {
  IndexGrouping grouping(fields, dbmsKind);
  for (const IndexColumn& row : rows) grouping.add(row);
  grouping.finishIndex();
}

}  // namespace vantorel
