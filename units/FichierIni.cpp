#include "FichierIni.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>

#include "ZelmUtil.h"

namespace {

constexpr std::size_t Absent = static_cast<std::size_t>(-1);

char Minuscule(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string_view SansBlancs(std::string_view s) {
  const auto blanc = [](char c) { return c == ' ' || c == '\t'; };
  while (!s.empty() && blanc(s.front())) s.remove_prefix(1);
  while (!s.empty() && blanc(s.back())) s.remove_suffix(1);
  return s;
}

// The whole of a regular file; false for a missing, unreadable or special file.
bool LitTout(const std::string &chemin, std::string &texte) {
  const int fd = ::open(chemin.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat etat {};
  bool ok = ::fstat(fd, &etat) == 0 && S_ISREG(etat.st_mode);
  char tampon[4096];
  while (ok) {
    const ssize_t n = ::read(fd, tampon, sizeof tampon);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok = n == 0;
      break;
    }
    texte.append(tampon, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return ok;
}

bool EcritTout(int fd, const std::string &texte) {
  std::size_t fait = 0;
  while (fait < texte.size()) {
    const ssize_t n = ::write(fd, texte.data() + fait, texte.size() - fait);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    fait += static_cast<std::size_t>(n);
  }
  return true;
}

// The folder of `chemin` is synced after the rename so that the new name lasts too.
void SynchroniseDossier(const std::string &chemin) {
  const auto barre = chemin.find_last_of('/');
  const std::string dossier = barre == std::string::npos ? "." : chemin.substr(0, barre + 1);
  const int fd = ::open(dossier.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

bool EgalSansCasse(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(),
                    [](char x, char y) { return Minuscule(x) == Minuscule(y); });
}

FichierIni::FichierIni(std::string chemin) : chemin_(std::move(chemin)) {
  std::string texte;
  if (LitTout(chemin_, texte)) {
    Charge(texte);
    lu_ = true;
  }
}

void FichierIni::Charge(std::string_view texte) {
  lignes_.clear();
  const auto premiereFin = texte.find('\n');
  crlf_ = premiereFin != std::string_view::npos && premiereFin > 0 && texte[premiereFin - 1] == '\r';
  while (!texte.empty()) {
    const auto fin = texte.find('\n');
    std::string_view brut = texte.substr(0, fin);
    texte.remove_prefix(fin == std::string_view::npos ? texte.size() : fin + 1);
    // every CR before the LF belongs to the line's end: one kept in the line would be
    // written back as the CR of a CR LF and read as such, the line no longer the same
    while (!brut.empty() && brut.back() == '\r') brut.remove_suffix(1);
    Ligne l{std::string(brut), {}, {}, {}, false, false};
    const std::string_view t = SansBlancs(brut);
    const auto ferme = t.find(']');
    const auto egal = t.find('=');
    if (!t.empty() && t.front() == '[' && ferme != std::string_view::npos) {
      l.estSection = true;
      l.section = SansBlancs(t.substr(1, ferme - 1));
    } else if (!t.empty() && t.front() != ';' && t.front() != '#' && egal != std::string_view::npos) {
      l.estCle = true;
      l.cle = SansBlancs(t.substr(0, egal));
      l.valeur = SansBlancs(t.substr(egal + 1));
    }
    lignes_.push_back(std::move(l));
  }
}

std::vector<FichierIni::Element> FichierIni::Elements() const {
  std::vector<Element> elements;
  elements.reserve(lignes_.size());
  for (const Ligne &l : lignes_) {
    const std::string_view t = SansBlancs(l.brut);
    if (l.estSection)
      elements.push_back({Element::Section, l.section, {}, {}});
    else if (l.estCle)
      elements.push_back({Element::Cle, {}, l.cle, l.valeur});
    else if (t.empty() || t.front() == ';' || t.front() == '#')
      elements.push_back({Element::Blanc, {}, {}, {}});
    else
      elements.push_back({Element::Autre, {}, {}, {}});
  }
  return elements;
}

std::size_t FichierIni::ChercheSection(std::string_view section) const {
  for (std::size_t i = 0; i < lignes_.size(); ++i)
    if (lignes_[i].estSection && EgalSansCasse(lignes_[i].section, section)) return i;
  return Absent;
}

std::size_t FichierIni::FinSection(std::size_t debut) const {
  std::size_t i = debut + 1;
  while (i < lignes_.size() && !lignes_[i].estSection) ++i;
  return i;
}

std::size_t FichierIni::ChercheCle(std::string_view section, std::string_view cle) const {
  const std::size_t debut = ChercheSection(section);
  if (debut == Absent) return Absent;
  const std::size_t fin = FinSection(debut);
  for (std::size_t i = debut + 1; i < fin; ++i)
    if (lignes_[i].estCle && EgalSansCasse(lignes_[i].cle, cle)) return i;
  return Absent;
}

const std::string *FichierIni::Valeur(std::string_view section, std::string_view cle) const {
  const std::size_t i = ChercheCle(section, cle);
  return i == Absent ? nullptr : &lignes_[i].valeur;
}

bool FichierIni::SectionExiste(std::string_view section) const {
  return ChercheSection(section) != Absent;
}

bool FichierIni::CleExiste(std::string_view section, std::string_view cle) const {
  return ChercheCle(section, cle) != Absent;
}

std::string FichierIni::LitTexte(std::string_view section, std::string_view cle,
                                 std::string_view defaut) const {
  const std::string *v = Valeur(section, cle);
  return v ? *v : std::string(defaut);
}

int32_t FichierIni::LitEntier(std::string_view section, std::string_view cle,
                              int32_t defaut) const {
  const std::string *v = Valeur(section, cle);
  if (!v || v->empty()) return defaut;
  std::string_view t = *v;
  if (t.size() > 1 && t[0] == '+' && t[1] != '-' && t[1] != '+') t.remove_prefix(1);
  int32_t r = 0;
  const auto [fin, ec] = std::from_chars(t.data(), t.data() + t.size(), r);
  return ec == std::errc() && fin == t.data() + t.size() ? r : defaut;
}

bool FichierIni::LitBooleen(std::string_view section, std::string_view cle, bool defaut) const {
  return LitEntier(section, cle, defaut ? 1 : 0) != 0;
}

double FichierIni::LitReel(std::string_view section, std::string_view cle, double defaut) const {
  const std::string *v = Valeur(section, cle);
  if (!v) return defaut;
  double r = 0;
  if (LitDecimal(*v, SeparateurDecimal(), r) || LitDecimal(*v, '.', r)) return r;
  return defaut;
}

void FichierIni::EcritTexte(std::string_view section, std::string_view cle,
                            std::string_view valeur) {
  // blanks first, then the trim: a value ending in a line break must read the same
  // from memory and from the file written
  std::string v(valeur);
  std::replace_if(v.begin(), v.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
  v = std::string(SansBlancs(v));
  if (const std::size_t i = ChercheCle(section, cle); i != Absent) {
    Ligne &l = lignes_[i];
    l.valeur = v;
    l.brut = l.cle + "=" + v;
    return;
  }
  Ligne nouvelle{std::string(cle) + "=" + v, {}, std::string(cle), v, false, true};
  std::size_t debut = ChercheSection(section);
  if (debut == Absent) {
    if (!lignes_.empty() && !SansBlancs(lignes_.back().brut).empty())
      lignes_.push_back(Ligne{});  // a blank line before a new section
    lignes_.push_back(Ligne{"[" + std::string(section) + "]", std::string(section), {}, {}, true, false});
    lignes_.push_back(std::move(nouvelle));
    return;
  }
  // after the section's last non-blank line, so that blank lines keep separating sections
  std::size_t apres = FinSection(debut);
  while (apres > debut + 1 && SansBlancs(lignes_[apres - 1].brut).empty()) --apres;
  lignes_.insert(lignes_.begin() + static_cast<std::ptrdiff_t>(apres), std::move(nouvelle));
}

void FichierIni::EcritEntier(std::string_view section, std::string_view cle, int32_t valeur) {
  EcritTexte(section, cle, std::to_string(valeur));
}

void FichierIni::EcritBooleen(std::string_view section, std::string_view cle, bool valeur) {
  EcritTexte(section, cle, valeur ? "1" : "0");
}

void FichierIni::EcritReel(std::string_view section, std::string_view cle, double valeur) {
  EcritTexte(section, cle, FormatGeneral(valeur, 15, 1, SeparateurDecimal()));
}

std::string FichierIni::Contenu() const {
  const char *fin = crlf_ ? "\r\n" : "\n";
  std::string r;
  for (const Ligne &l : lignes_) r += l.brut + fin;
  return r;
}

bool FichierIni::Enregistre() const {
  // a name of its own: two copies of the program closing at once must not share one
  std::string temporaire = chemin_ + ".XXXXXX";
  const int fd = ::mkostemp(temporaire.data(), O_CLOEXEC);
  if (fd < 0) return false;
  struct stat ancien {};
  if (::stat(chemin_.c_str(), &ancien) == 0) {
    ::fchmod(fd, ancien.st_mode & 07777);  // keep its mode
  } else {
    const mode_t masque = ::umask(0);
    ::umask(masque);
    ::fchmod(fd, 0666 & ~masque);  // as a file simply created
  }
  const bool ecrit = EcritTout(fd, Contenu()) && ::fsync(fd) == 0;
  const bool ferme = ::close(fd) == 0;
  if (!ecrit || !ferme || std::rename(temporaire.c_str(), chemin_.c_str()) != 0) {
    ::unlink(temporaire.c_str());
    return false;
  }
  SynchroniseDossier(chemin_);
  return true;
}
