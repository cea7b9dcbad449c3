#include "platform/posix/localencoding.h"

#include <cerrno>
#include <iconv.h>
#include <langinfo.h>
#include <locale.h>

#include "platform/runtimeerror.h"
#include "platform/textencoding.h"

namespace pw::posix {
namespace {

bool isUtf8(const std::string& codeset) {
  return codeset == "UTF-8" || codeset == "utf8" || codeset == "ANSI_X3.4-1968" || codeset.empty();
}

[[noreturn]] void unrepresentable(TextView text, std::size_t at, const std::string& codeset) {
  throwUnrepresentable(text, at, fromUtf8(codeset));
}

}  // namespace

std::string localCodeset() {
  static const std::string codeset = [] {
    locale_t loc = newlocale(LC_CTYPE_MASK, "", static_cast<locale_t>(0));
    if (!loc) return std::string("UTF-8");
    std::string name = nl_langinfo_l(CODESET, loc);
    freelocale(loc);
    return isUtf8(name) ? std::string("UTF-8") : name;
  }();
  return codeset;
}

std::string encodeText(TextView text, const std::string& codeset) {
  if (auto lone = findLoneSurrogate(text); lone != TextView::npos) unrepresentable(text, lone, codeset);
  std::string utf8 = toUtf8(text);
  if (isUtf8(codeset)) return utf8;

  iconv_t cd = iconv_open(codeset.c_str(), "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    throw RuntimeError(err::InvalidProcedureCall,
                       u"The system's encoding " + fromUtf8(codeset) + u" is not supported.");
  }
  std::string out(utf8.size() * 2 + 16, '\0');
  char* in = utf8.data();
  std::size_t inLeft = utf8.size();
  char* dst = out.data();
  std::size_t outLeft = out.size();
  while (inLeft > 0) {
    if (iconv(cd, &in, &inLeft, &dst, &outLeft) != static_cast<std::size_t>(-1)) continue;
    if (errno == E2BIG) {
      std::size_t used = out.size() - outLeft;
      out.resize(out.size() * 2);
      dst = out.data() + used;
      outLeft = out.size() - used;
      continue;
    }
    iconv_close(cd);
    // Position in UTF-16 units of the byte that failed.
    std::size_t at = fromUtf8(std::string_view(utf8.data(), static_cast<std::size_t>(in - utf8.data()))).size();
    unrepresentable(text, at, codeset);
  }
  iconv_close(cd);
  out.resize(out.size() - outLeft);
  return out;
}

}  // namespace pw::posix
