#include "errors/procedure.h"

#include <new>

#include "addresses.h"
#include "platform/runtimeerror.h"

namespace pw {
namespace {

Text describe(std::exception_ptr failure) {
  try {
    std::rethrow_exception(failure);
  } catch (const RuntimeError& e) {
    return e.description();
  } catch (const std::bad_alloc&) {
    return u"Out of memory";
  } catch (const std::exception& e) {
    return fromUtf8(e.what());
  } catch (...) {
    return u"Unexpected failure";
  }
}

}  // namespace

Text errorReportPrompt(TextView description, TextView label, int line) {
  return Text(description) + u"\r\n" + Text(label) + u"at line " + number(line) + u"\r\r" +
         u"Please email screenshot of this message to " + addresses::kSupportEmail;
}

Procedure::Procedure(MessageBoxes& messages, std::string_view handler)
    : messages_(messages), label_(u"in Tolvane2021/08/31.Form1." + ascii(handler) + u" ") {}

void Procedure::report(std::exception_ptr failure) {
  messages_.show(errorReportPrompt(describe(failure), label_, line_), mb::Exclamation, Text(u"Application Error"));
}

}  // namespace pw
