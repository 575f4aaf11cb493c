#pragma once
// The script runtime's file objects: Scripting.FileSystemObject and ADODB.Stream.
#include "platform/automation/class_factory.hpp"

namespace vantorel::vbs {

void registerFileObjects(vantorel::ClassFactory& factory);

}  // namespace vantorel::vbs
