#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "mac/KeyDef.h"
#include "mac/ScreenConfig.h"

// The JSON forms of the two configuration files, pretty-printed:
//   screen file: {"Rect": [[x, y], [width, height]], "Rotation": "0º"}
//   keys file:   one array alternating mask and definition,
//                [3, {"key": "∙F5", "mouse": ""}, 4096, {"key": "", "mouse": "R"}]
// Decoding fails (nothing) on anything that is not exactly such a document;
// unknown object members are ignored, and a mask given twice keeps its last
// definition.
namespace penmac {

std::string EncodeScreenConfig(const ScreenConfig& config);
std::optional<ScreenConfig> DecodeScreenConfig(std::string_view text);

std::string EncodeKeyDefs(const KeyDefs& keyDefs);
std::optional<KeyDefs> DecodeKeyDefs(std::string_view text);

}  // namespace penmac
