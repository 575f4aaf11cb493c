#include "database/access_custom_view.hpp"

#include <memory>
#include <unordered_map>

#include "database/custom_sql_analyzer.hpp"
#include "database/custom_sql_statement.hpp"
#include "foundation/sql_quoting.hpp"
#include "platform/automation/automation_error.hpp"
#include "platform/automation/vb_errors.hpp"
#include "platform/data/access_query_columns.hpp"
#include "platform/data/connection_string.hpp"
#include "platform/text/case_fold.hpp"
#include "platform/text/strings.hpp"

namespace vantorel {

namespace access = data::access;

namespace {

// A table or stored select query of the file, in the file's spelling.
struct FileObject {
  std::u16string name;
  std::vector<access::AccessColumn> columns;
};

class AccessQueryDescriber {
 public:
  AccessQueryDescriber(access::AccessFile& file, std::u16string_view sql)
      : file_(file), sql_(sql) {}

  std::vector<access::AccessColumn> describe(const CustomSqlAnalyzer& analyzer) {
    for (const TableSource& source : analyzer.tables()) {
      if (source.base) objectOf(source);
    }
    std::vector<access::ReachedColumn> out;
    int unnamed = 0;
    for (const CustomSqlColumn& item : analyzer.columns()) {
      if (item.star) {
        addStar(analyzer, item, out);
      } else if (!item.expression) {
        addColumn(analyzer, item, out);
      } else {
        access::AccessColumn c;
        c.daoType = access::kDaoMemo;
        c.attributes = access::kDaoVariableField;
        // DAO names an unnamed expression Expr1000, Expr1001, ...
        c.name = item.alias ? item.name : u"Expr" + toU16(1000 + unnamed++);
        out.push_back({u"", std::move(c)});
      }
    }
    if (out.empty()) refuse(u"has no column to describe", 0);
    return access::namedOutputs(std::move(out));
  }

 private:
  [[noreturn]] void refuse(std::u16string_view what, std::size_t position) const {
    throw AutomationError(vberr::kInvalidProcedureCall, customQueryProblem(what, sql_, position));
  }

  const FileObject& objectOf(const TableSource& source) {
    const std::u16string& name = source.parts.back();
    if (source.parts.size() > 1) {
      refuse(u"names " + source.text + u", which is not a table of the file", source.position);
    }
    if (const auto known = objects_.find(name); known != objects_.end()) return *known->second;
    auto object = std::make_unique<FileObject>();
    for (const std::u16string& table : file_.tableNames()) {
      if (!equalsNoCase(table, name)) continue;
      object->name = table;
      object->columns = file_.readTable(table).columns;
    }
    if (object->name.empty()) {
      for (const access::QueryInfo& query : file_.queries()) {
        if (!query.isView() || !equalsNoCase(query.name, name)) continue;
        object->name = query.name;
        object->columns = file_.readQuery(query.name).columns;
      }
    }
    if (object->name.empty()) {
      refuse(u"names " + source.text + u", which is no table or select query of the file",
             source.position);
    }
    return *objects_.emplace(name, std::move(object)).first->second;
  }

  // The FROM item a qualifier names: by its alias, else by its table's name.
  static const TableSource* sourceNamed(const CustomSqlAnalyzer& analyzer,
                                        const std::u16string& qualifier) {
    for (const TableSource& source : analyzer.tables()) {
      if (equalsNoCase(source.alias, qualifier)) return &source;
    }
    for (const TableSource& source : analyzer.tables()) {
      if (!source.parts.empty() && equalsNoCase(source.parts.back(), qualifier)) return &source;
    }
    return nullptr;
  }

  const FileObject& baseOf(const TableSource* source, const CustomSqlColumn& item) {
    if (!source) {
      refuse(u"names " + item.qualifier + u", which its FROM clause does not hold", item.position);
    }
    if (!source->base) {
      refuse(u"takes a column from a subquery, which cannot be described without running it",
             item.position);
    }
    return objectOf(*source);
  }

  static std::u16string throughName(const TableSource& source) {
    return source.alias.empty() ? source.parts.back() : source.alias;
  }

  static void addAll(const FileObject& object, const std::u16string& through,
                     std::vector<access::ReachedColumn>& out) {
    for (access::AccessColumn c : object.columns) {
      c.sourceTable = object.name;
      c.sourceField = c.name;
      out.push_back({through, std::move(c)});
    }
  }

