#include "gui/timeline/TimelineView.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLinearGradient>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <algorithm>
#include <array>
#include <cmath>

namespace cw::gui {
namespace {

using timeline::Entry;
using timeline::Moment;
using timeline::Seconds;

enum class Lane { Captions, Camera, Pauses };
constexpr int kLanes = 3;

QString clock(Seconds seconds)
{
    return QString::fromStdString(timeline::clockText(seconds));
}

// One block as drawn: which lane, which row, from when to when, and what it says.
struct BlockData
{
    Lane lane = Lane::Pauses;
    int row = 0;
    Seconds begin = 0;          // the earliest it may begin
    std::optional<Seconds> end; // the earliest it may end; empty: never ends
    // The latest it may end, when that is later than `end`: the block is solid up to
    // `end` and faded from there to here.
    std::optional<Seconds> latestEnd;
    bool open = false;    // the end is a lower bound or never comes
    bool instant = false; // a camera cut: a mark, not a stretch
    QString label;        // what the block shows
    QString name;         // for people who cannot see it, and its tooltip
};

// "0:03.200", "between 0:02.217 and 0:03.217", "at least 0:03.200".
QString when(const Moment &moment)
{
    if (moment.unknowns)
        return QStringLiteral("at least ") + clock(moment.earliest());
    if (moment.isRange())
        return QStringLiteral("between %1 and %2").arg(clock(moment.earliest()), clock(*moment.latest()));
    return clock(moment.earliest());
}

QString until(const std::optional<Moment> &end)
{
    return end ? QStringLiteral("to ") + when(*end) : QStringLiteral("never ending");
}

// A stretch from `begin` to `end`, in a lane, with its name.
BlockData blockOf(Lane lane, const Entry &entry, const Moment &begin, const std::optional<Moment> &end)
{
    BlockData block;
    block.lane = lane;
    block.row = entry.line - 1;
    block.begin = begin.earliest();
    if (end) {
        block.end = end->earliest();
        block.latestEnd = end->isRange() ? end->latest() : std::nullopt;
    }
    block.open = !end || end->unknowns > 0;
    return block;
}

QString lineName(const Entry &entry)
{
    return QStringLiteral("Line %1, %2: ").arg(entry.line).arg(QString::fromStdString(entry.command));
}

QString captionLabel(const Entry &entry)
{
    // Its "\n" pairs break the line on screen; a block has one line.
    return QString::fromStdString(entry.captionText).replace(QStringLiteral("\\n"), QStringLiteral(" "));
}

void addCamera(const Entry &entry, std::vector<BlockData> &blocks)
{
    const timeline::Span &span = *entry.cameraSpan;
    BlockData block = blockOf(Lane::Camera, entry, span.begin, span.end);
    switch (entry.camera) {
    case timeline::CameraMove::Cut:
        block.instant = true;
        block.open = false;
        block.name = lineName(entry) + QStringLiteral("camera cut at ") + when(span.begin);
        break;
    case timeline::CameraMove::Animation:
        block.label = QString::fromStdString(entry.command);
        block.name = lineName(entry) +
                     QStringLiteral("camera animation from %1 %2").arg(when(span.begin), until(span.end));
        break;
    default:
        block.label = QString::fromStdString(entry.command);
        block.name = lineName(entry) +
                     QStringLiteral("camera glide from %1 %2").arg(when(span.begin), until(span.end));
        break;
    }
    blocks.push_back(std::move(block));
}

// A pause is drawn when it lasts, or may last, any time at all.
void addPause(const Entry &entry, std::vector<BlockData> &blocks)
{
    if (entry.pause == timeline::Pause::None || !entry.start)
        return;
    if (entry.resume && entry.resume->exact() && entry.start->exact() &&
        entry.resume->low <= entry.start->low)
        return;
    BlockData block = blockOf(Lane::Pauses, entry, *entry.start, entry.resume);
    block.label = QString::fromStdString(entry.command);
    block.name = lineName(entry) +
                 QStringLiteral("the script pauses from %1 %2").arg(when(*entry.start), until(entry.resume));
    blocks.push_back(std::move(block));
}

std::vector<BlockData> blocksOf(const timeline::Timeline &timeline)
{
    std::vector<BlockData> blocks;
    for (const Entry &entry : timeline.entries) {
        if (entry.caption) {
            const timeline::Span &span = *entry.caption;
            BlockData block = blockOf(Lane::Captions, entry, span.begin, span.end);
            block.label = captionLabel(entry);
            block.name =
                lineName(entry) +
                QStringLiteral("caption from %1 %2: %3").arg(when(span.begin), until(span.end), block.label);
            blocks.push_back(std::move(block));
        }
        if (entry.cameraSpan)
            addCamera(entry, blocks);
        addPause(entry, blocks);
    }
    return blocks;
}

// The last second the axis shows: every time the timeline knows, and room after it for
// what never ends or may last longer.
Seconds axisEnd(const timeline::Timeline &timeline, const std::vector<BlockData> &blocks)
{
    Seconds known = timeline.total ? timeline.total->latest().value_or(timeline.total->earliest()) : 0;
    bool open = !timeline.total || timeline.total->unknowns > 0;
    for (const BlockData &block : blocks) {
        known = std::max(known, block.latestEnd.value_or(block.end.value_or(block.begin)));
        open = open || block.open;
    }
    for (const Entry &entry : timeline.entries) {
        if (const auto &last = entry.resume ? entry.resume : entry.start)
            known = std::max(known, last->latest().value_or(last->earliest()));
    }
    return std::max(1.0, open ? known + std::max(1.0, known * 0.1) : known);
}

QColor laneColor(Lane lane, const QPalette &palette, bool border)
{
    static constexpr std::array<int, kLanes> kHues = {210, 120, 30};
    const bool dark = palette.color(QPalette::Base).lightness() < 128;
    const int lightness = border ? (dark ? 170 : 110) : (dark ? 70 : 215);
    return QColor::fromHsl(kHues[static_cast<std::size_t>(lane)], 150, lightness);
}

QString laneName(Lane lane)
{
    switch (lane) {
    case Lane::Captions:
        return QStringLiteral("Captions");
    case Lane::Camera:
        return QStringLiteral("Camera");
    case Lane::Pauses:
        return QStringLiteral("Pauses");
    }
    return {};
}

// Sizes that follow the font, so that the drawing is as crisp and as legible at every
// font size.
struct Scale
{
    int left = 0;         // x of second 0
    double perSecond = 1; // pixels per second
    Seconds end = 1;      // the axis's last second
    int axisHeight = 0;
    int laneHeight = 0;
    int gap = 0;
    int tail = 0; // how far an open block fades out past its known end

