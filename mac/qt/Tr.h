#pragma once
#include <QCoreApplication>
#include <QString>

namespace penmac::qt {

// Every text the desktop application shows goes through here, in one
// translation context, so that the translation files stay one list per
// language (translations/penmac_<lang>.ts; lupdate knows Tr as translate).
inline QString Tr(const char* text) { return QCoreApplication::translate("penmac", text); }

}  // namespace penmac::qt
