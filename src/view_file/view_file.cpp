#include "view_file/view_file.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <system_error>

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
  std::error_code ec;
  if (!fs::exists(path, ec)) return settings;
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = path + ": cannot be read";
    return std::nullopt;
  }
  const nlohmann::json root = nlohmann::json::parse(in, nullptr, false);
  if (root.is_discarded() || !root.is_object()) {
    error = path + ": not a view settings file";
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
}

bool WriteViewSettings(const std::string& trackPath, const TViewSettings& settings, std::string& error) {
  const std::string path = ViewFilePath(trackPath);
  std::error_code ec;
  if (!settings.background) {
    fs::remove(path, ec);
    return true;
  }
  const TBackgroundSettings& b = *settings.background;
  // Relative to the track's folder when the image lies beneath it.
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
  // Written whole, then renamed over the old file: a failure keeps the old one.
  const std::string temporary = path + ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << root.dump(2) << '\n';
    out.close();
    if (!out) {
      fs::remove(temporary, ec);
      error = path + ": cannot be written";
      return false;
    }
  }
  fs::rename(temporary, path, ec);
  if (ec) {
    fs::remove(temporary, ec);
    error = path + ": " + ec.message();
    return false;
  }
  return true;
}

}  // namespace meridal
