#pragma once
#include <memory>
#include <optional>
#include <string>

#include "AccesUsb.h"
#include "Backend.h"

namespace quilink {

// A transfer that does not complete at once counts as failed: the device either
// has the data or it has not.
inline constexpr unsigned DelaiTransfertMs = 20;

// The device node of a device name: "/dev/" + name, the link the udev rule makes.
// No node for an empty name or one that would leave /dev.
std::optional<std::string> CheminPeripherique(const std::string &nom);

// Real USB: pipes are the interface's endpoints in order, the direction bit kept.
std::unique_ptr<Backend> CreeBackendUsb(std::unique_ptr<AccesUsb> acces);

}  // namespace quilink
