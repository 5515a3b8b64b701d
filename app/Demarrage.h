#pragma once
#include <QString>

struct AccesGenerateurs;

// The program's modules, initialised before any window in this order: FFT
// tables, data folder (under `documents`), named units, spectrum line step,
// generator libraries; finalised in the reverse order.
void InitialiseModules(const QString &documents);
void FinaliseModules();
// The generators the main window may look for: those whose library is there.
AccesGenerateurs GenerateursPresents();
