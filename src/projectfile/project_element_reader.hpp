#pragma once
// The part of the project file reader that places elements into the model, shared by the
// streamed read of a file and the walk of the small element trees kept from it (extension
// settings) or handed over whole (LoadProjectNode). An element's object is made from its start
// tag; the reader says what it wants of the element's content.
#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/chart.hpp"
#include "platform/automation/ref.hpp"
#include "platform/xml/attributes.hpp"
#include "projectfile/project_file_seams.hpp"

namespace vantorel {

class AGP;
class AGPTable;
class AGProperties;
class LoadNotes;

// One element's name and attributes, from the stream or from a node.
struct ElementTag {
  const char* name;
  std::span<const xml::AttributeView> attributes;
};

// Copies the tag's attributes into the bag as LoadNodeAttribs does; what it cannot take as
// written is said to notes.
void loadTagAttributes(const ElementTag& tag, AGProperties& props, LoadNotes* notes);

// The attributes of a tag read from `text` that a later save can write again: one whose name is
// no XML name or whose value holds a character XML cannot hold is left out and said to notes
// (where it stands in the text). The tag's own attributes when all are kept, else `kept`.
std::span<const xml::AttributeView> attributesToKeep(const ElementTag& tag, std::string_view text,
                                                     std::vector<xml::AttributeView>& kept,
                                                     LoadNotes* notes);

class ProjectElementReader {
 public:
  // notes may be null (nothing is said).
  ProjectElementReader(AGP& project, LoadNotes* notes) : project_(project), notes_(notes) {}

  enum class Kind { Model, CustomScript, Extension, Other };
  static Kind kindOf(const char* name);

  // What a model element's start did, for its end.
  struct Opened {
    bool readChildren = false;  // a database, table or chart: its elements are read in turn
    AGPTable* table = nullptr;
    Ref<AGPChart> chart;
  };
  // A model element's start tag (Kind::Model) below an element read at `depth`.
  Opened open(const ElementTag& tag, int depth);
  void close(const Opened& opened);

  // An element whose content the reader needs whole.
  void readCustomScript(const xml::Node& element);
  void readExtensionElement(const xml::Node& element, int depth);
  // The children of an element: model elements first, then extension elements.
  void read(const xml::Node& node, int depth);

 private:
  void readField(const ElementTag& tag);
  void readPhrase(const ElementTag& tag);
  AGPTable* currentTable() const;
  void dropped(const ElementTag& tag, std::u16string_view why);
  void readExtension(ProjectExtensionStore& store, const xml::Node& element, int depth);

  AGP& project_;
  LoadNotes* notes_;
  // The extension whose element is being read.
  std::unique_ptr<ProjectExtensionStore::StoredExtension> stored_;
};

}  // namespace vantorel
