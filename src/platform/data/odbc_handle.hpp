#pragma once
// One ODBC handle (environment, connection or statement), freed when its owner goes.
#include <utility>

#include "platform/data/odbc_api.hpp"

namespace vantorel::data {

class OdbcHandle {
 public:
  OdbcHandle() noexcept = default;
  // Allocates a handle of the type under the parent; raises when the driver manager refuses.
  OdbcHandle(SQLSMALLINT type, SQLHANDLE parent);
  ~OdbcHandle() { reset(); }
  OdbcHandle(const OdbcHandle&) = delete;
  OdbcHandle& operator=(const OdbcHandle&) = delete;
  OdbcHandle(OdbcHandle&& other) noexcept
      : type_(other.type_), handle_(std::exchange(other.handle_, nullptr)) {}
  OdbcHandle& operator=(OdbcHandle&& other) noexcept {
    if (this != &other) {
      reset();
      type_ = other.type_;
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }

  SQLHANDLE get() const noexcept { return handle_; }
  SQLSMALLINT type() const noexcept { return type_; }
  explicit operator bool() const noexcept { return handle_ != SQL_NULL_HANDLE; }
  void reset() noexcept;

 private:
  SQLSMALLINT type_ = 0;
  SQLHANDLE handle_ = nullptr;
};

}  // namespace vantorel::data
