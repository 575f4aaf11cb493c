#include "model/model_classes.hpp"

#include <string>
#include <string_view>

#include "foundation/foundation_classes.hpp"
#include "model/databases.hpp"

namespace vantorel {

void registerModelClasses(ClassFactory& factory) {
  registerEngineClass<AGPDatabase>(factory, u"AGPDatabase");
  registerEngineClass<AGPDatabases>(factory, u"AGPDatabases");
  registerEngineClass<AGPTable>(factory, u"AGPTable");
  registerEngineClass<AGPTables>(factory, u"AGPTables");
  registerEngineClass<AGPChart>(factory, u"AGPChart");
  registerEngineClass<AGPCharts>(factory, u"AGPCharts");
  registerEngineClass<AGPTrend>(factory, u"AGPTrend");
  registerEngineClass<AGPTrends>(factory, u"AGPTrends");
}

}  // namespace vantorel
