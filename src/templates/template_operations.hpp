#pragma once
// Gives the project object its BuildExParseFunction member; called once at start-up.

namespace vantorel {

void installTemplateOperations() noexcept;

}  // namespace vantorel
