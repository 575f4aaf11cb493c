#include "platform/data/data_sources.hpp"

#include <odbcinst.h>

#include <string>

#include "platform/text/unicode.hpp"

namespace vantorel::data {

namespace {

// The narrow call reads the ini files as UTF-8 bytes, which is how they are written on Linux.
std::string profileString(const std::string& section, const char* key) {
  std::string buffer(4096, '\0');
  const int length = SQLGetPrivateProfileString(section.c_str(), key, "", buffer.data(),
                                                static_cast<int>(buffer.size()), "odbc.ini");
  buffer.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
  // Some unixODBC versions count the terminator; the value never holds one.
  if (const auto nul = buffer.find('\0'); nul != std::string::npos) buffer.resize(nul);
  return buffer;
}

}  // namespace

std::u16string dataSourceValue(std::u16string_view dsn, std::u16string_view name) {
  if (dsn.empty() || name.empty()) return {};
  return fromUtf8(profileString(toUtf8(dsn), toUtf8(name).c_str()));
}

bool dataSourceExists(std::u16string_view dsn) {
  if (dsn.empty()) return false;
  // With no key, unixODBC lists the section's keys; an unknown section lists nothing.
  std::string buffer(4096, '\0');
  const int length = SQLGetPrivateProfileString(toUtf8(dsn).c_str(), nullptr, "", buffer.data(),
                                                static_cast<int>(buffer.size()), "odbc.ini");
  return length > 0 && buffer[0] != '\0';
}

DataSourceInfo readDataSource(std::u16string_view dsn) {
  DataSourceInfo info;
  info.driver = dataSourceValue(dsn, u"Driver");
  info.database = dataSourceValue(dsn, u"Database");
  info.server = dataSourceValue(dsn, u"Server");
  info.servername = dataSourceValue(dsn, u"Servername");
  info.uid = dataSourceValue(dsn, u"UID");
  info.password = dataSourceValue(dsn, u"Password");
  info.port = dataSourceValue(dsn, u"Port");
  info.trustedConnection = dataSourceValue(dsn, u"Trusted_Connection");
  return info;
}

}  // namespace vantorel::data
