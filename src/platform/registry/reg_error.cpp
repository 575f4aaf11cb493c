#include "platform/registry/reg_error.hpp"

namespace vantorel::reg {

namespace {
std::string describe(const std::string& file, std::size_t line, std::size_t column,
                     const std::string& reason) {
  return "Registry store '" + file + "' cannot be read: line " + std::to_string(line) +
         ", column " + std::to_string(column) + ": " + reason;
}
}  // namespace

RegParseError::RegParseError(std::string file, std::size_t line, std::size_t column,
                             std::string reason)
    : RegStoreError(describe(file, line, column, reason)),
      file_(std::move(file)),
      line_(line),
      column_(column),
      reason_(std::move(reason)) {}

}  // namespace vantorel::reg
