#pragma once
#include <QImage>
#include <QWidget>
#include <functional>

// A surface the graphs draw into at once: the owner's paint handler draws into
// the backing image whenever a repaint is asked, and the widget's own paint
// event only shows that image. Inverting drawings (the cursor cross) work on
// the image, so drawing them twice gives the picture back.
class PaintBox : public QWidget {
  Q_OBJECT
 public:
  explicit PaintBox(QWidget *parent = nullptr);
  QImage &Image() { return image_; }
  const QImage &Image() const { return image_; }
  // The owner's paint handler; it draws into Image() (or leaves it as it is).
  std::function<void()> Peint;
  // Draws now through Peint, then shows the image.
  void Repeint();

  // The owner's mouse handlers: the button that changed (none for a move), the
  // buttons down, and the position in the box's pixels (outside it while a button
  // holds the mouse).
  using Souris = std::function<void(Qt::MouseButton bouton, Qt::MouseButtons boutons, int x, int y)>;
  Souris MouseDown, MouseMove, MouseUp;

 protected:
  void paintEvent(QPaintEvent *e) override;
  void resizeEvent(QResizeEvent *e) override;
  void mousePressEvent(QMouseEvent *e) override;
  void mouseMoveEvent(QMouseEvent *e) override;
  void mouseReleaseEvent(QMouseEvent *e) override;

 private:
  void AjusteImage();
  QImage image_;
};
