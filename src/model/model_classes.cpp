#include "model/model_classes.hpp"

#include <string>
#include <string_view>

#include "foundation/foundation_classes.hpp"
#include "model/databases.hpp"

namespace vantorel {

namespace {

template <class T>
void registerClass(ClassFactory& factory, std::u16string_view name) {
  factory.registerClass(std::u16string(kProgIdPrefix) + std::u16string(name),
                        [] { return Ref<Object>(makeRef<T>()); });
}

}  // namespace

void registerModelClasses(ClassFactory& factory) {
  registerClass<AGPDatabase>(factory, u"AGPDatabase");
  registerClass<AGPDatabases>(factory, u"AGPDatabases");
  registerClass<AGPTable>(factory, u"AGPTable");
  registerClass<AGPTables>(factory, u"AGPTables");
  registerClass<AGPChart>(factory, u"AGPChart");
  registerClass<AGPCharts>(factory, u"AGPCharts");
  registerClass<AGPTrend>(factory, u"AGPTrend");
  registerClass<AGPTrends>(factory, u"AGPTrends");
}

}  // namespace vantorel
