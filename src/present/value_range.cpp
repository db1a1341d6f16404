#include "present/value_range.h"

#include <climits>

#include "history/editor.h"
#include "edit/track_edits.h"
#include "history/history.h"
#include "model/object_path.h"
#include "model/section.h"
#include "model/track.h"
#include "present/format.h"
#include "present/typed_value.h"

namespace meridal {

namespace {

// The object's track: its owner's owner, as far up as it goes.
TTrack* TrackOf(const TBase& object) {
  for (TBase* o = const_cast<TBase*>(&object); o; o = o->Owner)
    if (auto* track = dynamic_cast<TTrack*>(o)) return track;
  return nullptr;
}

// Whether a change made through the editor is taken; one that is taken is taken
// back at once from the step it made, which restores every value exactly.
bool Taken(TTrack& track, const std::function<history::Outcome(history::TEditor&)>& change) {
  history::THistory scratch;
  history::TEditor editor(track, scratch);
  const history::Outcome outcome = change(editor);
  if (outcome == history::Outcome::Changed) {
    TTrackChange undone;
    scratch.Undo(track, undone);
  }
  return outcome != history::Outcome::Refused;
}

std::string ValueText(int32_t value, ValueKind kind) {
  switch (kind) {
    case ValueKind::Plain: return std::to_string(value);
    case ValueKind::Orientation: return AngleMeaning(value);
    case ValueKind::Sweep: return CurvatureMeaning(value);
    case ValueKind::Length: return value == 0 ? std::string("0 m") : LengthMeaning(value);
  }
  return std::string();
}

std::string RangeText(const std::string& caption, const std::optional<TAcceptedRange>& range, ValueKind kind) {
  if (!range || (!range->least && !range->most)) return std::string();
  if (!range->most) return caption + ": at least " + ValueText(*range->least, kind);
  if (!range->least) return caption + ": at most " + ValueText(*range->most, kind);
  return caption + ": from " + ValueText(*range->least, kind) + " to " + ValueText(*range->most, kind);
}

}  // namespace

std::optional<TAcceptedRange> ProbeAcceptedRange(int32_t known, const std::function<bool(int32_t)>& accepts) {
  if (!accepts(known)) return std::nullopt;
  // Steps doubling outwards find the nearest refused value on each side (the
  // values taken need not be one run: an arc's radius on either side of its
  // walls), then halving finds where the run around `known` ends.
  const auto end = [&](int64_t limit, int64_t direction) -> std::optional<int32_t> {
    int64_t taken = known, refused = limit;
    for (int64_t step = 1;; step *= 2) {
      const int64_t probe = known + direction * step;
      if ((probe - limit) * direction >= 0) {
        if (accepts(static_cast<int32_t>(limit))) return std::nullopt;
        break;
      }
      if (!accepts(static_cast<int32_t>(probe))) {
        refused = probe;
        break;
      }
      taken = probe;
    }
    while ((refused - taken) * direction > 1) {
      const int64_t middle = taken + (refused - taken) / 2;
      (accepts(static_cast<int32_t>(middle)) ? taken : refused) = middle;
    }
    return static_cast<int32_t>(taken);
  };
  TAcceptedRange range;
  range.least = end(INT32_MIN, -1);
  range.most = end(INT32_MAX, 1);
  return range;
}

std::string ValueRangeText(const TBase& object, const std::string& name) {
  TTrack* track = TrackOf(object);
  if (!track) return std::string();
  // A value step puts its values back into the same objects; the path finds the
  // object all the same.
  const TObjectPath path = PathOf(object);
  const auto range = ProbeAcceptedRange(object.GetValue(name), [&](int32_t value) {
    return Taken(*track, [&](history::TEditor& e) {
      TBase* target = Resolve(*track, path);
      return target ? e.SetValue(*target, name, value) : history::Outcome::Refused;
    });
  });
  return RangeText(name, range, ValueKindOf(name));
}

std::string SplitRangeText(const TBase& section) {
  const TTrack* track = TrackOf(section);
  const auto* s = dynamic_cast<const TSection*>(&section);
  if (!track || !s) return std::string();
  const int index = s->Number;
  // Half the section is the length the dialog proposes, and one every split of a
  // section that can be split at all takes.
  const auto range = ProbeAcceptedRange(s->Length / 2, [&](int32_t length) {
    return edit::SplitAccepted(*track, index, length);
  });
  return RangeText("Length of first part", range, ValueKind::Length);
}

}  // namespace meridal
