#pragma once
// Pieces of a saved project file, for comparing what a change to the project left alone.
#include <cstddef>
#include <regex>
#include <string>

namespace vantorel::test {

// The element of one table in a saved project file, its position numbers taken out (they move
// when an object before it goes); "" when the file has no such table.
inline std::string tableElement(const std::string& file, const std::string& table) {
  const std::size_t name = file.find(" TblName=\"" + table + "\"");
  if (name == std::string::npos) return {};
  const std::size_t start = file.rfind("<Table ", name);
  const std::size_t end = file.find("</Table>", name);
  return std::regex_replace(file.substr(start, end - start), std::regex(" (Tbl|Fld)Seq=\"\\d+\""),
                            "");
}

// One field's element within its table's; "" when there is no such field.
inline std::string fieldElement(const std::string& file, const std::string& table,
                                const std::string& field) {
  const std::string element = tableElement(file, table);
  const std::size_t start = element.find("<Field FldName=\"" + field + "\"");
  if (start == std::string::npos) return {};
  return element.substr(start, element.find("<Field ", start + 1) - start);
}

}  // namespace vantorel::test
