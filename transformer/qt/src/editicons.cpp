#include "editicons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace marloxqt {

namespace {

const QColor kInk(0x30, 0x30, 0x30);
const QColor kPaper(0xff, 0xff, 0xff);
const QColor kSteel(0x6a, 0x7b, 0x8c);
const QColor kHandle(0xc0, 0x30, 0x30);
const QColor kBoard(0xa8, 0x72, 0x3c);

// A page with a folded corner and three lines of text, in a 32-unit box.
void page(QPainter& p, QRectF r) {
  const qreal fold = r.width() * 0.3;
  QPainterPath outline;
  outline.moveTo(r.topLeft());
  outline.lineTo(r.right() - fold, r.top());
  outline.lineTo(r.right(), r.top() + fold);
  outline.lineTo(r.bottomRight());
  outline.lineTo(r.bottomLeft());
  outline.closeSubpath();
  p.setPen(QPen(kInk, 1.5));
  p.setBrush(kPaper);
  p.drawPath(outline);
  p.drawLine(QPointF(r.right() - fold, r.top()), QPointF(r.right() - fold, r.top() + fold));
  p.drawLine(QPointF(r.right() - fold, r.top() + fold), QPointF(r.right(), r.top() + fold));
  p.setPen(QPen(kSteel, 1.5));
  for (int i = 1; i <= 3; ++i) {
    const qreal y = r.top() + fold + i * (r.height() - fold) / 4.5;
    p.drawLine(QPointF(r.left() + 3, y), QPointF(r.right() - 3, y));
  }
}

void scissors(QPainter& p) {
  // Two blades crossing above the pivot, each ending in a finger ring.
  p.setPen(QPen(kSteel, 3, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(9, 2), QPointF(20, 21));
  p.drawLine(QPointF(23, 2), QPointF(12, 21));
  p.setPen(QPen(kHandle, 2.5));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(QPointF(9.5, 25), 5, 5);
  p.drawEllipse(QPointF(22.5, 25), 5, 5);
  p.setPen(Qt::NoPen);
  p.setBrush(kInk);
  p.drawEllipse(QPointF(16, 14), 1.6, 1.6);
}

void twoPages(QPainter& p) {
  page(p, QRectF(3, 2, 17, 21));
  page(p, QRectF(12, 9, 17, 21));
}

void clipboard(QPainter& p) {
  p.setPen(QPen(kInk, 1.5));
  p.setBrush(kBoard);
  p.drawRoundedRect(QRectF(4, 4, 22, 26), 2, 2);
  page(p, QRectF(13, 11, 16, 19));
  // The clip.
  p.setBrush(kSteel);
  p.drawRoundedRect(QRectF(10, 1.5, 10, 5), 1.5, 1.5);
}

}  // namespace

QIcon drawnEditIcon(std::u16string_view key) {
  void (*draw)(QPainter&) = key == u"cut" ? scissors : key == u"copy" ? twoPages : key == u"paste" ? clipboard : nullptr;
  if (!draw) return {};
  QIcon icon;
  for (int size : {16, 24, 32, 48}) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    draw(p);
    p.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

}  // namespace marloxqt
