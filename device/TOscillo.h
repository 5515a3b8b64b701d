#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "Calibres.h"

class FichierIni;

// The command record the device-access library sends: a length, then the bytes.
struct RecordCommande {
  int32_t Longueur = 0;
  uint8_t Octets[8] = {};
};

// The program's model of the two-channel oscilloscope: owns the device handle,
// keeps the acquisition settings, turns them into command records, gathers the
// bursts of a frame and converts codes into times and volts. Channels are 1 and 2;
// index 0 of the per-channel arrays is unused.
class TOscillo {
 public:
  static constexpr int NbEchantillonsMax = 8192;
  static constexpr int TailleTableaux = NbEchantillonsMax + 1;
  static constexpr int CorrectionMax = 10;  // codes: the most the correction can find

  TOscillo();
  ~TOscillo();
  TOscillo(const TOscillo &) = delete;
  TOscillo &operator=(const TOscillo &) = delete;

  bool EstConnecte() const;
  void Connecte(bool reconnecte);
  void SetAlim(bool alim);
  std::string Version();  // empty when the query fails
  void Lance();
  void Stoppe();
  void LitDonnees();
  void EnvoieCommande();
  void EnvoieReglages();
  void EnvoieSynchro();
  void EnvoieDuree();
  void EnvoieVoie(int voie);

  // Setters only store; out-of-range values are ignored.
  void SetCalibre(int voie, int calibre);
  int GetCalibre(int voie) const { return Calibre[size_t(voie)]; }
  void SetCouplage(int voie, int couplage);
  void SetZero(int voie, int zero);
  void SetSynchro(int synchro);
  void SetSens(int sens);
  void SetDuree(int duree);

  // Display limits: the volts of codes 0 and 255 on the current settings.
  double TensionMin(int voie);
  double TensionMax(int voie);
  // Times and volts of the frame, with the settings it was acquired with; 8193
  // values each, those past the frame at 0 V.
  void CalculeSignaux(double *temps, double *tension1, double *tension2);
  uint16_t NbPoints() const;  // points shown for the frame's time base
  // Zero-offset correction of both channels; false (the table as it was for the
  // calibres that got no samples) when the device did not answer.
  bool CorrigeDecalage();
  // The correction table in section "Oscillo", keys "Z" + calibre + column +
  // channel digits (Z312: calibre 3, column 1, channel 2). Values read are kept
  // within ±CorrectionMax; a missing key reads 0.
  void LitCorrection(const FichierIni &fichier);
  void EcritCorrection(FichierIni &fichier) const;

  // Lets the user interface process its pending messages between bursts.
  std::function<void()> TraiteMessages;

  int32_t Handle = 0;
  int32_t Correction[3][9][2] = {};  // [channel][calibre][column], codes
  RecordCommande Commande;
  std::array<uint8_t, 3> Calibre{};
  std::array<uint8_t, 3> Couplage{};
  std::array<uint8_t, 3> Zero{};
  uint16_t ModeVoies = 0;
  std::array<uint8_t, TailleTableaux> Brut1{}, Brut2{};
  int8_t Synchro = 0;
  uint8_t Duree = 0;
  uint8_t Sens = 0;
  uint8_t Seuil = 127;
  int32_t NbEchantillons = 0;
  std::array<double, 3> Echelle{};
  std::array<double, 3> Decalage{};
  bool Alim = false;

 private:
  // The settings a frame was acquired with.
  struct ReglagesTrame {
    std::array<uint8_t, 3> calibre{}, zero{};
    uint8_t duree = 0;
  };

  void Ouvre();
  void Demarre();
  void CalculeEchelle(int voie, int calibre, int zero);
  void RecueilleTrame();
  bool EtapeCalibre(int calibre, int colonne);

  ReglagesTrame trame_;
};