    int x(Seconds t) const { return left + static_cast<int>(std::lround(t * perSecond)); }
    int laneTop(Lane lane) const { return axisHeight + gap + static_cast<int>(lane) * (laneHeight + gap); }
    int height() const { return laneTop(Lane::Pauses) + laneHeight + gap; }
};

// The step between two labelled ticks: the smallest that leaves room for a label.
Seconds tickStep(double perSecond, int labelWidth)
{
    static constexpr std::array<double, 12> kSteps = {0.1, 0.25, 0.5, 1, 2, 5, 10, 15, 30, 60, 120, 300};
    for (double step : kSteps) {
        if (step * perSecond >= labelWidth)
            return step;
    }
    Seconds step = 600;
    while (step * perSecond < labelWidth)
        step *= 10;
    return step;
}

// The widest the drawing gets, however long the script: Qt's widgets stop far beyond,
// and nobody scrolls further.
constexpr double kWidestCanvas = 200000;

} // namespace

// A block of the drawing: a button, so that it takes clicks, the keyboard focus and an
// accessible name.
class TimelineView::Block : public QAbstractButton
{
public:
    explicit Block(QWidget *parent) : QAbstractButton(parent) { setFocusPolicy(Qt::TabFocus); }

    // Where the solid part ends, in the block's own pixels; past it the block is faded.
    void setSolidWidth(int width) { m_solidWidth = width; }

