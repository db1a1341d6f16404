#include "view_file/view_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <span>
#include <system_error>
#include <vector>

#include "files/safety/input_file.h"
#include "files/safety/safe_file.h"
#include "files/safety/shown_text.h"

namespace meridal {

namespace fs = std::filesystem;

namespace {

fs::path Folder(const std::string& trackPath) {
  const fs::path folder = fs::path(trackPath).parent_path();
  return folder.empty() ? fs::path(".") : folder;
}

double Finite(const nlohmann::json& object, const char* key, double fallback) {
  const auto it = object.find(key);
  if (it == object.end() || !it->is_number()) return fallback;
  const double v = it->get<double>();
  return std::isfinite(v) ? v : fallback;
}

// A path as kept in the side file: relative to the track's folder when it lies
// beneath it, else absolute.
std::string KeptPath(const std::string& trackPath, const std::string& path) {
  std::error_code ec;
  const fs::path folder = fs::absolute(Folder(trackPath), ec).lexically_normal();
  const fs::path absolute = fs::absolute(fs::path(path), ec).lexically_normal();
  const fs::path relative = absolute.lexically_relative(folder);
  const bool beneath = !relative.empty() && *relative.begin() != "..";
  return (beneath ? relative : absolute).generic_string();
}

// A path read from the side file, absolute.
std::string ReadPath(const std::string& trackPath, const std::string& kept) {
  fs::path path(kept);
  if (path.is_relative()) path = Folder(trackPath) / path;
  return path.lexically_normal().string();
}

std::optional<TTerrainLink> ReadTerrain(const nlohmann::json& root, const std::string& trackPath) {
  const auto t = root.find("terrain");
  if (t == root.end() || !t->is_object()) return std::nullopt;
  const auto model = t->find("model");
  if (model == t->end() || !model->is_string() || model->get<std::string>().empty()) return std::nullopt;
  TTerrainLink link;
  link.model = ReadPath(trackPath, model->get<std::string>());
  const auto geographic = t->find("geographic");
  link.origin.geographic = geographic != t->end() && geographic->is_boolean() && geographic->get<bool>();
  link.origin.latitude = std::clamp(Finite(*t, "latitude", 0), -90.0, 90.0);
  link.origin.longitude = std::clamp(Finite(*t, "longitude", 0), -180.0, 180.0);
  link.origin.offsetX = Finite(*t, "offsetX", 0);
  link.origin.offsetY = Finite(*t, "offsetY", 0);
  link.heightOffset = Finite(*t, "heightOffset", 0);
  return link;
}

}  // namespace

std::string ViewFilePath(const std::string& trackPath) {
  fs::path path(trackPath);
  path.replace_extension(".view.json");
  return path.string();
}

std::optional<TViewSettings> ReadViewSettings(const std::string& trackPath, std::string& error) {
  const std::string path = ViewFilePath(trackPath);
  TViewSettings settings;
  InputFile file(path, kMaxViewFileBytes);
  if (!file.Opened() && file.Error() == ENOENT) return settings;  // none yet
  std::vector<uint8_t> bytes;
  if (!file.Usable() || !file.ReadRest({}, bytes)) {
    error = file.Error() == EFBIG ? ShownPath(path) + ": " + std::to_string(file.Size()) +
                                        " bytes, more than the 1 MB a view settings file may have"
                                  : file.Reason();
    if (error.empty()) error = ShownPath(path) + ": cannot be read";
    return std::nullopt;
  }
  try {
    const nlohmann::json root = nlohmann::json::parse(bytes.begin(), bytes.end(), nullptr, false);
    if (root.is_discarded() || !root.is_object()) {
      error = ShownPath(path) + ": not a view settings file";
      return std::nullopt;
    }
    settings.terrain = ReadTerrain(root, trackPath);
    const auto bg = root.find("background");
    if (bg == root.end() || !bg->is_object()) return settings;
    const auto image = bg->find("image");
    if (image == bg->end() || !image->is_string() || image->get<std::string>().empty()) return settings;
    TBackgroundSettings b;
    b.image = ReadPath(trackPath, image->get<std::string>());
    b.placement.centreX = Finite(*bg, "centreX", 0);
    b.placement.centreY = Finite(*bg, "centreY", 0);
    const double scale = Finite(*bg, "unitsPerPixel", 1);
    b.placement.unitsPerPixel = scale > 0 ? scale : 1;
    b.placement.rotation = Finite(*bg, "rotation", 0);
    b.opacity = std::clamp(Finite(*bg, "opacity", 0.5), 0.0, 1.0);
    const auto visible = bg->find("visible");
    b.visible = visible == bg->end() || !visible->is_boolean() || visible->get<bool>();
    settings.background = b;
    return settings;
  } catch (const std::exception&) {  // out of memory: the track opens without its settings
    error = ShownPath(path) + ": cannot be read";
    return std::nullopt;
  }
}

namespace {

// Removes the side file, or a link standing at its name; anything else there
// is nobody's side file and stays.
bool RemoveViewFile(const std::string& path, std::string& error) {
  struct stat st;
  if (lstat(path.c_str(), &st) != 0 || !(S_ISREG(st.st_mode) || S_ISLNK(st.st_mode))) return true;
  if (unlink(path.c_str()) == 0 || errno == ENOENT) return true;
  error = SystemReason(path, errno);
  return false;
}

}  // namespace

bool WriteViewSettings(const std::string& trackPath, const TViewSettings& settings, std::string& error) {
  const std::string path = ViewFilePath(trackPath);
  if (!settings.background && !settings.terrain) return RemoveViewFile(path, error);
  std::string text;
  try {
    nlohmann::json root = nlohmann::json::object();
    if (settings.background) {
      const TBackgroundSettings& b = *settings.background;
      root["background"] = {
          {"image", KeptPath(trackPath, b.image)},
          {"centreX", b.placement.centreX},
          {"centreY", b.placement.centreY},
          {"unitsPerPixel", b.placement.unitsPerPixel},
          {"rotation", b.placement.rotation},
          {"opacity", b.opacity},
          {"visible", b.visible},
      };
    }
    if (settings.terrain) {
      const TTerrainLink& t = *settings.terrain;
      root["terrain"] = {
          {"model", KeptPath(trackPath, t.model)},
          {"geographic", t.origin.geographic},
          {"latitude", t.origin.latitude},
          {"longitude", t.origin.longitude},
          {"offsetX", t.origin.offsetX},
          {"offsetY", t.origin.offsetY},
          {"heightOffset", t.heightOffset},
      };
    }
    // A name that is not UTF-8 is written with its stray bytes replaced rather
    // than not at all.
    text = root.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + '\n';
  } catch (const std::exception&) {
    error = ShownPath(path) + ": cannot be written";
    return false;
  }
  // A new file of a unique name, renamed over the old one: a failure keeps the
  // old one, and nothing planted beside it is followed.
  const ReplaceOutcome outcome =
      ReplaceFileContents(path, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
  if (outcome.result == ReplaceResult::Ok) return true;
  error = outcome.reason.empty() ? SystemReason(path, outcome.error) : outcome.reason;
  return false;
}

}  // namespace meridal
