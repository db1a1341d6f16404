#include "shell/tree_binder.h"

#include <algorithm>

#include "document/document.h"
#include "model/track.h"
#include "present/object_labels.h"
#include "present/rows.h"

namespace meridal {

TTreeBinder::TTreeBinder(TDocument& document, ITreeNodes& nodes) : document_(document), nodes_(nodes) {
  const TTrack& track = document_.Track();
  track_ = nodes_.AddChild(nullptr, Label(track), &track);
  nodes_.SetImages(track_, kNodeImageTrack, kNodeImageTrackSelected);
  nodes_.BeginUpdate();
  sections_.reserve(track.Sections.size());
  for (int s = 0; s < track.NumberOfSections(); ++s) sections_.push_back(AddSection(s, nullptr));
  nodes_.EndUpdate();
  listener_ = document_.Subscribe([this](const TDocumentChange& change) { Changed(change); });
  SelectCurrent();
}

TTreeBinder::~TTreeBinder() { document_.Unsubscribe(listener_); }

TTreeBinder::SectionNodes TTreeBinder::AddSection(int s, NodeHandle next) {
  const TSection& section = *document_.Track().Section(s);
  SectionNodes made;
  made.node = next ? nodes_.Insert(next, Label(section), &section) : nodes_.AddChild(track_, Label(section), &section);
  nodes_.SetImages(made.node, kNodeImageSection, kNodeImageSectionSelected);
  // The altitudes first, then the walls.
  for (const auto& altitude : section.Altitudes) {
    made.altitudes.push_back(nodes_.AddChild(made.node, Label(*altitude), altitude.get()));
    nodes_.SetImages(made.altitudes.back(), kNodeImageAltitude, kNodeImageAltitudeSelected);
  }
  for (const auto& wall : section.Walls) {
    made.walls.push_back(nodes_.AddChild(made.node, Label(*wall), wall.get()));
    nodes_.SetImages(made.walls.back(), kNodeImageWall, kNodeImageWallSelected);
  }
  return made;
}

void TTreeBinder::DeleteSection(SectionNodes& nodes) {
  // The section's node takes its altitudes' and walls' nodes with it.
  nodes_.Delete(nodes.node);
  nodes = SectionNodes();
}

void TTreeBinder::RelabelSectionsFrom(int first) {
  const TTrack& track = document_.Track();
  for (int s = first; s < track.NumberOfSections() && s < static_cast<int>(sections_.size()); ++s) {
    nodes_.SetText(sections_[static_cast<size_t>(s)].node, Label(*track.Section(s)));
  }
}

void TTreeBinder::ReplaceWalls(int s) {
  const TSection& section = *document_.Track().Section(s);
  SectionNodes& nodes = sections_[static_cast<size_t>(s)];
  for (NodeHandle wall : nodes.walls) nodes_.Delete(wall);
  nodes.walls.clear();
  for (const auto& wall : section.Walls) {
    nodes.walls.push_back(nodes_.AddChild(nodes.node, Label(*wall), wall.get()));
    nodes_.SetImages(nodes.walls.back(), kNodeImageWall, kNodeImageWallSelected);
  }
}

// An altitude's label is its number, which is its row among its section's
// altitudes: a trace added or removed changes the labels of every altitude after
// it, in every section. Rather than label some 100,000 rows again, the rows keep
// their labels and take the objects now at their place; only the last row comes
// or goes.
void TTreeBinder::InsertTrace(int at) {
  const TTrack& track = document_.Track();
  for (int s = 0; s < track.NumberOfSections(); ++s) {
    const TSection& section = *track.Section(s);
    SectionNodes& nodes = sections_[static_cast<size_t>(s)];
    const size_t count = nodes.altitudes.size();
    if (at > static_cast<int>(count) || count + 1 != section.Altitudes.size()) continue;
    const TAltitude& last = *section.Altitude(static_cast<int>(count));
    // Before the first wall: the altitudes come first.
    NodeHandle node = nodes.walls.empty() ? nodes_.AddChild(nodes.node, Label(last), &last)
                                          : nodes_.Insert(nodes.walls.front(), Label(last), &last);
    nodes_.SetImages(node, kNodeImageAltitude, kNodeImageAltitudeSelected);
    nodes.altitudes.push_back(node);
    for (size_t i = static_cast<size_t>(at); i < count; ++i)
      nodes_.SetObject(nodes.altitudes[i], section.Altitude(static_cast<int>(i)));
  }
}

void TTreeBinder::RemoveTrace(int at) {
  const TTrack& track = document_.Track();
  for (int s = 0; s < track.NumberOfSections(); ++s) {
    const TSection& section = *track.Section(s);
    SectionNodes& nodes = sections_[static_cast<size_t>(s)];
    const size_t count = nodes.altitudes.size();
    if (at >= static_cast<int>(count) || count != section.Altitudes.size() + 1) continue;
    nodes_.Delete(nodes.altitudes.back());
    nodes.altitudes.pop_back();
    for (size_t i = static_cast<size_t>(at); i + 1 < count; ++i)
      nodes_.SetObject(nodes.altitudes[i], section.Altitude(static_cast<int>(i)));
  }
}

void TTreeBinder::Changed(const TDocumentChange& change) {
  const TTrackChange& track = change.track;
  if (track.Structural()) {
    nodes_.BeginUpdate();
    int relabelFrom = -1;
    for (const TTrackChange::Splice& splice : track.splices) {
      for (int i = 0; i < splice.removed; ++i) DeleteSection(sections_[static_cast<size_t>(splice.at + i)]);
      sections_.erase(sections_.begin() + splice.at, sections_.begin() + splice.at + splice.removed);
      std::vector<SectionNodes> made;
      NodeHandle next = splice.at < static_cast<int>(sections_.size()) ? sections_[static_cast<size_t>(splice.at)].node : nullptr;
      for (int i = 0; i < splice.inserted; ++i) made.push_back(AddSection(splice.at + i, next));
      sections_.insert(sections_.begin() + splice.at, made.begin(), made.end());
      // The sections after it have new numbers.
      if (splice.removed != splice.inserted)
        relabelFrom = relabelFrom < 0 ? splice.at + splice.inserted : std::min(relabelFrom, splice.at + splice.inserted);
    }
    for (int s : track.wallLists)
      if (s < static_cast<int>(sections_.size())) ReplaceWalls(s);
    if (track.traceAt >= 0) {
      if (track.traceAdded) InsertTrace(track.traceAt);
      else RemoveTrace(track.traceAt);
    }
    if (relabelFrom >= 0) RelabelSectionsFrom(relabelFrom);
    nodes_.EndUpdate();
  }
  if (change.selection) SelectCurrent();
}

NodeHandle TTreeBinder::NodeOf(const TObjectPath& path) const {
  if (path.kind == TObjectPath::Kind::Track) return track_;
  if (path.section < 0 || path.section >= static_cast<int>(sections_.size())) return nullptr;
  const SectionNodes& nodes = sections_[static_cast<size_t>(path.section)];
  const auto child = [&](const std::vector<NodeHandle>& list) {
    return path.child >= 0 && path.child < static_cast<int>(list.size()) ? list[static_cast<size_t>(path.child)] : nullptr;
  };
  switch (path.kind) {
    case TObjectPath::Kind::Section: return nodes.node;
    case TObjectPath::Kind::Wall: return child(nodes.walls);
    case TObjectPath::Kind::Altitude: return child(nodes.altitudes);
    case TObjectPath::Kind::Track: break;
  }
  return nullptr;
}

void TTreeBinder::SelectCurrent() {
  if (NodeHandle node = NodeOf(document_.Selection())) nodes_.Select(node);
}

}  // namespace meridal
