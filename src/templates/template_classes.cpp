#include "templates/template_classes.hpp"

#include <string>

#include "foundation/control_items.hpp"
#include "foundation/foundation_classes.hpp"
#include "templates/control.hpp"
#include "templates/control_session.hpp"
#include "templates/control_sessions.hpp"
#include "templates/controls.hpp"
#include "templates/file_cache.hpp"
#include "templates/stamp_cache.hpp"
#include "templates/template_parser.hpp"

namespace vantorel {

void registerTemplateClasses(ClassFactory& factory) {
  registerEngineClass<AGParser>(factory, u"AGParser");
  registerEngineClass<AGPFileCache>(factory, u"AGPFileCache");
  registerEngineClass<AGPControls>(factory, u"AGPControls");
  registerEngineClass<AGPControl>(factory, u"AGPControl");
  registerEngineClass<AGPSessions>(factory, u"AGPSessions");
  registerEngineClass<AGPSession>(factory, u"AGPSession");
  registerEngineClass<AGPCache>(factory, u"AGPCache");
  registerEngineClass<AGControlItems>(factory, u"AGControlItems");
  registerEngineClass<AGControlItem>(factory, u"AGControlItem");
}

}  // namespace vantorel
