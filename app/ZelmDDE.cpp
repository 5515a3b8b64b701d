#include "ZelmDDE.h"

#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QLocalSocket>
#include <QMimeData>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <array>

#include "Boites.h"
#include "Export.h"
#include "GrapheMesure.h"
#include "GrapheOsc.h"
#include "Protege.h"
#include "Texte8.h"
#include "ZelmReg.h"
#include "Controles.h"

namespace {

constexpr int IntervalleDemarrageMs = 100;

PageExport Page(const TConstanteDlg &d) {
  PageExport p;
  p.programme = DepuisQt(QCoreApplication::applicationFilePath());
  p.nouvellePage = d.NewPageCB->ItemIndex() == 1;
  p.commentaire = DepuisQt(d.EditComm->text());
  p.nom = DepuisQt(d.NomConstEdit->text());
  p.unite = DepuisQt(d.UniteConstEdit->text());
  p.valeur = DepuisQt(d.ValeurConstEdit->text());
  return p;
}

// The hourglass for the time of an export.
struct Sablier {
  Sablier() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~Sablier() { QApplication::restoreOverrideCursor(); }
  Sablier(const Sablier &) = delete;
  Sablier &operator=(const Sablier &) = delete;
};

}  // namespace

QString CheminTabulo() {
  const QSettings registre(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Tabulo"),
                           QStringLiteral("Tabulo"));
  return registre.value(QStringLiteral("Path"), QStringLiteral("tabulo")).toString();
}

QString AdresseTabulo(const QString &chemin) {
  const QString nom = QFileInfo(chemin).completeBaseName().toUpper() + QStringLiteral("-ServeurDDE");
  const QString dossier = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  return dossier.isEmpty() ? nom : dossier + QLatin1Char('/') + nom;
}

TZelmFormDDE::TZelmFormDDE(QObject *parent) : QObject(parent), CheminService(CheminTabulo()) {
  setObjectName(QStringLiteral("ZelmFormDDE"));
  minuterie_.setSingleShot(true);
}

void TZelmFormDDE::PublieBloc(const std::string &bloc) {
  auto *donnees = new QMimeData;
  donnees->setText(VersQt(bloc));
  donnees->setData(QStringLiteral("application/x-tabulo-block"), QByteArray::fromStdString(bloc));
  QGuiApplication::clipboard()->setMimeData(donnees);
}

void TZelmFormDDE::ExporteTemps(TConstanteDlg &page, const TgrapheOsc &temps) {
  const Sablier sablier;
  const std::array<const Tvoie *, 2> voies{&temps.Voie1, &temps.Voie2};
  PublieBloc(BlocTemps(Page(page), temps.Abscisse, voies, temps.NbPoints));
  Envoie(page);
}

void TZelmFormDDE::ExporteMesures(TConstanteDlg &page, const TgrapheMesure &zelm) {
  const Sablier sablier;
  std::array<const Tvoie *, 5> courbes{};
  for (size_t i = 0; i < courbes.size(); ++i) courbes[i] = &zelm.Courbes[i];
  PublieBloc(BlocMesures(Page(page), courbes, zelm.NbPoints));
  Envoie(page);
}

void TZelmFormDDE::Envoie(TConstanteDlg &page) {
  const bool ajoute = page.NewPageCB->ItemIndex() == 1;
  EnvoieMacroTabulo(ajoute ? QStringLiteral("CLIP|ADD") : QStringLiteral("CLIP|LOAD"), true,
                    [&page] { page.NewPageCB->SetItemIndex(1); });
}

void TZelmFormDDE::EnvoieMacroTabulo(const QString &commande, bool focus,
                                     std::function<void()> acceptee) {
  file_.push_back({commande, focus, std::move(acceptee)});
  if (file_.size() == 1) Suivante();
}

void TZelmFormDDE::Suivante() {
  if (file_.empty()) return;
  Connecte(Etape::Verifie);
}

