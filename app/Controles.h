#pragma once
// Small controls that the windows are built from: a radio group with an item
// index, an up-down with its position, and an edit with a caption above it.
#include <QGroupBox>
#include <QLineEdit>
#include <QWidget>

class QButtonGroup;
class QGridLayout;
class QToolButton;

// A captioned group of radio buttons laid out in columns. Setting the item
// index from code emits clic() as a user's click does, which is why callers
// guard their handlers while they load settings.
class RadioGroupe : public QGroupBox {
  Q_OBJECT
 public:
  RadioGroupe(const QString &titre, const QStringList &items, int colonnes = 1,
              QWidget *parent = nullptr);
  int ItemIndex() const { return index_; }
  void SetItemIndex(int i);  // −1: none checked; past the end: the last item
  int NbItems() const;
  QString Item(int i) const;
  void AjouteItem(const QString &texte);
  void SupprimeItem(int i);
  int tag = 0;

 signals:
  void clic();

 private:
  void Range();
  QButtonGroup *boutons_;
  QGridLayout *grille_;
  int colonnes_;
  int index_ = -1;
};

// Two arrow buttons over a position within Min..Max. Before a change,
// changement(nouvelle, permis) lets the owner refuse it; clic() follows a
// change made by the user.
class UpDown : public QWidget {
  Q_OBJECT
 public:
  UpDown(int mini, int maxi, int position, QWidget *parent = nullptr);
  int Position() const { return position_; }
  void SetPosition(int p);  // from code: no signal, limited to Min..Max
  int Min() const { return mini_; }
  int Max() const { return maxi_; }
  void Pas(int sens);  // what a press of the up (+1) or down (−1) arrow does
  int tag = 0;

 signals:
  void changement(int nouvelle, bool &permis);
  void clic();

 private:
  int mini_, maxi_, position_;
  QToolButton *haut_, *bas_;
};

// A read-only edit with its caption above, as the settings panel shows them.
class EditLibelle : public QWidget {
  Q_OBJECT
 public:
  EditLibelle(const QString &libelle, QWidget *parent = nullptr);
  QString Texte() const { return edit_->text(); }
  void SetTexte(const QString &t) { edit_->setText(t); }
  QLineEdit *Edit() const { return edit_; }

 private:
  QLineEdit *edit_;
};
