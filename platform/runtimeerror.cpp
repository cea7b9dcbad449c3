#include "platform/runtimeerror.h"

namespace pw {

RuntimeError::RuntimeError(int number, Text description)
    : number_(number), description_(std::move(description)), utf8_(toUtf8(description_)) {}

}  // namespace pw
