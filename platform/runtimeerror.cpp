#include "platform/runtimeerror.h"

namespace pw {

RuntimeError::RuntimeError(int number, Text description)
    : number_(number), description_(std::move(description)), utf8_(toUtf8(description_)) {}

void throwCouldNot(int number, TextView what, TextView reason) {
  throw RuntimeError(number, u"Could not " + Text(what) + u": " + Text(reason) + u".");
}

}  // namespace pw
