#pragma once
#include <string>

#include "BibliothequeGenerateur.h"
#include "gbf_usb_comp.h"

// The low-frequency generator's library beside the program, and the program's one
// TGBF_USB driver for the whole run.
inline constexpr const char *FichierGBF_USB = "libquigenb.so";

// Start-up: binds the library found in `dossier` (the program's folder by default) and
// creates the driver.
void InitialiseGBF_USB(const std::string &dossier = DossierProgramme());
// End: closes the driver when its library is present, destroys it, releases the library.
void FinaliseGBF_USB();

bool GBF_USBPresent();
// The driver between InitialiseGBF_USB and FinaliseGBF_USB, null otherwise.
TGBF_USB *GBF_USB();
