#include "shell/schermen.h"

namespace zarvo::gui {

ProfielStore& store() {
  static ProfielStore deStore;
  return deStore;
}

namespace detail {
std::map<std::type_index, QPointer<QWidget>>& schermRegister() {
  static std::map<std::type_index, QPointer<QWidget>> reg;
  return reg;
}
}  // namespace detail

void sluitAlleSchermen() {
  for (auto& [type, w] : detail::schermRegister()) {
    if (w) delete w.data();
  }
  detail::schermRegister().clear();
}

}  // namespace zarvo::gui
