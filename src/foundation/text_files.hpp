#pragma once
// Whole-file text reading, with the reader chosen by the file's byte-order mark.
#include "platform/automation/variant.hpp"

namespace vantorel {

// The file's whole text: UTF-8 or UTF-16 (either byte order) when it starts with that mark,
// else the system code page. Empty when the file is missing, unreadable or empty.
Variant ReadTextFile(const Variant& path);
// The whole file decoded as UTF-8, its mark dropped; Empty when it cannot be read.
Variant ReadUtf8File(const Variant& path);
// "UTF-8", "UNICODE BIG", "UNICODE" or "" by the hexadecimal form of the first three bytes.
Variant DetectFileEncoding(const Variant& path);
// The bytes of a byte array as one upper-case hexadecimal number without leading zeros
// (EF BB BF -> "EFBBBF", 00 41 42 -> "4142"). Raises 13 for a value that is not an array.
Variant BytesToHex(const Variant& bytes);

}  // namespace vantorel
