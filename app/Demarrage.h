#pragma once
#include <QString>
#include <string>

// The program's modules, initialised before any window in this order: FFT
// tables, data folder (under `documents`, returned), named units, generator
// libraries; finalised in the reverse order.
std::string InitialiseModules(const QString &documents);
void FinaliseModules();
