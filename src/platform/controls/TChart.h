#pragma once
// The chart control: a fixed list of series drawn against two date axes (bottom and top) and two
// value axes (left and right), with a one-line title, a panel and a back colour. The control
// keeps its own model of what is set (series kind, visibility, colours, points, axes) and draws
// it through QCustomPlot when it repaints, so that a series can change its kind and keep its
// points, and the state can be read back without painting.
//
// X values are date numbers: days since 30 December 1899 plus the fraction of the day, on the
// wall clock (no time zone, no daylight saving), so midnights and margins of whole or part days
// stay where they are put.
//
// With the 3D view on, the chart is drawn as an open box seen from the front, a little from the
// right and above: the value and date axes stay on the front edges, the back wall (with the grid)
// is shifted up and right by the depth, and each series is drawn as a solid in its own slice of
// the depth. The depth is a percentage (0 to 20) of the plot area's smaller side.
#include "platform/runtime/ui/Colors.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <qcustomplot.h>

#include <memory>
#include <vector>

class TChart;

namespace tchart {

// Series kinds, numbered as the program stores them.
enum SeriesKind : int { Line = 0, Bar = 1, Area = 3, Point = 4, Candle = 11 };
// Axes: the two vertical ones first (a series' vertical side is 0 or 1).
enum AxisId : int { LeftAxis = 0, RightAxis = 1, TopAxis = 2, BottomAxis = 3 };
// Steps between the labels of a date axis.
enum class DateStep { Day, Week, Month };

// Days since 30 December 1899 and back.
double DateValue(const QDateTime& dateTime);
QDateTime DateFromValue(double value);

} // namespace tchart

// One point of a series. Candles use open, high, low and close; the others y (= close).
struct TChartPoint {
    double x = 0;
    double y = 0;
    double open = 0;
    double high = 0;
    double low = 0;
    QString label;
    vb::OLE_COLOR color = 0;
};

class TChartSeries {
public:
    int Kind() const { return kind_; }
    void setKind(int kind); // keeps the points
    bool Active() const { return active_; }
    void setActive(bool active);
    vb::OLE_COLOR Color() const { return color_; }
    void setColor(vb::OLE_COLOR color);
    // When on, points are drawn in their own colours rather than the series colour.
    bool ColorEachPoint() const { return colorEachPoint_; }
    void setColorEachPoint(bool on);
    // 0 left, 1 right.
    int VerticalAxis() const { return verticalAxis_; }
    void setVerticalAxis(int side);
    // tchart::BottomAxis or tchart::TopAxis.
    int HorizontalAxis() const { return horizontalAxis_; }
    void setHorizontalAxis(int axis);
    // Bar width in pixels (bars), candle width in pixels and body colour (candles).
    int BarWidth() const { return barWidth_; }
    void setBarWidth(int pixels);
    int CandleWidth() const { return candleWidth_; }
    void setCandleWidth(int pixels);
    vb::OLE_COLOR CandleColor() const { return candleColor_; }
    void setCandleColor(vb::OLE_COLOR color);
    // Value marks: the value written above each point.
    bool MarksVisible() const { return marksVisible_; }
    void setMarksVisible(bool visible);
    // Point symbols (point series): shown or not, and their size in pixels from the centre to
    // the edge (a size of 3 draws a symbol 7 pixels across).
    bool PointerVisible() const { return pointerVisible_; }
    void setPointerVisible(bool visible);
    int PointerWidth() const { return pointerWidth_; }
    int PointerHeight() const { return pointerHeight_; }
    void setPointerSize(int width, int height);

    void AddXY(double x, double y, const QString& label, vb::OLE_COLOR color);
    void AddCandle(double x, double open, double high, double low, double close);
    void Clear();
    int Count() const { return static_cast<int>(points_.size()); }
    const TChartPoint& Point(int index) const { return points_.at(static_cast<std::size_t>(index)); }
    const std::vector<TChartPoint>& Points() const { return points_; }

private:
    friend class TChart;
    explicit TChartSeries(TChart* chart) : chart_(chart) {}
    void changed(bool rebuild);

    TChart* chart_;
    int kind_ = tchart::Bar;
    bool active_ = true;
    vb::OLE_COLOR color_ = 0xFF0000;
    bool colorEachPoint_ = false;
    int verticalAxis_ = 0;
    int horizontalAxis_ = tchart::BottomAxis;
    int barWidth_ = 5;
    int candleWidth_ = 5;
    vb::OLE_COLOR candleColor_ = 0xFFFFFF;
    bool marksVisible_ = false;
    bool pointerVisible_ = true;
    int pointerWidth_ = 3;
    int pointerHeight_ = 3;
    std::vector<TChartPoint> points_;
    // What is drawn for the series now; rebuilt when the kind, points or colours change.
    std::vector<QCPAbstractPlottable*> drawn_;
    bool dirty_ = true;
};

// A value mark as drawn at the last layout: the point it marks (by its index in its series), the
// box it fills and the value written in it.
struct TChartMark {
    int point = 0;
    QRectF rect;
    QString text;
};

// A label of the top axis as drawn at the last layout: where it stands, the text written (ended
// with "…" when the whole text does not fit) and the whole text.
struct TChartLabel {
    QRectF rect;
    QString text;
    QString fullText;
};

struct TChartAxis {
    bool Automatic = true;
    double Minimum = 0;
    double Maximum = 1;
    // Date axes: the step between labels and the label format ("dd", "mmm dd", "mmm").
    tchart::DateStep Step = tchart::DateStep::Day;
    QString DateFormat = QStringLiteral("dd");
    QString Title;
    double LabelsAngle = 0; // degrees; 90 writes the labels upwards
    bool Visible = true;
};

