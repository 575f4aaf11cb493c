#pragma once
// Failures of the settings stores. Each message names the store file, so that a user can find
// and mend what is wrong.
#include <cstddef>
#include <stdexcept>
#include <string>

namespace vantorel::reg {

// Any failure of a store: unreadable or unwritable file, a write to a read-only store, a name
// the store format cannot hold.
class RegStoreError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A store file that is not valid registry export text. Line and column count from 1; columns
// count characters.
class RegParseError : public RegStoreError {
 public:
  RegParseError(std::string file, std::size_t line, std::size_t column, std::string reason);
  const std::string& file() const noexcept { return file_; }
  std::size_t line() const noexcept { return line_; }
  std::size_t column() const noexcept { return column_; }
  const std::string& reason() const noexcept { return reason_; }

 private:
  std::string file_;
  std::size_t line_;
  std::size_t column_;
  std::string reason_;
};

}  // namespace vantorel::reg
