#include "OscilloVirtuel.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

#include "HorlogeBanc.h"

namespace {

// The input stage: calibre code byte (a multiple of 4) → volts over the 255 codes.
struct CalibreMateriel {
  uint8_t code;
  double span;
};
constexpr std::array<CalibreMateriel, 9> Calibres{{
    {36, 0.08}, {20, 0.16}, {4, 0.4}, {40, 0.8}, {24, 1.6},
    {8, 4}, {32, 8}, {16, 16}, {0, 40}}};

// Time-base clock by byte A: 12 MHz (0), 4 MHz (1), 48 MHz (2).
constexpr std::array<double, 3> HorlogesA{12e6, 4e6, 48e6};

// Offset error in codes by channel, gain stage (calibres 0-2, 3-5, 6-8) and
// time-base column (0 slow, 1 fast).
constexpr int Erreurs[2][3][2] = {{{3, -2}, {-4, 2}, {2, 5}},
                                  {{-3, 4}, {5, -1}, {-2, -5}}};

// Samples older than this many periods are skipped when looking for a trigger:
// the scope cannot have waited longer than the caller has been away.
constexpr int64_t FenetreSynchro = 65536;

// The noise moves a code by at most 1.5: a 3-code hysteresis keeps it from
// arming the trigger.
constexpr double HysteresisCodes = 3;

// The external input's comparator sits just above 0 V with a little hysteresis,
// so a logic signal whose low level is exactly 0 V triggers on both slopes.
constexpr double NiveauExterne = 0.01;     // volts
constexpr double HysteresisExterne = 0.005;  // volts

enum : uint8_t { CmdStop = 0, CmdSynchro = 3, CmdDuree = 4, CmdAlim = 5, CmdVersion = 6 };

}  // namespace

OscilloVirtuel::OscilloVirtuel(EntreesOscillo &entrees, HorlogeBanc &horloge,
                               std::recursive_mutex &verrou, uint64_t graine)
    : entrees_(entrees), horloge_(horloge), verrou_(verrou), alea_(graine ? graine : 1) {}

void OscilloVirtuel::Debranche(bool debranche) {
  std::lock_guard verrou(verrou_);
  debranche_ = debranche;
}

bool OscilloVirtuel::EstBranche() const {
  std::lock_guard verrou(verrou_);
  return !debranche_;
}

void OscilloVirtuel::DefinitBruit(double codes) {
  std::lock_guard verrou(verrou_);
  bruit_ = codes;
}

void OscilloVirtuel::Reensemence(uint64_t graine) {
  std::lock_guard verrou(verrou_);
  alea_ = graine ? graine : 1;
}

void OscilloVirtuel::SalvesVides(bool vides) {
  std::lock_guard verrou(verrou_);
  salvesVides_ = vides;
}

void OscilloVirtuel::SynchroAbsente(bool absente) {
  std::lock_guard verrou(verrou_);
  synchroAbsente_ = absente;
}

void OscilloVirtuel::SalvesCourtes(int octets) {
  std::lock_guard verrou(verrou_);
  salvesCourtes_ = std::max(octets, 0);
}

void OscilloVirtuel::DebrancheEnTrame(int octets) {
  std::lock_guard verrou(verrou_);
  pannes_[0].prochaine = std::max(octets, 0);
}

void OscilloVirtuel::SalvesVidesEnTrame(int octets) {
  std::lock_guard verrou(verrou_);
  pannes_[1].prochaine = std::max(octets, 0);
}

void OscilloVirtuel::CoupeEnTrame(int octets) {
  std::lock_guard verrou(verrou_);
  pannes_[2].prochaine = std::max(octets, 0);
}

void OscilloVirtuel::DeriveDecalage(int voie, int codes) {
  std::lock_guard verrou(verrou_);
  derive_[voie == 2 ? 1 : 0] = codes;
}

double OscilloVirtuel::FrequenceEchantillonnage() const {
  std::lock_guard verrou(verrou_);
  return frequence_;
}

bool OscilloVirtuel::Alimente() const {
  std::lock_guard verrou(verrou_);
  return alim_;
}

int OscilloVirtuel::ErreurDecalage(int voie, int calibre, int colonne) {
  if (voie < 1 || voie > 2 || calibre < 0 || calibre > 8 || colonne < 0 || colonne > 1) return 0;
  return Erreurs[voie - 1][calibre / 3][colonne];
}

