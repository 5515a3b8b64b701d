#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The settings file: INI-style text, "[section]" lines and "key=value" lines.
// The whole file is read into memory; reading and writing work on that copy, and
// Enregistre writes it back whole. Sections and keys match without regard to ASCII
// case. Lines the program does not know (foreign sections and keys, comments, blank
// lines) stay where they were; a new key goes at the end of its section, a new
// section at the end of the file, in the order first written. Values are 8-bit text.
class FichierIni {
 public:
  // Reads the file when it exists; a missing or unreadable file gives an empty one.
  explicit FichierIni(std::string chemin);

  const std::string &Chemin() const { return chemin_; }
  // True when the file existed and was read.
  bool Lu() const { return lu_; }

  bool SectionExiste(std::string_view section) const;
  bool CleExiste(std::string_view section, std::string_view cle) const;

  // A missing key, or a value that does not read as the type asked, gives `defaut`.
  std::string LitTexte(std::string_view section, std::string_view cle,
                       std::string_view defaut) const;
  int32_t LitEntier(std::string_view section, std::string_view cle, int32_t defaut) const;
  // "1"/"0"; any integer other than 0 reads as true.
  bool LitBooleen(std::string_view section, std::string_view cle, bool defaut) const;
  // General format with the system's decimal separator ('.' is accepted too).
  double LitReel(std::string_view section, std::string_view cle, double defaut) const;

  // Line breaks in a text become blanks: a value is one line.
  void EcritTexte(std::string_view section, std::string_view cle, std::string_view valeur);
  void EcritEntier(std::string_view section, std::string_view cle, int32_t valeur);
  void EcritBooleen(std::string_view section, std::string_view cle, bool valeur);
  // Up to 15 significant digits, the system's decimal separator.
  void EcritReel(std::string_view section, std::string_view cle, double valeur);

  // The whole content, lines ended as in the file read (LF for a new file).
  std::string Contenu() const;
  // Writes the content to a temporary file beside the file, then renames it over the
  // file, so that a failure never loses the previous one. False on any failure.
  bool Enregistre() const;

  // Replaces the content with `texte` (LF or CRLF lines), as if read from a file.
  void Charge(std::string_view texte);

  // What each line is, in file order (line n is element n - 1), for a reader that refuses
  // what it does not know and must name the line at fault. Blank: empty or a comment
  // (';' or '#'); Autre: neither a "[section]" nor a "key=value" line.
  struct Element {
    enum Sorte { Section, Cle, Blanc, Autre } sorte;
    std::string_view section;  // for Section
    std::string_view cle, valeur;  // for Cle
  };
  std::vector<Element> Elements() const;

 private:
  struct Ligne {
    std::string brut;     // the line as read, without its end
    std::string section;  // for a "[section]" line
    std::string cle;      // for a "key=value" line
    std::string valeur;
    bool estSection = false;
    bool estCle = false;
  };

  std::size_t ChercheSection(std::string_view section) const;  // npos when missing
  std::size_t FinSection(std::size_t debut) const;             // index of the next section
  std::size_t ChercheCle(std::string_view section, std::string_view cle) const;
  const std::string *Valeur(std::string_view section, std::string_view cle) const;

  std::string chemin_;
  std::vector<Ligne> lignes_;
  bool crlf_ = false;
  bool lu_ = false;
};

// ASCII case-insensitive equality; other bytes compare as they are.
bool EgalSansCasse(std::string_view a, std::string_view b);
