#include "platform/controls/TChart.h"

#include <QHelpEvent>
#include <QLocale>
#include <QTimeZone>
#include <QToolTip>

#include <algorithm>
#include <cmath>
#include <map>
#include <stdexcept>
#include <utility>

namespace tchart {

namespace {
const QDate DateZero(1899, 12, 30);
constexpr double MsecsPerDay = 86400000.0;
} // namespace

double DateValue(const QDateTime& dateTime)
{
    return static_cast<double>(DateZero.daysTo(dateTime.date())) + dateTime.time().msecsSinceStartOfDay() / MsecsPerDay;
}

QDateTime DateFromValue(double value)
{
    const double days = std::floor(value);
    const auto msecs = static_cast<int>(std::llround((value - days) * MsecsPerDay));
    QDateTime result(DateZero.addDays(static_cast<qint64>(days)), QTime(0, 0), Qt::UTC);
    return result.addMSecs(msecs);
}

} // namespace tchart

namespace {

// The label formats the program writes ("dd", "mmm dd", "mmm", "mmmm, yyyy") in Qt's letters.
QString QtDateFormat(const QString& format)
{
    QString out = format;
    out.replace(QLatin1String("mmmm"), QLatin1String("MMMM"));
    out.replace(QLatin1String("mmm"), QLatin1String("MMM"));
    return out;
}

// The labels that fit: a label that would run into one already kept is left empty (its tick
// stays). Upright labels need their width, labels turned by 90 degrees the font's height. Blank
// labels take no room and never keep a real one out; labels outside the axis are not drawn.
QMap<double, QString> Thinned(const QMap<double, QString>& labels, const QCPAxis* axis, double angle)
{
    const QFontMetricsF metrics(axis->tickLabelFont());
    const bool upright = std::abs(angle) < 45;
    QMap<double, QString> out;
    double lastPixel = 0;
    double lastHalf = 0;
    bool any = false;
    for (auto it = labels.cbegin(); it != labels.cend(); ++it) {
        if (it.value().trimmed().isEmpty() || !axis->range().contains(it.key())) {
            out.insert(it.key(), QString());
            continue;
        }
        const double pixel = axis->coordToPixel(it.key());
        const double half = upright ? metrics.horizontalAdvance(it.value()) / 2 + 3 : metrics.height() / 2;
        if (any && std::abs(pixel - lastPixel) < lastHalf + half) {
            out.insert(it.key(), QString());
            continue;
        }
        out.insert(it.key(), it.value());
        lastPixel = pixel;
        lastHalf = half;
        any = true;
    }
    return out;
}

QColor Color(vb::OLE_COLOR code, const QWidget* widget) { return vb::ColorFromCode(code, widget->palette()); }

// The value of a mark: whole numbers without decimals, others as short as they read.
QString MarkText(double value) { return QString::number(value, 'g', 5); }

// A point symbol's width in pixels: its size runs from the centre to each edge.
int SymbolSize(const TChartSeries& s) { return 2 * std::max(s.PointerWidth(), s.PointerHeight()) + 1; }

// Where a point at the front lands when it is moved back by z pixels of depth.
QPointF Back(const QPointF& p, double z) { return {p.x() + z, p.y() - z}; }

// The shades of a solid's faces: the top catches the light, the side is in shadow.
QColor TopShade(const QColor& c)
{
    if (c.lightness() > 225)
        return c.darker(108);
    const auto towardWhite = [](int v) { return v + (255 - v) * 2 / 5; };
    return QColor(towardWhite(c.red()), towardWhite(c.green()), towardWhite(c.blue()), c.alpha());
}
QColor SideShade(const QColor& c) { return c.darker(150); }

// A box: its front face, with the top and the right side running back by the depth.
void DrawPrism(QCPPainter* painter, const QRectF& face, double depth, const QColor& color, const QPen& pen)
{
    painter->setPen(pen);
    if (depth > 0.5) {
        const QPointF tl = face.topLeft(), tr = face.topRight(), br = face.bottomRight();
        const QPointF top[4] = {tl, tr, Back(tr, depth), Back(tl, depth)};
        const QPointF side[4] = {tr, br, Back(br, depth), Back(tr, depth)};
        painter->setBrush(TopShade(color));
        painter->drawPolygon(top, 4);
        painter->setBrush(SideShade(color));
        painter->drawPolygon(side, 4);
    }
    painter->setBrush(color);
    painter->drawRect(face);
}

// A point series whose every point lies on another series (at its value, high or low) marks
// that series' values.
bool LiesOn(const TChartSeries& marks, const TChartSeries& host)
{
    if (marks.Count() != host.Count() || marks.HorizontalAxis() != host.HorizontalAxis() ||
        marks.VerticalAxis() != host.VerticalAxis())
        return false;
    const auto same = [](double a, double b) { return std::abs(a - b) <= 1e-9 * std::max(1.0, std::abs(a)); };
    for (int i = 0; i < marks.Count(); ++i) {
        const TChartPoint& m = marks.Point(i);
        const TChartPoint& h = host.Point(i);
        if (!same(m.x, h.x) || !(same(m.y, h.y) || same(m.y, h.high) || same(m.y, h.low)))
            return false;
    }
    return true;
}

// The order of series from the back: areas (which would cover anything behind them), lines
// (whose ribbons stay readable between the narrow boxes), bars and candles, and points, so that
// no series stands in front of another's values.
int DepthRank(int kind)
{
    switch (kind) {
    case tchart::Area: return 0;
    case tchart::Bar:
    case tchart::Candle: return 2;
    case tchart::Point: return 3;
    default: return 1;
    }
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Series

void TChartSeries::changed(bool rebuild)
{
    if (rebuild)
        dirty_ = true;
    chart_->modelChanged();
}

void TChartSeries::setKind(int kind)
{
    if (kind_ == kind)
        return;
    kind_ = kind;
    changed(true);
}

void TChartSeries::setActive(bool active)
{
    if (active_ == active)
        return;
    active_ = active;
    changed(false);
}

void TChartSeries::setColor(vb::OLE_COLOR color)
{
    if (color_ == color)
        return;
    color_ = color;
    changed(true);
}

void TChartSeries::setColorEachPoint(bool on)
{
    if (colorEachPoint_ == on)
        return;
    colorEachPoint_ = on;
    changed(true);
}

void TChartSeries::setVerticalAxis(int side)
{
    if (verticalAxis_ == side)
        return;
    verticalAxis_ = side;
    changed(true);
}

void TChartSeries::setHorizontalAxis(int axis)
{
    if (horizontalAxis_ == axis)
        return;
    horizontalAxis_ = axis;
    changed(true);
}

void TChartSeries::setBarWidth(int pixels)
{
    if (barWidth_ == pixels)
        return;
    barWidth_ = pixels;
    changed(true);
}

void TChartSeries::setCandleWidth(int pixels)
{
    if (candleWidth_ == pixels)
        return;
    candleWidth_ = pixels;
    changed(true);
}

void TChartSeries::setCandleColor(vb::OLE_COLOR color)
{
    if (candleColor_ == color)
        return;
    candleColor_ = color;
    changed(true);
}

void TChartSeries::setMarksVisible(bool visible)
{
    if (marksVisible_ == visible)
        return;
    marksVisible_ = visible;
    changed(false);
}

void TChartSeries::setPointerVisible(bool visible)
{
    if (pointerVisible_ == visible)
        return;
    pointerVisible_ = visible;
    changed(true);
}

void TChartSeries::setPointerSize(int width, int height)
{
    pointerWidth_ = width;
    pointerHeight_ = height;
    changed(true);
}

void TChartSeries::AddXY(double x, double y, const QString& label, vb::OLE_COLOR color)
{
    TChartPoint p;
    p.x = x;
    p.y = y;
    p.open = p.high = p.low = y;
    p.label = label;
    p.color = color;
    points_.push_back(std::move(p));
    changed(true);
}

void TChartSeries::AddCandle(double x, double open, double high, double low, double close)
{
    TChartPoint p;
    p.x = x;
    p.open = open;
    p.high = high;
    p.low = low;
    p.y = close;
    p.color = candleColor_;
    points_.push_back(std::move(p));
    changed(true);
}

void TChartSeries::Clear()
{
    if (points_.empty())
        return;
    points_.clear();
    changed(true);
}

// ---------------------------------------------------------------------------------------------
// Value marks, as the last layout placed them (see placeMarks).

class TChart::MarksLayer : public QCPLayerable {
public:
    // On the axes' layer, above the series, sharing its paint buffer.
    explicit MarksLayer(TChart* chart) : QCPLayerable(chart, QStringLiteral("axes")), chart_(chart) {}

protected:
    void applyDefaultAntialiasingHint(QCPPainter* painter) const override { painter->setAntialiasing(false); }
    QRect clipRect() const override { return chart_->boxRect(); }
    void draw(QCPPainter* painter) override
    {
        painter->setFont(chart_->font());
        painter->setBrush(QColor(255, 255, 225));
        for (const TChartMark& mark : chart_->marksShown_) {
            painter->setPen(QPen(QColor(160, 160, 160)));
            painter->drawRect(mark.rect.adjusted(0, 0, -1, -1));
            painter->setPen(Qt::black);
            painter->drawText(mark.rect, Qt::AlignCenter, mark.text);
        }
    }

private:
    TChart* chart_;
};

// ---------------------------------------------------------------------------------------------
// A value axis drawn at the depth of the series read against it (shifted up by that many pixels
// in the 3D view), with its title drawn where the layout placed it, whole inside the chart.

class TChart::ValueAxis : public QCPAxis {
public:
    ValueAxis(QCPAxisRect* rect, AxisType type) : QCPAxis(rect, type) {}
    double shift = 0;
    QString title;
    QString shownTitle;
    QRectF titleRect;

protected:
    void draw(QCPPainter* painter) override
    {
        painter->save();
        painter->translate(0, -shift);
        QCPAxis::draw(painter);
        painter->restore();
        if (shownTitle.isEmpty())
            return;
        painter->save();
        painter->setFont(labelFont());
        painter->setPen(labelColor());
        painter->translate(titleRect.center());
        painter->rotate(axisType() == atLeft ? -90 : 90);
        const QRectF upright(-titleRect.height() / 2, -titleRect.width() / 2, titleRect.height(), titleRect.width());
        painter->drawText(upright, Qt::AlignCenter | Qt::TextDontClip, shownTitle);
        painter->restore();
    }
};

// The value scale's steps: the plot's own choice, made coarser until neighbouring tick labels
// stand apart at the height the axis has.
class TChart::ValueTicker : public QCPAxisTicker {
public:
    void setPixels(double pixels, double gap)
    {
        pixels_ = pixels;
        gap_ = gap;
    }
    double lastStep() const { return last_; }
    double stepFor(const QCPRange& range) { return getTickStep(range); }

protected:
    double getTickStep(const QCPRange& range) override
    {
        double step = QCPAxisTicker::getTickStep(range);
        for (int guard = 0; guard < 64 && pixels_ > 0 && range.size() > 0 && step * pixels_ / range.size() < gap_; ++guard)
            step = coarser(step);
        last_ = step;
        return step;
    }

private:
    double coarser(double step) const
    {
        double magnitude = 1;
        const double mantissa = getMantissa(step, &magnitude);
        for (double nice : {2.0, 2.5, 5.0, 10.0})
            if (mantissa < nice - 1e-9)
                return nice * magnitude;
        return 20 * magnitude;
    }
    double pixels_ = 0;
    double gap_ = 0;
    double last_ = 0;
};

// ---------------------------------------------------------------------------------------------
// The 3D view's box: a floor and a left wall in shades of the back colour joining the front edges
// to the back wall, which carries the grid. Drawn on the background layer, behind the series.

class TChart::WallsLayer : public QCPLayerable {
public:
    explicit WallsLayer(TChart* chart) : QCPLayerable(chart, QStringLiteral("background")), chart_(chart) {}

protected:
    void applyDefaultAntialiasingHint(QCPPainter* painter) const override { painter->setAntialiasing(false); }
    void draw(QCPPainter* painter) override
    {
        const double d = chart_->depthPixels_;
        if (d <= 0)
            return;
        const QRect front = chart_->axisRect()->rect();
        const double left = front.left(), right = front.right() + 1, top = front.top(), bottom = front.bottom() + 1;
        const QColor back = Color(chart_->backColor_, chart_);
        const QPointF wall[4] = {{left, top}, Back({left, top}, d), Back({left, bottom}, d), {left, bottom}};
        const QPointF floor[4] = {{left, bottom}, Back({left, bottom}, d), Back({right, bottom}, d), {right, bottom}};
        painter->setPen(Qt::NoPen);
        painter->setBrush(back.darker(112));
        painter->drawPolygon(wall, 4);
        painter->setBrush(back.darker(125));
        painter->drawPolygon(floor, 4);
        painter->setBrush(back);
        painter->drawRect(QRectF(left + d, top - d, right - left, bottom - top));

        // The grid on the back wall, carried forward along the floor and the left wall to the
        // axes that name its lines.
        QCPAxis* dates = chart_->xAxis;
        painter->setPen(dates->grid()->pen());
        for (double key : dates->tickVector()) {
            const double x = dates->coordToPixel(key);
            if (x < left || x > right)
                continue;
            painter->drawLine(Back({x, top}, d), Back({x, bottom}, d));
            painter->drawLine(QPointF(x, bottom), Back({x, bottom}, d));
        }
        QCPAxis* values = chart_->yAxis;
        painter->setPen(values->grid()->pen());
        for (double value : values->tickVector()) {
            const double y = values->coordToPixel(value);
            if (y < top || y > bottom)
                continue;
            painter->drawLine(Back({left, y}, d), Back({right, y}, d));
            painter->drawLine(QPointF(left, y), Back({left, y}, d));
        }

        painter->setPen(QPen(QColor(112, 112, 112)));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(QRectF(left + d, top - d, right - left, bottom - top));
        painter->drawLine(QPointF(left, top), Back({left, top}, d));
        painter->drawLine(QPointF(right, bottom), Back({right, bottom}, d));
    }

private:
    TChart* chart_;
};

// ---------------------------------------------------------------------------------------------
// The series in depth, each in its slice from the back to the front: bars and candles as boxes,
// lines as ribbons, areas as ribbons with their front face, points as small cubes.

class TChart::SolidsLayer : public QCPLayerable {
public:
    explicit SolidsLayer(TChart* chart) : QCPLayerable(chart, QStringLiteral("main")), chart_(chart) {}

protected:
    void applyDefaultAntialiasingHint(QCPPainter* painter) const override { painter->setAntialiasing(false); }
    QRect clipRect() const override { return chart_->boxRect(); }
    void draw(QCPPainter* painter) override
    {
        if (chart_->depthPixels_ <= 0)
            return;
        for (int index : chart_->drawOrder_) {
            const TChartSeries& s = *chart_->series_[static_cast<std::size_t>(index)];
            const Slice& slice = chart_->slices_[static_cast<std::size_t>(index)];
            switch (s.Kind()) {
            case tchart::Candle: drawCandles(painter, s, slice); break;
            case tchart::Bar: drawBars(painter, s, slice); break;
            case tchart::Point: drawPoints(painter, s, slice); break;
            case tchart::Area: drawRibbon(painter, s, slice, true); break;
            default: drawRibbon(painter, s, slice, false); break;
            }
        }
    }

private:
    QCPAxis* keyAxis(const TChartSeries& s) const { return chart_->qcpAxis(s.HorizontalAxis()); }
    QCPAxis* valueAxis(const TChartSeries& s) const { return chart_->qcpAxis(s.VerticalAxis()); }
    QColor pointColor(const TChartSeries& s, const TChartPoint& p, bool eachPoint) const
    {
        return Color(eachPoint ? p.color : s.Color(), chart_);
    }
    // The pixel of value 0 on the series' value axis, kept inside the plot area: bars and areas
    // stand on it.
    double basePixel(const TChartSeries& s) const
    {
        const QRect r = chart_->axisRect()->rect();
        return std::clamp(valueAxis(s)->coordToPixel(0), double(r.top()), double(r.bottom() + 1));
    }

    void drawCandles(QCPPainter* painter, const TChartSeries& s, const Slice& slice) const
    {
        const double half = s.CandleWidth() / 2.0;
        const double depth = slice.back - slice.front;
        const double middle = (slice.front + slice.back) / 2;
        const QColor body = Color(s.CandleColor(), chart_);
        const QPen pen(Qt::black);
        for (const TChartPoint& p : s.Points()) {
            const double x = keyAxis(s)->coordToPixel(p.x);
            const double open = valueAxis(s)->coordToPixel(p.open);
            const double close = valueAxis(s)->coordToPixel(p.y);
            painter->setPen(pen);
            painter->drawLine(Back({x, valueAxis(s)->coordToPixel(p.high)}, middle),
                              Back({x, valueAxis(s)->coordToPixel(p.low)}, middle));
            const QRectF face(x - half, std::min(open, close), 2 * half, std::abs(open - close));
            DrawPrism(painter, face.translated(slice.front, -slice.front), depth, body, pen);
        }
    }

    void drawBars(QCPPainter* painter, const TChartSeries& s, const Slice& slice) const
    {
        const double half = s.BarWidth() / 2.0;
        const double base = basePixel(s);
        const bool eachPoint = s.ColorEachPoint();
        // Left to right, so that each box covers the side of the one before it.
        std::vector<const TChartPoint*> points;
        points.reserve(s.Points().size());
        for (const TChartPoint& p : s.Points())
            points.push_back(&p);
        std::stable_sort(points.begin(), points.end(), [](auto* a, auto* b) { return a->x < b->x; });
        for (const TChartPoint* p : points) {
            const double x = keyAxis(s)->coordToPixel(p->x);
            const double y = valueAxis(s)->coordToPixel(p->y);
            const QColor color = pointColor(s, *p, eachPoint);
            const QRectF face(x - half, std::min(y, base), 2 * half, std::abs(base - y));
            DrawPrism(painter, face.translated(slice.front, -slice.front), slice.back - slice.front, color,
                      QPen(color.darker(140)));
        }
    }

    void drawPoints(QCPPainter* painter, const TChartSeries& s, const Slice& slice) const
    {
        const double size = SymbolSize(s);
        const double depth = slice.back - slice.front;
        const bool eachPoint = s.ColorEachPoint();
        for (const TChartPoint& p : s.Points()) {
            const QPointF centre(keyAxis(s)->coordToPixel(p.x), valueAxis(s)->coordToPixel(p.y));
            const QColor color = pointColor(s, p, eachPoint);
            QRectF face(0, 0, size - 1, size - 1);
            face.moveCenter(Back(centre, slice.front));
            DrawPrism(painter, face, depth, color, QPen(color.darker(150)));
        }
    }

    void drawRibbon(QCPPainter* painter, const TChartSeries& s, const Slice& slice, bool filled) const
    {
        std::vector<QPointF> line;
        line.reserve(s.Points().size());
        for (const TChartPoint& p : s.Points())
            line.emplace_back(keyAxis(s)->coordToPixel(p.x), valueAxis(s)->coordToPixel(p.y));
        std::stable_sort(line.begin(), line.end(), [](const QPointF& a, const QPointF& b) { return a.x() < b.x(); });
        for (QPointF& p : line)
            p = Back(p, slice.front);
        const double depth = slice.back - slice.front;
        const QColor color = Color(s.Color(), chart_);
        const double base = basePixel(s) - slice.front;

        if (filled && !line.empty()) {
            // The side at the right end, seen behind the front face.
            const QPointF last = line.back();
            const QPointF end(last.x(), base);
            const QPointF side[4] = {last, end, Back(end, depth), Back(last, depth)};
            painter->setPen(QPen(SideShade(color)));
            painter->setBrush(SideShade(color));
            painter->drawPolygon(side, 4);
        }
        // The ribbon: each stretch shaded by whether its upper or lower side faces the reader.
        const QColor upper = TopShade(color);
        const QColor lower = SideShade(color);
        for (std::size_t i = 1; i < line.size(); ++i) {
            const QPointF a = line[i - 1], b = line[i];
            const QPointF stretch[4] = {a, b, Back(b, depth), Back(a, depth)};
            const bool upperSide = (b.x() - a.x()) + (b.y() - a.y()) > 0;
            const QColor shade = upperSide ? upper : lower;
            painter->setPen(QPen(shade));
            painter->setBrush(shade);
            painter->drawPolygon(stretch, 4);
        }
        if (filled && !line.empty()) {
            // Solid, so that the ribbon and the walls behind do not show through it.
            QPolygonF face(static_cast<int>(line.size()) + 2);
            face[0] = QPointF(line.front().x(), base);
            for (std::size_t i = 0; i < line.size(); ++i)
                face[static_cast<int>(i) + 1] = line[i];
            face[face.size() - 1] = QPointF(line.back().x(), base);
            painter->setPen(Qt::NoPen);
            painter->setBrush(color);
            painter->drawPolygon(face);
        }
        // The front edge in a darker line, where the values are read.
        painter->setPen(QPen(color.darker(140)));
        painter->drawPolyline(line.data(), static_cast<int>(line.size()));
    }

    TChart* chart_;
};

// ---------------------------------------------------------------------------------------------
// Chart

TChart::TChart(QWidget* parent) : QCustomPlot(parent)
{
    legend->setVisible(false);
    setAntialiasedElements(QCP::aeNone);
    titleFont_ = font();
    titleFont_.setPointSize(12);
    titleElement_ = new QCPTextElement(this, QString(), titleFont_);
    plotLayout()->insertRow(0);
    plotLayout()->addElement(0, 0, titleElement_);
    // The value axes are drawn at the depth of their series, with titles kept inside the chart.
    for (QCPAxis::AxisType type : {QCPAxis::atLeft, QCPAxis::atRight}) {
        axisRect()->removeAxis(axisRect()->axis(type));
        auto* axis = new ValueAxis(axisRect(), type);
        axisRect()->addAxis(type, axis);
        axis->setLayer(QStringLiteral("axes"));
        axis->grid()->setLayer(QStringLiteral("grid"));
        axis->grid()->setVisible(type == QCPAxis::atLeft);
        axis->setTicker(QSharedPointer<ValueTicker>::create());
        (type == QCPAxis::atLeft ? yAxis : yAxis2) = axis;
    }
    xAxis2->setVisible(true);
    xAxis2->setTickLabels(false);
    yAxis2->setVisible(false);
    yAxis2->grid()->setZeroLinePen(Qt::NoPen);
    for (QCPAxis* axis : {xAxis, xAxis2})
        axis->setTicker(QSharedPointer<QCPAxisTickerText>::create());
    xAxis->grid()->setVisible(true);
    yAxis->grid()->setVisible(true);
    flatMinimumMargins_ = axisRect()->minimumMargins();
    topBasePen_ = xAxis2->basePen();
    topTickPen_ = xAxis2->tickPen();
    topSubTickPen_ = xAxis2->subTickPen();
    walls_ = new WallsLayer(this);
    solids_ = new SolidsLayer(this);
    marks_ = new MarksLayer(this);
    connect(this, &QCustomPlot::beforeReplot, this, &TChart::sync);
    applyColors();
}

TChart::~TChart() = default;

TChartSeries& TChart::AddSeries(int kind, int horizontalAxis)
{
    series_.push_back(std::unique_ptr<TChartSeries>(new TChartSeries(this)));
    TChartSeries& s = *series_.back();
    s.kind_ = kind;
    s.horizontalAxis_ = horizontalAxis;
    modelChanged();
    return s;
}

TChartSeries& TChart::Series(int index)
{
    if (index < 0 || index >= SeriesCount())
        throw std::out_of_range("The chart has no series " + std::to_string(index) + ".");
    return *series_[static_cast<std::size_t>(index)];
}

const TChartSeries& TChart::Series(int index) const { return const_cast<TChart*>(this)->Series(index); }

TChartAxis& TChart::Axis(int id)
{
    if (id < 0 || id > 3)
        throw std::out_of_range("The chart has no axis " + std::to_string(id) + ".");
    modelChanged(); // whoever asks for a writable axis may change it
    return axes_[id];
}

const TChartAxis& TChart::Axis(int id) const
{
    if (id < 0 || id > 3)
        throw std::out_of_range("The chart has no axis " + std::to_string(id) + ".");
    return axes_[id];
}

void TChart::SetMinMax(int id, double minimum, double maximum)
{
    TChartAxis& axis = Axis(id);
    axis.Automatic = false;
    axis.Minimum = minimum;
    axis.Maximum = maximum;
}

void TChart::setTitle(const QStringList& lines)
{
    title_ = lines;
    modelChanged();
}

void TChart::setTitleFont(const QString& family, int pointSize)
{
    titleFont_ = QFont(family, pointSize);
    // A family this system lacks falls back to a plain sans-serif face.
    titleFont_.setStyleHint(QFont::SansSerif);
    modelChanged();
}

void TChart::setTitleBackColor(vb::OLE_COLOR color)
{
    titleBackColor_ = color;
    modelChanged();
}

void TChart::setPanelColor(vb::OLE_COLOR color)
{
    panelColor_ = color;
    modelChanged();
}

void TChart::setBackColor(vb::OLE_COLOR color)
{
    backColor_ = color;
    modelChanged();
}

void TChart::setView3D(bool on)
{
    view3D_ = on;
    modelChanged();
}

void TChart::setChart3DPercent(int percent)
{
    depth_ = percent;
    modelChanged();
}

void TChart::modelChanged()
{
    if (!syncing_)
        replot(QCustomPlot::rpQueuedReplot);
}

void TChart::Repaint() { replot(QCustomPlot::rpImmediateRefresh); }

QImage TChart::RenderImage(int width, int height, double scale)
{
    sync();
    return toPixmap(width, height, scale).toImage();
}

bool TChart::ExportJpeg(const QString& fileName, int width, int height, int quality)
{
    sync();
    return saveJpg(fileName, width, height, 1.0, quality);
}

QCPAxis* TChart::qcpAxis(int id) const
{
    switch (id) {
    case tchart::LeftAxis: return yAxis;
    case tchart::RightAxis: return yAxis2;
    case tchart::TopAxis: return xAxis2;
    default: return xAxis;
    }
}

TChart::ValueAxis* TChart::valueAxis(int side) const
{
    return static_cast<ValueAxis*>(side == tchart::LeftAxis ? yAxis : yAxis2);
}

QRectF TChart::AxisTitleRect(int axisId) const
{
    return axisId == tchart::LeftAxis || axisId == tchart::RightAxis ? valueAxis(axisId)->titleRect : QRectF();
}

QString TChart::AxisTitleText(int axisId) const
{
    return axisId == tchart::LeftAxis || axisId == tchart::RightAxis ? valueAxis(axisId)->shownTitle : QString();
}

QMap<double, QString> TChart::DateLabels(int axisId) const
{
    QMap<double, QString> labels;
    const TChartAxis& axis = Axis(axisId);
    if (!(axis.Maximum > axis.Minimum))
        return labels;
    const QDateTime first = tchart::DateFromValue(std::ceil(axis.Minimum));
    QDate day = first.date();
    if (axis.Step == tchart::DateStep::Week) {
        // Weeks are keyed by the Sunday that ends them.
        while (day.dayOfWeek() != Qt::Sunday)
            day = day.addDays(1);
    } else if (axis.Step == tchart::DateStep::Month && day.day() != 1) {
        day = QDate(day.year(), day.month(), 1).addMonths(1);
    }
    const QString format = QtDateFormat(axis.DateFormat);
    const QLocale locale;
    for (int guard = 0; guard < 2000; ++guard) {
        const double x = tchart::DateValue(QDateTime(day, QTime(0, 0), Qt::UTC));
        if (x > axis.Maximum)
            break;
        labels.insert(x, locale.toString(day, format));
        switch (axis.Step) {
        case tchart::DateStep::Day: day = day.addDays(1); break;
        case tchart::DateStep::Week: day = day.addDays(7); break;
        case tchart::DateStep::Month: day = day.addMonths(1); break;
        }
    }
    return labels;
}

QMap<double, QString> TChart::TopAxisLabels() const
{
    QMap<double, QString> labels;
    for (const auto& series : series_) {
        if (!series->Active() || series->HorizontalAxis() != tchart::TopAxis || series->PointerVisible())
            continue;
        for (const TChartPoint& p : series->Points())
            labels.insert(p.x, p.label);
    }
    return labels;
}

void TChart::applyColors()
{
    setBackground(Color(panelColor_, this));
    axisRect()->setBackground(Color(backColor_, this));
}

void TChart::applyAxes()
{
    bool rightUsed = false;
    for (const auto& series : series_)
        rightUsed = rightUsed || (series->Active() && series->VerticalAxis() == 1);

    for (int id : {tchart::LeftAxis, tchart::RightAxis}) {
        const TChartAxis& model = axes_[id];
        ValueAxis* axis = valueAxis(id);
        // The title is drawn by the axis itself, in the room its padding keeps at the outside.
        axis->title = model.Title;
        axis->setPadding(model.Title.isEmpty() ? 0 : axis->labelPadding() + QFontMetrics(axis->labelFont()).height());
        if (!model.Automatic) {
            // Limits the wrong way round are drawn the right way; equal ones get a unit each side
            // (the plot would otherwise keep the range it had).
            double low = std::min(model.Minimum, model.Maximum);
            double high = std::max(model.Minimum, model.Maximum);
            if (high - low < 1e-9) {
                low -= 1;
                high += 1;
            }
            axis->setRange(low, high);
        } else {
            bool found = false;
            QCPRange range;
            for (const auto& series : series_) {
                if (!series->Active() || series->VerticalAxis() != id)
                    continue;
                for (const TChartPoint& p : series->Points()) {
                    for (double v : {p.y, p.high, p.low}) {
                        if (!found) {
                            range = QCPRange(v, v);
                            found = true;
                        } else {
                            range.expand(v);
                        }
                    }
                }
            }
            if (found)
                axis->setRange(range.lower - 1, range.upper + 1);
        }
    }
    yAxis2->setVisible(axes_[tchart::RightAxis].Visible && rightUsed);

    for (int id : {tchart::BottomAxis, tchart::TopAxis}) {
        const TChartAxis& model = axes_[id];
        QCPAxis* axis = qcpAxis(id);
        if (!model.Automatic)
            axis->setRange(model.Minimum, model.Maximum);
        axis->setLabel(model.Title);
        // The model's angle turns counter-clockwise (90 reads upwards), the plot's clockwise.
        axis->setTickLabelRotation(-model.LabelsAngle);
        auto ticker = qSharedPointerDynamicCast<QCPAxisTickerText>(axis->ticker());
        if (!ticker)
            continue;
        // The labels that fit are chosen once the chart is laid out at the size it is drawn at.
        if (id == tchart::BottomAxis) {
            bottomLabels_ = DateLabels(id);
        } else {
            const QMap<double, QString> texts = TopAxisLabels();
            axis->setTickLabels(!texts.isEmpty());
            thinTop_ = !texts.isEmpty();
            topLabels_ = texts.isEmpty() ? DateLabels(id) : texts;
        }
        ticker->setSubTickCount(0);
    }
}

bool TChart::thinLabels()
{
    bool changed = false;
    const auto show = [&changed](QCPAxis* axis, const QMap<double, QString>& labels) {
        auto ticker = qSharedPointerDynamicCast<QCPAxisTickerText>(axis->ticker());
        if (ticker && ticker->ticks() != labels) {
            ticker->setTicks(labels);
            changed = true;
        }
    };
    show(xAxis, Thinned(bottomLabels_, xAxis, axes_[tchart::BottomAxis].LabelsAngle));
    if (!thinTop_) {
        show(xAxis2, topLabels_);
        return changed;
    }
    // Texts longer than the room the plot leaves them end with "…"; the tooltip has them whole.
    const QFontMetricsF metrics(xAxis2->tickLabelFont());
    QMap<double, QString> fitted;
    for (auto it = topLabels_.cbegin(); it != topLabels_.cend(); ++it)
        fitted.insert(it.key(), metrics.elidedText(it.value().trimmed(), Qt::ElideRight, topRoom_));
    const QMap<double, QString> shown = Thinned(fitted, xAxis2, axes_[tchart::TopAxis].LabelsAngle);
    show(xAxis2, shown);
    const bool any = std::any_of(shown.cbegin(), shown.cend(), [](const QString& t) { return !t.isEmpty(); });
    if (xAxis2->tickLabels() != any) {
        xAxis2->setTickLabels(any);
        changed = true;
    }
    return changed;
}

bool TChart::fitValueTicks()
{
    bool changed = false;
    const double gap = QFontMetricsF(yAxis->tickLabelFont()).height() + 2;
    for (int side : {tchart::LeftAxis, tchart::RightAxis}) {
        QCPAxis* axis = valueAxis(side);
        auto ticker = qSharedPointerDynamicCast<ValueTicker>(axis->ticker());
        if (!ticker)
            continue;
        const double used = ticker->lastStep();
        ticker->setPixels(axisRect()->rect().height(), gap);
        if (axis->visible() && axis->range().size() > 0 && ticker->stepFor(axis->range()) != used)
            changed = true;
    }
    return changed;
}

void TChart::padDateAxes()
{
    // Room at both ends for half of the widest candle, bar or symbol, so that a reading at the
    // very end of the period is drawn whole; the labels keep to the period.
    int pad = 1;
    for (const auto& s : series_) {
        if (!s->Active() || s->points_.empty())
            continue;
        switch (s->Kind()) {
        case tchart::Candle: pad = std::max(pad, s->CandleWidth() / 2 + 2); break;
        case tchart::Bar: pad = std::max(pad, s->BarWidth() / 2 + 2); break;
        case tchart::Point:
            if (s->PointerVisible())
                pad = std::max(pad, SymbolSize(*s) / 2 + 2);
            break;
        default: break;
        }
    }
    const double pixels = axisRect()->rect().width();
    for (int id : {tchart::BottomAxis, tchart::TopAxis}) {
        const TChartAxis& model = axes_[id];
        if (model.Automatic || !(model.Maximum > model.Minimum) || pixels <= 4.0 * pad)
            continue;
        const double perPixel = (model.Maximum - model.Minimum) / (pixels - 2.0 * pad);
        qcpAxis(id)->setRange(model.Minimum - pad * perPixel, model.Maximum + pad * perPixel);
    }
}

void TChart::placeTitles()
{
    const QRect outer = axisRect()->outerRect();
    const QRect front = axisRect()->rect();
    for (int side : {tchart::LeftAxis, tchart::RightAxis}) {
        ValueAxis* axis = valueAxis(side);
        axis->shownTitle.clear();
        axis->titleRect = QRectF();
        if (!axis->visible() || axis->title.isEmpty() || outer.height() <= 0)
            continue;
        // At the outer edge of the axis's margin, centred on the axis, moved and if need be
        // shortened to stay whole within the chart.
        const QFontMetricsF metrics(axis->labelFont());
        const double room = outer.height();
        axis->shownTitle = metrics.elidedText(axis->title, Qt::ElideRight, room);
        const double length = std::min(room, std::ceil(metrics.horizontalAdvance(axis->shownTitle)));
        const double centre = front.top() + front.height() / 2.0 - axis->shift;
        const double top = std::clamp(centre - length / 2, double(outer.top()), outer.top() + room - length);
        const double band = std::ceil(metrics.height());
        const double x = side == tchart::LeftAxis ? outer.left() : outer.left() + outer.width() - band;
        axis->titleRect = QRectF(x, top, band, length);
    }
}

void TChart::placeMarks()
{
    marksShown_.clear();
    const QRectF bounds = boxRect();
    const QFontMetrics metrics(font());
    // The point symbols, so that no mark hides one.
    struct Symbol {
        int series, point;
        QRectF rect;
    };
    std::vector<Symbol> symbols;
    for (std::size_t index = 0; index < series_.size(); ++index) {
        const TChartSeries& s = *series_[index];
        if (!s.Active() || s.Kind() != tchart::Point || !s.PointerVisible())
            continue;
        const Slice slice = index < slices_.size() ? slices_[index] : Slice{};
        const double size = SymbolSize(s);
        const double deep = slice.back - slice.front;
        for (int i = 0; i < s.Count(); ++i) {
            const TChartPoint& p = s.Point(i);
            const QPointF centre =
                Back({qcpAxis(s.HorizontalAxis())->coordToPixel(p.x), qcpAxis(s.VerticalAxis())->coordToPixel(p.y)}, slice.front);
            symbols.push_back(
                {int(index), i, QRectF(centre.x() - size / 2, centre.y() - size / 2 - deep, size + deep, size + deep)});
        }
    }
    for (std::size_t index = 0; index < series_.size(); ++index) {
        const TChartSeries& s = *series_[index];
        if (!s.Active() || !s.MarksVisible() || s.Kind() == tchart::Candle || (s.Kind() == tchart::Point && !s.PointerVisible()))
            continue;
        // In depth, a mark stands over the middle of the series' slice, above its top.
        const Slice slice = index < slices_.size() ? slices_[index] : Slice{};
        const double across = (slice.front + slice.back) / 2;
        QCPAxis* keyAxis = qcpAxis(s.HorizontalAxis());
        QCPAxis* values = qcpAxis(s.VerticalAxis());
        for (int i = 0; i < s.Count(); ++i) {
            const TChartPoint& p = s.Point(i);
            const QString text = MarkText(p.y);
            const double w = metrics.horizontalAdvance(text) + 4;
            const double h = metrics.height();
            if (w > bounds.width() || h > bounds.height())
                break;
            const double px = std::round(keyAxis->coordToPixel(p.x) + across);
            const double py = std::round(values->coordToPixel(p.y) - slice.back);
            if (!bounds.contains(px, py))
                continue;
            // Above the point, else below it, else a line further up or down: always over its
            // own date, moved inward only at the plot's sides. A mark that finds no place clear
            // of the symbols and the marks already placed is left out rather than drawn where
            // it hides a point or reads as another date's value.
            const double near = h / 2 + 4, far = near + h + 2;
            for (double offset : {-near, near, -far, far}) {
                QRectF box(0, 0, w, h);
                box.moveCenter(QPointF(px, py + offset));
                box.moveLeft(std::clamp(box.left(), bounds.left(), bounds.right() - w));
                if (box.top() < bounds.top() || box.bottom() > bounds.bottom())
                    continue;
                const bool hides =
                    std::any_of(symbols.cbegin(), symbols.cend(),
                                [&](const Symbol& sym) {
                                    return !(sym.series == int(index) && sym.point == i) && sym.rect.intersects(box);
                                }) ||
                    std::any_of(marksShown_.cbegin(), marksShown_.cend(),
                                [&](const TChartMark& m) { return m.rect.intersects(box); });
                if (hides)
                    continue;
                marksShown_.push_back({i, box, text});
                break;
            }
        }
    }
}

bool TChart::event(QEvent* event)
{
    if (event->type() != QEvent::ToolTip)
        return QCustomPlot::event(event);
    // The labels as drawn on screen (an export may have laid the chart out at another size).
    if (laidOut_ != rect())
        replot(QCustomPlot::rpImmediateRefresh);
    const auto* help = static_cast<QHelpEvent*>(event);
    for (const TChartLabel& label : topShown_) {
        if (label.rect.contains(help->pos()) && label.text != label.fullText) {
            QToolTip::showText(help->globalPos(), label.fullText, this);
            return true;
        }
    }
    QToolTip::hideText();
    event->ignore();
    return true;
}

QStringList TChart::ShownLabels(int axisId) const
{
    QStringList out;
    auto ticker = qSharedPointerDynamicCast<QCPAxisTickerText>(qcpAxis(axisId)->ticker());
    if (!ticker)
        return out;
    for (const QString& text : std::as_const(ticker->ticks()))
        if (!text.isEmpty())
            out << text;
    return out;
}

QRect TChart::boxRect() const
{
    const QRect front = axisRect()->rect();
    return front.adjusted(0, -depthPixels_, depthPixels_, 0);
}

void TChart::applyDepth(int pixels, const QMargins& flat)
{
    depthPixels_ = pixels;
    const bool deep = pixels > 0;
    // The box takes the flat plot area's place: its front is narrower and lower by the depth.
    QMargins least = flatMinimumMargins_;
    if (deep) {
        least.setTop(flat.top() + pixels);
        least.setRight(flat.right() + pixels);
    }
    if (axisRect()->minimumMargins() != least)
        axisRect()->setMinimumMargins(least);
    // The top and right axes stand clear of the box, at the back wall's height and right edge;
    // the top axis keeps only its labels there.
    if (xAxis2->offset() != pixels)
        xAxis2->setOffset(pixels);
    if (yAxis2->offset() != pixels)
        yAxis2->setOffset(pixels);
    xAxis2->setBasePen(deep ? QPen(Qt::NoPen) : topBasePen_);
    xAxis2->setTickPen(deep ? QPen(Qt::NoPen) : topTickPen_);
    xAxis2->setSubTickPen(deep ? QPen(Qt::NoPen) : topSubTickPen_);
    // The walls carry the grid and the back colour; the series are drawn as solids.
    xAxis->grid()->setVisible(!deep);
    yAxis->grid()->setVisible(!deep);
    axisRect()->setBackground(deep ? QBrush(Qt::NoBrush) : QBrush(Color(backColor_, this)));
    for (const auto& series : series_)
        for (QCPAbstractPlottable* p : series->drawn_)
            p->setVisible(series->Active() && !deep);
}

void TChart::assignSlices()
{
    slices_.assign(series_.size(), Slice{});
    drawOrder_.clear();
    valueAxis(tchart::LeftAxis)->shift = 0;
    valueAxis(tchart::RightAxis)->shift = 0;
    if (depthPixels_ <= 0)
        return;
    const auto draws = [](const TChartSeries& s) {
        return s.Active() && !s.points_.empty() && (s.Kind() != tchart::Point || s.PointerVisible());
    };
    const int count = SeriesCount();
    // Points that mark another series' values sit on that series' front.
    std::vector<int> host(series_.size(), -1);
    std::vector<int> own[2];
    for (int i = 0; i < count; ++i) {
        const TChartSeries& s = *series_[static_cast<std::size_t>(i)];
        if (!draws(s))
            continue;
        if (s.Kind() == tchart::Point) {
            for (int j = 0; j < count && host[static_cast<std::size_t>(i)] < 0; ++j) {
                const TChartSeries& h = *series_[static_cast<std::size_t>(j)];
                if (j != i && draws(h) && h.Kind() != tchart::Point && LiesOn(s, h))
                    host[static_cast<std::size_t>(i)] = j;
            }
        }
        if (host[static_cast<std::size_t>(i)] < 0)
            own[s.VerticalAxis() == 1 ? 1 : 0].push_back(i);
    }
    // The series read against one value axis share a slice, and the axis stands at its front:
    // every value is then read level with its axis. The slices run from the back to the front
    // by the kinds' ranks (areas at the back); the left axis's series are in front of equals.
    const auto rank = [this](int i) { return DepthRank(Series(i).Kind()); };
    std::vector<int> sides;
    for (int side : {0, 1}) {
        std::stable_sort(own[side].begin(), own[side].end(), [&rank](int a, int b) { return rank(a) < rank(b); });
        if (!own[side].empty())
            sides.push_back(side);
    }
    std::stable_sort(sides.begin(), sides.end(), [&](int a, int b) {
        const int ra = rank(own[a].front()), rb = rank(own[b].front());
        return ra != rb ? ra < rb : a > b;
    });
    // A little space between the slices keeps their faces apart.
    const double width = double(depthPixels_) / std::max<std::size_t>(1, sides.size());
    const double gap = sides.size() > 1 ? width * 0.2 : 0;
    for (std::size_t k = 0; k < sides.size(); ++k) {
        Slice group;
        group.back = depthPixels_ - width * double(k);
        group.front = std::max(0.0, group.back - width + (k + 1 < sides.size() ? gap : 0));
        valueAxis(sides[k])->shift = group.front;
        for (int index : own[sides[k]]) {
            const TChartSeries& s = Series(index);
            Slice& slice = slices_[static_cast<std::size_t>(index)];
            slice = group;
            // Narrow boxes stand at the front of their slice, no deeper than twice their width,
            // so that they read as boxes rather than as plates hiding the wall.
            if (s.Kind() == tchart::Bar || s.Kind() == tchart::Candle) {
                const int across = s.Kind() == tchart::Bar ? s.BarWidth() : s.CandleWidth();
                slice.back = std::min(slice.back, slice.front + 2.0 * std::max(1, across));
            }
            drawOrder_.push_back(index);
            for (int i = 0; i < count; ++i) {
                if (host[static_cast<std::size_t>(i)] != index)
                    continue;
                slices_[static_cast<std::size_t>(i)] = slice;
                drawOrder_.push_back(i);
            }
        }
    }
    // Points are small cubes at the front of their slice.
    for (int i = 0; i < count; ++i) {
        Slice& slice = slices_[static_cast<std::size_t>(i)];
        if (Series(i).Kind() == tchart::Point)
            slice.back = std::min(slice.back, slice.front + 0.6 * SymbolSize(Series(i)));
    }
}

void TChart::settle()
{
    // Each change of labels or steps can change the margins; a few rounds settle them.
    padDateAxes();
    for (int round = 0; round < 3; ++round) {
        const bool labels = thinLabels();
        const bool ticks = fitValueTicks();
        if (!labels && !ticks)
            break;
        QCustomPlot::updateLayout();
        padDateAxes();
    }
}

void TChart::placeTopLabels()
{
    topShown_.clear();
    auto ticker = qSharedPointerDynamicCast<QCPAxisTickerText>(xAxis2->ticker());
    if (!thinTop_ || !ticker || !xAxis2->visible() || !xAxis2->tickLabels())
        return;
    // Turned by 90 degrees: as wide as the font is high, as high as the text is long, standing
    // on the axis.
    const QFontMetricsF metrics(xAxis2->tickLabelFont());
    const double base =
        axisRect()->rect().top() - xAxis2->offset() - std::max(0, xAxis2->tickLengthOut()) - xAxis2->tickLabelPadding();
    for (auto it = ticker->ticks().cbegin(); it != ticker->ticks().cend(); ++it) {
        if (it.value().isEmpty())
            continue;
        const double x = xAxis2->coordToPixel(it.key());
        const double length = metrics.horizontalAdvance(it.value());
        topShown_.push_back({QRectF(x - metrics.height() / 2, base - length, metrics.height(), length), it.value(),
                             topLabels_.value(it.key()).trimmed()});
    }
}

void TChart::updateLayout()
{
    // Flat first, with the labels that fit it: the depth is a share of that plot area, whatever
    // was drawn before. The top axis's labels may take no more than a share of the plot area
    // they would leave without them.
    applyDepth(0);
    if (thinTop_)
        xAxis2->setTickLabels(false);
    QCustomPlot::updateLayout();
    topRoom_ = std::max(0.0, 0.45 * axisRect()->rect().height() - xAxis2->tickLabelPadding());
    settle();
    if (view3D_) {
        const QRect area = axisRect()->rect();
        const int side = std::max(0, std::min(area.width(), area.height()));
        const int pixels = static_cast<int>(std::lround(std::clamp(depth_, 0, 20) / 100.0 * side));
        if (pixels > 0) {
            applyDepth(pixels, axisRect()->margins());
            QCustomPlot::updateLayout();
            settle();
        }
    }
    assignSlices();
    placeTitles();
    placeTopLabels();
    placeMarks();
    laidOut_ = viewport();
}

void TChart::dropDrawn(TChartSeries& series)
{
    for (QCPAbstractPlottable* p : series.drawn_)
        removePlottable(p);
    series.drawn_.clear();
}

void TChart::buildSeries(TChartSeries& s)
{
    dropDrawn(s);
    s.dirty_ = false;
    if (s.points_.empty())
        return;
    QCPAxis* keyAxis = qcpAxis(s.HorizontalAxis());
    QCPAxis* valueAxis = qcpAxis(s.VerticalAxis());
    const QColor seriesColor = Color(s.Color(), this);

    if (s.Kind() == tchart::Candle) {
        auto* candles = new QCPFinancial(keyAxis, valueAxis);
        candles->setChartStyle(QCPFinancial::csCandlestick);
        candles->setWidthType(QCPFinancial::wtAbsolute);
        candles->setWidth(s.CandleWidth());
        candles->setTwoColored(false);
        candles->setBrush(Color(s.CandleColor(), this));
        candles->setPen(QPen(Qt::black));
        QVector<QCPFinancialData> data;
        data.reserve(static_cast<int>(s.points_.size()));
        for (const TChartPoint& p : s.points_)
            data.append(QCPFinancialData(p.x, p.open, p.high, p.low, p.y));
        candles->data()->set(data, false);
        s.drawn_.push_back(candles);
        return;
    }

    // Points in their own colours are drawn as one group per colour.
    std::map<vb::OLE_COLOR, std::pair<QVector<double>, QVector<double>>> groups;
    const bool eachPoint = s.ColorEachPoint() && (s.Kind() == tchart::Point || s.Kind() == tchart::Bar);
    for (const TChartPoint& p : s.points_) {
        auto& group = groups[eachPoint ? p.color : s.Color()];
        group.first.append(p.x);
        group.second.append(p.y);
    }
    for (auto& [code, xy] : groups) {
        const QColor color = eachPoint ? Color(code, this) : seriesColor;
        switch (s.Kind()) {
        case tchart::Bar: {
            auto* bars = new QCPBars(keyAxis, valueAxis);
            bars->setWidthType(QCPBars::wtAbsolute);
            bars->setWidth(s.BarWidth());
            bars->setBrush(color);
            bars->setPen(QPen(color.darker(140)));
            bars->setData(xy.first, xy.second, false);
            s.drawn_.push_back(bars);
            break;
        }
        case tchart::Point: {
            if (!s.PointerVisible())
                break;
            auto* graph = new QCPGraph(keyAxis, valueAxis);
            graph->setLineStyle(QCPGraph::lsNone);
            graph->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssSquare, color.darker(150), color, SymbolSize(s)));
            graph->setData(xy.first, xy.second, false);
            s.drawn_.push_back(graph);
            break;
        }
        case tchart::Area: {
            auto* graph = new QCPGraph(keyAxis, valueAxis);
            graph->setPen(QPen(color.darker(130)));
            QColor fill = color;
            fill.setAlpha(170);
            graph->setBrush(fill);
            graph->setData(xy.first, xy.second, false);
            s.drawn_.push_back(graph);
            break;
        }
        default: {
            auto* graph = new QCPGraph(keyAxis, valueAxis);
            graph->setPen(QPen(color));
            graph->setData(xy.first, xy.second, false);
            s.drawn_.push_back(graph);
            break;
        }
        }
    }
}

void TChart::sync()
{
    syncing_ = true;
    applyColors();
    titleElement_->setText(title_.join(QLatin1Char('\n')));
    titleElement_->setFont(titleFont_);
    titleElement_->setVisible(!title_.isEmpty());
    applyAxes();
    for (auto& series : series_) {
        TChartSeries& s = *series;
        if (!s.Active()) {
            if (s.dirty_)
                dropDrawn(s);
            for (QCPAbstractPlottable* p : s.drawn_)
                p->setVisible(false);
            continue;
        }
        if (s.dirty_)
            buildSeries(s);
        for (QCPAbstractPlottable* p : s.drawn_)
            p->setVisible(true);
    }
    syncing_ = false;
}
