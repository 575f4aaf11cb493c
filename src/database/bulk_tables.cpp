#include "database/bulk_tables.hpp"

namespace vantorel {

BulkTable& BulkReading::table(const std::u16string& schema, const std::u16string& name) {
  const auto [it, fresh] = index_.try_emplace({schema, name}, tables_.size());
  if (fresh) {
    BulkTable& table = tables_.emplace_back();
    table.schema = schema;
    table.name = name;
  }
  return tables_[it->second];
}

const BulkTable* BulkReading::find(const std::u16string& schema, const std::u16string& name) const {
  const auto it = index_.find({schema, name});
  return it == index_.end() ? nullptr : &tables_[it->second];
}

BulkTable* BulkReading::find(const std::u16string& schema, const std::u16string& name) {
  return const_cast<BulkTable*>(std::as_const(*this).find(schema, name));
}

std::uint32_t BulkReading::signature(const std::u16string& facts) {
  return signatures_.try_emplace(facts, static_cast<std::uint32_t>(signatures_.size()))
      .first->second;
}

bool plainName(const std::u16string& name) {
  if (name.empty() || (name.front() >= u'0' && name.front() <= u'9')) return false;
  for (const char16_t c : name) {
    const bool letter = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
    if (!letter && c != u'_' && !(c >= u'0' && c <= u'9')) return false;
  }
  return true;
}

}  // namespace vantorel
