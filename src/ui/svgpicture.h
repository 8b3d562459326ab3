#pragma once

#include <QFrame>
#include <QString>

class QSvgRenderer;

namespace zf {

// A picture from an SVG file, scaled into the widget with its proportions kept.
// An empty or missing file shows nothing.
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
    QSize sizeHint() const override { return preferred_; }
    QSize minimumSizeHint() const override { return preferred_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString file_;
    QSvgRenderer* renderer_ = nullptr;
    QSize preferred_{160, 120};
};

} // namespace zf
