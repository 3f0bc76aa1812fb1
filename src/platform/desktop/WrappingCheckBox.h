#pragma once

#include <QCheckBox>

// A check box whose caption wraps onto further lines inside the box's width, as a long
// caption does on a narrow check box of the classic desktop.
class WrappingCheckBox final : public QCheckBox
{
    Q_OBJECT

public:
    explicit WrappingCheckBox(const QString &text, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
    bool hitButton(const QPoint &pos) const override;

private:
    QRect textRect() const;
};
