#pragma once
// TBase: the root of the track's objects. Its virtual operations, in this order,
// are the way the rest of the program reaches the model: the tree and the
// property list, the Edit commands, the drawing and the edit operations. The
// files are read and written by readers and writers over the track (src/files).
#include <cstdint>
#include <string>

#include "platform/tree_nodes.h"
#include "present/rows.h"

namespace meridal {

class IEditCommands;
class TScaleDraw;

// An integer rectangle in track units; top is the largest y, bottom the smallest.
struct TRect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
  friend bool operator==(const TRect&, const TRect&) = default;
};

class TBase {
 public:
  explicit TBase(TBase* owner = nullptr) : Owner(owner) {}
  virtual ~TBase() = default;
  TBase(const TBase&) = delete;
  TBase& operator=(const TBase&) = delete;

  NodeHandle TreeNode = nullptr;  // the tree node that shows this object, if any
  TBase* Owner = nullptr;         // track for a section; section for a wall or an altitude
  int32_t Number = 0;             // index in the owner's list
  int32_t SelectedChild = -1;     // track: highlighted section; section: highlighted wall
  int32_t SelectedItem = -1;      // section: highlighted altitude (trace)

  virtual void SetDefaults() {}
  virtual void AddToTree(ITreeNodes&, NodeHandle /*parent*/) {}
  virtual void FillProperties(RowList&) {}
  virtual void EnableCommands(IEditCommands&) {}
  virtual void Draw(TScaleDraw&, int32_t /*viewFlags*/) {}
  virtual void DrawSelection(TScaleDraw&) {}
  virtual std::string Label(const std::string& buffer) const { return buffer; }
  virtual TBase* Next() { return nullptr; }
  virtual TBase* Previous() { return nullptr; }
  virtual void Highlight() {}
  virtual void SelectChild(int32_t) {}
  virtual void SelectAltitude(int32_t) {}
  virtual bool RemoveChild(int32_t) { return false; }
  virtual bool AddChild(int32_t /*index*/, bool /*before*/) { return false; }
  virtual bool SplitChild(int32_t /*index*/, int32_t /*firstLength*/) { return false; }
  virtual bool ChangeChildType(int32_t) { return false; }
  // Forwarded to the owner with this object's number.
  virtual bool Remove() { return Owner != nullptr && Owner->RemoveChild(Number); }
  virtual bool Add(bool before) { return Owner != nullptr && Owner->AddChild(Number, before); }
  virtual bool Split(int32_t firstLength) { return Owner != nullptr && Owner->SplitChild(Number, firstLength); }
  virtual bool ChangeType() { return Owner != nullptr && Owner->ChangeChildType(Number); }
  // Reads (set false) or writes (set true) a value by its property name. Reading
  // returns the value; writing returns 1 when accepted and 0 when refused. An
  // unknown name gives 0 both ways.
  virtual int32_t AccessValue(const std::string& /*name*/, int32_t /*value*/, bool /*set*/) { return 0; }
};

}  // namespace meridal
