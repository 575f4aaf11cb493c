#include "templates/template_classes.hpp"

#include <string>

#include "foundation/foundation_classes.hpp"
#include "templates/control.hpp"
#include "templates/control_items.hpp"
#include "templates/control_session.hpp"
#include "templates/control_sessions.hpp"
#include "templates/controls.hpp"
#include "templates/file_cache.hpp"
#include "templates/stamp_cache.hpp"
#include "templates/template_parser.hpp"

namespace vantorel {

namespace {

template <class T>
void registerClass(ClassFactory& factory, std::u16string_view name) {
  factory.registerClass(std::u16string(kProgIdPrefix) + std::u16string(name),
                        [] { return Ref<Object>(makeRef<T>()); });
}

}  // namespace

void registerTemplateClasses(ClassFactory& factory) {
  registerClass<AGParser>(factory, u"AGParser");
  registerClass<AGPFileCache>(factory, u"AGPFileCache");
  registerClass<AGPControls>(factory, u"AGPControls");
  registerClass<AGPControl>(factory, u"AGPControl");
  registerClass<AGPSessions>(factory, u"AGPSessions");
  registerClass<AGPSession>(factory, u"AGPSession");
  registerClass<AGPCache>(factory, u"AGPCache");
  registerClass<AGControlItems>(factory, u"AGControlItems");
  registerClass<AGControlItem>(factory, u"AGControlItem");
}

}  // namespace vantorel
