#include "PaintBox.h"

#include <QMouseEvent>
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

namespace {

void Transmet(const PaintBox::Souris &handler, QMouseEvent *e) {
  if (!handler) return;
  const QPoint p = e->position().toPoint();
  handler(e->button(), e->buttons(), p.x(), p.y());
}

}  // namespace

void PaintBox::mousePressEvent(QMouseEvent *e) { Transmet(MouseDown, e); }
void PaintBox::mouseMoveEvent(QMouseEvent *e) { Transmet(MouseMove, e); }
void PaintBox::mouseReleaseEvent(QMouseEvent *e) { Transmet(MouseUp, e); }
