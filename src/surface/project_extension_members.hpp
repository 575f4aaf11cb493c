#pragma once
// The project object's members over the extensions, the custom scripts and the code base that
// need more than a call of the extensions layer.
#include <string>

#include "extensions/code_base.hpp"
#include "extensions/custom_scripts.hpp"
#include "extensions/extensions.hpp"
#include "platform/automation/ref.hpp"
#include "platform/automation/variant.hpp"

namespace vantorel {
class AGP;
}  // namespace vantorel

namespace vantorel::surface {

// The process-wide collections, whatever the project.
Ref<AGPExtensions> extensionsMember(AGP& project);
Ref<AGPCodeBase> codeBaseMember(AGP& project);
Ref<AGPCustomScripts> customScriptsMember(AGP& project);
bool deleteExtensionMember(AGP& project, const std::u16string& name);

// Scripts cannot hand over a declaration node; the extension's own file gives it. The node
// argument is accepted and not used.
bool addExtendedChartMember(AGP& project, const std::u16string& ext, const std::u16string& tbl,
                            const std::u16string& chart, const Variant& node);
bool addExtendedFieldMember(AGP& project, const std::u16string& ext, const std::u16string& tbl,
                            const std::u16string& field, const Variant& node);

}  // namespace vantorel::surface
