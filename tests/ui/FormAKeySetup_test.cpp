// The main settings window's "Key Define": the button manager's definitions
// reach the key-setup window, and what it changed reaches the manager before
// command 6 asks for the save.
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <utility>
#include <vector>

#include "FormAFakes.h"
#include "keys/ButtonDefinitionsPort.h"

namespace pen::test {
namespace {

class Store : public IButtonDefinitions {
 public:
  std::array<KeyDefinition, 32> slots{};
  std::vector<size_t> written;
  KeyDefinition Definition(size_t slot) const override { return slot < 32 ? slots[slot] : KeyDefinition{}; }
  void SetDefinition(size_t slot, uint8_t modifiers, uint8_t key) override {
    if (slot >= 32) return;
    written.push_back(slot);
    slots[slot] = {modifiers, key};
  }
};

// A key-setup window whose user makes one edit, or none.
class EditingChildren : public FakeChildren {
 public:
  ButtonDefinitions seen{};
  std::vector<std::pair<size_t, uint8_t>> edits;  // byte, value
  bool ShowKeySetup(KeySetupWindow w, ButtonDefinitions& block) override {
    FakeChildren::ShowKeySetup(w, block);
    seen = block;
    for (const auto& [at, value] : edits) block[at] = value;
    return !edits.empty();
  }
};

class FormAKeySetup : public ::testing::Test {
 protected:
  ProgramFolder folder;
  PortableIniFileSystem ini;
  PortableFileReader files;
  TCodePage1252 ansi;
  TLanguage language{ini, files, ansi, folder.Name()};
  FakeFormWindow window;
  EditingChildren children;
  Store store;
  std::unique_ptr<TFormA> form;

  void SetUp() override {
    form = std::make_unique<TFormA>(
        TFormA::Environment{window, window, children, language, files, folder.Name(), 0x0409});
    window.form = form.get();
    form->SetServiceWindow(0x1234);
    form->SetFirmwareVersion("2210");
    form->SetModelCode("R711");
    form->SetTabletFound(true);
    store.slots[0] = {0, 69};
    store.slots[13] = {0, 2};
    form->SetButtonDefinitions(&store);
    form->Show();
    window.posted.clear();
  }
};

TEST_F(FormAKeySetup, TheWindowSeesTheManagersDefinitions) {
  form->BtnKeyDefineClick();
  EXPECT_EQ(children.seen[0], 0);
  EXPECT_EQ(children.seen[1], 69);
  EXPECT_EQ(children.seen[27], 2);
  EXPECT_TRUE(window.posted.empty());  // nothing changed: no command 6
  EXPECT_TRUE(store.written.empty());
}

TEST_F(FormAKeySetup, AnEditReachesTheManagerBeforeCommandSix) {
  children.edits = {{0, 1}, {1, 65}};  // Ctrl + A on button 1
  form->BtnKeyDefineClick();
  EXPECT_EQ(store.slots[0], (KeyDefinition{1, 65}));
  EXPECT_EQ(store.written, (std::vector<size_t>{0}));  // only the changed slot
  EXPECT_EQ(window.Codes(), (std::vector<int64_t>{6}));
  EXPECT_TRUE(form->Visible());
}

}  // namespace
}  // namespace pen::test