bool OscilloVirtuel::Ecrit(int pipe, const uint8_t *octets, uint32_t &longueur) {
  std::lock_guard verrou(verrou_);
  if (debranche_ || pipe < 0 || pipe >= int(Points.size()) || (Points[pipe] & 0x80)) return false;
  if (pipe == 0) {
    if (longueur > 0) Demarre();
  } else {
    Commande(octets, longueur);
  }
  return true;
}

void OscilloVirtuel::Commande(const uint8_t *o, uint32_t n) {
  if (n == 0) return;
  switch (o[0]) {
    case CmdStop: etat_ = Etat::Arret; break;
    case CmdSynchro:
      if (n >= 4 && o[1] <= 3) {
        synchro_ = o[1], sens_ = o[2] & 1, niveau_ = o[3];
        // the wait under way is for the old source: it starts again on the new one
        if (etat_ == Etat::AttenteSynchro) AttendSynchro();
      }
      break;
    case CmdDuree:
      if (n >= 5) CommandeDuree(o);
      break;
    case CmdAlim:
      if (n >= 2) {
        alim_ = o[1] != 0;
        if (!alim_) etat_ = Etat::Arret;
      }
      break;
    case CmdVersion: versionDemandee_ = true; break;
    case 1:
    case 2:
      if (n >= 3) CommandeVoie(o);
      break;
    default: break;  // unknown commands are ignored, as the firmware does
  }
}

// 4, A, B, channel mode, C: f = clock(A) / ((256 − B) × C).
void OscilloVirtuel::CommandeDuree(const uint8_t *o) {
  const int a = o[1], b = o[2], mode = o[3], c = o[4];
  if (a >= int(HorlogesA.size()) || c == 0 || mode > 2) return;
  horlogeA_ = a;
  mode_ = mode;
  frequence_ = HorlogesA[a] / ((256.0 - b) * c);
}

void OscilloVirtuel::CommandeVoie(const uint8_t *o) {
  const auto calibre = std::find_if(Calibres.begin(), Calibres.end(),
                                    [&](auto c) { return c.code == (o[1] & ~3); });
  if (calibre == Calibres.end()) return;
  auto &v = voies_[o[0] - 1];
  v.calibre = int(calibre - Calibres.begin());
  const int bits = o[1] & 3;
  v.couplage = bits == 1 ? 0 : bits == 2 ? 2 : 1;
  v.zero = o[2];
}

void OscilloVirtuel::Demarre() {
  if (!alim_) return;
  modeTrame_ = mode_;
  for (auto &p : pannes_) p.octets = std::exchange(p.prochaine, 0);
  AttendSynchro();
}

// From now on, on the current source; free-running starts the frame at once.
void OscilloVirtuel::AttendSynchro() {
  etat_ = Etat::AttenteSynchro;
  origineUs_ = horloge_.MaintenantUs();
  examine_ = 0;
  arme_ = false;
  dejaConverti_ = 0;
  produits_ = livres_ = 0;
  if (synchro_ == 0) {
    etat_ = Etat::Trame;
    debut_ = 0;
  }
}

// Triangular noise of ±1 code (σ ≈ 0.4 code), from a seeded xorshift.
double OscilloVirtuel::Bruit() {
  auto uniforme = [this] {
    alea_ ^= alea_ << 13;
    alea_ ^= alea_ >> 7;
    alea_ ^= alea_ << 17;
    return double(alea_ >> 11) * 0x1.0p-53;
  };
  return (uniforme() + uniforme() - 1) * bruit_;
}

double OscilloVirtuel::Mesure(int entree, int64_t n) {
  return entrees_.Tension(entree, origineUs_ * 1e-6 + double(n) / frequence_);
}

// What the channel's converter gives for sample n: coupling, gain, offset code,
// the stage's offset error, noise, 8-bit quantisation and clipping.
uint8_t OscilloVirtuel::Code(int voie, int64_t n) {
  const auto &r = voies_[voie - 1];
  double v = 0;
  if (r.couplage != 2) {
    v = Mesure(voie, n);
    if (r.couplage == 0) v -= entrees_.Moyenne(voie);
  }
  const int colonne = horlogeA_ == 2 ? 1 : 0;
  const double code = r.zero + v * 255 / Calibres[r.calibre].span +
                      ErreurDecalage(voie, r.calibre, colonne) + derive_[voie - 1] + Bruit();
  return uint8_t(std::clamp<long>(std::lround(code), 0, 255));
}

