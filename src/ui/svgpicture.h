#pragma once

#include <QFrame>
#include <QString>

class QSvgRenderer;

namespace zf {

// A picture from an SVG file, scaled into the widget with its proportions kept.
// An empty or missing file shows nothing. It asks for the picture's own size (at
// most 320 pixels wide) until it is given a size of its own, which it then keeps
// in a frame.
class SvgPicture : public QFrame {
    Q_OBJECT
public:
    explicit SvgPicture(QWidget* parent = nullptr);
    ~SvgPicture() override;

    void setFile(const QString& file);
    const QString& file() const { return file_; }
    bool hasPicture() const;
    // The size the layout should give it (the picture is scaled into it).
    void setPreferredSize(const QSize& size);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString file_;
    QSvgRenderer* renderer_ = nullptr;
    QSize preferred_; // empty: the picture's own size
};

} // namespace zf
