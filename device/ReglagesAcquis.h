#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

#include "Calibres.h"

// Trigger source; the values are the device's command byte and the settings file's.
enum ModeSynchro : uint8_t {
  SynchroRelaxe = 0,  // free-running
  SynchroVoie1 = 1,
  SynchroVoie2 = 2,
  SynchroExterne = 3
};

// Trigger slope, as the device takes it.
enum SensSynchro : uint8_t { SensMontant = 0, SensDescendant = 1 };

// The settings an acquisition is armed with: what the device is sent. The main
// window keeps its own copy and hands it over at each arming; the oscilloscope
// model keeps the one it sent. Setters ignore out-of-range values. Channels are
// 1 and 2; index 0 of the per-channel arrays is unused.
class ReglagesAcquis {
 public:
  ReglagesAcquis();

  void SetCalibre(int voie, int calibre);
  void SetCouplage(int voie, int couplage);
  void SetZero(int voie, int zero);
  void SetSynchro(int synchro);
  void SetSens(int sens);
  void SetDuree(int duree);
  // Any code is kept; NormaliseSeuil puts one the device cannot use back to 127.
  void SetSeuil(int seuil);
  void NormaliseSeuil();

  int Calibre(int voie) const { return calibre_[Indice(voie)]; }
  Couplage CouplageVoie(int voie) const { return couplage_[Indice(voie)]; }
  int Zero(int voie) const { return zero_[Indice(voie)]; }
  ModeSynchro Synchro() const { return synchro_; }
  SensSynchro Sens() const { return sens_; }
  int Duree() const { return duree_; }
  int Seuil() const { return seuil_; }
  // The channel whose level triggers (1 or 2), else 0.
  int VoieSeuil() const;

  // Volts of codes 0 and 255 of a channel on these settings.
  double TensionMin(int voie) const;
  double TensionMax(int voie) const;

  bool operator==(const ReglagesAcquis &) const = default;

  static constexpr int SeuilMilieu = 127;
  static constexpr int SeuilMin = 8, SeuilMax = 248;  // the levels the device takes

 private:
  static std::size_t Indice(int voie) { return voie == 2 ? 2 : 1; }
  std::array<uint8_t, 3> calibre_{};
  std::array<Couplage, 3> couplage_{};
  std::array<uint8_t, 3> zero_{};
  ModeSynchro synchro_ = SynchroRelaxe;
  SensSynchro sens_ = SensMontant;
  uint8_t duree_ = 0;
  uint8_t seuil_ = SeuilMilieu;
};

// Volts of codes 0 and 255 for a calibre (index in Calibres) and the code of 0 V.
double TensionMin(int calibre, int zero);
double TensionMax(int calibre, int zero);
