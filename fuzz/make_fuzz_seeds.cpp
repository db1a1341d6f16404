// Writes the fuzzers' seed files into OUTDIR: sealed project files in
// OUTDIR/sealed and their plaintext in OUTDIR/plain, track files in OUTDIR/trk and
// JSON texts in OUTDIR/json, for a few small tracks built by the core itself and
// two large ones; the small ones in all three forms in OUTDIR/mesh; centrelines
// in OUTDIR/centreline; small terrain models (a GeoTIFF made with GDAL, an ASCII
// grid) in OUTDIR/terrain.
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "files/project/project_io.h"
#include "files/project/project_key.h"
#include "files/cipher/seal.h"
#include "files/json/track_json_writer.h"
#include "model/track.h"
#include "model/synthetic_track.h"

#include "support/terrain_models.h"

namespace {

class Silent : public meridal::IMessages {
 public:
  meridal::MessageAnswer Show(const std::string&, const std::string& text, meridal::MessageIcon,
                              meridal::MessageButtons) override {
    std::fprintf(stderr, "%s\n", text.c_str());
    return meridal::MessageAnswer::Ok;
  }
};

void Put(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTDIR\n", argv[0]);
    return 2;
  }
  const std::filesystem::path out(argv[1]);
  std::filesystem::create_directories(out / "sealed");
  std::filesystem::create_directories(out / "plain");
  std::filesystem::create_directories(out / "trk");
  std::filesystem::create_directories(out / "json");
  std::filesystem::create_directories(out / "mesh");

  struct Shape {
    const char* name;
    int sections, traces, walls;
  };
  const Shape shapes[] = {{"one-straight", 1, 2, 2}, {"curves", 4, 3, 3},   {"sixteen-traces", 2, 16, 1},
                          {"no-walls", 3, 2, 0},     {"many-walls", 2, 2, 9}};
  Silent messages;
  meridal::TFiller filler(20240601);
  auto write = [&](const std::string& name, meridal::TTrack& track) {
    auto image = meridal::WriteProjectImage(track, filler, messages);
    if (!image) return false;
    Put(out / "sealed" / (name + ".mrd"), *image);
    meridal::UnsealGroups(image->data() + 8, (image->size() - 8) / meridal::kGroupBytes, meridal::kProjectKey);
    Put(out / "plain" / (name + ".bin"), *image);
    auto exported = meridal::ExportTrackImage(track, messages);
    if (!exported) return false;
    Put(out / "trk" / (name + ".trk"), *exported);
    const std::string text = meridal::TrackJsonWriter().Write(track);
    Put(out / "json" / (name + ".json"), std::vector<uint8_t>(text.begin(), text.end()));
    Put(out / "mesh" / (name + ".bin"), *image);
    Put(out / "mesh" / (name + ".trk"), *exported);
    Put(out / "mesh" / (name + ".json"), std::vector<uint8_t>(text.begin(), text.end()));
    return true;
  };
  meridal::TTrack standard;
  standard.SetDefaults();
  if (!write("default", standard)) return 1;
  for (const Shape& shape : shapes) {
    auto track = meridal::SyntheticTrack(shape.sections, shape.traces, shape.walls);
    if (!write(shape.name, *track)) return 1;
  }
  // The largest seeds, each under the fuzzers' 1 MB: a project of 750 sections
  // (16 traces, 12 walls a section) and a JSON text of 290.
  constexpr size_t kLongest = size_t{1} << 20;
  auto project = meridal::WriteProjectImage(*meridal::SyntheticTrack(750), filler, messages);
  if (!project || project->size() >= kLongest) return 1;
  Put(out / "sealed" / "sections-750.mrd", *project);
  meridal::UnsealGroups(project->data() + 8, (project->size() - 8) / meridal::kGroupBytes, meridal::kProjectKey);
  Put(out / "plain" / "sections-750.bin", *project);
  const std::string text = meridal::TrackJsonWriter().Write(*meridal::SyntheticTrack(290));
  if (text.size() >= kLongest) return 1;
  Put(out / "json" / "sections-290.json", std::vector<uint8_t>(text.begin(), text.end()));
  // Centrelines: a small loop as a CSV with widths, a plain one, a GPX lap with
  // heights and a GeoJSON feature.
  std::filesystem::create_directories(out / "centreline");
  auto centreline = [&](const char* name, const std::string& t) {
    Put(out / "centreline" / name, std::vector<uint8_t>(t.begin(), t.end()));
  };
  std::string csv = "# x_m,y_m,w_tr_right_m,w_tr_left_m\n", plain, gpx = "<?xml version=\"1.0\"?>\n<gpx><trk><trkseg>\n",
              geojson = "{\"type\": \"Feature\", \"geometry\": {\"type\": \"LineString\", \"coordinates\": [";
  for (int i = 0; i < 12; ++i) {
    const double a = i * 2 * 3.14159265358979 / 12, x = 50 * std::cos(a), y = 30 * std::sin(a);
    char line[160];
    std::snprintf(line, sizeof line, "%.3f,%.3f,5.5,6.0\n", x, y);
    csv += line;
    std::snprintf(line, sizeof line, "%.3f,%.3f\n", x, y);
    plain += line;
    std::snprintf(line, sizeof line, "<trkpt lat=\"%.7f\" lon=\"%.7f\"><ele>%.1f</ele></trkpt>\n", 49.4 + y / 111216.0,
                  11.1 + x / 72583.5, 300 + 2 * std::sin(a));
    gpx += line;
    std::snprintf(line, sizeof line, "%s[%.7f,%.7f]", i ? "," : "", 11.1 + x / 72583.5, 49.4 + y / 111216.0);
    geojson += line;
  }
  centreline("loop.csv", csv);
  centreline("plain.csv", plain);
  centreline("lap.gpx", gpx + "</trkseg></trk></gpx>\n");
  centreline("loop.geojson", geojson + "]}}");

  // A tiled GeoTIFF of 40 by 30 cells in UTM zone 32 with a hole of no data,
  // and an ASCII grid.
  std::filesystem::create_directories(out / "terrain");
  const std::string tif = (out / "terrain" / "slope.tif").string();
  const char* options[] = {"TILED=YES", "BLOCKXSIZE=16", "BLOCKYSIZE=16", "COMPRESS=DEFLATE", nullptr};
  meridal::testing::WriteUtmModel(
      tif, 500000, 5400060, 2, 40, 30, [](double east, double) { return 300 + 0.02 * (east - 500000); },
      [](double east, double north) { return east > 500062 && north > 5400052; }, options);
  std::string grid = "ncols 6\nnrows 4\nxllcorner 100\nyllcorner 200\ncellsize 5\nNODATA_value -9999\n";
  for (int j = 0; j < 4; ++j) grid += "10 11 12 13 -9999 15\n";
  std::ofstream(out / "terrain" / "grid.asc") << grid;
  return 0;
}
