#include "app/Icones.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <cmath>

namespace {

constexpr int kLado = 32;

QPixmap Tela(int lado = kLado) {
    QPixmap p(lado, lado);
    p.fill(Qt::transparent);
    return p;
}

}  // namespace

QIcon IconeSair() {
    QPixmap p = Tela();
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    // an open door with an arrow leaving it
    g.setPen(QPen(QColor(90, 60, 30), 2));
    g.setBrush(QColor(181, 130, 76));
    g.drawRect(5, 3, 14, 26);
    g.setBrush(QColor(120, 80, 40));
    g.drawPolygon(QPolygonF({QPointF(5, 3), QPointF(13, 7), QPointF(13, 31), QPointF(5, 29)}));
    g.setPen(QPen(QColor(200, 30, 30), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    g.drawLine(QPointF(17, 16), QPointF(29, 16));
    g.drawLine(QPointF(24, 11), QPointF(29, 16));
    g.drawLine(QPointF(24, 21), QPointF(29, 16));
    return QIcon(p);
}

QIcon IconeEtiquetas() {
    QPixmap p = Tela();
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    // a label with a barcode
    g.setPen(QPen(QColor(60, 60, 60), 1.5));
    g.setBrush(QColor(255, 252, 230));
    g.drawRoundedRect(QRectF(2, 5, 28, 22), 3, 3);
    g.setPen(Qt::NoPen);
    g.setBrush(Qt::black);
    const int larguras[] = {2, 1, 1, 2, 1, 3, 1, 1, 2, 1, 2};
    double x = 6;
    for (int i = 0; i < 11; ++i) {
        if (i % 2 == 0) g.drawRect(QRectF(x, 9, larguras[i], 14));
        x += larguras[i] + 0.8;
    }
    return QIcon(p);
}

QIcon IconeConfig() {
    QPixmap p = Tela();
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    // a gear wheel
    const QPointF c(16, 16);
    QPainterPath roda;
    const int dentes = 8;
    for (int i = 0; i < dentes * 2; ++i) {
        const double a = i * M_PI / dentes;
        const double r = (i % 2 == 0) ? 14.5 : 11.0;
        const double a1 = a - M_PI / (dentes * 2) * 0.8, a2 = a + M_PI / (dentes * 2) * 0.8;
        const QPointF p1(c.x() + r * std::cos(a1), c.y() + r * std::sin(a1));
        const QPointF p2(c.x() + r * std::cos(a2), c.y() + r * std::sin(a2));
        if (i == 0)
            roda.moveTo(p1);
        else
            roda.lineTo(p1);
        roda.lineTo(p2);
    }
    roda.closeSubpath();
    roda.addEllipse(c, 4.5, 4.5);
    roda.setFillRule(Qt::OddEvenFill);
    g.setPen(QPen(QColor(50, 50, 70), 1));
    g.setBrush(QColor(130, 140, 160));
    g.drawPath(roda);
    return QIcon(p);
}

QIcon IconeAtualizaBase() {
    QPixmap p = Tela();
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    // a database cylinder with a circular arrow
    g.setPen(QPen(QColor(30, 60, 110), 1.5));
    g.setBrush(QColor(90, 140, 210));
    g.drawRect(QRectF(3, 8, 18, 18));
    g.drawEllipse(QRectF(3, 22, 18, 8));
    g.setPen(Qt::NoPen);
    g.drawRect(QRectF(3.8, 8, 16.4, 18));
    g.setPen(QPen(QColor(30, 60, 110), 1.5));
    g.setBrush(QColor(150, 190, 240));
    g.drawEllipse(QRectF(3, 4, 18, 8));
    g.setPen(QPen(QColor(20, 140, 40), 3, Qt::SolidLine, Qt::RoundCap));
    g.setBrush(Qt::NoBrush);
    g.drawArc(QRectF(17, 12, 13, 13), 30 * 16, 270 * 16);
    g.setBrush(QColor(20, 140, 40));
    g.setPen(Qt::NoPen);
    g.drawPolygon(QPolygonF({QPointF(27, 8), QPointF(31, 15), QPointF(24, 15)}));
    return QIcon(p);
}

QPixmap ImagemAmpulheta(int lado) {
    QPixmap p = Tela(lado);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.scale(lado / 41.0, lado / 41.0);
    g.setPen(QPen(QColor(80, 50, 20), 3));
    g.drawLine(QPointF(8, 4), QPointF(33, 4));
    g.drawLine(QPointF(8, 37), QPointF(33, 37));
    g.setPen(QPen(QColor(60, 60, 60), 1.5));
    g.setBrush(QColor(220, 235, 250));
    g.drawPolygon(QPolygonF(
        {QPointF(11, 5), QPointF(30, 5), QPointF(21.5, 20.5), QPointF(30, 36), QPointF(11, 36), QPointF(19.5, 20.5)}));
    g.setPen(Qt::NoPen);
    g.setBrush(QColor(230, 180, 60));
    g.drawPolygon(QPolygonF({QPointF(15, 11), QPointF(26, 11), QPointF(20.5, 19)}));
    g.drawPolygon(QPolygonF({QPointF(20.5, 27), QPointF(28, 35), QPointF(13, 35)}));
    return p;
}