  void addStar(const CustomSqlAnalyzer& analyzer, const CustomSqlColumn& item,
               std::vector<access::ReachedColumn>& out) {
    if (!item.qualifier.empty()) {
      const TableSource* source = sourceNamed(analyzer, item.qualifier);
      const FileObject& object = baseOf(source, item);
      addAll(object, throughName(*source), out);
      return;
    }
    if (analyzer.tables().empty()) refuse(u"has a * without a FROM clause", item.position);
    for (const TableSource& source : analyzer.tables()) {
      const FileObject& object = baseOf(&source, item);
      addAll(object, throughName(source), out);
    }
  }

  static const access::AccessColumn* columnOf(const FileObject& object,
                                              const std::u16string& name) {
    for (const access::AccessColumn& c : object.columns) {
      if (equalsNoCase(c.name, name)) return &c;
    }
    return nullptr;
  }

  // The one FROM item whose table has the column written without a table.
  const TableSource& ownerOf(const CustomSqlAnalyzer& analyzer, const CustomSqlColumn& item,
                             const std::u16string& field) {
    // Over one table the column is that table's, or a column it lacks.
    if (analyzer.tables().size() == 1) return analyzer.tables().front();
    const TableSource* owner = nullptr;
    std::u16string owners;
    bool derived = false;
    for (const TableSource& source : analyzer.tables()) {
      if (!source.base) {
        derived = true;
        continue;
      }
      if (!columnOf(objectOf(source), field)) continue;
      owners += (owners.empty() ? u"" : u", ") + throughName(source);
      if (owner) {
        refuse(u"names the column " + field + u", which more than one of its tables has (" +
                   owners + u")",
               item.position);
      }
      owner = &source;
    }
    if (owner) return *owner;
    if (derived) {
      refuse(u"takes a column from a subquery, which cannot be described without running it",
             item.position);
    }
    refuse(u"names the column " + field + u", which none of its tables has", item.position);
  }

  void addColumn(const CustomSqlAnalyzer& analyzer, const CustomSqlColumn& item,
                 std::vector<access::ReachedColumn>& out) {
    const std::u16string& field = item.referenced;
    const TableSource* source = item.qualifier.empty() ? &ownerOf(analyzer, item, field)
                                                       : sourceNamed(analyzer, item.qualifier);
    const FileObject& object = baseOf(source, item);
    const access::AccessColumn* column = columnOf(object, field);
    if (!column) {
      refuse(u"names the column " + field + u", which " + object.name + u" does not have",
             item.position);
    }
    access::AccessColumn c = *column;
    c.name = item.alias ? item.name : field;
    c.sourceTable = object.name;
    c.sourceField = column->name;
    out.push_back({item.alias ? u"" : throughName(*source), std::move(c)});
  }

  access::AccessFile& file_;
  std::u16string_view sql_;
  std::unordered_map<std::u16string, std::unique_ptr<FileObject>, NoCaseHash, NoCaseEqual> objects_;
};

bool isAccessProvider(std::u16string_view provider) {
  return startsWithNoCase(provider, u"Microsoft.Jet.OLEDB.") ||
         startsWithNoCase(provider, u"Microsoft.ACE.OLEDB.");
}

}  // namespace

std::optional<std::u16string> accessFileOfConnection(std::u16string_view connectionString) {
  std::optional<std::u16string> file;
  bool access = false;
  for (const data::ConnectionPair& pair : data::connectionStringPairs(connectionString)) {
    if (pair.key == u"provider") access = isAccessProvider(pair.value);
    if (pair.key == u"data source") file = pair.value;
  }
  if (!access) return std::nullopt;
  return file.value_or(u"");
}

AccessQueryDescription describeAccessQuery(access::AccessFile& file, std::u16string_view sql) {
  AccessQueryDescription result;
  const CustomQueryText text = checkCustomQuery(sql, kDbmsAccess);
  if (text.problem) {
    result.problem = text.problem;
    return result;
  }
  CustomSqlAnalyzer analyzer;
  if (!analyzer.analyse(text.statement, kDbmsAccess)) {
    result.problem = u"The query of a custom view cannot be read: " + analyzer.problem();
    return result;
  }
  try {
    result.columns = AccessQueryDescriber(file, text.statement).describe(analyzer);
  } catch (const AutomationError& e) {
    // A refused item, or a table of the file that could not be read.
    result.problem = e.description();
  }
  return result;
}

}  // namespace vantorel
