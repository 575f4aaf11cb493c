#pragma once
// Readable captions from database names, and the blank-free names formed from the product name.
#include <string>
#include <string_view>

#include "platform/automation/variant.hpp"

namespace vantorel {

// ORDER_DETAILS -> "ORDER DETAILS", OrderDetails -> "Order Details", unit-price -> "unit price".
std::u16string NameToCaption(std::u16string_view name);
// Inserts a blank before each run of capitals, digits and opening brackets that follows other
// characters: CustomerID -> "Customer ID", Price(USD) -> "Price (USD)".
Variant SplitCamelWord(const Variant& word);
std::u16string StripSpacesAndSlashes(std::u16string_view text);

}  // namespace vantorel
