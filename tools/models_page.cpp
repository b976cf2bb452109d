// Writes docs/models.md from the model catalogue, or checks that the
// committed page still says what the catalogue says.
//
//   make_models_page                the page on standard output
//   make_models_page FILE           the page written to FILE
//   make_models_page --check FILE   status 1 when FILE differs from the page
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <string_view>

#include "common/ModelCatalogue.h"

namespace pen {
namespace {

std::string Code(std::string_view code) {
  std::string text = "`" + std::string(code) + "`";
  if (!code.empty() && code.back() == ' ') text += " (with its trailing blank)";
  return text;
}

std::string FamilyName(ModelFamily family) {
  const FamilyRow* row = FindFamily(family);
  return row ? std::string(row->code) : std::string("none");
}

std::string Rect(const TabletRect& r) {
  return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " + std::to_string(r.right) + ", " +
         std::to_string(r.bottom) + ")";
}

std::string Shape(const TabletShape& s) {
  const char* kind = s.kind == TabletShapeKind::Ellipse ? "ellipse " : s.kind == TabletShapeKind::RoundRect ? "round " : "";
  std::string text = kind + std::string("(") + std::to_string(s.left) + "," + std::to_string(s.top) + "," +
                     std::to_string(s.right) + "," + std::to_string(s.bottom) + ")";
  if (s.kind == TabletShapeKind::RoundRect) text += " r" + std::to_string(s.radius);
  return text;
}

std::string Drawing(const TabletDrawing& d) {
  std::string text = "outline " + Shape(d.outline) + ", active area " + Shape(d.activeArea) + "; ";
  for (size_t i = 0; i < d.others.size(); ++i) text += (i ? ", " : "") + Shape(d.others[i]);
  return text;
}

std::string Names(const ModelRow& model) {
  std::string text;
  for (const ModelName& n : model.names) {
    if (!text.empty()) text += "; ";
    if (!n.subCode.empty()) text += "product \"]" + std::string(n.subCode) + "\": ";
    text += "\"" + std::string(n.withoutSite) + "\"";
    if (n.withSite != n.withoutSite) text += ", with website.txt \"" + std::string(n.withSite) + "\"";
  }
  return text.empty() ? "the code" : text;
}

const char* LayoutName(KeySetupLayout layout) {
  switch (layout) {
    case KeySetupLayout::Columns: return "two columns";
    case KeySetupLayout::EndPairs: return "a pair at each end";
    case KeySetupLayout::Ring: return "ring, rows of two below";
    case KeySetupLayout::RingNarrowKeys: return "ring, narrow keys below";
  }
  return "";
}

std::string Page() {
  std::ostringstream out;
  out << "# Tablet models\n\n"
         "Written from the model catalogue (`common/ModelCatalogue.cpp`) by the build's `models_page` target\n"
         "(`cmake --build --preset native --target models_page`); a test fails when this page and the\n"
         "catalogue differ, so change the catalogue and run the target, never this page.\n\n"
         "## Model codes\n\n"
         "The code is the tablet's as it reports it, compared exactly. A model takes everything from its\n"
         "family except where a column says otherwise. Definitions file: where its button definitions are\n"
         "kept. Drawing: in the screen mapping window. 16:9 area: the tablet area of the fourth preset there\n"
         "(left, top, right, bottom). Name: what the version line of the settings window shows.\n\n"
         "| Code | Family | Definitions file | Drawing | 16:9 area | Name |\n"
         "|---|---|---|---|---|---|\n";
  for (const ModelRow& m : ModelRows()) {
    out << "| " << Code(m.code) << " | " << FamilyName(m.family) << " | " << DefinitionsStemOf(m) << "Def.bin"
        << (m.ownDefinitionsStem.empty() ? "" : " (its own)") << " | "
        << (m.ownDrawing ? "its own: " + Drawing(*m.ownDrawing) : std::string("the family's")) << " | "
        << (m.wide ? Rect(*m.wide) : std::string("none")) << " | " << Names(m) << " |\n";
  }
  out << "\n## Families\n\n"
         "Factory keys: slot by slot, modifier byte / key code. Button-to-slot map: the device button that\n"
         "fires each slot (the lowest slot wins). Wheel centre: the device button that is the wheel's centre\n"
         "button. Key-setup window: its buttons, the bytes of the definitions it copies and compares, its\n"
         "layout and its client size.\n\n"
         "| Family | Factory keys | Button-to-slot map | Wheel centre | Key-setup window | Drawing |\n"
         "|---|---|---|---|---|---|\n";
  for (const FamilyRow& f : FamilyRows()) {
    std::string keys, map;
    for (size_t i = 0; i < f.factory.size(); ++i) {
      keys += (i ? ", " : "") + std::to_string(f.factory[i].extraKey) + "/" + std::to_string(f.factory[i].MainKey);
    }
    for (size_t i = 0; i < f.buttonForSlot.size(); ++i) map += (i ? ", " : "") + std::to_string(f.buttonForSlot[i]);
    const SetKeysModel& w = f.keySetup;
    out << "| " << f.code << " | " << keys << " | " << map << " | "
        << (f.wheelCentreButton < 0 ? std::string("none") : std::to_string(f.wheelCentreButton)) << " | `"
        << w.className << "`: " << w.buttons << " buttons, " << w.bytes << " bytes, " << LayoutName(w.layout) << ", "
        << w.clientWidth << " × " << w.clientHeight << " | " << (f.drawing ? Drawing(*f.drawing) : "none")
        << " |\n";
  }
  return out.str();
}

}  // namespace
}  // namespace pen

int main(int argc, char** argv) {
  const std::string page = pen::Page();
  if (argc == 1) {
    std::fputs(page.c_str(), stdout);
    return 0;
  }
  const bool check = std::string_view(argv[1]) == "--check";
  if ((check && argc != 3) || (!check && argc != 2)) {
    std::fprintf(stderr, "usage: make_models_page [FILE | --check FILE]\n");
    return 2;
  }
  const char* file = argv[check ? 2 : 1];
  if (check) {
    std::ifstream in(file, std::ios::binary);
    const std::string committed{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.is_open() && committed == page) return 0;
    std::fprintf(stderr, "%s does not say what the model catalogue says: run the models_page target\n", file);
    return 1;
  }
  std::ofstream out(file, std::ios::binary);
  out << page;
  return out.flush() ? 0 : 1;
}
