#pragma once
// A stretch of work with GDAL: its drivers registered once for the process,
// its settings for reading untrusted files made, and its error messages kept
// quiet (no printing to stderr) so that the caller can report the reason itself.
#include <string>

namespace meridal {

class TGdalSession {
 public:
  TGdalSession();
  ~TGdalSession();
  TGdalSession(const TGdalSession&) = delete;
  TGdalSession& operator=(const TGdalSession&) = delete;

  // ": " and GDAL's last message, or nothing when it gave none.
  std::string Reason() const;
};

}  // namespace meridal
