#pragma once
// The product's identity and version, from which registry paths, folder names, file root
// element names and message titles are formed.
#include <string>

namespace vantorel {

inline constexpr char16_t kProductName[] = u"Vantorel";
inline constexpr char16_t kProductTitle[] = u"Vantorel";
inline constexpr int kVersionMajor = 4;
inline constexpr int kVersionMinor = 0;
inline constexpr int kVersionRevision = 0;

// major.minor.0.revision
std::u16string fullVersion();
// major.minor
std::u16string shortVersion();

}  // namespace vantorel