    void present(const BlockData &data, bool marked)
    {
        m_data = data;
        m_marked = marked;
        setAccessibleName(data.name);
        setToolTip(data.name);
        update();
    }
    const BlockData &data() const { return m_data; }
    void setMarked(bool marked)
    {
        if (marked != m_marked) {
            m_marked = marked;
            update();
        }
    }

protected:
    void paintEvent(QPaintEvent *) override;

private:
    BlockData m_data;
    bool m_marked = false;
    int m_solidWidth = 0;
};

void TimelineView::Block::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect r = rect();
    const QColor fill = laneColor(m_data.lane, palette(), false);
    const QColor border = laneColor(m_data.lane, palette(), true);
    if (m_data.open) {
        // Fades out towards its end: the time there is not a limit.
        QLinearGradient fade(r.left(), 0, r.right() + 1, 0);
        QColor clear = fill;
        clear.setAlpha(0);
        fade.setColorAt(0, fill);
        fade.setColorAt(std::max(0.0, 1.0 - 2.0 * fontMetrics().height() / std::max(1, r.width())), fill);
        fade.setColorAt(1, clear);
        painter.fillRect(r, fade);
    } else if (m_data.latestEnd) {
        // Solid as long as it surely lasts, faded for as long as it may.
        painter.fillRect(QRect(r.left(), r.top(), m_solidWidth, r.height()), fill);
        QColor faint = fill;
        faint.setAlpha(70);
        painter.fillRect(QRect(r.left() + m_solidWidth, r.top(), r.width() - m_solidWidth, r.height()),
                         faint);
    } else {
        painter.fillRect(r, m_data.instant ? border : fill);
    }
    painter.setPen(border);
    painter.drawLine(r.topLeft(), QPoint(r.right(), r.top()));
    painter.drawLine(r.bottomLeft(), r.bottomRight());
    painter.drawLine(r.topLeft(), r.bottomLeft());
    if (!m_data.open)
        painter.drawLine(r.topRight(), r.bottomRight());
    if (m_marked || hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
        painter.drawRect(r.adjusted(1, 1, -1, -1));
    }
    const int pad = fontMetrics().averageCharWidth() / 2 + 1;
    const QRect textRect = r.adjusted(pad, 0, -pad, 0);
    if (!m_data.label.isEmpty() && textRect.width() > fontMetrics().averageCharWidth()) {
        painter.setPen(palette().color(QPalette::Text));
        painter.drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft,
                         fontMetrics().elidedText(m_data.label, Qt::ElideRight, textRect.width()));
    }
}

// The axis, the lanes and their names, and the mark of the focused line; the blocks are
// its children.
class TimelineView::Canvas : public QWidget
{
public:
    explicit Canvas(TimelineView &view) : QWidget(nullptr), m_view(view)
    {
        setAccessibleName(QStringLiteral("Timeline"));
    }
    Scale scale;
    std::optional<Seconds> focusedStart;

protected:
    void paintEvent(QPaintEvent *) override;
    void wheelEvent(QWheelEvent *event) override
    {
        if (!(event->modifiers() & Qt::ControlModifier) || event->angleDelta().y() == 0) {
            event->ignore();
            return;
        }
        m_view.zoomBy(event->angleDelta().y() > 0 ? 1.25 : 0.8);
        event->accept();
    }

private:
    void paintAxis(QPainter &painter, const QRect &exposed) const;
    TimelineView &m_view;
};

void TimelineView::Canvas::paintAxis(QPainter &painter, const QRect &exposed) const
{
    const QFontMetrics metrics = fontMetrics();
    const Seconds step = tickStep(scale.perSecond, metrics.horizontalAdvance(QStringLiteral("0000.00 s")));
    const QColor grid = palette().color(QPalette::Mid);
    const QColor text = palette().color(QPalette::WindowText);
    const int bottom = scale.height() - scale.gap;
    // Only the ticks in the part to paint, and the label of the one just before it.
    const double first = std::floor(std::max(0.0, (exposed.left() - scale.left) / scale.perSecond) / step);
    for (double i = std::max(0.0, first - 1);; ++i) {
        const Seconds t = i * step;
        const int x = scale.x(t);
        if (t > scale.end + 1e-9 || x > exposed.right())
            break;
        painter.setPen(grid);
        painter.drawLine(x, scale.axisHeight - scale.gap, x, bottom);
        const QString label = QStringLiteral("%1 s").arg(t, 0, 'g', 6);
        const QRect place(x + 2, 0, metrics.horizontalAdvance(label) + 2, scale.axisHeight - scale.gap);
        if (place.right() < width()) {
            painter.setPen(text);
            painter.drawText(place, Qt::AlignLeft | Qt::AlignVCenter, label);
        }
    }
}

