#pragma once
#include <QSaveFile>
#include <QString>
#include <cstdio>
#include <memory>

// Where `zelm --sweep` writes its lines: standard output as they come, or a file
// opened before the sweep (so that no sweep runs for a file that cannot be written)
// and replaced whole at the end, only when at least one point was taken.
class SortieBalayage {
 public:
  // An empty path: standard output. Returns what went wrong, or an empty text.
  QString Ouvre(const QString &chemin);
  void Ecrit(const QString &ligne);  // one line, without its end
  // Returns what went wrong, or an empty text.
  QString Termine();
  int Points() const { return lignes_ - 1; }  // the header is not a point

 private:
  QString Erreur() const;

  QString chemin_;
  std::unique_ptr<QSaveFile> fichier_;
  int lignes_ = 0;
};
