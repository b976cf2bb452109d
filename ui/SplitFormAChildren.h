#pragma once
#include "ui/FormAPorts.h"

namespace pen {

// The settings window's children when two objects provide them: the screen
// mapping window from one, the key-setup windows from the other.
class TSplitFormAChildren final : public IFormAChildren {
 public:
  TSplitFormAChildren(IFormAChildren& mapping, IFormAChildren& keys) : mapping_(mapping), keys_(keys) {}

  bool HasScreenMapping() const override { return mapping_.HasScreenMapping(); }
  void ShowScreenMapping(MapRect& screen, MapRect& tablet, const std::string& modelCode,
                         bool showTabletArea) override {
    mapping_.ShowScreenMapping(screen, tablet, modelCode, showTabletArea);
  }
  bool HasKeySetup(KeySetupWindow which) const override { return keys_.HasKeySetup(which); }
  bool ShowKeySetup(KeySetupWindow which, ButtonDefinitions& definitions) override {
    return keys_.ShowKeySetup(which, definitions);
  }
  void BringKeySetupToFront(KeySetupWindow which) override { keys_.BringKeySetupToFront(which); }
  void CloseKeySetup(KeySetupWindow which) override { keys_.CloseKeySetup(which); }

 private:
  IFormAChildren& mapping_;
  IFormAChildren& keys_;
};

}  // namespace pen
