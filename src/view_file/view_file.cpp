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
    const auto bg = root.find("background");
    if (bg == root.end() || !bg->is_object()) return settings;
    const auto image = bg->find("image");
    if (image == bg->end() || !image->is_string() || image->get<std::string>().empty()) return settings;
    TBackgroundSettings b;
    fs::path imagePath = fs::path(image->get<std::string>());
    if (imagePath.is_relative()) imagePath = Folder(trackPath) / imagePath;
    b.image = imagePath.lexically_normal().string();
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
  if (!settings.background) return RemoveViewFile(path, error);
  const TBackgroundSettings& b = *settings.background;
  std::string text;
  try {
    // Relative to the track's folder when the image lies beneath it.
    std::error_code ec;
    const fs::path folder = fs::absolute(Folder(trackPath), ec).lexically_normal();
    const fs::path image = fs::absolute(fs::path(b.image), ec).lexically_normal();
    const fs::path relative = image.lexically_relative(folder);
    const bool beneath = !relative.empty() && *relative.begin() != "..";
    nlohmann::json root;
    root["background"] = {
        {"image", (beneath ? relative : image).generic_string()},
        {"centreX", b.placement.centreX},
        {"centreY", b.placement.centreY},
        {"unitsPerPixel", b.placement.unitsPerPixel},
        {"rotation", b.placement.rotation},
        {"opacity", b.opacity},
        {"visible", b.visible},
    };
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
