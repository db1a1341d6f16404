#pragma once
// TBase: the root of the track's objects. Each knows its owner and its number in
// the owner's list, and gets or sets its values by their property names. What the
// rest of the program does with the objects (files, rows, drawing, editing, the
// views) lives in the folders that serve it.
#include <cstdint>
#include <string>

#include "model/values.h"

namespace meridal {

class ProjectReader;
class ProjectWriter;
class TrackExportWriter;

class TBase {
 public:
  explicit TBase(TBase* owner = nullptr) : Owner(owner) {}
  virtual ~TBase() = default;
  TBase(const TBase&) = delete;
  TBase& operator=(const TBase&) = delete;

  TBase* Owner = nullptr;  // track for a section; section for a wall or an altitude
  int32_t Number = 0;      // index in the owner's list

  virtual void SetDefaults() {}
  virtual bool ReadProject(ProjectReader&) { return false; }
  virtual bool ExportTrack(TrackExportWriter&) { return false; }
  virtual bool WriteProject(ProjectWriter&) { return false; }
  // The next and previous object in the owner's list (sections wrap around).
  virtual TBase* Next() const { return nullptr; }
  virtual TBase* Previous() const { return nullptr; }
  // A value by its property name: 0 for a name the object does not have.
  virtual int32_t GetValue(const std::string& /*name*/) const { return 0; }
  // Sets a value by its property name through its checked setter; false when the
  // value is refused or the object has no value of that name (nothing changes).
  virtual bool SetValue(const std::string& /*name*/, int32_t /*value*/) { return false; }
};

}  // namespace meridal
