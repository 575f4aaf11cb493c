#pragma once
// A transaction in which the server refuses every change, rolled back at its end on every path.
// Describing a user's query may have to run it; this is what it runs in.
#include "platform/data/connection.hpp"

namespace vantorel::data {

class ReadOnlyTransaction {
 public:
  // Raises DataError when the server refuses to make the transaction read-only.
  explicit ReadOnlyTransaction(Connection& connection);
  ~ReadOnlyTransaction();
  ReadOnlyTransaction(const ReadOnlyTransaction&) = delete;
  ReadOnlyTransaction& operator=(const ReadOnlyTransaction&) = delete;

 private:
  void end() noexcept;

  Connection& connection_;
  bool sqlite_ = false;
  bool sqliteWasQueryOnly_ = false;
};

}  // namespace vantorel::data
