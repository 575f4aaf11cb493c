#include "platform/vbscript/vm/err_object.hpp"

#include "platform/automation/bind.hpp"
#include "platform/vbscript/script_error.hpp"
#include "platform/vbscript/vm/runtime.hpp"

namespace vantorel::vbs {

namespace {

// Err.Raise number, [source], [description], [helpfile], [helpcontext]. Arguments left out take
// what Err still holds from an error not yet cleared; only then the defaults for the number.
Variant raiseThunk(Object& self, CallArgs args) {
  if (args.size() < 1 || args.size() > 5) raiseVbError(vberr::kWrongArgumentCount);
  auto& err = static_cast<ErrObject&>(self);
  const std::int32_t number = vbErrorNumber(toLong(args[0]));
  // Zero, and positive numbers beyond a VB error number's 16 bits, are no error to raise.
  if (number == 0 || number > 0xFFFF) raiseVbError(vberr::kInvalidProcedureCall);
  std::u16string source = args.has(1) ? toString(args[1]) : err.source();
  if (source.empty()) source = kRuntimeErrorSource;
  std::u16string description = args.has(2) ? toString(args[2]) : err.description();
  if (!args.has(2) && description.empty()) {
    description = vbErrorDescription(number);
    if (description.empty()) description = compileErrorDescription(number);
    if (description.empty()) description = kUnknownRuntimeErrorText;
  }
  if (args.has(3)) err.setHelpFile(toString(args[3]));
  if (args.has(4)) err.setHelpContext(toLong(args[4]));
  err.keepHelpFor(args.has(3) || args.has(4) ? number : 0);
  throw AutomationError(number, std::move(source), std::move(description));
}

}  // namespace

const ClassInfo& ErrObject::classInfo() const noexcept {
  static const ClassInfo& info = describeClass(u"ErrObject", [](ClassInfo& c) {
    ClassBuilder<ErrObject>(c)
        .prop<&ErrObject::number, &ErrObject::setNumber>(u"Number")
        .prop<&ErrObject::description, &ErrObject::setDescription>(u"Description")
        .prop<&ErrObject::source, &ErrObject::setSource>(u"Source")
        .prop<&ErrObject::helpFile, &ErrObject::setHelpFile>(u"HelpFile")
        .prop<&ErrObject::helpContext, &ErrObject::setHelpContext>(u"HelpContext")
        .method<&ErrObject::clear>(u"Clear")
        .rawMethod(u"Raise", &raiseThunk)
        .defaultMember(u"Number");
  });
  return info;
}

void ErrObject::clear() {
  number_ = 0;
  description_.clear();
  source_.clear();
  helpFile_.clear();
  helpContext_ = 0;
  helpKeptFor_ = 0;
}

void ErrObject::setFrom(const AutomationError& e) {
  number_ = vbErrorNumber(e.number());
  description_ = e.description();
  if (description_.empty()) description_ = vbErrorDescription(number_);
  source_ = e.source().empty() ? std::u16string(kRuntimeErrorSource) : e.source();
  if (helpKeptFor_ == 0 || helpKeptFor_ != number_) {
    helpFile_.clear();
    helpContext_ = 0;
  }
  helpKeptFor_ = 0;
}

}  // namespace vantorel::vbs