class TChart : public QCustomPlot {
    Q_OBJECT
public:
    explicit TChart(QWidget* parent = nullptr);
    ~TChart() override;

    // Adds a series at the end; its index is the count before the call.
    TChartSeries& AddSeries(int kind, int horizontalAxis = tchart::BottomAxis);
    int SeriesCount() const { return static_cast<int>(series_.size()); }
    // Throws std::out_of_range for an index outside the list.
    TChartSeries& Series(int index);
    const TChartSeries& Series(int index) const;

    TChartAxis& Axis(int id);
    const TChartAxis& Axis(int id) const;
    // Sets both ends of an axis at once.
    void SetMinMax(int id, double minimum, double maximum);

    // The title: its lines, font, and background.
    QStringList Title() const { return title_; }
    void setTitle(const QStringList& lines);
    QString TitleFontName() const { return titleFont_.family(); }
    int TitleFontSize() const { return titleFont_.pointSize(); }
    void setTitleFont(const QString& family, int pointSize);
    vb::OLE_COLOR TitleBackColor() const { return titleBackColor_; }
    void setTitleBackColor(vb::OLE_COLOR color);

    // The panel (everything around the plotting area) and the back (the plotting area).
    vb::OLE_COLOR PanelColor() const { return panelColor_; }
    void setPanelColor(vb::OLE_COLOR color);
    vb::OLE_COLOR BackColor() const { return backColor_; }
    void setBackColor(vb::OLE_COLOR color);

    // The 3D view and its depth in percent. A depth outside 0 to 20 is kept as set and drawn as
    // the nearest end of that range; depth 0 draws flat.
    bool View3D() const { return view3D_; }
    void setView3D(bool on);
    int Chart3DPercent() const { return depth_; }
    void setChart3DPercent(int percent);

    // Brings the drawing up to date with the model and paints now.
    void Repaint();
    // The chart drawn into an image of that size in pixels (the widget's size for 0, 0).
    QImage RenderImage(int width = 0, int height = 0, double scale = 1.0);
    // Writes the chart as a JPEG file of that size; false when the file cannot be written.
    bool ExportJpeg(const QString& fileName, int width = 700, int height = 300, int quality = 100);

    // The label texts the top axis shows (from its visible series with hidden point symbols),
    // keyed by date number; and the labels of the bottom axis.
    QMap<double, QString> TopAxisLabels() const;
    QMap<double, QString> DateLabels(int axisId) const;
    // The labels an axis drew at its last layout, after those that did not fit were left out.
    QStringList ShownLabels(int axisId) const;
    // What the last layout placed: the top axis's labels, the value marks, and the title of a
    // value axis (its rectangle, upright, and the text written there).
    const std::vector<TChartLabel>& TopLabels() const { return topShown_; }
    const std::vector<TChartMark>& Marks() const { return marksShown_; }
    QRectF AxisTitleRect(int axisId) const;
    QString AxisTitleText(int axisId) const;

protected:
    // Shows the whole text of a top-axis label that was shortened.
    bool event(QEvent* event) override;
    // Lays the chart out at the size it is drawn at (screen, print or image), then chooses the
    // depth and the date labels that fit that geometry.
    void updateLayout() override;

private:
    friend class TChartSeries;
    class MarksLayer;
    class WallsLayer;
    class SolidsLayer;
    class ValueAxis;
    class ValueTicker;
    // The slice of the depth a series is drawn in, in pixels from the front (0) to the back.
    struct Slice {
        double front = 0;
        double back = 0;
    };
    void modelChanged();
    void applyDepth(int pixels, const QMargins& flat = {});
    void assignSlices();
    bool thinLabels();
    void padDateAxes();
    bool fitValueTicks();
    void placeTitles();
    void placeMarks();
    void placeTopLabels();
    void settle();
    ValueAxis* valueAxis(int side) const;
    // The front plot area widened to hold the depth behind it.
    QRect boxRect() const;
    void sync();
    void buildSeries(TChartSeries& series);
    void dropDrawn(TChartSeries& series);
    QCPAxis* qcpAxis(int id) const;
    void applyAxes();
    void applyColors();

    std::vector<std::unique_ptr<TChartSeries>> series_;
    TChartAxis axes_[4];
    QStringList title_;
    QFont titleFont_;
    vb::OLE_COLOR titleBackColor_ = vb::vbButtonFace;
    vb::OLE_COLOR panelColor_ = vb::vbButtonFace;
    vb::OLE_COLOR backColor_ = vb::vbWhite;
    bool view3D_ = false;
    int depth_ = 15;
    QCPTextElement* titleElement_ = nullptr;
    MarksLayer* marks_ = nullptr;
    WallsLayer* walls_ = nullptr;
    SolidsLayer* solids_ = nullptr;
    bool syncing_ = false;
    // The depth drawn at the last layout in pixels (0: flat) and each series' slice of it.
    int depthPixels_ = 0;
    std::vector<Slice> slices_;
    std::vector<int> drawOrder_; // series indexes from the back to the front
    // The date labels of the two axes before those that do not fit are left out.
    QMap<double, QString> bottomLabels_;
    QMap<double, QString> topLabels_;
    bool thinTop_ = false;
    // The longest a top-axis label may be drawn, in pixels, at the last layout.
    double topRoom_ = 0;
    std::vector<TChartLabel> topShown_;
    std::vector<TChartMark> marksShown_;
    QRect laidOut_; // the viewport of the last layout
    // The flat look of the plot area's margins and the top axis, given back when the 3D view goes off.
    QMargins flatMinimumMargins_;
    QPen topBasePen_;
    QPen topTickPen_;
    QPen topSubTickPen_;
};
