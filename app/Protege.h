#pragma once
#include <QString>
#include <exception>

#include "Boites.h"

// Shows what a handler let out, in the error box; the program goes on.
inline void MontreException(const std::exception &e) {
  BoitesCourantes().Erreur(QString::fromUtf8(e.what()));
}

// Runs a handler so that an exception it lets out is shown and goes no further:
// it must not unwind through the toolkit's own frames, which do not expect it.
template <class F>
void Protege(F &&handler) {
  try {
    handler();
  } catch (const std::exception &e) {
    MontreException(e);
  }
}
