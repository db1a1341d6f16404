#pragma once
// The Edit menu's commands: each confirms with the user, calls one operation of
// the object selected in the tree (or of the track), reports a refusal, and ends
// with the document's common refresh. The tree's popup menu runs the same ones.
#include <string>

namespace meridal {

class IShellDialogs;
class TBase;
class TDocumentShell;

class TEditCommandFlow {
 public:
  TEditCommandFlow(TDocumentShell& shell, IShellDialogs& dialogs) : shell_(shell), dialogs_(dialogs) {}

  void Remove();
  void AddBefore();
  void AddAfter();
  void Split();
  void ChangeType();
  void CopyWallsFrom();
  void CopyWallsToAll();
  void CopyAltitude();

 private:
  // The selected node's object, or nullptr without a document or a selection.
  TBase* Selected() const;
  std::string Label() const;
  // Asks "<question> <label> ?", runs the operation and says "<refusal> <label> !" when it refuses.
  template <typename Operation>
  void Confirmed(const char* question, const char* refusal, Operation operation);

  TDocumentShell& shell_;
  IShellDialogs& dialogs_;
};

}  // namespace meridal
