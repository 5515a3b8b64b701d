#pragma once
#include <QApplication>

// The application object: an exception that a handler lets out reaches the
// event loop here; it is shown in the error box and the program goes on.
class ApplicationZelm : public QApplication {
  Q_OBJECT
 public:
  ApplicationZelm(int &argc, char **argv) : QApplication(argc, argv) {}
  bool notify(QObject *cible, QEvent *e) override;
};
