#include "agp/agp_classes.hpp"

#include "agp/agp.hpp"
#include "foundation/foundation_classes.hpp"

namespace vantorel {

void registerAgpClasses(ClassFactory& factory) {
  factory.registerClass(std::u16string(kProgIdPrefix) + u"AGP",
                        [] { return Ref<Object>(makeRef<AGP>()); });
}

}  // namespace vantorel
