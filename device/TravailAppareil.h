#pragma once
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <variant>
#include <vector>

#include "AccesGenerateurs.h"
#include "ReglagesAcquis.h"
#include "TOscillo.h"

// A complete frame, a copy that whoever holds it owns: times and volts (8193
// values each, those past the frame at 0 V) and the settings it was acquired with.
struct Trame {
  uint32_t numero = 0;  // the arming it answers
  ReglagesAcquis reglages;
  int32_t nbEchantillons = 0;
  uint16_t nbPoints = 0;  // points shown for its time base
  std::vector<double> temps, tension1, tension2;
};

// What the device thread reports, in the order it happened.
struct EtatConnexion {
  bool connecte = false;
  std::string version;  // 8-bit firmware text, read at each connection
  // The device was unplugged: the model has let its handle go (reported once per unplug).
  bool debranche = false;
  // Not connected: why, on one 8-bit line with a hint (also written on standard error).
  std::string diagnostic;
};
struct GenerateurTrouve {
  GenreGenerateur genre = GenreGenerateur::Aucun;
};
struct DecalageCorrige {
  bool reussi = false;
  TOscillo::TableCorrection correction{};  // the table now in use
};
// A sweep step found the generator gone (it has let its handle go); the step's frame is
// armed all the same, so the acquisition goes on.
struct GenerateurPerdu {
  GenreGenerateur genre = GenreGenerateur::Aucun;
};
struct ErreurAppareil {
  std::string message;  // an exception a device call let out
};
using ResultatAppareil = std::variant<EtatConnexion, Trame, GenerateurTrouve, DecalageCorrige,
                                      GenerateurPerdu, ErreurAppareil>;

// The device thread: it owns the oscilloscope model and drives the generators;
// every device call and every fixed wait happens there, so the caller's thread
// never blocks on the device. Commands are queued and run in order; results are
// queued the other way, and the descriptor `Reveil()` becomes readable when one
// is waiting (the window watches it). While an acquisition is armed the thread
// looks for bursts every IntervalleMs through the clock seam.
class TravailAppareil {
 public:
  static constexpr int IntervalleMs = 10;

  explicit TravailAppareil(AccesGenerateurs &generateurs);
  ~TravailAppareil();  // Termine()
  TravailAppareil(const TravailAppareil &) = delete;
  TravailAppareil &operator=(const TravailAppareil &) = delete;

  // --- commands ---
  void Ouvre();     // creates the model, which opens the device: EtatConnexion
  void Connecte();  // opens it again when it is not connected: EtatConnexion
  // Supply on, settings sent, start, then bursts until 8192 samples per channel;
  // then the device is stopped and the frame reported. A new arming replaces one
  // under way.
  void Arme(uint32_t numero, const ReglagesAcquis &reglages);
  void Arrete();                               // abandons the arming; supply off
  void CoupeAlim();                            // after a single-shot frame
  void CorrigeDecalage(const ReglagesAcquis &reglages);  // DecalageCorrige
  void SetCorrection(const TOscillo::TableCorrection &t);
  void DetecteGenerateur();                    // GenerateurTrouve
  void StoppeGenerateur(GenreGenerateur g);
  // Stop, frequency, table, start: the generator plays f.
  void ReglerGenerateur(GenreGenerateur g, double f);
  void SetAmplitude(GenreGenerateur g, double crete);
  // A sweep step: the generator plays f, `delaiMs` pass (through the clock seam),
  // then the acquisition is armed as by Arme, so that its frame is all at f. An
  // Arrete sent meanwhile cuts the wait short and nothing is armed. A generator that
  // does not start is reported (GenerateurPerdu) before its frame.
  void Balaye(GenreGenerateur g, double f, int delaiMs, uint32_t numero,
              const ReglagesAcquis &reglages);
  // Runs `f` on the device thread, after what is queued (tests, probes).
  void Execute(std::function<void(TOscillo *)> f);

  // Cuts short whatever runs, lets the queued commands finish without arming or
  // correcting, frees the model (the device is stopped and closed) and ends the
  // thread. Returns when all of it is done.
  void Termine();

  // --- results ---
  int Reveil() const { return reveil_; }
  // The next result, or none; also clears the descriptor's readiness.
  std::optional<ResultatAppareil> Prend();
  // Blocks until a result waits or `ms` pass (tests and the command line only).
  bool AttendResultat(int ms);

 private:
  void Envoie(std::function<void()> commande);
  void Publie(ResultatAppareil r);
  void Boucle();
  void Regarde();
  void PublieConnexion();
  void SurveilleDebranchement();
  void PublieEtat(EtatConnexion e);
  void ArmeMaintenant(uint32_t numero, const ReglagesAcquis &reglages);
  bool Annule() const { return annule_.load(); }

  AccesGenerateurs &generateurs_;
  std::unique_ptr<TOscillo> oscillo_;  // device thread only
  bool armee_ = false;                 // device thread only
  uint32_t numero_ = 0;                // device thread only

  std::mutex mutex_;
  std::condition_variable commandes_;
  std::deque<std::function<void()>> file_;
  std::deque<ResultatAppareil> resultats_;
  bool fin_ = false;
  std::atomic<bool> annule_{false};
  std::atomic<bool> arretEnVue_{false};  // an Arrete is queued
  int reveil_ = -1;
  std::thread fil_;
};
