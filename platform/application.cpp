#include "platform/application.h"

#include <cstdio>

#include "platform/runtimeerror.h"

namespace pw {

void ApplicationBase::prepareToEnd() {
  if (beforeEnd_) beforeEnd_();
  std::fflush(nullptr);
}

void throwNotAPicture(TextView path) {
  throw RuntimeError(err::InvalidPicture,
                     u"Invalid picture: \"" + Text(path) + u"\" is not a picture or cursor Pagewick can read.");
}

void throwNotAWebAddress(TextView address) {
  throw RuntimeError(err::InvalidProcedureCall, u"\"" + Text(address) + u"\" is not a web address.");
}

void throwAddressNotOpened(TextView address, TextView detail) {
  throw RuntimeError(err::FileNotFound, u"The address \"" + Text(address) + u"\" could not be opened" + Text(detail) + u".");
}

}  // namespace pw
