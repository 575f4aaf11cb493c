#include "platform/vbscript/objects/file_objects.hpp"

#include "platform/vbscript/objects/ado_stream.hpp"
#include "platform/vbscript/objects/file_system.hpp"

namespace vantorel::vbs {

void registerFileObjects(vantorel::ClassFactory& factory) {
  factory.registerClass(u"Scripting.FileSystemObject",
                        [] { return Ref<Object>(makeRef<FileSystemObject>()); });
  factory.registerClass(u"ADODB.Stream", [] { return Ref<Object>(makeRef<AdoStream>()); });
}

}  // namespace vantorel::vbs
