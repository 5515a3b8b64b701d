#include "PaintBox.h"

#include <QPainter>

PaintBox::PaintBox(QWidget *parent) : QWidget(parent) {
  // the image covers the whole widget: nothing below needs painting first
  setAttribute(Qt::WA_OpaquePaintEvent);
  AjusteImage();
}

void PaintBox::AjusteImage() {
  const QSize taille = size().expandedTo(QSize(1, 1));
  if (image_.size() == taille) return;
  image_ = QImage(taille, QImage::Format_RGB32);
  image_.fill(palette().color(QPalette::Window));
}

void PaintBox::Repeint() {
  AjusteImage();
  if (Peint) Peint();
  update();
}

void PaintBox::paintEvent(QPaintEvent *) {
  QPainter p(this);
  p.drawImage(0, 0, image_);
}

void PaintBox::resizeEvent(QResizeEvent *) { Repeint(); }
