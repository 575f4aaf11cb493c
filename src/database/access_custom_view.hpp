#pragma once
// A custom view's query over an Access file, described from the file itself. The Jet and ACE
// OLE DB providers its connection string names do not exist here, so the query is neither run
// nor prepared: the query analysis finds the tables and columns of its SELECT list and the
// file's definitions of those tables give their types, as the Access loader reads them.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/data/access_file.hpp"

namespace vantorel {

// The file that a connection string for the Jet or ACE OLE DB provider names ("Data Source");
// nothing for any other connection string.
std::optional<std::u16string> accessFileOfConnection(std::u16string_view connectionString);

struct AccessQueryDescription {
  // The result columns in order, named as DAO names them (an unnamed expression Expr1000, a
  // name several columns bear qualified by its table), each a copy of the column it shows with
  // sourceTable and sourceField set to the file's spelling.
  std::vector<data::access::AccessColumn> columns;
  // Why the query cannot be described, with its line and column where one item is at fault.
  std::optional<std::u16string> problem;
};

// A column taken from a table or stored select query of the file keeps that column's
// definition. Any other item (arithmetic, a function, an aggregate, a literal) is a Memo: its
// type is not known without running the query, and long text holds whatever it gives. A query
// the analysis cannot read, a table or query the file does not hold, a column its table lacks,
// a name more than one table has, or a column of a subquery gives a problem instead.
AccessQueryDescription describeAccessQuery(data::access::AccessFile& file, std::u16string_view sql);

}  // namespace vantorel
