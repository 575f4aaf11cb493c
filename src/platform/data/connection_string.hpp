#pragma once
// ODBC connection strings built from key/value pairs. A value is brace-quoted only when plain
// text would change its meaning: it holds ';', '{', '}' or '=', or begins or ends with a blank.
// Every other value is written exactly as given, so the familiar "dsn=X;uid=Y;pwd=Z" texts stay
// as they always were.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vantorel::data {

// The value as it goes into a connection string: "{...}" with '}' doubled when it needs quoting.
std::u16string quoteConnectionValue(std::u16string_view value);

// One element of a connection string, its key in lower case.
struct ConnectionPair {
  std::u16string key;
  std::u16string value;
};

// The elements of a connection string in their order; an element without "=" gives nothing. A
// value that opens with "{" runs to its closing "}" ("}}" standing for one), so a quoted ';'
// stays inside; a plain value loses its surrounding blanks.
std::vector<ConnectionPair> connectionStringPairs(std::u16string_view text);

class ConnectionString {
 public:
  ConnectionString& add(std::u16string key, std::u16string value);
  // "key=value;key=value", without a trailing ';'.
  std::u16string text() const;

 private:
  std::vector<std::pair<std::u16string, std::u16string>> parts_;
};

// "dsn=<dsn>;uid=<uid>;pwd=<pwd>", each value quoted when it needs it; an empty user or
// password is left out, so that the data source's stored one is used.
std::u16string dsnConnectionString(std::u16string_view dsn, std::u16string_view uid,
                                   std::u16string_view pwd);

}  // namespace vantorel::data
