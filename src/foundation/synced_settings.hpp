#pragma once
// Carrying one object's synchronised settings over to another: every row of the source whose
// Sync flag is set and whose name the target declares gives the target its value. Nothing is
// declared in the target, and its other rows keep their values. Charts, tables, fields and
// trendlines are copied this way, and so are the extension entries of a copied object.
#include <string_view>

#include "foundation/properties.hpp"

namespace vantorel {

// `except` names one row (compared without regard to case) that is left out; empty: none.
void CopySyncedSettings(const AGProperties& source, AGProperties& target,
                        std::u16string_view except = {});

}  // namespace vantorel
