#pragma once
#include "PrototypesGenerateur.h"

// The five entries of a generator library as bound at run time, for the drivers to call.
struct EntreesGenerateur {
  FnSetPortClose SetPortClose = nullptr;
  FnSetPortOpen SetPortOpen = nullptr;
  FnGetVersion GetVersion = nullptr;
  FnLanceGenerateur LanceGenerateur = nullptr;
  FnStopGenerateur StopGenerateur = nullptr;

  bool Completes() const {
    return SetPortClose && SetPortOpen && GetVersion && LanceGenerateur && StopGenerateur;
  }
};
