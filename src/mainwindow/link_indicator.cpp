#include "link_indicator.h"

#include <QPainter>

namespace kvt {

LinkIndicator::LinkIndicator(QWidget *parent)
    : QWidget(parent), m_color(palette().color(QPalette::Button))
{
    setObjectName(QStringLiteral("ShapeLink"));
    setFixedSize(9, 17);
    setAccessibleName(QStringLiteral("Link"));
}

void LinkIndicator::setColor(const QColor &color)
{
    m_color = color;
    setAccessibleDescription(color.name());
    update();
}

void LinkIndicator::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(palette().color(QPalette::Dark));
    painter.setBrush(m_color);
    const int diameter = qMin(width(), height()) - 1;
    painter.drawEllipse(QRectF(0.5, (height() - diameter) / 2.0, diameter, diameter));
}

} // namespace kvt
