#pragma once
// The one way a desktop service fails: a number and a description for the user. The error report
// shows the description; the number lets callers tell kinds of failure apart.
#include <exception>
#include <string>

#include "platform/text.h"

namespace pw {

namespace err {
constexpr int OutOfMemory = 7;
constexpr int TypeMismatch = 13;
constexpr int BadFileName = 52;
constexpr int FileNotFound = 53;
constexpr int DiskFull = 61;
constexpr int PermissionDenied = 70;
constexpr int PathFileAccess = 75;
constexpr int PathNotFound = 76;
constexpr int InvalidProcedureCall = 5;
constexpr int InvalidPicture = 481;
constexpr int ClipboardFormat = 461;
constexpr int ClipboardBusy = 521;
constexpr int WindowNotFound = 5;
constexpr int ServiceUnavailable = 429;
constexpr int NoSuchMember = 438;         // the object has no such property or method
constexpr int WrongArgumentCount = 450;  // wrong number of arguments or invalid property assignment
}  // namespace err

class RuntimeError : public std::exception {
 public:
  RuntimeError(int number, Text description);
  int number() const noexcept { return number_; }
  const Text& description() const noexcept { return description_; }
  const char* what() const noexcept override { return utf8_.c_str(); }

 private:
  int number_;
  Text description_;
  std::string utf8_;
};

// How every backend words a failed system call: "Could not <what>: <the system's reason>."
[[noreturn]] void throwCouldNot(int number, TextView what, TextView reason);

}  // namespace pw
