#include "fields/field_classes.hpp"

#include <string>

#include "fields/field.hpp"
#include "fields/fields.hpp"
#include "foundation/foundation_classes.hpp"

namespace vantorel {

void registerFieldClasses(ClassFactory& factory) {
  registerEngineClass<AGPField>(factory, u"AGPField");
  registerEngineClass<AGPFields>(factory, u"AGPFields");
}

}  // namespace vantorel
