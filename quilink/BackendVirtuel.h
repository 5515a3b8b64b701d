#pragma once
#include <memory>
#include <string>

#include "Backend.h"

namespace quilink {

// Devices of the virtual bench, opened by their bench names.
std::unique_ptr<Backend> CreeBackendVirtuel();

// Puts the bench on `preset` (a shipped bench's name or a bench file) and makes it the
// library's backend; false (nothing changed, `erreur` saying why) when it cannot be read.
bool ActiveBancVirtuel(const char *preset, std::string &erreur);

}  // namespace quilink
