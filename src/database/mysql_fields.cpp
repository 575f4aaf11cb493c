#include "database/mysql_fields.hpp"

#include <optional>
#include <vector>

#include "fields/field_settings.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/data/statement.hpp"
#include "platform/text/case_fold.hpp"
#include "platform/text/strings.hpp"

namespace vantorel {

namespace {

// The values of a list of quoted literals, "('a','it''s','x,y)')"; nothing when the text is not
// such a list.
std::optional<std::vector<std::u16string>> quotedValues(std::u16string_view text) {
  const std::size_t open = text.find(u'(');
  if (open == std::u16string_view::npos) return std::nullopt;
  std::vector<std::u16string> values;
  std::size_t i = open + 1;
  const auto skipBlanks = [&] {
    while (i < text.size() && isBlank(text[i])) ++i;
  };
  for (;;) {
    skipBlanks();
    if (i >= text.size() || text[i] != u'\'') return std::nullopt;
    ++i;
    std::u16string value;
    bool closed = false;
    while (i < text.size() && !closed) {
      if (text[i] != u'\'') {
        value += text[i++];
      } else if (i + 1 < text.size() && text[i + 1] == u'\'') {
        value += u'\'';
        i += 2;
      } else {
        ++i;
        closed = true;
      }
    }
    if (!closed) return std::nullopt;
    values.push_back(std::move(value));
    skipBlanks();
    if (i >= text.size()) return std::nullopt;
    if (text[i] == u')') return values;
    if (text[i] != u',') return std::nullopt;
    ++i;
  }
}

// A text that is no list of literals is read as the list up to the first ")", quotes dropped
// and split at every comma.
std::vector<std::u16string> plainValues(std::u16string_view text) {
  const std::size_t p1 = text.find(u'(');
  const std::size_t p2 = text.find(u')');
  if (p1 == std::u16string_view::npos || p2 == std::u16string_view::npos || p2 <= p1) return {};
  return split(replaceAll(text.substr(p1 + 1, p2 - p1 - 1), u"'", u""), u",");
}

}  // namespace

std::u16string showFieldsQuery(const data::Connection& connection, std::u16string_view schema,
                               std::u16string_view table) {
  return u"SHOW FIELDS FROM " + connection.quoteName(schema, table);
}

std::u16string MySQLTagValues(std::u16string_view str) {
  return tagValuesOf(quotedValues(str).value_or(plainValues(str)));
}

std::u16string tagValuesOf(const std::vector<std::u16string>& values) {
  std::u16string result;
  for (const std::u16string& value : values) {
    const std::u16string q = u"\"" + replaceAll(value, u"\"", u"&quot;") + u"\"";
    result += q + u"," + q + u"\r\n";
  }
  return result;
}

void applyEnumTagValues(AGPField& fld, const std::u16string& tagValues) {
  AGProperties& bag = fld.properties();
  bag.setting(kFldTagValues) = Variant(tagValues);
  bag.setting(kFldHtmlTag) = Variant(isBoolTagValues(tagValues) ? u"RADIO" : u"SELECT");
}

bool isBoolTagValues(std::u16string_view values) {
  static constexpr std::u16string_view kLists[] = {
      u"\"0\",\"0\"\r\n\"1\",\"1\"", u"\"1\",\"1\"\r\n\"0\",\"0\"", u"\"N\",\"N\"\r\n\"Y\",\"Y\"",
      u"\"Y\",\"Y\"\r\n\"N\",\"N\""};
  for (std::u16string_view list : kLists) {
    if (values == list || values == std::u16string(list) + u"\r\n") return true;
  }
  return false;
}

bool IsBoolTagValues(AGPField& fld) {
  const Variant& stored = fld.properties().setting(kFldTagValues);
  return isBoolTagValues(stored.isString() ? stored.stringValue() : std::u16string());
}

std::optional<MySqlColumnType> mySqlColumnType(const data::QueryResult& rs,
                                               std::u16string_view sFldName) {
  std::size_t row = 0;
  for (; row < rs.rows.size(); ++row) {
    const Variant& name = rs.value(row, u"Field");
    if (name.isArray()) return std::nullopt;
    if (data::textOf(name) == sFldName) break;
  }
  if (row == rs.rows.size()) return std::nullopt;
  return mySqlColumnType(data::textOf(rs.value(row, u"Type")), data::textOf(rs.value(row, u"Key")));
}

MySqlColumnType mySqlColumnType(std::u16string type, std::u16string key) {
  MySqlColumnType column;
  column.type = std::move(type);
  column.key = std::move(key);
  const std::u16string lower = toLower(column.type);
  if (startsWith(lower, u"enum")) {
    column.list = MySqlColumnType::ValueList::Enum;
    column.tagValues = MySQLTagValues(std::u16string_view(column.type).substr(4));
  } else if (startsWith(lower, u"set")) {
    column.list = MySqlColumnType::ValueList::Set;
    column.tagValues = MySQLTagValues(std::u16string_view(column.type).substr(3));
  }
  return column;
}

void applyMySqlColumnType(AGPField& fld, const MySqlColumnType& column) {
  AGProperties& bag = fld.properties();
  bag.setting(kFldTypeName) = Variant(column.type);
  if (column.key == u"PRI") {
    bag.setting(kFldIsPrimaryKey) = Variant(true);
  } else if (column.key == u"UNI") {
    bag.setting(kFldUniqueIdx) = Variant(true);
  }
  if (column.list == MySqlColumnType::ValueList::Enum) {
    applyEnumTagValues(fld, column.tagValues);
  } else if (column.list == MySqlColumnType::ValueList::Set) {
    bag.setting(kFldTagValues) = Variant(column.tagValues);
    bag.setting(kFldHtmlTag) = Variant(u"CHECKBOX");
  }
}

void SetupMySQLFld(AGPField& fld, const data::QueryResult& rs, std::u16string_view sFldName) {
  if (const std::optional<MySqlColumnType> column = mySqlColumnType(rs, sFldName)) {
    applyMySqlColumnType(fld, *column);
  }
}

}  // namespace vantorel
