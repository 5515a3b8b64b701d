#include "BibliothequeGenerateur.h"

#include <dlfcn.h>

#include <filesystem>
#include <system_error>
#include <utility>

namespace {

template <typename Fn>
Fn Entree(void *module, const char *nom) {
  return reinterpret_cast<Fn>(dlsym(module, nom));
}

}  // namespace

BibliothequeGenerateur::BibliothequeGenerateur(std::string nomFichier)
    : nomFichier_(std::move(nomFichier)) {}

BibliothequeGenerateur::~BibliothequeGenerateur() { Libere(); }

bool BibliothequeGenerateur::Charge(const std::string &dossier) {
  Libere();
  // A relative path would make dlopen search the library path instead of
  // loading the file tested here: without the program's folder, no library.
  if (dossier.empty() || !std::filesystem::path(dossier).is_absolute()) return false;
  chemin_ = (std::filesystem::path(dossier) / nomFichier_).string();
  std::error_code erreur;
  if (!std::filesystem::is_regular_file(chemin_, erreur)) return false;
  // By the full path that was tested: a bare name would not search the program's folder.
  module_ = dlopen(chemin_.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!module_) return false;
  entrees_.SetPortClose = Entree<FnSetPortClose>(module_, "_SetPortClose");
  entrees_.SetPortOpen = Entree<FnSetPortOpen>(module_, "_SetPortOpen");
  entrees_.GetVersion = Entree<FnGetVersion>(module_, "_GetVersion");
  entrees_.LanceGenerateur = Entree<FnLanceGenerateur>(module_, "_LanceGenerateur");
  entrees_.StopGenerateur = Entree<FnStopGenerateur>(module_, "_StopGenerateur");
  // A library without one of its entries would crash the driver at its first call.
  if (!entrees_.Completes()) Libere();
  return Presente();
}

void BibliothequeGenerateur::Libere() {
  if (module_) dlclose(module_);
  module_ = nullptr;
  entrees_ = EntreesGenerateur{};
}

std::string DossierProgramme() {
  std::error_code erreur;
  const auto programme = std::filesystem::read_symlink("/proc/self/exe", erreur);
  return erreur ? std::string() : programme.parent_path().string();
}
