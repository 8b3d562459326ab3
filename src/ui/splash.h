#pragma once

#include <QPixmap>
#include <QWidget>

class QProgressBar;

namespace zf {

// The splash window of the start: picture, version, progress from 0 to 9.
class ZFSplash : public QWidget {
    Q_OBJECT
public:
    ZFSplash();
    void step(); // advances the bar by one and lets pending messages be processed
    int progress() const;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QProgressBar* bar_;
    QPixmap picture_;
};

} // namespace zf
