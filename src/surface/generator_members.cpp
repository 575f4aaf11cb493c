// The script members of the unzip component.
#include "generator/unzip_component.hpp"
#include "platform/automation/bind.hpp"
#include "surface/install_table.hpp"
#include "surface/surface_tables.hpp"

namespace vantorel::surface {

void installGeneratorTables() noexcept {
  installTable<UnzipComponent>(u"UnzipComponent", [](ClassInfo& c) {
    using T = UnzipComponent;
    ClassBuilder<T>(c)
        .prop<&T::ZipFile, &T::setZipFile>(u"ZipFile")
        .prop<&T::Overwrite, &T::setOverwrite>(u"Overwrite")
        .prop<&T::UseFolders, &T::setUseFolders>(u"UseFolders")
        .prop<&T::Action, &T::setAction>(u"Action")
        .prop<&T::TargetFolder, &T::setTargetFolder>(u"TargetFolder")
        .method<&T::Extract>(u"Extract")
        .get<&T::LastMessage>(u"LastMessage")
        .get<&T::FileCount>(u"FileCount");
  });
}

}  // namespace vantorel::surface
