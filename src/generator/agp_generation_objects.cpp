// What the project object's start-up does to the objects of a running generation.
#include "agp/agp.hpp"
#include "templates/script_host.hpp"
#include "templates/stamp_cache.hpp"

namespace vantorel {

void AGP::emptyGenerationObjects() {
  ScriptEngine() = nullptr;
  TemplateCache() = nullptr;
}

}  // namespace vantorel
