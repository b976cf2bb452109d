#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "common/KeyDefinition.h"

// Everything that differs between tablet models, in one place: a row per
// model code the tablet reports and a row per family of models. Adding a
// model is adding a row to the tables in ModelCatalogue.cpp (and running
// the models_page target, which rewrites docs/models.md from them).
namespace pen {

// A family shares its buttons: factory keys, button-to-slot map and
// key-setup window, which is named after the family.
enum class ModelFamily : uint8_t { None, R711, R733, R755, R766, R788 };

// --- the picture of a tablet in the screen mapping window ---

enum class TabletShapeKind : uint8_t { RoundRect, Rect, Ellipse };

// One shape of a tablet drawing, in half pixels (the picture doubles every
// value).
struct TabletShape {
  TabletShapeKind kind = TabletShapeKind::Rect;
  int16_t left = 0, top = 0, right = 0, bottom = 0;
  int16_t radius = 0;  // corners of a round rectangle
};

// The outline, the active area the tablet frame covers, and the keys, wheel
// and ring drawn beside it.
struct TabletDrawing {
  TabletShape outline;
  TabletShape activeArea;
  std::span<const TabletShape> others;
};

// --- the key-setup window of a family ---

// How a key-setup window lays out the tablet's buttons.
enum class KeySetupLayout : uint8_t {
  Columns,         // rows of two
  EndPairs,        // one row, a pair at each end
  Ring,            // four around a ring, rows of two below it
  RingNarrowKeys,  // four around a ring, a row of narrow keys below it
};

struct Box {
  int left = 0, top = 0, width = 0, height = 0;
  constexpr bool Contains(int x, int y) const {
    return x >= left && x < left + width && y >= top && y < top + height;
  }
  friend constexpr bool operator==(const Box&, const Box&) = default;
};

struct SetKeysModel {
  std::string_view className;  // "TSetKeysR711"
  ModelFamily window;          // the family the window serves
  size_t buttons;
  size_t bytes;  // of the definitions, copied and compared
  KeySetupLayout layout;
  int clientWidth, clientHeight;
  Box panel;        // the shadowed button panel
  Box editor;       // the editor group (button number, chooser, modifiers, preview, apply, reset)
  int ringTop = 0;  // ring layouts: top of the 360-pixel circle inside the panel
  int gapAfterRow = 0;  // column layouts: a wider gap after this row (0: none)
};

// --- the rows ---

// A rectangle in tablet units, 0..4095 each way.
struct TabletRect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
  friend constexpr bool operator==(const TabletRect&, const TabletRect&) = default;
};

// A name the version line shows instead of the model code. `subCode`: only
// for a product string with this model code after its ']' (empty: any).
// `withSite`: when the program folder holds a "website.txt".
struct ModelName {
  std::string_view subCode;
  std::string_view withoutSite, withSite;
};

struct FamilyRow {
  std::string_view code;                    // "R711"
  SetKeysModel keySetup;                    // keySetup.window is the family
  std::span<const KeyDefinition> factory;   // slots 0.. in order
  std::span<const uint8_t> buttonForSlot;   // device button number per slot
  int wheelCentreButton;                    // the device button that is the wheel's centre, -1: none
  const TabletDrawing* drawing;

  constexpr ModelFamily Family() const { return keySetup.window; }
};

struct ModelRow {
  std::string_view code;  // as the tablet reports it: compared exactly, blanks included
  ModelFamily family;
  // Where a model differs from its family: its own definitions file (empty:
  // the family's code names it) and its own drawing (null: the family's).
  std::string_view ownDefinitionsStem = {};
  const TabletDrawing* ownDrawing = nullptr;
  std::optional<TabletRect> wide = std::nullopt;  // its tablet area of the 16:9 shape
  std::span<const ModelName> names = {};           // first match wins
};

std::span<const ModelRow> ModelRows();
std::span<const FamilyRow> FamilyRows();

// The row of that exact code; null for a code outside the catalogue.
const ModelRow* FindModel(std::string_view code);
// Null for None.
const FamilyRow* FindFamily(ModelFamily family);

// The model's family row (null only for a row whose family is missing,
// which the catalogue's test rules out).
const FamilyRow* FamilyOf(const ModelRow& model);
// The stem of the model's button definitions file name.
std::string_view DefinitionsStemOf(const ModelRow& model);
const TabletDrawing* DrawingOf(const ModelRow& model);

}  // namespace pen
