#include <unistd.h>

#include <mutex>
#include <string>

#include "BancVirtuel.h"
#include "FichierBanc.h"

namespace {

bool EstDossier(const std::string &chemin) { return ::access(chemin.c_str(), R_OK | X_OK) == 0; }

std::string DossierExecutable() {
  char chemin[4096];
  const ssize_t n = ::readlink("/proc/self/exe", chemin, sizeof chemin - 1);
  if (n <= 0) return {};
  const std::string exe(chemin, std::size_t(n));
  return exe.substr(0, exe.find_last_of('/') + 1);
}

}  // namespace

std::string DossierBancs() {
  static const std::string dossier = [] {
    const std::string exe = DossierExecutable();
    // beside the program, or where an installation puts them
    for (const std::string &d : {exe + "bancs", exe + ZELM_BANCS_INSTALLES})
      if (!exe.empty() && EstDossier(d)) return d;
    return std::string(ZELM_BANCS_SOURCE);  // a build tree: the files where they are written
  }();
  return dossier;
}

bool EstCheminDeBanc(const std::string &nom) {
  return nom.find('/') != std::string::npos ||
         (nom.size() >= 4 && nom.compare(nom.size() - 4, 4, ".ini") == 0);
}

bool PresetExiste(const std::string &nom) {
  return !nom.empty() && !EstCheminDeBanc(nom) &&
         ::access((DossierBancs() + "/" + nom + ".ini").c_str(), R_OK) == 0;
}

bool ChoisitBanc(const std::string &nom, std::string &erreur) {
  if (!EstCheminDeBanc(nom) && !PresetExiste(nom)) {
    erreur = "banc virtuel inconnu « " + nom + " » (ni fichier, ni banc de " + DossierBancs() + ")";
    return false;
  }
  const std::string chemin = EstCheminDeBanc(nom) ? nom : DossierBancs() + "/" + nom + ".ini";
  const auto description = LitFichierBanc(chemin, erreur);
  if (!description) return false;
  std::lock_guard verrou(Banc().Verrou());  // no half-furnished bench is ever seen
  MonteBanc(Banc(), *description);
  return true;
}

bool ChoisitPreset(const std::string &nom) {
  std::string erreur;
  return ChoisitBanc(nom, erreur);
}