// The trigger arms once the input is clearly on the near side of the level (by
// the hysteresis, which keeps noise from firing it the wrong way) and fires
// when the input reaches the level.
bool OscilloVirtuel::Franchit(double x, double niveau, double hysteresis) {
  const double cote = sens_ == 0 ? niveau - x : x - niveau;
  if (cote > hysteresis) arme_ = true;
  return arme_ && cote <= 0;
}

// Looks at the trigger input from the next unseen sample up to `dernier`; the
// frame starts at the first sample that reaches the level in the chosen direction.
void OscilloVirtuel::ChercheSynchro(int64_t dernier) {
  if (synchroAbsente_) return;
  if (dernier - examine_ > FenetreSynchro) {
    examine_ = dernier - FenetreSynchro;
    arme_ = false;
  }
  const bool externe = synchro_ == 3;
  const double niveau = externe ? NiveauExterne : niveau_;
  const double hysteresis = externe ? HysteresisExterne : HysteresisCodes;
  for (; examine_ <= dernier; ++examine_) {
    const double x = externe ? Mesure(EntreesOscillo::Externe, examine_)
                             : Code(synchro_, examine_);
    if (Franchit(x, niveau, hysteresis)) {
      etat_ = Etat::Trame;
      debut_ = examine_;
      if (!externe) {  // the sample that fired is the frame's first, as converted
        trame_[size_t(synchro_ - 1)][0] = uint8_t(x);
        dejaConverti_ = synchro_;
      }
      return;
    }
  }
}

void OscilloVirtuel::Avance() {
  if (etat_ == Etat::Arret) return;
  const double ecoule = (horloge_.MaintenantUs() - origineUs_) * 1e-6;
  const int64_t dernier = int64_t(std::floor(ecoule * frequence_));
  if (etat_ == Etat::AttenteSynchro) ChercheSynchro(dernier);
  if (etat_ != Etat::Trame) return;
  for (; produits_ < EchantillonsParTrame && debut_ + produits_ <= dernier; ++produits_) {
    for (int voie : {1, 2})
      if (produits_ > 0 || voie != dejaConverti_)
        trame_[size_t(voie - 1)][size_t(produits_)] = Code(voie, debut_ + produits_);
  }
}

int OscilloVirtuel::OctetsDisponibles() const {
  return modeTrame_ == 0 ? 2 * produits_ : produits_;
}

// Mode 0 interleaves the channels, channel 1 first; modes 1 and 2 send one channel.
uint8_t OscilloVirtuel::OctetDuFlux(int position) const {
  if (modeTrame_ == 0) return trame_[position % 2][position / 2];
  return trame_[modeTrame_ - 1][position];
}

uint32_t OscilloVirtuel::LitDonnees(uint8_t *octets, uint32_t longueur) {
  if (salvesVides_ || !alim_) return 0;
  Avance();
  if (etat_ != Etat::Trame) return 0;
  int n = std::min<int>({int(longueur), OctetsParLecture, OctetsDisponibles() - livres_});
  if (salvesCourtes_ > 0) n = std::min(n, salvesCourtes_);
  for (const auto &p : pannes_)
    if (p.octets > 0) n = std::min(n, p.octets - livres_);
  for (int i = 0; i < n; ++i) octets[i] = OctetDuFlux(livres_ + i);
  livres_ += n;
  for (auto &p : pannes_)
    if (p.octets > 0 && livres_ >= p.octets) {
      p.octets = 0;
      this->*p.drapeau = true;  // this read got its bytes; the fault is for the next one
    }
  return uint32_t(n);
}

bool OscilloVirtuel::Lit(int pipe, uint8_t *octets, uint32_t &longueur) {
  std::lock_guard verrou(verrou_);
  if (debranche_ || pipe < 0 || pipe >= int(Points.size()) || !(Points[pipe] & 0x80)) return false;
  longueur = std::min<uint32_t>(longueur, OctetsParLecture);
  if (pipe == 2) {
    std::memset(octets, 0, longueur);
  } else if (pipe == 3 && versionDemandee_) {
    versionDemandee_ = false;
    uint8_t reponse[OctetsParLecture] = {};
    std::memcpy(reponse, VersionMicrologiciel, sizeof VersionMicrologiciel - 1);
    std::memcpy(octets, reponse, longueur);
  } else {
    longueur = LitDonnees(octets, longueur);
  }
  return true;
}
