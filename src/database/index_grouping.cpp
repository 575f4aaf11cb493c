#include "database/index_grouping.hpp"

#include <utility>

#include "foundation/sql_quoting.hpp"

namespace vantorel {

namespace {

class IndexGrouping {
 public:
  explicit IndexGrouping(std::int16_t kind) : kind_(kind) {}

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
    if (kind_ == kDbmsAccess && primary) marks_.primary.push_back(column_);
  }

  // Marks the single column of the index just read when that index is unique.
  void finishIndex() {
    if (columnCount_ == 1 && unique_) marks_.unique.push_back(column_);
    columnCount_ = 0;
    unique_ = false;
  }

  IndexMarks marks() && { return std::move(marks_); }

 private:
  std::int16_t kind_;
  IndexMarks marks_;
  std::u16string previousIndex_;
  std::u16string column_;
  std::int32_t columnCount_ = 0;
  bool unique_ = false;
};

}  // namespace

IndexMarks groupIndexColumns(const std::vector<IndexColumn>& rows, std::int16_t dbmsKind) {
  IndexGrouping grouping(dbmsKind);
  for (const IndexColumn& row : rows) grouping.add(row);
  grouping.finishIndex();
  return std::move(grouping).marks();
}

}  // namespace vantorel
