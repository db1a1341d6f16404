#pragma once
// TFormSplit, "Split Section": the length of the first part, typed in integer
// units or in metres. On OK the section is split there, or refuses.
#include "ui/value_dialog.h"

namespace meridal {

class TFormSplit : public TValueDialog {
  Q_OBJECT

 public:
  explicit TFormSplit(IMessages& messages, QWidget* parent = nullptr);

  // The section (nullptr: nothing to split), and how the split is made (through
  // the document's history in the editor).
  void SetTarget(const TBase* section, ValueWriter split) { SetWriter(section, std::move(split)); }
  // The same, split by the track's own edit (the dialog on its own).
  void SetTarget(TBase* section);

  // EditName shows the section's whole length, EditValue the first part's.
  int32_t FirstLength() const { return Entry.CurrentValue; }

 protected:
  // Half the section: the whole of it is one length a split never takes.
  int32_t InitialValue() const override { return SectionLength() / 2; }
  void ShowIn(ValueBase base) override;

 private:
  int32_t SectionLength() const;
};

}  // namespace meridal
