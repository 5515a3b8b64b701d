#pragma once
// The library as an outside program has it: a path and exported names, nothing else.
#include <dlfcn.h>

struct Quilink {
  void *bibliotheque = dlopen(CHEMIN_QUILINK, RTLD_NOW | RTLD_LOCAL);
  template <class F>
  F *Entree(const char *nom) {
    return reinterpret_cast<F *>(dlsym(bibliotheque, nom));
  }
  ~Quilink() {
    if (bibliotheque) dlclose(bibliotheque);
  }
};
