#include "SignauxFin.h"

#include <QSocketNotifier>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int paire[2] = {-1, -1};

void Recu(int) {
  const char c = 1;
  [[maybe_unused]] const ssize_t n = write(paire[0], &c, 1);
}

}  // namespace

SignauxFin::SignauxFin(QObject *parent) : QObject(parent) {
  if (paire[0] >= 0 || socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, paire) != 0) return;
  notifieur_ = new QSocketNotifier(paire[1], QSocketNotifier::Read, this);
  connect(notifieur_, &QSocketNotifier::activated, this, [this] {
    char c;
    [[maybe_unused]] const ssize_t n = read(paire[1], &c, 1);
    emit Fin();
  });
  struct sigaction action{};
  action.sa_handler = Recu;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

SignauxFin::~SignauxFin() {
  if (!notifieur_) return;
  std::signal(SIGINT, SIG_DFL);
  std::signal(SIGTERM, SIG_DFL);
  close(paire[0]);
  close(paire[1]);
  paire[0] = paire[1] = -1;
}
