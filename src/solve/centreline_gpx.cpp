// The GPX centreline: the trkpt elements of the first track, segment after
// segment, with lat, lon and an optional ele in metres.
#include <tinyxml2.h>

#include <cstring>

#include "solve/centreline.h"
#include "solve/centreline_parse.h"

namespace meridal::centreline {

namespace {

// An element's name without its namespace prefix ("gpx:trkpt" is a trkpt too).
bool Named(const tinyxml2::XMLElement* e, const char* name) {
  const char* full = e->Name();
  const char* colon = std::strrchr(full, ':');
  return std::strcmp(colon ? colon + 1 : full, name) == 0;
}

const tinyxml2::XMLElement* Child(const tinyxml2::XMLNode* parent, const char* name) {
  for (const auto* e = parent->FirstChildElement(); e; e = e->NextSiblingElement())
    if (Named(e, name)) return e;
  return nullptr;
}

bool Attribute(const tinyxml2::XMLElement* e, const char* name, double lo, double hi, double& value, TRawLine& line) {
  const std::string where = "line " + std::to_string(e->GetLineNum()) + ": trkpt";
  const char* text = e->Attribute(name);
  if (!text) return line.Fail(where + " without " + name);
  if (!ParseNumber(text, value)) return line.Fail(where + " " + name + " '" + std::string(text).substr(0, 40) + "' is not a number");
  if (value < lo || value > hi) return line.Fail(where + " " + name + " " + text + " is out of range");
  return true;
}

}  // namespace

bool ParseGpx(std::string_view text, TRawLine& line) {
  line.geographic = true;
  tinyxml2::XMLDocument document(true, tinyxml2::COLLAPSE_WHITESPACE);
  if (document.Parse(text.data(), text.size()) != tinyxml2::XML_SUCCESS) {
    const char* what = document.ErrorStr();
    return line.Fail("line " + std::to_string(document.ErrorLineNum()) + ": not well-formed XML (" +
                     (what ? std::string(what).substr(0, 120) : std::string("unknown error")) + ")");
  }
  const tinyxml2::XMLElement* gpx = document.RootElement();
  if (!gpx || !Named(gpx, "gpx")) return line.Fail("line 1: no gpx element");
  const tinyxml2::XMLElement* trk = Child(gpx, "trk");
  if (!trk) return line.Fail("line " + std::to_string(gpx->GetLineNum()) + ": no trk element in the gpx");
  for (const auto* seg = trk->FirstChildElement(); seg; seg = seg->NextSiblingElement()) {
    if (!Named(seg, "trkseg")) continue;
    for (const auto* pt = seg->FirstChildElement(); pt; pt = pt->NextSiblingElement()) {
      if (!Named(pt, "trkpt")) continue;
      TRawPoint p;
      p.where = pt->GetLineNum();
      if (!Attribute(pt, "lat", -90, 90, p.b, line) || !Attribute(pt, "lon", -180, 180, p.a, line)) return false;
      if (const tinyxml2::XMLElement* ele = Child(pt, "ele")) {
        const char* value = ele->GetText();
        if (!value || !ParseNumber(value, p.height))
          return line.Fail("line " + std::to_string(ele->GetLineNum()) + ": ele '" +
                           std::string(value ? value : "").substr(0, 40) + "' is not a number");
        if (p.height < kLowestHeight || p.height > kHighestHeight)
          return line.Fail("line " + std::to_string(ele->GetLineNum()) + ": ele " + std::string(value).substr(0, 40) +
                           " is out of range " + HeightRangeText());
        p.hasHeight = true;
      }
      if (line.points.size() >= kMaxCentrelinePoints)
        return line.Fail(line.Where(p.where) + ": more than " + std::to_string(kMaxCentrelinePoints) + " points");
      line.points.push_back(p);
    }
  }
  if (line.points.empty()) return line.Fail("line " + std::to_string(trk->GetLineNum()) + ": the trk has no trkpt");
  return true;
}

}  // namespace meridal::centreline