void TimelineView::Canvas::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Base));
    for (int lane = 0; lane < kLanes; ++lane) {
        const Lane l = static_cast<Lane>(lane);
        const QRect band(0, scale.laneTop(l), width(), scale.laneHeight);
        painter.fillRect(band, palette().color(lane % 2 ? QPalette::Base : QPalette::AlternateBase));
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(band.adjusted(fontMetrics().averageCharWidth(), 0, 0, 0),
                         Qt::AlignLeft | Qt::AlignVCenter, laneName(l));
    }
    paintAxis(painter, event->rect());
    const auto &total = m_view.m_timeline.total;
    if (total) {
        painter.setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DashLine));
        const int x = scale.x(total->earliest());
        painter.drawLine(x, scale.axisHeight, x, scale.height());
    }
    if (focusedStart) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
        painter.drawLine(scale.x(*focusedStart), scale.axisHeight, scale.x(*focusedStart), scale.height());
    }
}

TimelineView::TimelineView(QWidget *parent) : QWidget(parent)
{
    setWindowTitle(titleFor(m_timeline, QString()));
    auto *zoomIn = new QToolButton(this);
    zoomIn->setText(QStringLiteral("+"));
    zoomIn->setAccessibleName(QStringLiteral("Zoom in"));
    zoomIn->setToolTip(QStringLiteral("Zoom in (Ctrl+wheel)"));
    auto *zoomOut = new QToolButton(this);
    zoomOut->setText(QStringLiteral("\u2212"));
    zoomOut->setAccessibleName(QStringLiteral("Zoom out"));
    zoomOut->setToolTip(QStringLiteral("Zoom out (Ctrl+wheel)"));
    connect(zoomIn, &QToolButton::clicked, this, [this] { zoomBy(1.25); });
    connect(zoomOut, &QToolButton::clicked, this, [this] { zoomBy(0.8); });
    m_start = new QComboBox(this);
    m_start->setObjectName(QStringLiteral("timelineStart"));
    m_start->addItem(QStringLiteral("Starts where its first location command says"),
                     static_cast<int>(timeline::Start::FromScript));
    m_start->addItem(QStringLiteral("Starts in a location"), static_cast<int>(timeline::Start::Location));
    m_start->addItem(QStringLiteral("Starts on the world map"), static_cast<int>(timeline::Start::WorldMap));
    m_start->setAccessibleName(QStringLiteral("Where the script starts"));
    m_start->setToolTip(QStringLiteral(
        "Where the game runs the script: a building or an objective runs it in a location, the game's events "
        "may run it on the world map. By default, on the world map when its first location command is "
        "EnterLocation or CamLocationFocus."));
    connect(m_start, &QComboBox::activated, this, [this] { Q_EMIT startChosen(start()); });
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_start);
    buttons->addStretch();
    buttons->addWidget(zoomOut);
    buttons->addWidget(zoomIn);

    m_canvas = new Canvas(*this);
    m_scroll = new QScrollArea(this);
    m_scroll->setWidget(m_canvas);
    m_scroll->setWidgetResizable(false);
    m_scroll->viewport()->installEventFilter(this);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(m_scroll, 1);
    layOut();
}

TimelineView::~TimelineView() = default;

timeline::Start TimelineView::start() const
{
    return static_cast<timeline::Start>(m_start->currentData().toInt());
}

QString TimelineView::titleFor(const timeline::Timeline &timeline, const QString &scriptName)
{
    const auto seconds = [](Seconds s) {
        return QString::number(s, 'f', 1) + QStringLiteral(" s");
    };
    QString total = QStringLiteral("never ends");
    if (timeline.total && timeline.total->unknowns)
        total = QStringLiteral("\u2265 ") + seconds(timeline.total->earliest());
    else if (timeline.total && timeline.total->isRange())
        total =
            seconds(timeline.total->earliest()) + QStringLiteral(" to ") + seconds(*timeline.total->latest());
    else if (timeline.total)
        total = seconds(timeline.total->earliest());
    return QStringLiteral("Timeline - %1: %2").arg(scriptName, total);
}

