#include "schema/schema_classes.hpp"

#include "foundation/foundation_classes.hpp"
#include "schema/schema_snapshot.hpp"

namespace vantorel {

void registerSchemaClasses(ClassFactory& factory) {
  registerEngineClass<AGPSchema>(factory, u"AGPSchema");
}

}  // namespace vantorel
