#pragma once
// The menus are shared by every project of the process: a test that loads a project starts and
// ends with none, so that menus of an earlier test do not leak into its own.
#include "project/menus.hpp"

namespace vantorel::test {

inline void clearMenus() {
  AGPMenus& menus = SharedMenus();
  while (menus.Count() > 0) menus.DeleteMenu(menus.Item(1)->MenuId());
}

}  // namespace vantorel::test
