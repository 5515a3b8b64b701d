#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "SaisieGrecque.h"
#include "TableCaracteres.h"
#include "Texte8.h"

namespace {
QString Lettre(unsigned char octet) { return VersQt(std::string(1, static_cast<char>(octet))); }
}  // namespace

TEST(SaisieGrecque, CtrlLettreTapeLaLettreGrecqueDansLEdit) {
  SaisieGrecque filtre;
  qApp->installEventFilter(&filtre);
  QLineEdit edit;
  edit.show();
  QTest::keyClick(&edit, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(&edit, Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
  QTest::keyClick(&edit, Qt::Key_F, Qt::ControlModifier);
  QTest::keyClick(&edit, Qt::Key_M, Qt::ControlModifier);
  EXPECT_EQ(edit.text(), Lettre(0x80) + "A" + Lettre(0x85) + Lettre(0xB5));
  EXPECT_EQ(DepuisQt(edit.text()), "\x80" "A\x85\xB5");  // the bytes the program stores
  // Caps Lock (native lock bit) gives the capital as Shift does
  edit.clear();
  QKeyEvent verrou(QEvent::KeyPress, Qt::Key_D, Qt::ControlModifier, 0, 0, 0x2);
  QApplication::sendEvent(&edit, &verrou);
  EXPECT_EQ(DepuisQt(edit.text()), "\x96");

  // Ctrl+C with a selection copies, Ctrl+V pastes: the edit's own keys.
  edit.setText("kHz");
  edit.selectAll();
  QTest::keyClick(&edit, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text(), "kHz");
  edit.end(false);
  QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(edit.text(), "kHzkHz");
  // without a selection Ctrl+C types a Greek letter
  QTest::keyClick(&edit, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(edit.text(), "kHzkHz" + Lettre(0x82));
  qApp->removeEventFilter(&filtre);
}

TEST(SaisieGrecque, LesTouchesQuiRestentALEdit) {
  EXPECT_EQ(SaisieGrecque::Octet('V' - 'A', false, false), 0);
  EXPECT_EQ(SaisieGrecque::Octet('X' - 'A', false, true), 0);
  EXPECT_EQ(SaisieGrecque::Octet('X' - 'A', false, false), 0x93);
  EXPECT_EQ(SaisieGrecque::Octet('V' - 'A', true, false), 0x56);
  EXPECT_EQ(SaisieGrecque::Octet(26, false, false), 0);
}

TEST(DefinitHint, LaBarreSepareLaBulleDuHintLong) {
  QPushButton b;
  DefinitHint(&b, "Défaire|Anuller le dernier point");
  EXPECT_EQ(b.toolTip(), "Défaire");
  EXPECT_EQ(b.statusTip(), "Anuller le dernier point");
  DefinitHint(&b, "|Lance l'acquisition");
  EXPECT_EQ(b.toolTip(), "");
  EXPECT_EQ(b.statusTip(), "Lance l'acquisition");
  DefinitHint(&b, "Options");
  EXPECT_EQ(b.toolTip(), "Options");
  EXPECT_EQ(b.statusTip(), "Options");
  EXPECT_EQ(LegendePourHint(""), "Diagramme de Zelm avec Oscillo Quilo USB");
  EXPECT_EQ(LegendePourHint("Options"), "Options");
}
