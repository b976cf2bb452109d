// Read, never compiled: the translation check's own test. The first text
// has no translation anywhere; the others have one in every language, and
// the check must not name them.
namespace penmac::qt {
void Shows() {
  Tr("A text nobody has translated yet");
  penmac::qt::Tr("Exit Driver!");
  Tr("Tablet Driver will Exit! \n Please Save Config First!");
}
}  // namespace penmac::qt
