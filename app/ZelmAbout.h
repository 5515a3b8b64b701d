#pragma once
#include <QDialog>
#include <functional>

class QLabel;
class QPushButton;

// The about box. It asks for the oscilloscope's firmware text each time it
// is shown, so a reconnected device shows its own.
class TZelmAboutBox : public QDialog {
  Q_OBJECT
 public:
  static constexpr const char *PageMiseAJour = "https://zelm.example.org/mise-a-jour";
  using OuvreUrl = std::function<bool(const QUrl &)>;

  TZelmAboutBox(std::function<QString()> version, QWidget *parent = nullptr,
                OuvreUrl ouvre = {});
  QLabel *OscilloLabel;
  QPushButton *BitBtn1;
  QPushButton *OKButton;

  void BitBtn1Click();

 protected:
  void showEvent(QShowEvent *e) override;

 private:
  std::function<QString()> version_;
  OuvreUrl ouvre_;
};
