#pragma once
#include <QString>
#include <QUrl>

class QTextBrowser;

// The help window: one page built into the program, opened at its contents
// or at a numbered topic (an anchor "contexte-N").
class Aide {
 public:
  static QUrl Adresse(int contexte = 0);  // 0: the contents
  static void Montre(int contexte = 0);
  static QTextBrowser *Fenetre();         // created on first use, lives for the run
};
