#include "mac/qt/Views.h"

#include "mac/qt/DelegateSignals.h"

// Placeholders of the right size until each window has its content.
namespace penmac::qt {

SetupScreensView::SetupScreensView(USBDelegate&, IScreens&, QWidget* parent) : QWidget(parent) { setFixedSize(300, 80); }
SetupScreensView::~SetupScreensView() = default;

SetupRotateView::SetupRotateView(USBDelegate&, QWidget* parent) : QWidget(parent) { setFixedSize(300, 80); }
SetupRotateView::~SetupRotateView() = default;

ModiKeyView::ModiKeyView(USBDelegate&, DelegateSignals&, QWidget* parent) : QWidget(parent) { setFixedSize(580, 150); }
ModiKeyView::~ModiKeyView() = default;

DrawView::DrawView(QWidget* parent) : QWidget(parent) { setFixedSize(1100, 700); }
DrawView::~DrawView() = default;

}  // namespace penmac::qt
