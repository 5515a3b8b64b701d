#include "Aide.h"

#include <QTextBrowser>

QUrl Aide::Adresse(int contexte) {
  QUrl url(QStringLiteral("qrc:/help/zelm.html"));
  url.setFragment(contexte > 0 ? QStringLiteral("contexte-%1").arg(contexte)
                               : QStringLiteral("sommaire"));
  return url;
}

QTextBrowser *Aide::Fenetre() {
  static QTextBrowser *fenetre = [] {
    auto *f = new QTextBrowser;
    f->setAttribute(Qt::WA_DeleteOnClose, false);
    // the program ends with its main window, help open or not
    f->setAttribute(Qt::WA_QuitOnClose, false);
    f->setWindowTitle(QStringLiteral("Aide de Zelm"));
    f->resize(640, 560);
    return f;
  }();
  return fenetre;
}

void Aide::Montre(int contexte) {
  auto *f = Fenetre();
  f->setSource(Adresse(contexte));
  f->show();
  f->raise();
}
