#include "mac/ConfigCoding.h"

#include <cmath>
#include <nlohmann/json.hpp>

namespace penmac {

namespace {

using nlohmann::json;

constexpr int kIndent = 2;

// Whole numbers are written without a fraction ("1920", not "1920.0"), the
// way the files have always looked; other values keep every digit.
json Number(double v) {
  if (std::nearbyint(v) == v && std::fabs(v) < 9.0e15) return json(static_cast<int64_t>(v));
  return json(v);
}

std::optional<double> ReadNumber(const json& j) {
  if (!j.is_number()) return std::nullopt;
  const double v = j.get<double>();
  if (!std::isfinite(v)) return std::nullopt;
  return v;
}

std::optional<Point> ReadPair(const json& j) {
  if (!j.is_array() || j.size() != 2) return std::nullopt;
  const auto a = ReadNumber(j[0]);
  const auto b = ReadNumber(j[1]);
  if (!a || !b) return std::nullopt;
  return Point{*a, *b};
}

std::optional<uint16_t> ReadMask(const json& j) {
  if (j.is_number_unsigned()) {
    const auto v = j.get<uint64_t>();
    if (v > 0xFFFF) return std::nullopt;
    return static_cast<uint16_t>(v);
  }
  if (j.is_number_integer()) return std::nullopt;  // negative
  const auto v = ReadNumber(j);
  if (!v || *v < 0 || *v > 0xFFFF || std::nearbyint(*v) != *v) return std::nullopt;
  return static_cast<uint16_t>(*v);
}

std::optional<std::string> ReadString(const json& object, const char* key) {
  const auto it = object.find(key);
  if (it == object.end() || !it->is_string()) return std::nullopt;
  return it->get<std::string>();
}

std::optional<json> Parse(std::string_view text) {
  json j = json::parse(text.begin(), text.end(), nullptr, /*allow_exceptions=*/false);
  if (j.is_discarded()) return std::nullopt;
  return j;
}

std::string Dump(const json& j) {
  // Replacement instead of an exception for text that is not UTF-8: a key
  // string captured from the keyboard is written, never lost.
  return j.dump(kIndent, ' ', false, json::error_handler_t::replace) + "\n";
}

}  // namespace

std::string EncodeScreenConfig(const ScreenConfig& config) {
  json j = json::object();
  j["Rect"] = json::array({json::array({Number(config.Rect.origin.x), Number(config.Rect.origin.y)}),
                           json::array({Number(config.Rect.size.width), Number(config.Rect.size.height)})});
  j["Rotation"] = config.Rotation;
  return Dump(j);
}

std::optional<ScreenConfig> DecodeScreenConfig(std::string_view text) {
  const auto j = Parse(text);
  if (!j || !j->is_object()) return std::nullopt;
  const auto rect = j->find("Rect");
  if (rect == j->end() || !rect->is_array() || rect->size() != 2) return std::nullopt;
  const auto origin = ReadPair((*rect)[0]);
  const auto size = ReadPair((*rect)[1]);
  const auto rotation = ReadString(*j, "Rotation");
  if (!origin || !size || !rotation) return std::nullopt;
  ScreenConfig config;
  config.Rect = Rect{*origin, Size{size->x, size->y}};
  config.Rotation = *rotation;
  return config;
}

std::string EncodeKeyDefs(const KeyDefs& keyDefs) {
  json j = json::array();
  for (const auto& [mask, def] : keyDefs) {
    j.push_back(mask);
    j.push_back(json{{"key", def.key}, {"mouse", def.mouse}});
  }
  return Dump(j);
}

std::optional<KeyDefs> DecodeKeyDefs(std::string_view text) {
  const auto j = Parse(text);
  if (!j || !j->is_array() || j->size() % 2 != 0) return std::nullopt;
  KeyDefs defs;
  for (size_t i = 0; i < j->size(); i += 2) {
    const auto mask = ReadMask((*j)[i]);
    const json& def = (*j)[i + 1];
    if (!mask || !def.is_object()) return std::nullopt;
    auto key = ReadString(def, "key");
    auto mouse = ReadString(def, "mouse");
    if (!key || !mouse) return std::nullopt;
    defs[*mask] = KeyDef{std::move(*key), std::move(*mouse)};
  }
  return defs;
}

}  // namespace penmac
