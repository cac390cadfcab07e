// The screens of the program: each form exists at most once and is created
// when it is first referred to; closing (unloading) it destroys it, so the
// next reference makes a fresh one. All screens share one profile store.
#pragma once

#include <QPointer>
#include <QWidget>
#include <map>
#include <typeindex>

#include "shell/profielstore.h"

namespace zarvo::gui {

// The one shared profile store of this run.
ProfielStore& store();

namespace detail {
std::map<std::type_index, QPointer<QWidget>>& schermRegister();
}

// The form of type F, created on first reference.
template <class F>
F& scherm() {
  auto& reg = detail::schermRegister();
  QPointer<QWidget>& plek = reg[std::type_index(typeid(F))];
  if (!plek) plek = new F();
  return *static_cast<F*>(plek.data());
}

// True when the form of type F exists now.
template <class F>
bool schermBestaat() {
  auto& reg = detail::schermRegister();
  auto it = reg.find(std::type_index(typeid(F)));
  return it != reg.end() && it->second;
}

// Unloads the form of type F: hides it and destroys it once control returns
// to the event loop.
template <class F>
void sluitScherm() {
  auto& reg = detail::schermRegister();
  auto it = reg.find(std::type_index(typeid(F)));
  if (it == reg.end() || !it->second) return;
  QWidget* w = it->second.data();
  it->second = nullptr;
  w->hide();
  w->deleteLater();
}

// Destroys every form at once (tests, between cases).
void sluitAlleSchermen();

}  // namespace zarvo::gui
