#pragma once
#include <QSaveFile>
#include <QString>
#include <cstdio>
#include <memory>

// Where `zelm --sweep` and `zelm --acquire` write their lines: standard output as
// they come, or a file opened before anything is measured (so that nothing runs for
// a file that cannot be written) and replaced whole at the end, only when at least
// one line after the header was written.
class SortieLignes {
 public:
  // An empty path: standard output. Returns what went wrong, or an empty text.
  QString Ouvre(const QString &chemin);
  void Ecrit(const QString &ligne);  // one line, without its end
  // Returns what went wrong, or an empty text.
  QString Termine();
  int Points() const { return lignes_ - 1; }  // lines after the header

 private:
  QString Erreur() const;

  QString chemin_;
  std::unique_ptr<QSaveFile> fichier_;
  int lignes_ = 0;
};
