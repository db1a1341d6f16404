#pragma once
// The Edit menu's commands on runs of sections and on the whole track: Copy, Cut
// and Paste through the system clipboard, Reverse Track and Mirror Track. Each
// runs one operation of the document and reports a refusal with its reason.
namespace meridal {

class IClipboard;
class TDocument;
class TDocumentShell;

class TClipboardCommandFlow {
 public:
  TClipboardCommandFlow(TDocumentShell& shell, IClipboard& clipboard) : shell_(shell), clipboard_(clipboard) {}

  // Whether the document has a run to copy (or cut), a section to paste after.
  static bool CanCopy(const TDocument* document);
  static bool CanPaste(const TDocument* document);

  void Copy();
  // Copy, then the run removed as one step ("Cut 3 Sections"); a run that would
  // leave the track without a section is neither copied nor cut.
  void Cut();
  // The clipboard's sections after the run's last section.
  void Paste();
  void ReverseTrack();
  void MirrorTrack();

 private:
  TDocumentShell& shell_;
  IClipboard& clipboard_;
};

}  // namespace meridal
