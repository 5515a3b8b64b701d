#pragma once
#include <string>

#include "BibliothequeGenerateur.h"
#include "gtbf_usb_comp.h"

// The very-low-frequency generator's library beside the program, and the program's one
// TGTBF_USB driver for the whole run.
inline constexpr const char *FichierGTBF_USB = "libquigena.so";

// Start-up: binds the library found in `dossier` (the program's folder by default) and
// creates the driver.
void InitialiseGTBF_USB(const std::string &dossier = DossierProgramme());
// End: closes the driver when its library is present, destroys it, releases the library.
void FinaliseGTBF_USB();

bool GTBF_USBPresent();
// The driver between InitialiseGTBF_USB and FinaliseGTBF_USB, null otherwise.
TGTBF_USB *GTBF_USB();
