#include "files/terrain/gdal_session.h"

#include <cpl_conv.h>
#include <cpl_error.h>
#include <gdal.h>

#include <mutex>

namespace meridal {

TGdalSession::TGdalSession() {
  static std::once_flag once;
  std::call_once(once, [] {
    // Reading writes nothing beside the model (no .aux.xml of statistics), and
    // GDAL's block cache stays small: a window is read once.
    CPLSetConfigOption("GDAL_PAM_ENABLED", "NO");
    CPLSetConfigOption("GDAL_CACHEMAX", "64");
    GDALAllRegister();
  });
  CPLPushErrorHandler(CPLQuietErrorHandler);
  CPLErrorReset();
}

TGdalSession::~TGdalSession() { CPLPopErrorHandler(); }

std::string TGdalSession::Reason() const {
  const char* message = CPLGetLastErrorMsg();
  if (!message || !*message) return {};
  std::string text(message);
  // A message is one line; a file's name in it may carry control characters.
  for (char& c : text)
    if (static_cast<unsigned char>(c) < 0x20) c = ' ';
  if (text.size() > 200) text = text.substr(0, 200) + "...";
  return ": " + text;
}

}  // namespace meridal
