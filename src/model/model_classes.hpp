#pragma once
// Makes the database, table, chart and trendline classes creatable as "vantorel4.<class>".
#include "platform/automation/class_factory.hpp"

namespace vantorel {

void registerModelClasses(ClassFactory& factory);

}  // namespace vantorel
