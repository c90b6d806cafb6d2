#pragma once

#include <QColor>
#include <QWidget>

namespace kvt {

// The link indicator: a small filled circle whose colour tells the state of the
// link to the instrument. Its accessible description names the state too.
class LinkIndicator : public QWidget {
    Q_OBJECT
public:
    explicit LinkIndicator(QWidget *parent = nullptr);

    QColor color() const { return m_color; }
    void setColor(const QColor &color);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_color;
};

} // namespace kvt