// One attempt to reach the application's server; the answer comes from the socket.
void TZelmFormDDE::Connecte(Etape e) {
  etape_ = e;
  if (socket_) socket_->deleteLater();
  socket_ = new QLocalSocket(this);
  connect(socket_, &QLocalSocket::connected, this, [this] { Protege([this] { Connectee(); }); });
  connect(socket_, &QLocalSocket::errorOccurred, this, [this, s = socket_] {
    if (s == socket_ && etape_ != Etape::Commande && etape_ != Etape::Focus)
      Protege([this] { EchecConnexion(); });
  });
  connect(socket_, &QLocalSocket::readyRead, this, [this, s = socket_] {
    if (s != socket_) return;
    recu_ += s->readAll();
    const qsizetype fin = recu_.indexOf('\n');
    if (fin < 0) return;
    const QByteArray ligne = recu_.left(fin).trimmed();
    recu_.remove(0, fin + 1);
    minuterie_.stop();
    Protege([this, ligne] { Reponse(ligne == "ACK"); });
  });
  connect(socket_, &QLocalSocket::disconnected, this, [this, s = socket_] {
    // closed before its answer: refused
    if (s == socket_ && (etape_ == Etape::Commande || etape_ == Etape::Focus) && minuterie_.isActive()) {
      minuterie_.stop();
      Protege([this] { Reponse(false); });
    }
  });
  socket_->connectToServer(AdresseTabulo(CheminService));
}

void TZelmFormDDE::EchecConnexion() {
  minuterie_.disconnect();
  switch (etape_) {
    case Etape::Verifie:
      // not running: started, then asked again until it answers or the wait is over
      if (QProcess::startDetached(CheminService, {})) {
        depuisDemarrage_.start();
        etape_ = Etape::Demarre;
        connect(&minuterie_, &QTimer::timeout, this, [this] { Connecte(Etape::Demarre); });
        minuterie_.start(IntervalleDemarrageMs);
        return;
      }
      [[fallthrough]];
    case Etape::Demarre:
      if (etape_ == Etape::Demarre && depuisDemarrage_.elapsed() < AttenteDemarrageMs) {
        connect(&minuterie_, &QTimer::timeout, this, [this] { Connecte(Etape::Demarre); });
        minuterie_.start(IntervalleDemarrageMs);
        return;
      }
      connect(&minuterie_, &QTimer::timeout, this, [this] { Connecte(Etape::Reessai); });
      minuterie_.start(AttenteReessaiMs);
      return;
    case Etape::Reessai:
      BoitesCourantes().Message(QStringLiteral("Impossible de lancer Tabulo"));
      Termine();
      return;
    case Etape::Commande:
    case Etape::Focus: return;
  }
}

void TZelmFormDDE::Connectee() {
  etape_ = Etape::Commande;
  Envoie(file_.front().commande);
}

void TZelmFormDDE::Envoie(const QString &texte) {
  recu_.clear();
  minuterie_.disconnect();
  connect(&minuterie_, &QTimer::timeout, this, [this] { Protege([this] { Reponse(false); }); });
  minuterie_.start(AttenteReponseMs);
  socket_->write(texte.toUtf8() + "\n\n");
  socket_->flush();
}

void TZelmFormDDE::Reponse(bool acceptee) {
  minuterie_.stop();
  const Demande d = file_.front();
  if (etape_ == Etape::Commande) {
    if (!acceptee) BoitesCourantes().Message(d.commande + QStringLiteral(" non exécuté"));
    else if (d.acceptee) d.acceptee();
    if (d.focus && socket_->state() == QLocalSocket::ConnectedState) {
      etape_ = Etape::Focus;
      Envoie(QStringLiteral("FOCUS"));
      return;
    }
    if (d.focus) BoitesCourantes().Message(QStringLiteral("Bascule vers Tabulo non effectué"));
  } else if (etape_ == Etape::Focus && !acceptee) {
    BoitesCourantes().Message(QStringLiteral("Bascule vers Tabulo non effectué"));
  }
  Termine();
}

void TZelmFormDDE::Termine() {
  minuterie_.stop();
  minuterie_.disconnect();
  if (socket_) {
    QLocalSocket *s = std::exchange(socket_, nullptr);
    s->disconnect(this);
    s->abort();
    s->deleteLater();
  }
  file_.pop_front();
  if (Fini) Fini();
  Suivante();
}