void TimelineView::setTimeline(timeline::Timeline timeline, const QString &scriptName)
{
    m_timeline = std::move(timeline);
    setWindowTitle(titleFor(m_timeline, scriptName));
    layOut();
}

void TimelineView::setFocusedRow(int row)
{
    m_focusedRow = row;
    m_canvas->focusedStart.reset();
    for (const Entry &entry : m_timeline.entries) {
        if (entry.line - 1 == row && entry.start)
            m_canvas->focusedStart = entry.start->earliest();
    }
    for (std::size_t i = 0; i < m_blocksInUse; ++i)
        m_blocks[i]->setMarked(m_blocks[i]->data().row == row);
    m_canvas->update();
    if (m_canvas->focusedStart) {
        const Scale &scale = m_canvas->scale;
        m_scroll->ensureVisible(scale.x(*m_canvas->focusedStart), scale.axisHeight, scale.left, 0);
    }
}

void TimelineView::zoomBy(double factor)
{
    m_zoom = std::clamp(m_zoom * factor, 0.05, 100.0);
    layOut();
}

bool TimelineView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_scroll->viewport() && event->type() == QEvent::Resize)
        placeBlocks();
    return QWidget::eventFilter(watched, event);
}

void TimelineView::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        placeBlocks();
    QWidget::changeEvent(event);
}

TimelineView::Block *TimelineView::blockAt(std::size_t index)
{
    while (m_blocks.size() <= index) {
        auto *block = new Block(m_canvas);
        connect(block, &QAbstractButton::clicked, this,
                [this, block] { Q_EMIT rowActivated(block->data().row); });
        m_blocks.push_back(block);
    }
    return m_blocks[index];
}

void TimelineView::layOut()
{
    const std::vector<BlockData> blocks = blocksOf(m_timeline);
    for (std::size_t i = 0; i < blocks.size(); ++i)
        blockAt(i)->present(blocks[i], blocks[i].row == m_focusedRow);
    for (std::size_t i = blocks.size(); i < m_blocksInUse; ++i)
        m_blocks[i]->hide();
    m_blocksInUse = blocks.size();
    m_canvas->scale.end = axisEnd(m_timeline, blocks);
    placeBlocks();
    setFocusedRow(m_focusedRow);
}

// Sizes and places everything for the font and the room there is: a short script fills
// the width, a long one keeps a legible number of pixels per second and scrolls.
void TimelineView::placeBlocks()
{
    Scale &scale = m_canvas->scale;
    const QFontMetrics metrics = m_canvas->fontMetrics();
    const int em = metrics.height();
    scale.gap = em / 3;
    scale.axisHeight = em + scale.gap * 2;
    scale.laneHeight = em * 2;
    scale.tail = em * 2;
    int names = 0;
    for (int lane = 0; lane < kLanes; ++lane)
        names = std::max(names, metrics.horizontalAdvance(laneName(static_cast<Lane>(lane))));
    scale.left = names + 2 * metrics.averageCharWidth();
    const int room = m_scroll->viewport()->width() - scale.left - em;
    const double legible = 1.5 * metrics.horizontalAdvance(QLatin1Char('0'));
    scale.perSecond = std::min(std::max(legible, room / scale.end) * m_zoom, kWidestCanvas / scale.end);
    const QSize size(scale.x(scale.end) + em, scale.height());
    m_canvas->resize(size.width(), std::max(size.height(), m_scroll->viewport()->height()));

    for (std::size_t i = 0; i < m_blocksInUse; ++i) {
        Block *block = m_blocks[i];
        const BlockData &shown = block->data();
        const int top = scale.laneTop(shown.lane) + scale.gap / 2;
        const int height = scale.laneHeight - scale.gap;
        int left = scale.x(shown.begin);
        int right = shown.end ? scale.x(*shown.end) : scale.x(scale.end);
        block->setSolidWidth(right - left);
        if (shown.latestEnd) {
            right = scale.x(*shown.latestEnd);
        } else if (shown.instant) {
            const int half = std::max(2, em / 6);
            left -= half;
            right = left + 2 * half;
        } else if (shown.open) {
            right = std::min(std::max(right, left) + scale.tail, scale.x(scale.end) + em);
        }
        block->setGeometry(left, top, std::max(right - left, 3), height);
        block->setVisible(true);
    }
    m_canvas->update();
}

} // namespace cw::gui
