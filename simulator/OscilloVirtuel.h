#pragma once
#include <array>
#include <cstdint>
#include <mutex>

#include "BancVirtuel.h"

class HorlogeBanc;

// The three inputs of the oscilloscope as the bench feeds them.
class EntreesOscillo {
 public:
  virtual ~EntreesOscillo() = default;
  enum : int { Voie1 = 1, Voie2 = 2, Externe = 3 };
  virtual double Tension(int entree, double t) = 0;  // volts at bench time t (s)
  virtual double Moyenne(int entree) const = 0;      // DC component, for AC coupling
};

// The oscilloscope's firmware side: pipes 0 and 1 take commands, pipe 2 answers
// nothing, pipes 3 and 4 hand out samples and the version reply. It samples its
// inputs on the bench clock, so a frame fills only as bench time goes by. Each public
// entry holds the bench's lock (`verrou`), so the device thread and a test may both use it.
class OscilloVirtuel final : public AppareilVirtuel {
 public:
  // Endpoint address of each pipe, in pipe order (bit 7: device to host).
  static constexpr std::array<uint8_t, 5> Points{0x01, 0x02, 0x81, 0x82, 0x83};
  static constexpr int EchantillonsParTrame = 8192;
  static constexpr int OctetsParLecture = 64;
  static constexpr char VersionMicrologiciel[] = "QuiloSim 1.0";  // 12 characters

  OscilloVirtuel(EntreesOscillo &entrees, HorlogeBanc &horloge, std::recursive_mutex &verrou,
                 uint64_t graine = 1);

  // The two bulk directions; false is a failed request. `longueur` is the size
  // asked for and becomes the size transferred.
  bool Ecrit(int pipe, const uint8_t *octets, uint32_t &longueur);
  bool Lit(int pipe, uint8_t *octets, uint32_t &longueur);

  // Faults. Unplugged: every request fails (and opens fail). Empty bursts: data
  // reads succeed with no byte. No trigger: a channel or external trigger never
  // fires (free-running still starts).
  void Debranche(bool debranche);
  bool EstBranche() const;
  void SalvesVides(bool vides);
  void SynchroAbsente(bool absente);
  // Short bursts: each data read hands out at most `octets` bytes (0: as many as asked).
  void SalvesCourtes(int octets);
  // Faults that fall in the middle of the next frame started, once `octets` of its bytes
  // are handed out (0: none): unplugged until Debranche(false), empty bursts until
  // SalvesVides(false), or only that read cut short there (once).
  void DebrancheEnTrame(int octets);
  void SalvesVidesEnTrame(int octets);
  void CoupeEnTrame(int octets);
  // The noise starts again from `graine`, as after a plug-in.
  void Reensemence(uint64_t graine);
  // Noise of ±`codes` (triangular) on each sample; 1 by default, 0 for none.
  void DefinitBruit(double codes);
  // An input stage that has drifted: `codes` more offset on the channel.
  void DeriveDecalage(int voie, int codes);

  // Offset error in codes that the input stage adds, for channel 1..2, calibre
  // index 0..8 (order of the calibre table) and time-base column (1: 48 MHz
  // clock, 0: the others). It depends on the gain stage (three calibres each),
  // so one measurement per stage can correct it.
  static int ErreurDecalage(int voie, int calibre, int colonne);

  double FrequenceEchantillonnage() const;
  bool Alimente() const;

 private:
  struct ReglageVoie {
    int calibre = 8;   // index in the calibre table
    int couplage = 1;  // 0 AC, 1 DC, 2 GND
    int zero = 127;    // code of 0 V
  };
  enum class Etat { Arret, AttenteSynchro, Trame };

  void Commande(const uint8_t *octets, uint32_t longueur);
  void CommandeDuree(const uint8_t *octets);
  void CommandeVoie(const uint8_t *octets);
  void Demarre();
  void AttendSynchro();
  void Avance();
  void ChercheSynchro(int64_t dernier);
  bool Franchit(double x, double niveau, double hysteresis);
  double Mesure(int entree, int64_t n);
  uint8_t Code(int voie, int64_t n);
  double Bruit();
  int OctetsDisponibles() const;
  uint8_t OctetDuFlux(int position) const;
  uint32_t LitDonnees(uint8_t *octets, uint32_t longueur);

  EntreesOscillo &entrees_;
  HorlogeBanc &horloge_;
  std::recursive_mutex &verrou_;
  uint64_t alea_;
  double bruit_ = 1;
  bool debranche_ = false, salvesVides_ = false, synchroAbsente_ = false;
  int salvesCourtes_ = 0;
  bool coupe_ = false;  // set by a cut, which has no lasting effect
  // a fault for the middle of a frame: the bytes it waits for, then the flag it sets
  struct PanneEnTrame {
    int prochaine;  // for the next frame started
    int octets;     // for the frame under way
    bool OscilloVirtuel::*drapeau;
  };
  std::array<PanneEnTrame, 3> pannes_{{{0, 0, &OscilloVirtuel::debranche_},
                                       {0, 0, &OscilloVirtuel::salvesVides_},
                                       {0, 0, &OscilloVirtuel::coupe_}}};
  bool alim_ = false, versionDemandee_ = false;
  std::array<ReglageVoie, 2> voies_{};
  std::array<int, 2> derive_{};
  int synchro_ = 0, sens_ = 0, niveau_ = 0;
  int horlogeA_ = 2, mode_ = 0;
  double frequence_ = 48e6;
  // the running acquisition
  Etat etat_ = Etat::Arret;
  int modeTrame_ = 0;
  int64_t origineUs_ = 0;  // bench time of the start
  int64_t examine_ = 0;    // next sample index looked at for the trigger
  bool arme_ = false;       // the input has been on the near side of the level
  int64_t debut_ = 0;      // sample index where the frame starts
  int produits_ = 0;       // samples of the frame made so far
  int dejaConverti_ = 0;   // channel whose first sample is the trigger's own
  int livres_ = 0;         // bytes of the frame handed out
  std::array<std::array<uint8_t, EchantillonsParTrame>, 2> trame_{};
};
