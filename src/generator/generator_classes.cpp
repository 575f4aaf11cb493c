#include "generator/generator_classes.hpp"

#include <string>

#include "foundation/foundation_classes.hpp"
#include "generator/unzip_component.hpp"

namespace vantorel {

// Most of generation is the project object's own operations; the classes a host or a script
// may create themselves are registered here.
void registerGeneratorClasses(ClassFactory& factory) {
  registerEngineClass<UnzipComponent>(factory, u"UnzipComponent");
}

}  // namespace vantorel
