#pragma once
#include <cstring>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "Backend.h"

// A scripted device: what each read of a pipe gives (nullopt: the request
// fails; nothing scripted: 0 bytes), and a record of every request made.
struct FauxPeripherique {
  // endpoint addresses: two OUT, three IN
  static std::vector<uint8_t> PointsParDefaut() {
    static const uint8_t adresses[] = {0x01, 0x02, 0x81, 0x82, 0x83};
    return {std::begin(adresses), std::end(adresses)};
  }
  std::vector<uint8_t> points = PointsParDefaut();
  bool infoPipesEchoue = false;
  quilink::Echec echecOuverture;  // a cause here: every open fails with it
  bool ecrituresEchouent = false;
  std::map<int, std::deque<std::optional<std::vector<uint8_t>>>> lectures;
  std::vector<std::pair<int, std::vector<uint8_t>>> ecritures;
  std::vector<int> pipesLus;
  std::vector<std::string> nomsOuverts;
  int connexionsVivantes = 0;
  int Requetes() const { return int(ecritures.size() + pipesLus.size()); }
};

class FauxBackend final : public quilink::Backend {
 public:
  explicit FauxBackend(FauxPeripherique &p) : p_(p) {}
  std::unique_ptr<quilink::Connexion> Ouvre(const std::string &nom, quilink::Echec &echec) override {
    p_.nomsOuverts.push_back(nom);
    if (nom != "QuiloUSB-0" || p_.echecOuverture.cause != quilink::Cause::Aucune) {
      echec = p_.echecOuverture.cause != quilink::Cause::Aucune
                  ? p_.echecOuverture
                  : quilink::Echec{quilink::Cause::SansNoeud, "/dev/" + nom};
      return nullptr;
    }
    return std::make_unique<Connexion>(p_);
  }

 private:
  class Connexion final : public quilink::Connexion {
   public:
    explicit Connexion(FauxPeripherique &p) : p_(p) { ++p_.connexionsVivantes; }
    ~Connexion() override { --p_.connexionsVivantes; }
    bool InfoPipes(uint8_t (&table)[quilink::TailleTablePipes]) override {
      if (p_.infoPipesEchoue) return false;
      quilink::EcritTablePipes(table, p_.points.data(), int(p_.points.size()));
      return true;
    }
    bool Descripteur(uint8_t (&)[quilink::TailleDescripteur]) override { return true; }
    bool Lit(uint8_t pipe, uint8_t *tampon, uint32_t &longueur) override {
      p_.pipesLus.push_back(pipe);
      auto &file = p_.lectures[pipe];
      if (file.empty()) {
        longueur = 0;
        return true;
      }
      auto reponse = file.front();
      file.pop_front();
      if (!reponse) return false;
      longueur = std::min<uint32_t>(longueur, uint32_t(reponse->size()));
      if (longueur > 0) std::memcpy(tampon, reponse->data(), longueur);
      return true;
    }
    bool Ecrit(uint8_t pipe, const uint8_t *tampon, uint32_t &longueur) override {
      p_.ecritures.push_back({pipe, std::vector<uint8_t>(tampon, tampon + longueur)});
      return !p_.ecrituresEchouent;
    }

   private:
    FauxPeripherique &p_;
  };
  FauxPeripherique &p_;
};
