#pragma once
#include <QString>

class QBoxLayout;
class QPushButton;
class QToolButton;
class QWidget;

namespace penmac::qt {

// The look every setup window shares: its content in a rounded, thinly
// bordered panel with a soft shadow, padded on all sides. Returns the
// panel's layout, top to bottom, for the window's rows.
QBoxLayout* MakePanel(QWidget* view);

// A button that never takes the keyboard focus, so that keys typed while a
// window listens to the keyboard neither press nor tick anything there.
QPushButton* MakeButton(const QString& text, QWidget* parent);

// A pop-up menu button as wide as its row, whose label the window sets
// (the choice being edited) apart from the texts of its items.
QToolButton* MakePopUp(const QString& name, QWidget* parent);

// The row of "Ok" and "Cancel" at the foot of a window, right-aligned, in
// the window's order (the key-setup window puts "Cancel" first). The buttons
// are named "ok" and "cancel", for the tests.
struct OkCancel {
  QPushButton* ok;
  QPushButton* cancel;
};
enum class CancelFirst : bool { No, Yes };
OkCancel AddOkCancelRow(QBoxLayout* rows, QWidget* view, CancelFirst order = CancelFirst::No);

}  // namespace penmac::qt
