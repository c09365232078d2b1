#include "platform/controls/TChart.h"

#include <QLocale>
#include <QTimeZone>

#include <cmath>
#include <map>
#include <stdexcept>

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

// The labels that fit: a label that would run into the one kept before it is left empty (its
// tick stays). Upright labels need their width, labels turned by 90 degrees the font's height.
QMap<double, QString> Thinned(const QMap<double, QString>& labels, const QCPAxis* axis, double angle)
{
    const QFontMetricsF metrics(axis->tickLabelFont());
    const bool upright = std::abs(angle) < 45;
    QMap<double, QString> out;
    double lastPixel = 0;
    double lastHalf = 0;
    bool any = false;
    for (auto it = labels.cbegin(); it != labels.cend(); ++it) {
        const double pixel = axis->coordToPixel(it.key());
        const double half = (upright ? metrics.horizontalAdvance(it.value()) : metrics.height()) / 2 + 3;
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
// Value marks: the value above each point of the shown series that have marks on. A mark that
// would cover the one before it on the same series is left out, so that a crowded month stays
// readable.

class TChart::MarksLayer : public QCPLayerable {
public:
    // On the axes' layer, above the series, sharing its paint buffer.
    explicit MarksLayer(TChart* chart) : QCPLayerable(chart, QStringLiteral("axes")), chart_(chart) {}

protected:
    void applyDefaultAntialiasingHint(QCPPainter* painter) const override { painter->setAntialiasing(true); }
    QRect clipRect() const override { return chart_->axisRect()->rect(); }
    void draw(QCPPainter* painter) override
    {
        painter->setFont(chart_->font());
        const QFontMetrics metrics(chart_->font());
        for (const auto& series : chart_->series_) {
            if (!series->Active() || !series->MarksVisible() || series->Kind() == tchart::Candle)
                continue;
            QCPAxis* keyAxis = chart_->qcpAxis(series->HorizontalAxis());
            QCPAxis* valueAxis = chart_->qcpAxis(series->VerticalAxis());
            QRectF last;
            for (const TChartPoint& p : series->Points()) {
                const QString text = MarkText(p.y);
                const double px = keyAxis->coordToPixel(p.x);
                const double py = valueAxis->coordToPixel(p.y);
                QRectF box(0, 0, metrics.horizontalAdvance(text) + 4, metrics.height());
                box.moveCenter(QPointF(px, py - box.height() / 2 - 4));
                if (!last.isNull() && box.intersects(last))
                    continue;
                last = box;
                painter->setPen(QPen(QColor(160, 160, 160)));
                painter->setBrush(QColor(255, 255, 225));
                painter->drawRect(box);
                painter->setPen(Qt::black);
                painter->drawText(box, Qt::AlignCenter, text);
            }
        }
    }

private:
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
    xAxis2->setVisible(true);
    xAxis2->setTickLabels(false);
    yAxis2->setVisible(false);
    for (QCPAxis* axis : {xAxis, xAxis2})
        axis->setTicker(QSharedPointer<QCPAxisTickerText>::create());
    xAxis->grid()->setVisible(true);
    yAxis->grid()->setVisible(true);
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
        QCPAxis* axis = qcpAxis(id);
        axis->setLabel(model.Title);
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
        if (id == tchart::BottomAxis) {
            ticker->setTicks(Thinned(DateLabels(id), axis, model.LabelsAngle));
        } else {
            const QMap<double, QString> texts = TopAxisLabels();
            axis->setTickLabels(!texts.isEmpty());
            ticker->setTicks(texts.isEmpty() ? DateLabels(id) : Thinned(texts, axis, model.LabelsAngle));
        }
        ticker->setSubTickCount(0);
    }
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
            graph->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssSquare, color.darker(150), color,
                                                   std::max(s.PointerWidth(), s.PointerHeight())));
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
