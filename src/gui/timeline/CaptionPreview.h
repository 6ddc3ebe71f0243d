#pragma once

#include "core/timeline/CaptionScene.h"

#include <QString>
#include <QWidget>

namespace cw::gui {

// Sepulveda's box drawn to scale in the game's own coordinates (a screen 600 units high,
// 800 wide here): the monospaced white text with its dark outline, in normal mode the
// blue box with the older captions above and a ">" at each caption's first line, in
// cutscene mode the larger text from the screen's middle down without a box; the hint
// at the box's bottom, and a plain frame where the portrait goes. It draws the scene it
// is given and knows nothing of scripts.
class CaptionPreview : public QWidget
{
    Q_OBJECT
public:
    // The virtual screen's width: 600 x a 4:3 aspect.
    static constexpr double kScreenWidth = 800;

    explicit CaptionPreview(QWidget *parent = nullptr);

    // `hint` is the hint line's text, already with its " (N)".
    void setScene(timeline::CaptionScene scene, const QString &hint);
    const timeline::CaptionScene &scene() const { return m_scene; }
    const QString &hint() const { return m_hint; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    timeline::CaptionScene m_scene;
    QString m_hint;
};

} // namespace cw::gui
