#pragma once
// The Edit menu's commands: each confirms with the user, runs one operation of the
// document on its selected object and reports a refusal. The tree's popup menu
// runs the same ones.
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
  // The document's selected object, or nullptr without a document.
  const TBase* Selected() const;
  std::string Label() const;
  // Asks "<question> <label> ?", runs the operation and says "<refusal> <label> !" when it refuses.
  template <typename Operation>
  void Confirmed(const char* question, const char* refusal, Operation operation);

  TDocumentShell& shell_;
  IShellDialogs& dialogs_;
};

}  // namespace meridal
