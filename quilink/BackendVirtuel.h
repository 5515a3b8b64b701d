#pragma once
#include <memory>

#include "Backend.h"

namespace quilink {

// Devices of the virtual bench, opened by their bench names.
std::unique_ptr<Backend> CreeBackendVirtuel();

// Puts the bench on `preset` and makes it the library's backend; false (nothing
// changed) when there is no such preset.
bool ActiveBancVirtuel(const char *preset);

}  // namespace quilink
