#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

#include "Calibres.h"
#include "ReglagesAcquis.h"

class FichierIni;

// The command record the device-access library sends: a length, then the bytes.
struct RecordCommande {
  int32_t Longueur = 0;
  uint8_t Octets[8] = {};
};

// The program's model of the two-channel oscilloscope: owns the device handle,
// keeps the settings it sends, turns them into command records, gathers the
// bursts of a frame and converts codes into times and volts. Channels are 1 and 2.
// It blocks in the device's fixed waits: only the device thread uses it.
class TOscillo {
 public:
  static constexpr int NbEchantillonsMax = 8192;
  static constexpr int TailleTableaux = NbEchantillonsMax + 1;
  static constexpr int CorrectionMax = 10;  // codes: the most the correction can find
  // [channel][calibre][column] in codes; channel 0 unused
  using TableCorrection = std::array<std::array<std::array<int32_t, 2>, 9>, 3>;
  using Echantillons = std::array<uint8_t, TailleTableaux>;

  TOscillo();
  ~TOscillo();
  TOscillo(const TOscillo &) = delete;
  TOscillo &operator=(const TOscillo &) = delete;

  bool EstConnecte() const;
  void Connecte(bool reconnecte);
  void SetAlim(bool alim);
  bool Alim() const { return alim_; }
  std::string Version();  // 8-bit text; empty when the query fails
  void Lance();
  void Stoppe();
  // One burst into the frame; an interleaved burst of an odd byte count starts it over.
  void LitDonnees();
  void EnvoieCommande();
  void EnvoieReglages();
  void EnvoieSynchro();
  void EnvoieDuree();
  void EnvoieVoie(int voie);

  // Settings: stored only, sent at the next start. Out-of-range values are ignored.
  void Regle(const ReglagesAcquis &r) { reglages_ = r; }
  const ReglagesAcquis &Reglages() const { return reglages_; }
  void SetCalibre(int voie, int calibre) { reglages_.SetCalibre(voie, calibre); }
  void SetCouplage(int voie, int couplage) { reglages_.SetCouplage(voie, couplage); }
  void SetZero(int voie, int zero) { reglages_.SetZero(voie, zero); }
  void SetSynchro(int synchro) { reglages_.SetSynchro(synchro); }
  void SetSens(int sens) { reglages_.SetSens(sens); }
  void SetDuree(int duree) { reglages_.SetDuree(duree); }
  void SetSeuil(int seuil) { reglages_.SetSeuil(seuil); }
  int GetCalibre(int voie) const { return reglages_.Calibre(voie); }
  Couplage GetCouplage(int voie) const { return reglages_.CouplageVoie(voie); }
  int GetZero(int voie) const { return reglages_.Zero(voie); }
  ModeSynchro Synchro() const { return reglages_.Synchro(); }
  SensSynchro Sens() const { return reglages_.Sens(); }
  int Duree() const { return reglages_.Duree(); }
  int Seuil() const { return reglages_.Seuil(); }

  // Display limits: the volts of codes 0 and 255 on the current settings.
  double TensionMin(int voie) const { return reglages_.TensionMin(voie); }
  double TensionMax(int voie) const { return reglages_.TensionMax(voie); }

  // The frame under way or last gathered.
  int32_t NbEchantillons() const { return nbEchantillons_; }
  const Echantillons &Brut(int voie) const { return voie == 2 ? brut2_ : brut1_; }
  // The settings the frame was started with.
  const ReglagesAcquis &ReglagesTrame() const { return trame_; }
  // Times and volts of the frame, with the settings it was acquired with; 8193
  // values each, those past the frame at 0 V.
  void CalculeSignaux(double *temps, double *tension1, double *tension2) const;
  uint16_t NbPoints() const;  // points shown for the frame's time base

  // Zero-offset correction of both channels. False when a step got no samples
  // or `Interrompu` said so: the table is then as it was before.
  bool CorrigeDecalage();
  const TableCorrection &Correction() const { return correction_; }
  // Entries are kept within ±CorrectionMax.
  void SetCorrection(const TableCorrection &t);
  // The correction table in section "Oscillo", keys "Z" + calibre + column +
  // channel digits (Z312: calibre 3, column 1, channel 2). A missing key, or a
  // value beyond ±CorrectionMax (never written), reads 0.
  void LitCorrection(const FichierIni &fichier) { correction_ = LitTableCorrection(fichier); }
  void EcritCorrection(FichierIni &fichier) const { EcritTableCorrection(fichier, correction_); }
  static TableCorrection LitTableCorrection(const FichierIni &fichier);
  static void EcritTableCorrection(FichierIni &fichier, const TableCorrection &t);

  // Asked between bursts of the correction: true cuts it short.
  std::function<bool()> Interrompu;

  // Why the oscilloscope is not connected, on one 8-bit line: the cause, a hint and the
  // library's own words; empty while it is connected.
  const std::string &Diagnostic() const { return diagnostic_; }
  // True once after the model let its handle go because the device had been unplugged:
  // it is then not connected, and Connecte(true) opens it again.
  bool PrendDebranchement() { return std::exchange(debranche_, false); }

  int32_t Handle() const { return handle_; }
  const RecordCommande &Commande() const { return commande_; }
  uint16_t ModeVoies() const { return modeVoies_; }

 private:
  void Ouvre();
  // After a device call: a failure because the device has gone drops the handle.
  void Constate(int32_t resultat);
  void Demarre();
  void RecueilleTrame();
  bool EtapeCalibre(int calibre, int colonne);
  bool DoitInterrompre() const { return Interrompu && Interrompu(); }
  friend struct EssaiTOscillo;  // tests put the sample count where they need it

  int32_t handle_ = 0;
  TableCorrection correction_{};
  RecordCommande commande_;
  ReglagesAcquis reglages_;
  ReglagesAcquis trame_;
  uint16_t modeVoies_ = 0;
  Echantillons brut1_{}, brut2_{};
  int32_t nbEchantillons_ = 0;
  bool alim_ = false;
  bool debranche_ = false;
  std::string diagnostic_;
};

// The user's line for a QUILINK_CAUSE_ code (8-bit): what went wrong and what to do,
// then the library's `detail` in parentheses when there is one.
std::string LigneCause(int32_t cause, std::string_view detail);
