#pragma once
#include <memory>
#include <string>

#include "EntreesGenerateur.h"

// One generator library, looked for in a folder and bound at run time. It counts as present
// only when the file is there, loads, and has all five entries.
class BibliothequeGenerateur {
 public:
  explicit BibliothequeGenerateur(std::string nomFichier);
  ~BibliothequeGenerateur();
  BibliothequeGenerateur(const BibliothequeGenerateur &) = delete;
  BibliothequeGenerateur &operator=(const BibliothequeGenerateur &) = delete;

  // Looks for the file in `dossier`, loads it by that full path and binds the entries.
  // Returns Presente().
  bool Charge(const std::string &dossier);
  void Libere();

  bool Presente() const { return module_ != nullptr; }
  // Null when the library is absent.
  const EntreesGenerateur *Entrees() const { return Presente() ? &entrees_ : nullptr; }
  // Full path tried by the last Charge.
  const std::string &Chemin() const { return chemin_; }

 private:
  std::string nomFichier_;
  std::string chemin_;
  void *module_ = nullptr;
  EntreesGenerateur entrees_;
};

// Folder of the running program (empty when it cannot be told).
std::string DossierProgramme();

// One generator kind for the program's run: its library and its driver, created
// together at start-up and ended driver first (closed while its library is there).
template <class Pilote>
class GenerateurCharge {
 public:
  explicit GenerateurCharge(const char *fichier) : bibliotheque_(fichier) {}
  void Initialise(const std::string &dossier) {
    Finalise();
    bibliotheque_.Charge(dossier);
    pilote_ = std::make_unique<Pilote>(bibliotheque_.Entrees());
  }
  void Finalise() {
    if (pilote_ && bibliotheque_.Presente()) pilote_->Ferme();
    pilote_.reset();
    bibliotheque_.Libere();
  }
  bool Presente() const { return bibliotheque_.Presente(); }
  Pilote *Driver() const { return pilote_.get(); }

 private:
  BibliothequeGenerateur bibliotheque_;
  std::unique_ptr<Pilote> pilote_;
};
