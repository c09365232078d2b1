// Draws every picture the program ships: the decorative scenes of the Measurement screen
// (picture/AA1.jpg ... DA6.jpg), the splash picture, the tip-of-the-day picture, the program
// icon, the toolbar icons and the calendar button images. Everything is painted here with
// QPainter from shapes and gradients; nothing is read from elsewhere.
//
// Built and run by make-pictures.sh:  make-pictures <assets folder>
// A fixed seed per picture makes every run paint the same pictures, so rerun the script after
// changing it and commit both.

#include <QColor>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>
#include <QString>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <initializer_list>
#include <utility>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;

// Decorative scenes: final size and the oversampling they are painted at.
constexpr int kSceneW = 200;
constexpr int kSceneH = 150;
constexpr int kOver = 2;

// Small deterministic generator (the standard distributions differ between libraries).
class Rng {
public:
    explicit Rng(std::uint64_t seed) : s_(seed * 0x9E3779B97F4A7C15ULL + 0x632BE59BD9B4E019ULL) {}
    double next()
    {
        s_ ^= s_ << 13;
        s_ ^= s_ >> 7;
        s_ ^= s_ << 17;
        return static_cast<double>(s_ >> 11) / static_cast<double>(1ULL << 53);
    }
    double range(double a, double b) { return a + (b - a) * next(); }
    int below(int n) { return static_cast<int>(next() * n) % n; }

private:
    std::uint64_t s_;
};

QColor col(const char* hex, int alpha = 255)
{
    QColor c(hex);
    c.setAlpha(alpha);
    return c;
}

using Stops = std::initializer_list<std::pair<double, QColor>>;

QLinearGradient linear(QPointF from, QPointF to, Stops stops)
{
    QLinearGradient g(from, to);
    for (const auto& [at, c] : stops)
        g.setColorAt(at, c);
    return g;
}

QRadialGradient radial(QPointF centre, double radius, Stops stops)
{
    QRadialGradient g(centre, radius);
    for (const auto& [at, c] : stops)
        g.setColorAt(at, c);
    return g;
}

// ---------------------------------------------------------------- image helpers

QImage newCanvas(int w, int h)
{
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    return img;
}

// Paints on an image in "design units": the painter is scaled so that the caller draws in the
// final picture's coordinates whatever the oversampling.
void paintOn(QImage& img, double scale, const std::function<void(QPainter&)>& draw)
{
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.scale(scale, scale);
    draw(p);
}

// Three passes of a box blur approximate a gaussian; enough to make shapes soft.
void blur(QImage& img, int radius)
{
    if (radius < 1)
        return;
    const int w = img.width();
    const int h = img.height();
    std::vector<QRgb> line(static_cast<size_t>(std::max(w, h)));
    auto pass = [&](int count, int length, auto pixel) {
        for (int i = 0; i < count; ++i) {
            for (int k = 0; k < length; ++k)
                line[static_cast<size_t>(k)] = *pixel(i, k);
            long sa = 0, sr = 0, sg = 0, sb = 0;
            auto at = [&](int k) { return line[static_cast<size_t>(std::clamp(k, 0, length - 1))]; };
            for (int k = -radius; k <= radius; ++k) {
                const QRgb c = at(k);
                sa += qAlpha(c);
                sr += qRed(c);
                sg += qGreen(c);
                sb += qBlue(c);
            }
            const long n = 2L * radius + 1;
            for (int k = 0; k < length; ++k) {
                *pixel(i, k) =
                    qRgba(static_cast<int>(sr / n), static_cast<int>(sg / n), static_cast<int>(sb / n), static_cast<int>(sa / n));
                const QRgb out = at(k - radius);
                const QRgb in = at(k + radius + 1);
                sa += qAlpha(in) - qAlpha(out);
                sr += qRed(in) - qRed(out);
                sg += qGreen(in) - qGreen(out);
                sb += qBlue(in) - qBlue(out);
            }
        }
    };
    for (int round = 0; round < 3; ++round) {
        pass(h, w, [&](int y, int x) { return reinterpret_cast<QRgb*>(img.scanLine(y)) + x; });
        pass(w, h, [&](int x, int y) { return reinterpret_cast<QRgb*>(img.scanLine(y)) + x; });
    }
}

// A layer painted apart, blurred, and laid over the picture.
void softLayer(QImage& img, double scale, int blurRadius, const std::function<void(QPainter&)>& draw)
{
    QImage layer = newCanvas(img.width(), img.height());
    paintOn(layer, scale, draw);
    blur(layer, static_cast<int>(std::lround(blurRadius * scale)));
    QPainter p(&img);
    p.drawImage(0, 0, layer);
}

// Fine grain so that large gradients do not band in the JPEG.
void grain(QImage& img, Rng& rng, int strength)
{
    for (int y = 0; y < img.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            const int d = static_cast<int>(rng.range(-strength, strength + 1));
            const QRgb c = row[x];
            const int a = qAlpha(c);
            auto ch = [&](int v) { return std::clamp(v + d, 0, a); };
            row[x] = qRgba(ch(qRed(c)), ch(qGreen(c)), ch(qBlue(c)), a);
        }
    }
}

bool saveJpeg(const QImage& img, const QString& path, int quality)
{
    QImageWriter w(path, "jpeg");
    w.setQuality(quality);
    w.setOptimizedWrite(true);
    if (!w.write(img.convertToFormat(QImage::Format_RGB32))) {
        std::fprintf(stderr, "cannot write %s: %s\n", qPrintable(path), qPrintable(w.errorString()));
        return false;
    }
    return true;
}

bool savePng(const QImage& img, const QString& path)
{
    QImageWriter w(path, "png");
    if (!w.write(img)) {
        std::fprintf(stderr, "cannot write %s: %s\n", qPrintable(path), qPrintable(w.errorString()));
        return false;
    }
    return true;
}

// ---------------------------------------------------------------- scene elements

// A skyline of soft hills: a sum of three sines with random phases.
QPainterPath ridge(Rng& rng, double w, double h, double base, double amp, double waves = 1.0)
{
    const double f1 = rng.range(1.0, 1.8) * waves, f2 = rng.range(2.5, 4.0) * waves, f3 = rng.range(6.0, 9.0) * waves;
    const double p1 = rng.range(0, 2 * kPi), p2 = rng.range(0, 2 * kPi), p3 = rng.range(0, 2 * kPi);
    QPainterPath path(QPointF(-2, h + 2));
    for (double x = -2; x <= w + 2; x += 1.0) {
        const double t = x / w * 2 * kPi;
        const double y = base - amp * (0.55 * std::sin(f1 * t + p1) + 0.3 * std::sin(f2 * t + p2) + 0.15 * std::sin(f3 * t + p3));
        path.lineTo(x, y);
    }
    path.lineTo(w + 2, h + 2);
    path.closeSubpath();
    return path;
}

// Mountains: peaks come from folded sines, sharper than hills.
QPainterPath mountains(Rng& rng, double w, double h, double base, double amp)
{
    const double f1 = rng.range(1.2, 2.0), f2 = rng.range(3.0, 4.5), f3 = rng.range(9.0, 13.0);
    const double p1 = rng.range(0, 2 * kPi), p2 = rng.range(0, 2 * kPi), p3 = rng.range(0, 2 * kPi);
    QPainterPath path(QPointF(-2, h + 2));
    for (double x = -2; x <= w + 2; x += 1.0) {
        const double t = x / w * 2 * kPi;
        const double y = base - amp * (0.6 * (1 - std::fabs(std::sin(f1 * t + p1))) +
                                       0.3 * (1 - std::fabs(std::sin(f2 * t + p2))) + 0.1 * std::sin(f3 * t + p3));
        path.lineTo(x, y);
    }
    path.lineTo(w + 2, h + 2);
    path.closeSubpath();
    return path;
}

void glow(QPainter& p, QPointF c, double r, const QColor& colour)
{
    QColor clear = colour;
    clear.setAlpha(0);
    p.setPen(Qt::NoPen);
    p.setBrush(radial(c, r, {{0.0, colour}, {1.0, clear}}));
    p.drawEllipse(c, r, r);
}

void disc(QPainter& p, QPointF c, double r, const QColor& colour)
{
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawEllipse(c, r, r);
}

// A puffy cloud: overlapping round lumps on a flat base; meant for a soft layer.
void cloud(QPainter& p, Rng& rng, QPointF at, double width, const QColor& colour)
{
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    const int lumps = 5 + rng.below(3);
    for (int i = 0; i < lumps; ++i) {
        const double x = at.x() - width / 2 + width * (i + 0.5) / lumps;
        const double mid = 1 - std::fabs((i + 0.5) / lumps - 0.5) * 1.6;
        const double r = width * rng.range(0.10, 0.16) * (0.6 + mid);
        p.drawEllipse(QPointF(x, at.y() - r * 0.45), r, r * 0.8);
    }
    p.drawRoundedRect(QRectF(at.x() - width / 2, at.y() - width * 0.06, width, width * 0.12), width * 0.06, width * 0.06);
}

// A leaf: two curves meeting in a point, a gradient along it, a midrib and side veins.
void leaf(QPainter& p, QPointF base, double length, double width, double angleDeg, const QColor& light, const QColor& dark,
          bool veins = true)
{
    p.save();
    p.translate(base);
    p.rotate(angleDeg);
    QPainterPath shape(QPointF(0, 0));
    shape.cubicTo(QPointF(length * 0.25, -width * 0.75), QPointF(length * 0.7, -width * 0.6), QPointF(length, 0));
    shape.cubicTo(QPointF(length * 0.7, width * 0.6), QPointF(length * 0.25, width * 0.75), QPointF(0, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(linear(QPointF(0, -width / 2), QPointF(length * 0.6, width / 2), {{0.0, light}, {1.0, dark}}));
    p.drawPath(shape);
    if (veins) {
        QColor vein = light.lighter(125);
        vein.setAlpha(150);
        p.setPen(QPen(vein, std::max(0.35, width * 0.05), Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(length * 0.02, 0), QPointF(length * 0.92, 0));
        QPen side(vein, std::max(0.25, width * 0.03), Qt::SolidLine, Qt::RoundCap);
        p.setPen(side);
        for (int i = 1; i <= 4; ++i) {
            const double x = length * (0.12 + 0.18 * i);
            const double reach = width * 0.42 * std::sin(kPi * x / length);
            p.drawLine(QPointF(x - length * 0.12, 0), QPointF(x, -reach));
            p.drawLine(QPointF(x - length * 0.12, 0), QPointF(x, reach));
        }
    }
    p.restore();
}

void tree(QPainter& p, Rng& rng, QPointF foot, double height, const QColor& leaves, const QColor& trunk)
{
    p.setPen(Qt::NoPen);
    p.setBrush(trunk);
    QPainterPath stem(QPointF(foot.x() - height * 0.05, foot.y()));
    stem.lineTo(foot.x() - height * 0.025, foot.y() - height * 0.55);
    stem.lineTo(foot.x() + height * 0.025, foot.y() - height * 0.55);
    stem.lineTo(foot.x() + height * 0.05, foot.y());
    stem.closeSubpath();
    p.drawPath(stem);
    for (int i = 0; i < 9; ++i) {
        const double a = rng.range(0, 2 * kPi);
        const double d = rng.range(0, height * 0.22);
        const QPointF c(foot.x() + std::cos(a) * d * 1.2, foot.y() - height * 0.68 + std::sin(a) * d * 0.8);
        const double r = height * rng.range(0.16, 0.24);
        p.setBrush(radial(c - QPointF(r * 0.3, r * 0.4), r * 1.3, {{0.0, leaves.lighter(125)}, {1.0, leaves.darker(120)}}));
        p.drawEllipse(c, r, r * 0.9);
    }
}

// Mirrors the rows above the horizon into the water below it, with a slight ripple and the
// water's own colour growing with depth.
void reflect(QImage& img, int horizon, const QColor& water, double ripple)
{
    const QImage src = img.copy();
    const int w = img.width();
    const int h = img.height();
    for (int y = horizon; y < h; ++y) {
        const double depth = static_cast<double>(y - horizon) / std::max(1, h - horizon);
        const int sy = std::clamp(2 * horizon - y - 1, 0, h - 1);
        const double shift = ripple * (0.4 + depth) * std::sin(y * 0.9) * std::sin(y * 0.23 + 1.0);
        const double tint = 0.35 + 0.45 * depth;
        auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        const auto* from = reinterpret_cast<const QRgb*>(src.constScanLine(sy));
        for (int x = 0; x < w; ++x) {
            const int sx = std::clamp(x + static_cast<int>(std::lround(shift)), 0, w - 1);
            const QRgb c = from[sx];
            auto ch = [&](int v, int t) { return static_cast<int>(v * (1 - tint) + t * tint); };
            row[x] = qRgba(ch(qRed(c), water.red()), ch(qGreen(c), water.green()), ch(qBlue(c), water.blue()), 255);
        }
    }
}

void stars(QPainter& p, Rng& rng, int count, double w, double maxY)
{
    p.setPen(Qt::NoPen);
    for (int i = 0; i < count; ++i) {
        const QPointF c(rng.range(0, w), rng.range(0, maxY) * rng.range(0.3, 1.0));
        p.setBrush(QColor(255, 250, 235, static_cast<int>(rng.range(90, 230))));
        const double r = rng.range(0.25, 0.6);
        p.drawEllipse(c, r, r);
    }
}

void bokeh(QPainter& p, Rng& rng, int count, const std::vector<QColor>& palette, double w, double h, double rMin, double rMax,
           int alphaMin, int alphaMax)
{
    for (int i = 0; i < count; ++i) {
        QColor c = palette[static_cast<size_t>(rng.below(static_cast<int>(palette.size())))];
        c.setAlpha(static_cast<int>(rng.range(alphaMin, alphaMax)));
        QColor edge = c.lighter(115);
        edge.setAlpha(std::min(255, c.alpha() + 30));
        const QPointF centre(rng.range(-10, w + 10), rng.range(-10, h + 10));
        const double r = rng.range(rMin, rMax);
        p.setPen(Qt::NoPen);
        p.setBrush(radial(centre, r, {{0.0, c}, {0.85, c}, {0.97, edge}, {1.0, QColor(0, 0, 0, 0)}}));
        p.drawEllipse(centre, r, r);
    }
}

void fillAll(QPainter& p, double w, double h, const QBrush& brush) { p.fillRect(QRectF(0, 0, w, h), brush); }

// ---------------------------------------------------------------- the decorative scenes

using Scene = std::function<void(QImage&, double, Rng&)>;
constexpr double W = kSceneW;
constexpr double H = kSceneH;

void hillLayers(QImage& img, double s, Rng& rng, std::initializer_list<std::pair<double, QColor>> layers, double amp)
{
    paintOn(img, s, [&](QPainter& p) {
        double a = amp;
        for (const auto& [base, c] : layers) {
            p.setPen(Qt::NoPen);
            p.setBrush(c);
            p.drawPath(ridge(rng, W, H, base, a));
            a *= 1.15;
        }
    });
}

// AA: skies and hills.
void sceneDawnHills(QImage& img, double s, Rng& rng)
{
    paintOn(img, s, [&](QPainter& p) {
        fillAll(p, W, H, linear({0, 0}, {0, 100}, {{0.0, col("#8DB0D8")}, {0.55, col("#E9C3C0")}, {1.0, col("#FBE2BF")}}));
        glow(p, {140, 92}, 70, col("#FFE7B0", 200));
        disc(p, {140, 90}, 8, col("#FFF6DC"));
    });
    softLayer(img, s, 3, [&](QPainter& p) {
        for (int i = 0; i < 4; ++i) {
            p.setPen(Qt::NoPen);
            p.setBrush(col("#F6D3CF", 170));
            p.drawEllipse(QPointF(rng.range(10, 190), rng.range(25, 70)), rng.range(25, 45), rng.range(2.5, 4));
        }
    });
    hillLayers(img, s, rng,
               {{96, col("#BCA9C6")}, {106, col("#98A2BC")}, {116, col("#86A86F")}, {128, col("#638F56")}, {140, col("#497548")}},
               6);
}

void sceneMeadow(QImage& img, double s, Rng& rng)
{
    paintOn(img, s, [&](QPainter& p) {
        fillAll(p, W, H, linear({0, 0}, {0, 95}, {{0.0, col("#3F86D1")}, {1.0, col("#C4E2F5")}}));
    });
    softLayer(img, s, 2, [&](QPainter& p) {
        cloud(p, rng, {50, 35}, 60, col("#FFFFFF", 235));
        cloud(p, rng, {150, 22}, 46, col("#FFFFFF", 220));
        cloud(p, rng, {120, 60}, 34, col("#F4F8FC", 200));
    });
    paintOn(img, s, [&](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(col("#93BE8E"));
        p.drawPath(ridge(rng, W, H, 92, 6));
        p.setBrush(linear({0, 95}, {0, H}, {{0.0, col("#7DB85A")}, {1.0, col("#4C8C38")}}));
        p.drawPath(ridge(rng, W, H, 104, 5));
        tree(p, rng, {158, 104}, 34, col("#4E8A3C"), col("#5B4432"));
        tree(p, rng, {178, 100}, 20, col("#5C9646"), col("#5B4432"));
        for (int i = 0; i < 70; ++i) {
            const double y = rng.range(112, H);
            const QPointF c(rng.range(0, W), y);
            p.setBrush(i % 3 ? col("#FFF7D6", 220) : col("#F6D24A", 230));
            const double r = 0.3 + (y - 110) / 40.0 * 0.7;
            p.drawEllipse(c, r, r);
        }
    });
}

void sceneSunsetMountains(QImage& img, double s, Rng& rng)
{
    paintOn(img, s, [&](QPainter& p) {
        fillAll(p, W, H,
                linear({0, 0}, {0, 105},
                       {{0.0, col("#34427A")}, {0.45, col("#B9577D")}, {0.8, col("#F29A56")}, {1.0, col("#FBD68C")}}));
        glow(p, {100, 100}, 60, col("#FFD98F", 210));
        disc(p, {100, 100}, 15, col("#FFEBC0"));
    });
    paintOn(img, s, [&](QPainter& p) {
        const std::pair<double, QColor> layers[] = {
            {98, col("#8A567F")}, {110, col("#68406C")}, {124, col("#4A3057")}, {138, col("#2F2140")}};
        double a = 22;
        for (const auto& [base, c] : layers) {
            p.setPen(Qt::NoPen);
            p.setBrush(c);
            p.drawPath(mountains(rng, W, H, base, a));
            a *= 0.8;
        }
    });
}

void sceneMistyMountains(QImage& img, double s, Rng& rng)
{
    paintOn(img, s, [&](QPainter& p) {
        fillAll(p, W, H, linear({0, 0}, {0, H}, {{0.0, col("#D6E2EC")}, {1.0, col("#F4F2EA")}}));
        glow(p, {60, 40}, 45, col("#FFFFFF", 200));
        const QColor layers[] = {col("#C3D1DD"), col("#A7BACB"), col("#8AA2B8"), col("#6C88A2"), col("#51708C"), col("#3B5873")};
        for (int i = 0; i < 6; ++i) {
            const double base = 62 + i * 16;
            p.setPen(Qt::NoPen);
            p.setBrush(layers[i]);
            p.drawPath(mountains(rng, W, H, base, 18 - i * 1.5));
            p.setBrush(linear({0, base - 6}, {0, base + 16}, {{0.0, col("#FFFFFF", 0)}, {1.0, col("#F2F4F5", 150)}}));
            p.drawRect(QRectF(0, base - 6, W, 22));
        }
    });
}

void sceneGoldenField(QImage& img, double s, Rng& rng)
{
    paintOn(img, s, [&](QPainter& p) {
        fillAll(p, W, H, linear({0, 0}, {0, 90}, {{0.0, col("#9CC3E6")}, {1.0, col("#F4E6C3")}}));
        glow(p, {40, 30}, 55, col("#FFF3C8", 210));
        p.setPen(Qt::NoPen);
        p.setBrush(col("#8FA46A"));
        p.drawPath(ridge(rng, W, H, 88, 3, 2.5));
        p.setBrush(linear({0, 90}, {0, H}, {{0.0, col("#E8C873")}, {1.0, col("#C8953A")}}));
        p.drawPath(ridge(rng, W, H, 94, 2));
        for (int i = 0; i < 14; ++i) {
            const double y = 96 + std::pow(i / 13.0, 1.6) * 56;
            p.setPen(QPen(col("#B98531", 90), 0.4 + i * 0.08));
            QPainterPath row(QPointF(0, y));
            row.cubicTo(QPointF(70, y - 3), QPointF(130, y + 3), QPointF(W, y - 1));
            p.drawPath(row);
        }
        tree(p, rng, {140, 98}, 42, col("#4F7A3A"), col("#5A4330"));
    });
}

void sceneTwilightMoon(QImage& img, double s, Rng& rng)
{
    paintOn(img, s, [&](QPainter& p) {
        fillAll(p, W, H, linear({0, 0}, {0, 110}, {{0.0, col("#17264A")}, {0.6, col("#48608E")}, {1.0, col("#CB958C")}}));
        stars(p, rng, 70, W, 70);
        glow(p, {148, 34}, 30, col("#FFF3C4", 90));
        QPainterPath moon;
        moon.addEllipse(QPointF(148, 34), 11, 11);
        QPainterPath bite;
        bite.addEllipse(QPointF(153, 30), 10, 10);
        p.setPen(Qt::NoPen);
        p.setBrush(col("#FFF3CF"));
        p.drawPath(moon.subtracted(bite));
        p.setBrush(col("#34405E"));
        p.drawPath(ridge(rng, W, H, 112, 8));
        p.setBrush(col("#232C45"));
        p.drawPath(ridge(rng, W, H, 126, 9));
        p.setBrush(col("#161C30"));
        p.drawPath(ridge(rng, W, H, 140, 6));
    });
}

void sceneLavender(QImage& img, double s, Rng& rng)
{
    paintOn(img, s, [&](QPainter& p) {
        fillAll(p, W, H, linear({0, 0}, {0, 85}, {{0.0, col("#B4D0EE")}, {1.0, col("#F7E6D6")}}));
        glow(p, {150, 70}, 50, col("#FFF0D0", 200));
        p.setPen(Qt::NoPen);
        p.setBrush(col("#A3B6A2"));
        p.drawPath(ridge(rng, W, H, 84, 4, 2));
        p.setBrush(col("#7E9A63"));
        p.drawRect(QRectF(0, 86, W, H - 86));
        const QPointF vanish(100, 80);
        const int rows = 15;
        for (int i = 0; i < rows; ++i) {
            const double x0 = -260 + i * (720.0 / rows);
            const double x1 = x0 + 720.0 / rows * 0.62;
            QPainterPath strip(vanish);
            strip.lineTo(x0, H + 2);
            strip.lineTo(x1, H + 2);
            strip.closeSubpath();
            QPainterPath field;
            field.addRect(QRectF(0, 86, W, H - 86));
            p.setBrush(linear({0, 86}, {0, H}, {{0.0, col("#8C78B8")}, {1.0, col("#6A4C9C")}}));
            p.drawPath(strip.intersected(field));
        }
        for (int i = 0; i < 260; ++i) {
            const double y = rng.range(100, H);
            const double r = 0.25 + (y - 100) / 50 * 0.7;
            p.setBrush(i % 2 ? col("#B7A2DE", 200) : col("#9A7FCB", 200));
            p.drawEllipse(QPointF(rng.range(0, W), y), r, r * 1.4);
        }
    });
}

void sceneAutumnHills(QImage& img, double s, Rng& rng)
{
    paintOn(img, s, [&](QPainter& p) {
        fillAll(p, W, H, linear({0, 0}, {0, 90}, {{0.0, col("#F3D3A4")}, {1.0, col("#FDF0DA")}}));
        glow(p, {60, 62}, 50, col("#FFF6E2", 230));
        const std::pair<double, QColor> layers[] = {
            {84, col("#D8AE7A")}, {100, col("#C9844A")}, {116, col("#A45F34")}, {134, col("#724A2D")}};
        double a = 6;
        for (const auto& [base, c] : layers) {
            const QPainterPath hill = ridge(rng, W, H, base, a);
            p.setPen(Qt::NoPen);
            p.setBrush(c);
            p.drawPath(hill);
            for (double x = rng.range(0, 12); x < W; x += rng.range(6, 16)) {
                double top = H;
                for (double y = base - 2 * a; y < H; y += 0.5)
                    if (hill.contains(QPointF(x, y))) {
                        top = y;
                        break;
                    }
                const double r = rng.range(1.5, 3.2) * (base / 90.0);
                p.setBrush(rng.next() < 0.5 ? c.darker(115) : c.lighter(112));
                p.drawEllipse(QPointF(x, top + r * 0.2), r, r);
            }
            a *= 1.2;
        }
    });
}

// BA: water.
void sceneLakeDusk(QImage& img, double s, Rng& rng)
{
    const double horizon = 82;
    paintOn(img, s, [&](QPainter& p) {
        fillAll(p, W, H, linear({0, 0}, {0, horizon}, {{0.0, col("#6A7DB8")}, {0.7, col("#D9A6AE")}, {1.0, col("#F4C0A0")}}));
        glow(p, {70, horizon}, 40, col("#FFE2B8", 220));
        p.setPen(Qt::NoPen);
        p.setBrush(col("#56608A"));
        p.drawPath(ridge(rng, W, horizon, horizon - 8, 9));
        p.setBrush(col("#3C4566"));
        p.drawPath(ridge(rng, W, horizon, horizon - 2, 5));
    });
    reflect(img, static_cast<int>(horizon * s), col("#364466"), 1.5 * s);
    paintOn(img, s, [&](QPainter& p) {
        for (int i = 0; i < 28; ++i) {
            const double y = rng.range(horizon + 2, H);
            const double len = rng.range(6, 26) * (0.5 + (y - horizon) / (H - horizon));
            const double x = rng.range(0, W);
            p.setPen(
                QPen(col("#F6D2B8", static_cast<int>(rng.range(40, 110))), rng.range(0.3, 0.7), Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(x, y), QPointF(x + len, y));
        }
    });
}

void sceneSeaWaves(QImage& img, double s, Rng& rng)
{
    const double horizon = 52;
    paintOn(img, s, [&](QPainter& p) {
        fillAll(p, W, H, linear({0, 0}, {0, horizon}, {{0.0, col("#4C9EDC")}, {1.0, col("#D5ECF8")}}));
    });
    softLayer(img, s, 2, [&](QPainter& p) {
        cloud(p, rng, {45, 30}, 40, col("#FFFFFF", 210));
        cloud(p, rng, {160, 40}, 30, col("#FFFFFF", 180));
    });
    paintOn(img, s, [&](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(linear({0, horizon}, {0, H}, {{0.0, col("#1B6F9A")}, {0.45, col("#2FA6BE")}, {1.0, col("#7DD3CB")}}));
        p.drawRect(QRectF(0, horizon, W, H - horizon));
        for (int i = 0; i < 34; ++i) {
            const double t = i / 33.0;
            const double y = horizon + 2 + std::pow(t, 1.7) * (H - horizon);
            const double amp = 0.3 + t * 2.2;
            const double len = 6 + t * 26;
            const double phase = rng.range(0, 2 * kPi);
            QPainterPath wave;
            bool first = true;
            for (double x = -5; x <= W + 5; x += 0.5) {
                const double yy = y + amp * std::sin(x / len * 2 * kPi + phase);
                if (first) {
                    wave.moveTo(x, yy);
                    first = false;
                } else
                    wave.lineTo(x, yy);
            }
            p.setPen(QPen(col("#E8FBFA", static_cast<int>(50 + t * 90)), 0.3 + t * 0.9));
            p.setBrush(Qt::NoBrush);
            p.drawPath(wave);
        }
        for (int i = 0; i < 40; ++i)
            disc(p, {rng.range(0, W), rng.range(horizon + 3, H)}, rng.range(0.3, 0.8),
                 col("#FFFFFF", static_cast<int>(rng.range(90, 200))));
    });
}

void sceneRipples(QImage& img, double s, Rng& rng)
{
    paintOn(img, s, [&](QPainter& p) {
        fillAll(p, W, H, radial({90, 60}, 150, {{0.0, col("#3A9AA3")}, {1.0, col("#15505D")}}));
    });
    softLayer(img, s, 1, [&](QPainter& p) {
        const QPointF centres[] = {{70, 62}, {150, 105}, {30, 130}};
        for (int k = 0; k < 3; ++k) {
            const QPointF c = centres[k];
            for (int i = 1; i <= 9 - k * 2; ++i) {
                const double r = i * (8 + k * 2) + rng.range(-1, 1);
                p.setPen(QPen(col("#C4F3EE", static_cast<int>(150 - i * 13)), 1.0 + 0.1 * i));
                p.setBrush(Qt::NoBrush);
                p.drawEllipse(c, r, r * 0.78);
            }
        }
    });
    paintOn(img, s, [&](QPainter& p) {
        leaf(p, {118, 40}, 26, 11, -28, col("#A6CF6A"), col("#5E9A3A"));
        leaf(p, {40, 90}, 16, 7, 120, col("#E9B24E"), col("#C1732F"));
    });
}

void sceneBeach(QImage& img, double s, Rng& rng)
{
    paintOn(img, s, [&](QPainter& p) {
        fillAll(p, W, H, linear({0, 0}, {0, 60}, {{0.0, col("#83C2EC")}, {1.0, col("#E6F4FB")}}));
    });
    softLayer(img, s, 2, [&](QPainter& p) { cloud(p, rng, {140, 28}, 44, col("#FFFFFF", 220)); });
    paintOn(img, s, [&](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(linear({0, 60}, {0, 98}, {{0.0, col("#2A8FB3")}, {1.0, col("#63C9CF")}}));
        p.drawRect(QRectF(0, 60, W, 40));
        QPainterPath sand(QPointF(-2, H + 2));
        for (double x = -2; x <= W + 2; x += 1)
            sand.lineTo(x, 100 + 3 * std::sin(x / 40.0 + 0.5) + 1.5 * std::sin(x / 13.0));
        sand.lineTo(W + 2, H + 2);
        sand.closeSubpath();
        p.setBrush(linear({0, 98}, {0, H}, {{0.0, col("#CDB78E")}, {0.25, col("#DEC9A0")}, {1.0, col("#EEDDB8")}}));
        p.drawPath(sand);
        QPainterPath foam;
        for (double x = -2; x <= W + 2; x += 1) {
            const double y = 99 + 3 * std::sin(x / 40.0 + 0.5) + 1.5 * std::sin(x / 13.0);
            if (x == -2)
                foam.moveTo(x, y);
            else
                foam.lineTo(x, y);
        }
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(col("#FFFFFF", 230), 1.6, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(foam);
        p.setPen(QPen(col("#FFFFFF", 120), 0.8));
        p.drawPath(foam.translated(0, -4));
        for (int i = 0; i < 12; ++i) {
            const double y = rng.range(64, 94);
            const double x = rng.range(0, W);
            p.setPen(QPen(col("#E6FAFA", 110), 0.5));
            p.drawLine(QPointF(x, y), QPointF(x + rng.range(5, 18), y));
        }
    });
}

void sceneRiverValley(QImage& img, double s, Rng& rng)
{
    paintOn(img, s, [&](QPainter& p) {
        fillAll(p, W, H, linear({0, 0}, {0, 80}, {{0.0, col("#7FB5E2")}, {1.0, col("#E4F0F4")}}));
        p.setPen(Qt::NoPen);
        p.setBrush(col("#A9C4B8"));
        p.drawPath(mountains(rng, W, H, 70, 16));
        p.setBrush(col("#86AE7C"));
        p.drawPath(ridge(rng, W, H, 82, 6));
        p.setBrush(linear({0, 86}, {0, H}, {{0.0, col("#7DB05E")}, {1.0, col("#4F8A3E")}}));
        p.drawPath(ridge(rng, W, H, 90, 3));
        QPainterPath river(QPointF(98, 88));
        river.cubicTo(QPointF(130, 100), QPointF(60, 112), QPointF(40, H + 2));
        river.lineTo(130, H + 2);
        river.cubicTo(QPointF(120, 118), QPointF(150, 102), QPointF(102, 88));
        river.closeSubpath();
        p.setBrush(linear({0, 88}, {0, H}, {{0.0, col("#CFE8F2")}, {1.0, col("#4C9CC6")}}));
        p.drawPath(river);
        p.setPen(QPen(col("#FFFFFF", 90), 0.6));
        for (int i = 0; i < 10; ++i) {
            const double y = rng.range(110, H - 2);
            const double x = 70 + (y - 110) * -0.4 + rng.range(0, 40);
            p.drawLine(QPointF(x, y), QPointF(x + rng.range(4, 10), y));
        }
        tree(p, rng, {28, 112}, 26, col("#3F7A36"), col("#4E3A2A"));
        tree(p, rng, {44, 104}, 18, col("#4B8840"), col("#4E3A2A"));
        tree(p, rng, {172, 118}, 30, col("#3F7A36"), col("#4E3A2A"));
    });
}

void sceneLilyPond(QImage& img, double s, Rng& rng)
{
    paintOn(img, s, [&](QPainter& p) {
        fillAll(p, W, H, linear({0, 0}, {W, H}, {{0.0, col("#1E474D")}, {1.0, col("#2F6E67")}}));
    });
    softLayer(img, s, 1, [&](QPainter& p) {
        for (int i = 1; i <= 6; ++i) {
            p.setPen(QPen(col("#9FD9CF", 110 - i * 14), 0.8));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(QPointF(150, 45), i * 9.0, i * 6.0);
        }
    });
    paintOn(img, s, [&](QPainter& p) {
        struct Pad {
            double x, y, r, notch;
        };
        const Pad pads[] = {{55, 50, 24, 20}, {110, 110, 30, 200}, {165, 128, 16, 120}, {22, 120, 18, 300}, {95, 30, 12, 80}};
        for (const Pad& pad : pads) {
            p.setPen(Qt::NoPen);
            p.setBrush(col("#0F2E30", 90));
            p.drawPie(QRectF(pad.x - pad.r + 1.5, pad.y - pad.r * 0.8 + 2, pad.r * 2, pad.r * 1.6),
                      static_cast<int>((pad.notch + 12) * 16), static_cast<int>(336 * 16));
            p.setBrush(
                radial({pad.x - pad.r * 0.3, pad.y - pad.r * 0.3}, pad.r * 1.4, {{0.0, col("#7CC062")}, {1.0, col("#3E7F3A")}}));
            p.drawPie(QRectF(pad.x - pad.r, pad.y - pad.r * 0.8, pad.r * 2, pad.r * 1.6), static_cast<int>((pad.notch + 12) * 16),
                      static_cast<int>(336 * 16));
            p.setPen(QPen(col("#A9D98C", 120), 0.4));
            for (int k = 0; k < 7; ++k) {
                const double a = (pad.notch + 30 + k * 45) * kPi / 180;
                p.drawLine(QPointF(pad.x, pad.y),
                           QPointF(pad.x + std::cos(a) * pad.r * 0.85, pad.y - std::sin(a) * pad.r * 0.68));
            }
        }
        const QPointF flower(112, 104);
        for (int ring = 0; ring < 2; ++ring) {
            const int n = ring == 0 ? 8 : 6;
            for (int k = 0; k < n; ++k) {
                p.save();
                p.translate(flower);
                p.rotate(k * 360.0 / n + ring * 20 + rng.range(-4, 4));
                p.scale(1.0, 0.75);
                const double len = ring == 0 ? 13 : 9;
                QPainterPath petal(QPointF(0, 0));
                petal.cubicTo(QPointF(len * 0.3, -len * 0.35), QPointF(len * 0.8, -len * 0.3), QPointF(len, 0));
                petal.cubicTo(QPointF(len * 0.8, len * 0.3), QPointF(len * 0.3, len * 0.35), QPointF(0, 0));
                p.setPen(QPen(col("#D8708F", 150), 0.4));
                p.setBrush(linear({0, 0}, {len, 0}, {{0.0, col("#FBE3EA")}, {1.0, ring == 0 ? col("#EE93B0") : col("#F5B5C8")}}));
                p.drawPath(petal);
                p.restore();
            }
        }
        disc(p, flower, 3, col("#F4CF4A"));
    });
}

void sceneMoonlitSea(QImage& img, double s, Rng& rng)
{
    const double horizon = 86;
    paintOn(img, s, [&](QPainter& p) {
        fillAll(p, W, H, linear({0, 0}, {0, horizon}, {{0.0, col("#0D1A34")}, {1.0, col("#2D4370")}}));
        stars(p, rng, 60, W, 70);
        glow(p, {128, 38}, 40, col("#DCE6FF", 110));
        disc(p, {128, 38}, 11, col("#F7F4E6"));
        disc(p, {124, 35}, 2.2, col("#E3DFCC"));
        disc(p, {132, 42}, 1.5, col("#E6E2D0"));
        p.setPen(Qt::NoPen);
        p.setBrush(linear({0, horizon}, {0, H}, {{0.0, col("#1C2E52")}, {1.0, col("#0A1426")}}));
        p.drawRect(QRectF(0, horizon, W, H - horizon));
        for (int i = 0; i < 150; ++i) {
            const double t = rng.next();
            const double y = horizon + 1 + t * t * (H - horizon);
            const double spread = 3 + (y - horizon) * 0.55;
            const double x = 128 + rng.range(-spread, spread) * rng.range(0.2, 1.0);
            const double len = 1.5 + (y - horizon) * 0.12 * rng.range(0.5, 1.5);
            p.setPen(QPen(col("#F0EEDD", static_cast<int>(rng.range(60, 200))), 0.4 + (y - horizon) * 0.012, Qt::SolidLine,
                          Qt::RoundCap));
            p.drawLine(QPointF(x - len / 2, y), QPointF(x + len / 2, y));
        }
    });
}

// CA: leaves and flowers.
void sceneGreenLeaves(QImage& img, double s, Rng& rng)
{
    paintOn(img, s, [&](QPainter& p) {
        fillAll(p, W, H, linear({0, 0}, {W, H}, {{0.0, col("#F1F5E9")}, {1.0, col("#D8E6C8")}}));
    });
    struct L {
        double x, y, len, wid, ang;
    };
    std::vector<L> leaves;
    const QPointF root(20, 150);
    for (int i = 0; i < 9; ++i) {
        const double ang = -85 + i * 9.5 + rng.range(-3, 3);
        const double d = rng.range(15, 45);
        leaves.push_back({root.x() + std::cos(ang * kPi / 180) * d, root.y() + std::sin(ang * kPi / 180) * d, rng.range(70, 105),
                          rng.range(26, 36), ang + rng.range(-6, 6)});
    }
    softLayer(img, s, 3, [&](QPainter& p) {
        for (const L& l : leaves)
            leaf(p, {l.x + 4, l.y + 5}, l.len, l.wid, l.ang, col("#5D7A4A", 90), col("#5D7A4A", 90), false);
    });
    paintOn(img, s, [&](QPainter& p) {
        const QColor lights[] = {col("#A8D46F"), col("#8CC65A"), col("#B6DB7E"), col("#79B553")};
        const QColor darks[] = {col("#4D8A34"), col("#3D7A30"), col("#5E9A3E"), col("#2F6A2A")};
        for (size_t i = 0; i < leaves.size(); ++i) {
            const L& l = leaves[i];
            p.setPen(QPen(col("#4C7A34"), 1.2, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(root, QPointF(l.x, l.y));
            leaf(p, {l.x, l.y}, l.len, l.wid, l.ang, lights[i % 4], darks[(i + 1) % 4]);
        }
    });
}

void sceneAutumnLeaves(QImage& img, double s, Rng& rng)
{
    paintOn(img, s, [&](QPainter& p) {
        fillAll(p, W, H, linear({0, 0}, {W, H}, {{0.0, col("#A88660")}, {1.0, col("#7C5E42")}}));
        for (int i = 0; i < 500; ++i)
            disc(p, {rng.range(0, W), rng.range(0, H)}, rng.range(0.3, 0.9), i % 2 ? col("#6B4F37", 90) : col("#C2A27A", 80));
    });
    const std::pair<QColor, QColor> tones[] = {{col("#F7C04A"), col("#D9822B")},
                                               {col("#E9733A"), col("#B8432A")},
                                               {col("#D9A441"), col("#9E6A2C")},
                                               {col("#F29F45"), col("#C95E2A")},
                                               {col("#C9402F"), col("#8E2A23")}};
    struct L {
        double x, y, len, wid, ang;
        int tone;
    };
    std::vector<L> leaves;
    for (int i = 0; i < 16; ++i)
        leaves.push_back({rng.range(-10, W - 10), rng.range(-5, H - 5), rng.range(28, 46), rng.range(12, 18), rng.range(0, 360),
                          rng.below(5)});
    softLayer(img, s, 2, [&](QPainter& p) {
        for (const L& l : leaves)
            leaf(p, {l.x + 2.5, l.y + 3}, l.len, l.wid, l.ang, col("#2E2016", 110), col("#2E2016", 110), false);
    });
    paintOn(img, s, [&](QPainter& p) {
        for (const L& l : leaves) {
            leaf(p, {l.x, l.y}, l.len, l.wid, l.ang, tones[l.tone].first, tones[l.tone].second);
            p.save();
            p.translate(l.x, l.y);
            p.rotate(l.ang);
            p.setPen(QPen(tones[l.tone].second.darker(120), 0.9, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(0, 0), QPointF(-l.len * 0.18, 0));
            p.restore();
        }
    });
}

void sceneBranch(QImage& img, double s, Rng& rng)
{
    paintOn(img, s, [&](QPainter& p) {
        fillAll(p, W, H, linear({0, 0}, {0, H}, {{0.0, col("#BBD5EC")}, {0.7, col("#F3DDC2")}, {1.0, col("#F7D2AE")}}));
        glow(p, {150, 110}, 55, col("#FFF1D6", 230));
        disc(p, {150, 110}, 10, col("#FFF7E6"));
    });
    softLayer(img, s, 4, [&](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(col("#A9B9A0", 140));
        p.drawPath(ridge(rng, W, H, 140, 6));
    });
    paintOn(img, s, [&](QPainter& p) {
        QPainterPath branch(QPointF(-5, 40));
        branch.cubicTo(QPointF(50, 30), QPointF(100, 70), QPointF(190, 52));
        p.setPen(QPen(col("#3A3328"), 2.2, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawPath(branch);
        QPainterPath twig(branch.pointAtPercent(0.45));
        twig.quadTo(QPointF(100, 90), QPointF(120, 105));
        p.setPen(QPen(col("#3A3328"), 1.2, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(twig);
        auto pairs = [&](const QPainterPath& path, int count, double size) {
            for (int i = 1; i <= count; ++i) {
                const double t = i / (count + 1.0);
                const QPointF at = path.pointAtPercent(t);
                const double a = path.angleAtPercent(t);
                const double sz = size * (1.1 - 0.4 * t) * rng.range(0.85, 1.15);
                leaf(p, at, sz, sz * 0.42, -a - 55 + rng.range(-8, 8), col("#5E7E55"), col("#34523A"));
                leaf(p, at, sz, sz * 0.42, -a + 55 + rng.range(-8, 8), col("#56774D"), col("#2D4A33"));
            }
            leaf(p, path.pointAtPercent(1.0), size * 0.8, size * 0.34, -path.angleAtPercent(1.0), col("#6A8A5C"), col("#3A5A40"));
        };
        pairs(branch, 8, 26);
        pairs(twig, 3, 18);
    });
}

void sceneDaisies(QImage& img, double s, Rng& rng)
{
    paintOn(img, s, [&](QPainter& p) {
        fillAll(p, W, H, linear({0, 0}, {0, H}, {{0.0, col("#A9CF86")}, {1.0, col("#4C8A3A")}}));
    });
    softLayer(img, s, 5, [&](QPainter& p) {
        bokeh(p, rng, 26, {col("#C9E6A2"), col("#7FB85E"), col("#E8F4C9"), col("#5E9A48")}, W, H * 0.7, 8, 22, 70, 150);
    });
    paintOn(img, s, [&](QPainter& p) {
        for (int i = 0; i < 90; ++i) {
            const double x = rng.range(-5, W + 5);
            const double top = rng.range(70, 125);
            QPainterPath blade(QPointF(x, H + 2));
            blade.quadTo(QPointF(x + rng.range(-4, 4), (top + H) / 2), QPointF(x + rng.range(-10, 10), top));
            p.setPen(QPen(i % 3 ? col("#3F7A32", 200) : col("#6CA850", 200), rng.range(0.6, 1.4), Qt::SolidLine, Qt::RoundCap));
            p.setBrush(Qt::NoBrush);
            p.drawPath(blade);
        }
        struct F {
            double x, y, r;
        };
        const F flowers[] = {{48, 78, 15}, {120, 96, 19}, {170, 70, 11}, {84, 120, 10}, {20, 118, 9}};
        for (const F& f : flowers) {
            p.setPen(QPen(col("#3F7A32"), 1.0));
            p.drawLine(QPointF(f.x, f.y), QPointF(f.x + rng.range(-3, 3), H + 2));
            const int n = 16;
            for (int k = 0; k < n; ++k) {
                p.save();
                p.translate(f.x, f.y);
                p.rotate(k * 360.0 / n + rng.range(-4, 4));
                p.setPen(QPen(col("#D9DCE0", 200), 0.3));
                p.setBrush(linear({0, 0}, {f.r, 0}, {{0.0, col("#F2F2EE")}, {1.0, col("#FFFFFF")}}));
                p.drawEllipse(QRectF(f.r * 0.15, -f.r * 0.12, f.r * 0.9, f.r * 0.24));
                p.restore();
            }
            p.setPen(Qt::NoPen);
            p.setBrush(radial({f.x - f.r * 0.08, f.y - f.r * 0.08}, f.r * 0.3, {{0.0, col("#FFE270")}, {1.0, col("#E3A21F")}}));
            p.drawEllipse(QPointF(f.x, f.y), f.r * 0.24, f.r * 0.24);
        }
    });
}

// DA: abstract and calm.
void sceneWarmBokeh(QImage& img, double s, Rng& rng)
{
    paintOn(img, s, [&](QPainter& p) {
        fillAll(p, W, H, linear({0, 0}, {W, H}, {{0.0, col("#3B2030")}, {1.0, col("#8C4D3B")}}));
    });
    const std::vector<QColor> warm = {col("#FFC97A"), col("#FF9F6B"), col("#F7D9A8"), col("#E9788A"), col("#FFE6B3")};
    softLayer(img, s, 6, [&](QPainter& p) { bokeh(p, rng, 18, warm, W, H, 16, 34, 60, 120); });
    softLayer(img, s, 1, [&](QPainter& p) { bokeh(p, rng, 22, warm, W, H, 5, 14, 70, 170); });
}

void sceneCoolBokeh(QImage& img, double s, Rng& rng)
{
    paintOn(img, s, [&](QPainter& p) {
        fillAll(p, W, H, linear({0, 0}, {W, H}, {{0.0, col("#0E2945")}, {1.0, col("#1E6078")}}));
    });
    const std::vector<QColor> cool = {col("#8FE3F0"), col("#6FB6F2"), col("#D8F4FF"), col("#7FE0C4"), col("#B9C8FF")};
    softLayer(img, s, 6, [&](QPainter& p) { bokeh(p, rng, 18, cool, W, H, 16, 34, 50, 110); });
    softLayer(img, s, 1, [&](QPainter& p) { bokeh(p, rng, 24, cool, W, H, 4, 13, 70, 170); });
}

void sceneRibbons(QImage& img, double s, Rng& rng)
{
    paintOn(img, s, [&](QPainter& p) {
        fillAll(p, W, H, linear({0, 0}, {W, H}, {{0.0, col("#F6F0F6")}, {1.0, col("#E2ECF7")}}));
    });
    const std::pair<QColor, QColor> tones[] = {{col("#F4B6C8", 200), col("#F9DCE4", 150)},
                                               {col("#B9A6E0", 190), col("#DCD2F2", 140)},
                                               {col("#93C7EC", 190), col("#CBE6F7", 140)},
                                               {col("#9EDBC0", 190), col("#D6F1E4", 140)}};
    softLayer(img, s, 1, [&](QPainter& p) {
        for (int i = 0; i < 4; ++i) {
            const double base = 30 + i * 28 + rng.range(-4, 4);
            const double amp = rng.range(10, 18), ph = rng.range(0, 2 * kPi), wl = rng.range(150, 230);
            const double thick = rng.range(12, 22);
            QPainterPath band;
            for (double x = -5; x <= W + 5; x += 1) {
                const double y = base + amp * std::sin(x / wl * 2 * kPi + ph);
                if (x == -5)
                    band.moveTo(x, y);
                else
                    band.lineTo(x, y);
            }
            for (double x = W + 5; x >= -5; x -= 1) {
                const double y =
                    base + thick * (0.6 + 0.4 * std::sin(x / 90.0 + i)) + amp * std::sin(x / wl * 2 * kPi + ph + 0.35);
                band.lineTo(x, y);
            }
            band.closeSubpath();
            p.setPen(QPen(tones[i].first.darker(108), 0.4));
            p.setBrush(linear({0, base - amp}, {0, base + thick + amp}, {{0.0, tones[i].first}, {1.0, tones[i].second}}));
            p.drawPath(band);
        }
    });
}

void sceneZenStones(QImage& img, double s, Rng&)
{
    paintOn(img, s, [&](QPainter& p) {
        fillAll(p, W, H, linear({0, 0}, {W, H}, {{0.0, col("#EEE6D6")}, {1.0, col("#DCD0BA")}}));
    });
    struct Stone {
        double x, y, rx, ry;
    };
    const Stone stones[] = {{62, 78, 22, 14}, {92, 86, 14, 9}, {150, 56, 11, 7}};
    QPainterPath keepOut;
    for (const Stone& st : stones)
        keepOut.addEllipse(QPointF(st.x, st.y), st.rx + 12, st.ry + 10);
    paintOn(img, s, [&](QPainter& p) {
        p.setBrush(Qt::NoBrush);
        QPainterPath canvas;
        canvas.addRect(QRectF(-5, -5, W + 10, H + 10));
        p.save();
        p.setClipPath(canvas.subtracted(keepOut));
        for (double y = 4; y < H; y += 5) {
            p.setPen(QPen(col("#BFB196", 170), 0.7));
            p.drawLine(QPointF(-2, y), QPointF(W + 2, y));
            p.setPen(QPen(col("#FBF6EC", 170), 0.5));
            p.drawLine(QPointF(-2, y + 1), QPointF(W + 2, y + 1));
        }
        p.restore();
        for (const Stone& st : stones) {
            for (int k = 1; k <= 3; ++k) {
                p.setPen(QPen(col("#BFB196", 170), 0.7));
                p.drawEllipse(QPointF(st.x, st.y), st.rx + 3.5 * k, st.ry + 3 * k);
                p.setPen(QPen(col("#FBF6EC", 170), 0.5));
                p.drawEllipse(QPointF(st.x, st.y), st.rx + 3.5 * k + 1, st.ry + 3 * k + 1);
            }
        }
    });
    softLayer(img, s, 2, [&](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(col("#6E634F", 130));
        for (const Stone& st : stones)
            p.drawEllipse(QPointF(st.x + st.rx * 0.2, st.y + st.ry * 0.45), st.rx, st.ry * 0.85);
    });
    paintOn(img, s, [&](QPainter& p) {
        const QColor tones[] = {col("#8F8D86"), col("#6F6D68"), col("#A29C90")};
        int i = 0;
        for (const Stone& st : stones) {
            p.setPen(Qt::NoPen);
            p.setBrush(radial({st.x - st.rx * 0.35, st.y - st.ry * 0.45}, st.rx * 1.5,
                              {{0.0, tones[i].lighter(135)}, {0.6, tones[i]}, {1.0, tones[i].darker(140)}}));
            p.drawEllipse(QPointF(st.x, st.y), st.rx, st.ry);
            ++i;
        }
    });
}

void sceneSunburst(QImage& img, double s, Rng& rng)
{
    const QPointF c(62, 112);
    paintOn(img, s, [&](QPainter& p) {
        fillAll(p, W, H,
                radial(c, 190, {{0.0, col("#FFF7DA")}, {0.35, col("#F9D3BE")}, {0.7, col("#D9C3E0")}, {1.0, col("#B5C5E8")}}));
    });
    softLayer(img, s, 3, [&](QPainter& p) {
        p.setPen(Qt::NoPen);
        for (int i = 0; i < 14; ++i) {
            const double a0 = (i * 360.0 / 14 + rng.range(-3, 3)) * kPi / 180;
            const double a1 = a0 + 9 * kPi / 180;
            QPainterPath ray(c);
            ray.lineTo(c.x() + std::cos(a0) * 260, c.y() - std::sin(a0) * 260);
            ray.lineTo(c.x() + std::cos(a1) * 260, c.y() - std::sin(a1) * 260);
            ray.closeSubpath();
            p.setBrush(col("#FFFFFF", 46));
            p.drawPath(ray);
        }
        glow(p, c, 40, col("#FFFDF0", 220));
    });
    softLayer(img, s, 2, [&](QPainter& p) {
        for (int i = 0; i < 3; ++i) {
            p.setPen(QPen(col("#FFFFFF", 90), 1.2));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(c, 55.0 + i * 30, 55.0 + i * 30);
        }
    });
}

void sceneWatercolour(QImage& img, double s, Rng& rng)
{
    paintOn(img, s, [&](QPainter& p) { fillAll(p, W, H, col("#FBF8F1")); });
    const QColor tones[] = {col("#5E9FD3", 120), col("#5FC2AC", 120), col("#F2C254", 130), col("#EE8A70", 115),
                            col("#9C86CF", 115)};
    for (int layer = 0; layer < 2; ++layer) {
        softLayer(img, s, layer == 0 ? 2 : 1, [&](QPainter& p) {
            for (int i = 0; i < 6; ++i) {
                const QColor c = tones[(i + layer * 2) % 5];
                const QPointF centre(W * (0.1 + 0.16 * i) + rng.range(-10, 10), rng.range(30, H - 30));
                const double r = rng.range(20, 36) * (layer == 0 ? 1.2 : 0.75);
                QPainterPath blob;
                const int n = 40;
                const double k1 = rng.range(0, 2 * kPi), k2 = rng.range(0, 2 * kPi);
                for (int k = 0; k <= n; ++k) {
                    const double a = k * 2 * kPi / n;
                    const double rr = r * (1 + 0.18 * std::sin(3 * a + k1) + 0.08 * std::sin(7 * a + k2));
                    const QPointF pt(centre.x() + std::cos(a) * rr, centre.y() + std::sin(a) * rr * 0.8);
                    if (k == 0)
                        blob.moveTo(pt);
                    else
                        blob.lineTo(pt);
                }
                QColor edge = c.darker(125);
                edge.setAlpha(std::min(255, c.alpha() + 50));
                p.setPen(QPen(edge, 0.9));
                p.setBrush(c);
                p.drawPath(blob);
            }
        });
    }
    paintOn(img, s, [&](QPainter& p) {
        for (int i = 0; i < 400; ++i)
            disc(p, {rng.range(0, W), rng.range(0, H)}, rng.range(0.2, 0.5), col("#D8CFBF", 60));
    });
}

struct NamedScene {
    const char* name;
    Scene draw;
};

const std::vector<NamedScene>& scenes()
{
    static const std::vector<NamedScene> all = {
        {"AA1", sceneDawnHills},    {"AA2", sceneMeadow},       {"AA3", sceneSunsetMountains}, {"AA4", sceneMistyMountains},
        {"AA5", sceneGoldenField},  {"AA6", sceneTwilightMoon}, {"AA7", sceneLavender},        {"AA8", sceneAutumnHills},
        {"BA1", sceneLakeDusk},     {"BA2", sceneSeaWaves},     {"BA3", sceneRipples},         {"BA4", sceneBeach},
        {"BA5", sceneRiverValley},  {"BA6", sceneLilyPond},     {"BA7", sceneMoonlitSea},      {"CA1", sceneGreenLeaves},
        {"CA2", sceneAutumnLeaves}, {"CA3", sceneBranch},       {"CA4", sceneDaisies},         {"DA1", sceneWarmBokeh},
        {"DA2", sceneCoolBokeh},    {"DA3", sceneRibbons},      {"DA4", sceneZenStones},       {"DA5", sceneSunburst},
        {"DA6", sceneWatercolour},
    };
    return all;
}

QImage renderScene(const Scene& scene, std::uint64_t seed)
{
    QImage big = newCanvas(kSceneW * kOver, kSceneH * kOver);
    Rng rng(seed);
    scene(big, kOver, rng);
    QImage small = big.scaled(kSceneW, kSceneH, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    Rng noise(seed + 7);
    grain(small, noise, 2);
    return small;
}

// ---------------------------------------------------------------- heart and pulse motif

QPainterPath heartPath(QPointF c, double size)
{
    // A heart in a box of size x size centred on c.
    const double s = size / 2;
    QPainterPath h(QPointF(c.x(), c.y() + s * 0.95));
    h.cubicTo(QPointF(c.x() - s * 0.15, c.y() + s * 0.75), QPointF(c.x() - s, c.y() + s * 0.2),
              QPointF(c.x() - s, c.y() - s * 0.3));
    h.cubicTo(QPointF(c.x() - s, c.y() - s * 0.85), QPointF(c.x() - s * 0.45, c.y() - s * 1.0), QPointF(c.x(), c.y() - s * 0.55));
    h.cubicTo(QPointF(c.x() + s * 0.45, c.y() - s * 1.0), QPointF(c.x() + s, c.y() - s * 0.85),
              QPointF(c.x() + s, c.y() - s * 0.3));
    h.cubicTo(QPointF(c.x() + s, c.y() + s * 0.2), QPointF(c.x() + s * 0.15, c.y() + s * 0.75), QPointF(c.x(), c.y() + s * 0.95));
    h.closeSubpath();
    return h;
}

// A heartbeat trace from x0 to x1 along y, with one beat at the given fraction.
QPainterPath pulsePath(double x0, double x1, double y, double height, double at = 0.5)
{
    const double w = x1 - x0;
    const double b = x0 + w * at;
    QPainterPath p(QPointF(x0, y));
    p.lineTo(b - w * 0.16, y);
    p.lineTo(b - w * 0.11, y - height * 0.25);
    p.lineTo(b - w * 0.07, y);
    p.lineTo(b - w * 0.03, y + height * 0.3);
    p.lineTo(b + w * 0.02, y - height);
    p.lineTo(b + w * 0.07, y + height * 0.55);
    p.lineTo(b + w * 0.11, y);
    p.lineTo(x1, y);
    return p;
}

// ---------------------------------------------------------------- splash, tip picture, program icon

QImage renderSplash()
{
    constexpr int w = 400, h = 260;
    QImage big = newCanvas(w * kOver, h * kOver);
    Rng rng(20260101);
    paintOn(big, kOver, [&](QPainter& p) {
        p.fillRect(QRectF(0, 0, w, h),
                   linear({0, 0}, {0, h}, {{0.0, col("#CFE4F4")}, {0.6, col("#F3E8E4")}, {1.0, col("#FBEBD9")}}));
        glow(p, {300, 70}, 110, col("#FFF6E0", 220));
    });
    softLayer(big, kOver, 3, [&](QPainter& p) {
        cloud(p, rng, {90, 55}, 80, col("#FFFFFF", 200));
        cloud(p, rng, {230, 38}, 54, col("#FFFFFF", 160));
    });
    paintOn(big, kOver, [&](QPainter& p) {
        const std::pair<double, QColor> layers[] = {{205, col("#B9CDB8")}, {222, col("#93B98B")}, {240, col("#6E9E65")}};
        double a = 8;
        for (const auto& [base, c] : layers) {
            p.setPen(Qt::NoPen);
            p.setBrush(c);
            p.drawPath(ridge(rng, w, h, base, a));
            a *= 1.2;
        }
    });
    softLayer(big, kOver, 6, [&](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(col("#8A2A3A", 70));
        p.drawPath(heartPath({204, 124}, 130));
    });
    paintOn(big, kOver, [&](QPainter& p) {
        const QPainterPath heart = heartPath({200, 118}, 130);
        p.setPen(Qt::NoPen);
        p.setBrush(linear({150, 60}, {250, 180}, {{0.0, col("#F07C86")}, {1.0, col("#C7354A")}}));
        p.drawPath(heart);
        p.setBrush(radial({172, 88}, 40, {{0.0, col("#FFFFFF", 110)}, {1.0, col("#FFFFFF", 0)}}));
        p.drawPath(heart);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(col("#FFFFFF", 120), 9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(pulsePath(40, 360, 124, 42, 0.5));
        p.setPen(QPen(col("#1F7F8C"), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(pulsePath(40, 360, 124, 42, 0.5));
        leaf(p, {300, 200}, 40, 16, -40, col("#A6CF6A"), col("#4E8A3C"));
        leaf(p, {300, 200}, 30, 12, -95, col("#B6DB7E"), col("#5E9A3E"));
    });
    QImage small = big.scaled(w, h, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    Rng noise(99);
    grain(small, noise, 2);
    return small;
}

using IconDraw = std::function<void(QPainter&)>;

// Icons are drawn on a 24 x 24 design grid and rendered at any size.
QImage renderIcon(const IconDraw& draw, int size)
{
    QImage img = newCanvas(size, size);
    paintOn(img, size / 24.0, draw);
    return img;
}

void drawBulb(QPainter& p, bool rays)
{
    p.save();
    p.translate(0, 0.6);
    if (rays) {
        p.setPen(QPen(col("#F0B429"), 1.3, Qt::SolidLine, Qt::RoundCap));
        const double angles[] = {-90, -45, -135, 0, 180};
        for (double a : angles) {
            const double r = a * kPi / 180;
            p.drawLine(QPointF(12 + std::cos(r) * 8.1, 9.5 + std::sin(r) * 8.1),
                       QPointF(12 + std::cos(r) * 9.6, 9.5 + std::sin(r) * 9.6));
        }
    }
    QPainterPath glass(QPointF(9.2, 16.2));
    glass.cubicTo(QPointF(9.0, 13.8), QPointF(6.0, 12.6), QPointF(6.0, 9.5));
    glass.cubicTo(QPointF(6.0, 6.1), QPointF(8.8, 3.6), QPointF(12.0, 3.6));
    glass.cubicTo(QPointF(15.2, 3.6), QPointF(18.0, 6.1), QPointF(18.0, 9.5));
    glass.cubicTo(QPointF(18.0, 12.6), QPointF(15.0, 13.8), QPointF(14.8, 16.2));
    glass.closeSubpath();
    p.setPen(QPen(col("#C98A12"), 1.0));
    p.setBrush(radial({10.5, 7.5}, 9, {{0.0, col("#FFF6C2")}, {0.5, col("#FFDC5C")}, {1.0, col("#F5B82E")}}));
    p.drawPath(glass);
    p.setPen(QPen(col("#FFFFFF", 200), 1.0, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(8.0, 5.6, 6, 6), 100 * 16, 70 * 16);
    p.setPen(QPen(col("#C98A12"), 0.8, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(10.6, 15.8), QPointF(11.3, 11.5));
    p.drawLine(QPointF(13.4, 15.8), QPointF(12.7, 11.5));
    p.setPen(QPen(col("#5D6670"), 0.8));
    p.setBrush(linear({9, 0}, {15, 0}, {{0.0, col("#B8C0C8")}, {0.5, col("#E6EAEE")}, {1.0, col("#9AA4AE")}}));
    p.drawRoundedRect(QRectF(9.0, 16.2, 6.0, 4.2), 0.9, 0.9);
    p.drawLine(QPointF(9.2, 17.6), QPointF(14.8, 17.6));
    p.drawLine(QPointF(9.2, 19.0), QPointF(14.8, 19.0));
    p.setPen(Qt::NoPen);
    p.setBrush(col("#5D6670"));
    p.drawRoundedRect(QRectF(10.4, 20.4, 3.2, 1.6), 0.8, 0.8);
    p.restore();
}

QImage renderProgramIcon(int size)
{
    QImage img = newCanvas(size, size);
    paintOn(img, size / 64.0, [](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(linear({0, 0}, {64, 64}, {{0.0, col("#39B1B8")}, {1.0, col("#1F5F9E")}}));
        p.drawRoundedRect(QRectF(2, 2, 60, 60), 13, 13);
        p.setBrush(radial({20, 14}, 40, {{0.0, col("#FFFFFF", 70)}, {1.0, col("#FFFFFF", 0)}}));
        p.drawRoundedRect(QRectF(2, 2, 60, 60), 13, 13);
        const QPainterPath heart = heartPath({32, 33}, 40);
        p.setBrush(col("#0D3352", 60));
        p.drawPath(heart.translated(0.8, 1.6));
        p.setBrush(linear({16, 14}, {48, 52}, {{0.0, col("#FFFFFF")}, {1.0, col("#E8F1F8")}}));
        p.drawPath(heart);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(col("#D9435A"), 3.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(pulsePath(8, 56, 34, 13, 0.5));
    });
    return img;
}

// ---------------------------------------------------------------- toolbar icons (24 x 24 design)

const QColor kInk = col("#34495E");

QPen outline(const QColor& fill, double width = 1.0)
{
    return QPen(fill.darker(160), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void iconPerson(QPainter& p)
{
    const QColor blue = col("#3B7DD8");
    p.setPen(outline(blue));
    p.setBrush(linear({0, 12}, {0, 22}, {{0.0, col("#5B9BEA")}, {1.0, blue}}));
    QPainterPath body(QPointF(3.5, 21.5));
    body.cubicTo(QPointF(3.5, 15.5), QPointF(7.0, 13.0), QPointF(12.0, 13.0));
    body.cubicTo(QPointF(17.0, 13.0), QPointF(20.5, 15.5), QPointF(20.5, 21.5));
    body.closeSubpath();
    p.drawPath(body);
    p.setPen(outline(col("#E8A87C")));
    p.setBrush(radial({10.8, 6.5}, 5.5, {{0.0, col("#FFE0C4")}, {1.0, col("#F2B68C")}}));
    p.drawEllipse(QPointF(12, 7.6), 4.3, 4.6);
}

void iconRegimenCapsule(QPainter& p)
{
    p.save();
    p.translate(11, 11);
    p.rotate(-40);
    const QRectF whole(-8.5, -3.6, 17, 7.2);
    QPainterPath capsule;
    capsule.addRoundedRect(whole, 3.6, 3.6);
    QPainterPath left;
    left.addRect(QRectF(-9, -4, 9, 8));
    p.setPen(Qt::NoPen);
    p.setBrush(col("#E2533F"));
    p.drawPath(capsule.intersected(left));
    p.setBrush(col("#F7F7F2"));
    p.drawPath(capsule.subtracted(left));
    p.setPen(QPen(col("#7A2A22"), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawPath(capsule);
    p.drawLine(QPointF(0, -3.6), QPointF(0, 3.6));
    p.setPen(QPen(col("#FFFFFF", 170), 1.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(-6.0, -1.6), QPointF(-2.0, -1.6));
    p.restore();
    p.setPen(QPen(col("#2E7D4A"), 1.0));
    p.setBrush(radial({16.5, 16.5}, 5, {{0.0, col("#9FE0AE")}, {1.0, col("#4CB06A")}}));
    p.drawEllipse(QPointF(17.5, 17.5), 4.2, 4.2);
    p.drawLine(QPointF(15.0, 20.0), QPointF(20.0, 15.0));
}

void iconRegimenDumbbell(QPainter& p)
{
    p.save();
    p.translate(12, 12);
    p.rotate(-30);
    p.setPen(QPen(col("#4E5A66"), 1.0));
    p.setBrush(linear({0, -1.2}, {0, 1.2}, {{0.0, col("#E3E7EA")}, {1.0, col("#9AA4AE")}}));
    p.drawRoundedRect(QRectF(-7, -1.2, 14, 2.4), 1, 1);
    const QColor plate = col("#3B7DD8");
    for (int side : {-1, 1}) {
        p.setPen(outline(plate));
        p.setBrush(linear({0, -6}, {0, 6}, {{0.0, col("#6AA5EE")}, {1.0, plate}}));
        p.drawRoundedRect(QRectF(side < 0 ? -10.5 : 5.5, -6, 5, 12), 1.3, 1.3);
        p.drawRoundedRect(QRectF(side < 0 ? -12.3 : 10.3, -4, 2, 8), 0.8, 0.8);
    }
    p.restore();
}

void iconRegimenBottle(QPainter& p)
{
    const QColor amber = col("#E9962E");
    p.setPen(outline(amber));
    p.setBrush(linear({6, 0}, {18, 0}, {{0.0, col("#F7B65A")}, {0.5, col("#F3A640")}, {1.0, col("#D9821F")}}));
    p.drawRoundedRect(QRectF(5.5, 7.5, 13, 14), 2.2, 2.2);
    p.setPen(QPen(col("#8C949C"), 1.0));
    p.setBrush(linear({0, 2}, {0, 7}, {{0.0, col("#FFFFFF")}, {1.0, col("#D5DADF")}}));
    p.drawRoundedRect(QRectF(6.5, 2.5, 11, 5), 1.2, 1.2);
    p.setPen(QPen(col("#B7BEC5"), 0.7));
    for (double x = 8.5; x < 16.5; x += 2)
        p.drawLine(QPointF(x, 3.5), QPointF(x, 6.5));
    p.setPen(Qt::NoPen);
    p.setBrush(col("#FFFFFF"));
    p.drawRoundedRect(QRectF(7.5, 11, 9, 7.5), 1, 1);
    p.setBrush(col("#D9434F"));
    p.drawRect(QRectF(11.1, 12.2, 1.8, 5.1));
    p.drawRect(QRectF(9.45, 13.85, 5.1, 1.8));
}

void iconMeasure(QPainter& p)
{
    const QColor red = col("#D9434F");
    p.setPen(outline(red));
    p.setBrush(linear({4, 4}, {20, 20}, {{0.0, col("#F27883")}, {1.0, red}}));
    const QPainterPath heart = heartPath({12, 12.5}, 19);
    p.drawPath(heart);
    p.save();
    p.setClipPath(heart);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(col("#FFFFFF"), 1.7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(pulsePath(1.5, 22.5, 12.5, 6.5, 0.52));
    p.restore();
}

void iconChart(QPainter& p)
{
    p.setPen(QPen(col("#8C98A4"), 1.0));
    p.setBrush(col("#FFFFFF"));
    p.drawRoundedRect(QRectF(2.5, 2.5, 19, 19), 1.5, 1.5);
    p.setPen(QPen(col("#DDE3E8"), 0.8));
    for (double y = 7.5; y < 20; y += 4)
        p.drawLine(QPointF(5, y), QPointF(20, y));
    p.setPen(QPen(kInk, 1.2, Qt::SolidLine, Qt::SquareCap));
    p.drawLine(QPointF(5, 4.5), QPointF(5, 19));
    p.drawLine(QPointF(5, 19), QPointF(20, 19));
    const QPointF red[] = {{6.5, 13}, {9.5, 9}, {12.5, 11}, {15.5, 6.5}, {18.5, 8}};
    const QPointF blue[] = {{6.5, 17}, {9.5, 15}, {12.5, 16}, {15.5, 13}, {18.5, 14}};
    p.setPen(QPen(col("#D9434F"), 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(red, 5);
    p.setPen(QPen(col("#3B7DD8"), 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(blue, 5);
    p.setPen(Qt::NoPen);
    for (const QPointF& pt : red)
        disc(p, pt, 1.1, col("#D9434F"));
    for (const QPointF& pt : blue)
        disc(p, pt, 1.1, col("#3B7DD8"));
}

void iconGrid(QPainter& p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(col("#FFFFFF"));
    p.drawRoundedRect(QRectF(2.5, 3.5, 19, 17), 1.5, 1.5);
    p.setBrush(col("#3B7DD8"));
    QPainterPath head;
    head.addRoundedRect(QRectF(2.5, 3.5, 19, 4.5), 1.5, 1.5);
    head.addRect(QRectF(2.5, 6, 19, 2));
    p.drawPath(head.simplified());
    // a few colour-coded cells, as the grid shows them
    p.setBrush(col("#99FF99"));
    p.drawRect(QRectF(9, 8.5, 6, 3.5));
    p.setBrush(col("#FFFF99"));
    p.drawRect(QRectF(9, 12.5, 6, 3.5));
    p.setBrush(col("#FF9999"));
    p.drawRect(QRectF(15, 16.5, 6.5, 3.5));
    p.setPen(QPen(col("#8C98A4"), 0.8));
    p.setBrush(Qt::NoBrush);
    for (double y : {12.25, 16.25})
        p.drawLine(QPointF(2.5, y), QPointF(21.5, y));
    for (double x : {8.75, 15.0})
        p.drawLine(QPointF(x, 8), QPointF(x, 20.5));
    p.setPen(QPen(col("#5E6B78"), 1.0));
    p.drawRoundedRect(QRectF(2.5, 3.5, 19, 17), 1.5, 1.5);
}

void pageShape(QPainter& p, QRectF r, double fold)
{
    QPainterPath page(r.topLeft());
    page.lineTo(r.right() - fold, r.top());
    page.lineTo(r.right(), r.top() + fold);
    page.lineTo(r.bottomRight());
    page.lineTo(r.bottomLeft());
    page.closeSubpath();
    p.setPen(QPen(col("#7D8893"), 1.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(linear(r.topLeft(), r.bottomRight(), {{0.0, col("#FFFFFF")}, {1.0, col("#E9EEF2")}}));
    p.drawPath(page);
    QPainterPath corner(QPointF(r.right() - fold, r.top()));
    corner.lineTo(r.right() - fold, r.top() + fold);
    corner.lineTo(r.right(), r.top() + fold);
    p.setBrush(col("#D3DAE0"));
    p.drawPath(corner);
}

void iconReportForDoctor(QPainter& p)
{
    pageShape(p, QRectF(3.5, 1.5, 14, 19), 4);
    p.setPen(QPen(col("#A9B4BE"), 1.0, Qt::SolidLine, Qt::RoundCap));
    for (double y = 8.5; y <= 17; y += 2.5)
        p.drawLine(QPointF(6, y), QPointF(y < 10 ? 12.5 : 15, y));
    p.setPen(QPen(col("#FFFFFF"), 1.0));
    p.setBrush(col("#D9434F"));
    p.drawEllipse(QPointF(17, 17), 5.5, 5.5);
    p.setPen(Qt::NoPen);
    p.setBrush(col("#FFFFFF"));
    p.drawRect(QRectF(16.0, 13.8, 2.0, 6.4));
    p.drawRect(QRectF(13.8, 16.0, 6.4, 2.0));
}

void iconExportWebPage(QPainter& p)
{
    pageShape(p, QRectF(2.5, 1.5, 13, 17), 3.5);
    p.setPen(QPen(col("#A9B4BE"), 1.0, Qt::SolidLine, Qt::RoundCap));
    for (double y = 7.5; y <= 12.5; y += 2.5)
        p.drawLine(QPointF(5, y), QPointF(12, y));
    const QPointF c(15.5, 15.5);
    p.setPen(QPen(col("#1F5F9E"), 1.0));
    p.setBrush(radial({13.5, 13}, 8, {{0.0, col("#8FD0F5")}, {1.0, col("#2E86C9")}}));
    p.drawEllipse(c, 6.5, 6.5);
    p.setPen(Qt::NoPen);
    p.setBrush(col("#4CB06A"));
    QPainterPath land(QPointF(11.5, 12.5));
    land.cubicTo(QPointF(13.5, 11), QPointF(15, 12.5), QPointF(14.5, 14.5));
    land.cubicTo(QPointF(14, 16.5), QPointF(12, 17), QPointF(10.5, 16.5));
    land.closeSubpath();
    p.drawPath(land);
    QPainterPath land2(QPointF(17, 16));
    land2.cubicTo(QPointF(19.5, 15.5), QPointF(21, 17), QPointF(19.5, 19.5));
    land2.cubicTo(QPointF(18, 20.5), QPointF(16.5, 19), QPointF(17, 16));
    p.drawPath(land2);
    p.setPen(QPen(col("#FFFFFF", 150), 0.6));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, 3.0, 6.4);
    p.drawLine(QPointF(9.2, 15.5), QPointF(21.8, 15.5));
    p.setPen(QPen(col("#1F5F9E"), 1.0));
    p.drawEllipse(c, 6.5, 6.5);
}

void iconBmi(QPainter& p)
{
    p.setPen(QPen(col("#4E5A66"), 1.0));
    p.setBrush(linear({0, 4}, {0, 21}, {{0.0, col("#E9EDF0")}, {1.0, col("#B8C1C9")}}));
    p.drawRoundedRect(QRectF(2.5, 4.5, 19, 16), 3.5, 3.5);
    p.setBrush(col("#FFFFFF"));
    p.drawRoundedRect(QRectF(6, 7, 12, 6.5), 1.5, 1.5);
    // the five bands of the calculator's scale on the dial
    const QColor bands[] = {col("#00FFFF"), col("#00FF00"), col("#FFFF00"), col("#FF8080"), col("#FF0000")};
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 5; ++i) {
        p.setBrush(bands[i]);
        p.drawRect(QRectF(7 + i * 2.0, 11.6, 2.0, 1.2));
    }
    p.setPen(QPen(col("#D9434F"), 1.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(12, 12.5), QPointF(10.6, 8.3));
    p.setPen(QPen(col("#6E7A86"), 1.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(6.5, 17.5), QPointF(10.5, 17.5));
    p.drawLine(QPointF(13.5, 17.5), QPointF(17.5, 17.5));
}

void iconBiologicalClock(QPainter& p)
{
    const QPointF c(12, 12);
    p.setPen(Qt::NoPen);
    p.setBrush(col("#F5B82E"));
    p.drawPie(QRectF(1.5, 1.5, 21, 21), 90 * 16, -180 * 16);
    p.setBrush(col("#34508A"));
    p.drawPie(QRectF(1.5, 1.5, 21, 21), 90 * 16, 180 * 16);
    p.setBrush(col("#FFFFFF"));
    p.setPen(QPen(col("#5E6B78"), 0.8));
    p.drawEllipse(c, 7.6, 7.6);
    p.setPen(QPen(col("#5E6B78"), 1.0, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 12; i += 3) {
        const double a = i * kPi / 6;
        p.drawLine(QPointF(c.x() + std::sin(a) * 5.6, c.y() - std::cos(a) * 5.6),
                   QPointF(c.x() + std::sin(a) * 6.8, c.y() - std::cos(a) * 6.8));
    }
    p.setPen(QPen(kInk, 1.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c, QPointF(12, 7.2));
    p.drawLine(c, QPointF(15.2, 13.6));
    disc(p, c, 1.0, kInk);
    // small moon and sun marks on the ring
    p.setPen(Qt::NoPen);
    p.setBrush(col("#FFF3C4"));
    QPainterPath moon;
    moon.addEllipse(QPointF(3.6, 12), 1.5, 1.5);
    QPainterPath bite;
    bite.addEllipse(QPointF(4.4, 11.4), 1.3, 1.3);
    p.drawPath(moon.subtracted(bite));
    disc(p, {20.4, 12}, 1.2, col("#FFF6D6"));
}

void iconMemo(QPainter& p)
{
    const QColor yellow = col("#F5D55C");
    p.setPen(outline(yellow));
    p.setBrush(linear({3, 3}, {18, 22}, {{0.0, col("#FFF0A8")}, {1.0, yellow}}));
    p.drawRoundedRect(QRectF(3.5, 3.5, 14, 18), 1.2, 1.2);
    p.setPen(QPen(col("#C9A53A"), 0.9, Qt::SolidLine, Qt::RoundCap));
    for (double y = 8; y <= 18; y += 2.5)
        p.drawLine(QPointF(6, y), QPointF(15, y));
    p.setPen(QPen(col("#8C6A2A"), 1.0));
    p.setBrush(col("#C9A53A"));
    p.drawRect(QRectF(3.5, 3.5, 14, 2.5));
    p.save();
    p.translate(18.5, 13.5);
    p.rotate(40);
    p.setPen(QPen(col("#7A4E1E"), 0.9));
    p.setBrush(col("#F08A3A"));
    p.drawRect(QRectF(-1.6, -8, 3.2, 11));
    p.setBrush(col("#F2A3A8"));
    p.drawRect(QRectF(-1.6, -10, 3.2, 2));
    p.setBrush(col("#F2D6A8"));
    QPainterPath tip(QPointF(-1.6, 3));
    tip.lineTo(0, 6.2);
    tip.lineTo(1.6, 3);
    tip.closeSubpath();
    p.drawPath(tip);
    p.restore();
}

void iconTip(QPainter& p) { drawBulb(p, true); }

void iconHelp(QPainter& p)
{
    const QColor blue = col("#3B7DD8");
    p.setPen(outline(blue));
    p.setBrush(radial({9, 8}, 14, {{0.0, col("#7DB4F2")}, {1.0, blue}}));
    p.drawEllipse(QPointF(12, 12), 9.8, 9.8);
    QPainterPath mark(QPointF(8.8, 9.4));
    mark.cubicTo(QPointF(8.8, 6.8), QPointF(10.3, 5.9), QPointF(12.1, 5.9));
    mark.cubicTo(QPointF(14.1, 5.9), QPointF(15.4, 7.2), QPointF(15.4, 8.9));
    mark.cubicTo(QPointF(15.4, 11.3), QPointF(12.2, 11.5), QPointF(12.2, 14.2));
    p.setPen(QPen(col("#FFFFFF"), 2.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(mark);
    disc(p, {12.2, 17.6}, 1.45, col("#FFFFFF"));
}

void iconPrint(QPainter& p)
{
    p.setPen(QPen(col("#7D8893"), 1.0));
    p.setBrush(col("#FFFFFF"));
    p.drawRect(QRectF(6.5, 2.5, 11, 7));
    p.setPen(QPen(col("#4E5A66"), 1.0));
    p.setBrush(linear({0, 8}, {0, 18}, {{0.0, col("#A7B2BC")}, {1.0, col("#6E7A86")}}));
    p.drawRoundedRect(QRectF(2.5, 8.5, 19, 9), 2, 2);
    disc(p, {18.5, 11.5}, 0.9, col("#4CD964"));
    p.setPen(QPen(col("#7D8893"), 1.0));
    p.setBrush(col("#FFFFFF"));
    p.drawRect(QRectF(6.5, 14.5, 11, 7));
    p.setPen(QPen(col("#A9B4BE"), 0.9, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(8.5, 17), QPointF(15.5, 17));
    p.drawLine(QPointF(8.5, 19), QPointF(13.5, 19));
}

void iconExit(QPainter& p)
{
    p.setPen(QPen(col("#5E6B78"), 1.0));
    p.setBrush(col("#E9EDF0"));
    p.drawRect(QRectF(3.5, 2.5, 11, 19));
    p.setPen(QPen(col("#6B3F1F"), 1.0));
    p.setBrush(linear({4, 0}, {12, 0}, {{0.0, col("#B8743A")}, {1.0, col("#8E5428")}}));
    QPainterPath door(QPointF(3.5, 2.5));
    door.lineTo(10.5, 4.5);
    door.lineTo(10.5, 22.5);
    door.lineTo(3.5, 21.5);
    door.closeSubpath();
    p.drawPath(door);
    disc(p, {9.0, 13}, 0.8, col("#F5D55C"));
    const QColor green = col("#2FA35A");
    p.setPen(QPen(green.darker(150), 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(green);
    QPainterPath arrow(QPointF(12.5, 10.5));
    arrow.lineTo(17, 10.5);
    arrow.lineTo(17, 7.5);
    arrow.lineTo(22, 12.5);
    arrow.lineTo(17, 17.5);
    arrow.lineTo(17, 14.5);
    arrow.lineTo(12.5, 14.5);
    arrow.closeSubpath();
    p.drawPath(arrow);
}

// Calendar button: normal, pressed, and while the calendar is open.
void calendarFace(QPainter& p, bool highlightDay)
{
    p.setPen(QPen(col("#5E6B78"), 1.0));
    p.setBrush(col("#FFFFFF"));
    p.drawRoundedRect(QRectF(2.5, 4.5, 19, 17), 1.5, 1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(col("#D9434F"));
    QPainterPath band;
    band.addRoundedRect(QRectF(3, 5, 18, 4.5), 1.2, 1.2);
    band.addRect(QRectF(3, 7.5, 18, 2));
    p.drawPath(band.simplified());
    p.setPen(QPen(col("#5E6B78"), 1.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(7.5, 2.5), QPointF(7.5, 6.5));
    p.drawLine(QPointF(16.5, 2.5), QPointF(16.5, 6.5));
    p.setPen(Qt::NoPen);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c) {
            const QRectF cell(5 + c * 3.8, 11 + r * 3.3, 2.4, 2.0);
            const bool chosen = highlightDay && r == 1 && c == 2;
            p.setBrush(chosen ? col("#3B7DD8") : col("#A9B4BE"));
            p.drawRect(chosen ? cell.adjusted(-0.6, -0.6, 0.6, 0.6) : cell);
        }
}

QImage renderCalendar(int size, int state)
{
    QImage img = newCanvas(size, size);
    paintOn(img, size / 24.0, [state](QPainter& p) {
        if (state == 1) {
            p.setPen(Qt::NoPen);
            p.setBrush(col("#34495E", 40));
            p.drawRoundedRect(QRectF(0.5, 0.5, 23, 23), 3, 3);
            p.translate(0.6, 0.6);
        }
        calendarFace(p, state == 2);
    });
    return img;
}

// ---------------------------------------------------------------- body-mass-index calculator

// The Detail button: a ruler marked in feet and inches beside an up-and-down arrow.
void iconFeetInches(QPainter& p)
{
    p.setPen(QPen(col("#8C6A2A"), 0.9));
    p.setBrush(linear({5, 0}, {13, 0}, {{0.0, col("#F7DC8A")}, {1.0, col("#E2B64E")}}));
    p.drawRoundedRect(QRectF(5.5, 1.5, 8, 21), 1.0, 1.0);
    p.setPen(QPen(col("#6B4E1C"), 0.8, Qt::SolidLine, Qt::FlatCap));
    for (int i = 0; i <= 12; ++i) {
        const double y = 3 + i * 1.5;
        const double length = (i % 12 == 0) ? 5.0 : (i % 3 == 0 ? 3.4 : 2.0);
        p.drawLine(QPointF(5.5, y), QPointF(5.5 + length, y));
    }
    p.setPen(QPen(col("#1F5F9E"), 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(18.5, 4), QPointF(18.5, 20));
    p.drawPolyline(QPolygonF({QPointF(16, 6.5), QPointF(18.5, 3.5), QPointF(21, 6.5)}));
    p.drawPolyline(QPolygonF({QPointF(16, 17.5), QPointF(18.5, 20.5), QPointF(21, 17.5)}));
}

// Illustrations are drawn on a 128 x 128 design grid and rendered at any size.
QImage renderIllustration(const IconDraw& draw, int size)
{
    QImage img = newCanvas(size, size);
    paintOn(img, size / 128.0, draw);
    return img;
}

void softBackdrop(QPainter& p, const QColor& inner, const QColor& outer)
{
    p.setPen(Qt::NoPen);
    p.setBrush(radial({64, 60}, 62, {{0.0, inner}, {1.0, outer}}));
    p.drawEllipse(QPointF(64, 64), 60, 60);
}

// A person standing against a height rod, an arrow from the floor to the top of the head.
void illustrationHeight(QPainter& p)
{
    softBackdrop(p, col("#EAF4FB"), col("#C9E0F0"));
    // the rod with its marks
    p.setPen(QPen(col("#7A8A99"), 1.2));
    p.setBrush(linear({86, 0}, {96, 0}, {{0.0, col("#FFFFFF")}, {1.0, col("#DCE3EA")}}));
    p.drawRoundedRect(QRectF(86, 14, 10, 98), 2, 2);
    p.setPen(QPen(col("#5E6B78"), 1.0, Qt::SolidLine, Qt::FlatCap));
    for (int i = 0; i <= 24; ++i) {
        const double y = 18 + i * 3.75;
        p.drawLine(QPointF(86, y), QPointF(86 + (i % 4 == 0 ? 6 : 3), y));
    }
    // the head bar resting on the head
    p.setPen(QPen(col("#5E6B78"), 2.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(54, 27), QPointF(86, 27));
    // the person
    const QColor body = col("#3F7FBF");
    p.setPen(Qt::NoPen);
    p.setBrush(col("#F2C7A5"));
    p.drawEllipse(QPointF(62, 38), 10, 11);
    p.setBrush(linear({48, 50}, {78, 110}, {{0.0, body}, {1.0, col("#2C5E91")}}));
    QPainterPath torso;
    torso.moveTo(48, 58);
    torso.cubicTo(50, 51, 74, 51, 76, 58);
    torso.lineTo(74, 84);
    torso.lineTo(50, 84);
    torso.closeSubpath();
    p.drawPath(torso);
    p.setBrush(col("#2E4A66"));
    p.drawRoundedRect(QRectF(51, 82, 9.5, 30), 3, 3);
    p.drawRoundedRect(QRectF(63.5, 82, 9.5, 30), 3, 3);
    p.setPen(QPen(body, 6.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(49, 60), QPointF(45, 82));
    p.drawLine(QPointF(75, 60), QPointF(79, 82));
    // the floor
    p.setPen(QPen(col("#7A8A99"), 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(30, 113), QPointF(102, 113));
    // the measured height
    p.setPen(QPen(col("#D9434F"), 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(32, 30), QPointF(32, 110));
    p.drawPolyline(QPolygonF({QPointF(28, 35), QPointF(32, 29), QPointF(36, 35)}));
    p.drawPolyline(QPolygonF({QPointF(28, 105), QPointF(32, 111), QPointF(36, 105)}));
}

// A bathroom scale with its dial showing the calculator's five bands, and a tape measure.
void illustrationWeight(QPainter& p)
{
    softBackdrop(p, col("#F1F8EC"), col("#D6EBC8"));
    // the scale
    p.setPen(QPen(col("#4E5A66"), 1.4));
    p.setBrush(linear({0, 40}, {0, 108}, {{0.0, col("#F4F6F8")}, {1.0, col("#BCC5CE")}}));
    p.drawRoundedRect(QRectF(22, 44, 84, 64), 14, 14);
    p.setBrush(col("#FFFFFF"));
    p.drawRoundedRect(QRectF(40, 52, 48, 24), 5, 5);
    const QColor bands[] = {col("#00FFFF"), col("#00FF00"), col("#FFFF00"), col("#FF8080"), col("#FF0000")};
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 5; ++i) {
        p.setBrush(bands[i]);
        p.drawRect(QRectF(44 + i * 8.0, 69, 8.0, 4));
    }
    p.setPen(QPen(col("#D9434F"), 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(64, 71), QPointF(58, 56));
    // footprints
    p.setPen(Qt::NoPen);
    p.setBrush(col("#9AA6B2"));
    p.drawEllipse(QRectF(44, 82, 14, 20));
    p.drawEllipse(QRectF(70, 82, 14, 20));
    // the tape measure, curled in front
    p.setPen(QPen(col("#B88A1E"), 1.2));
    p.setBrush(linear({80, 96}, {112, 124}, {{0.0, col("#FFE08A")}, {1.0, col("#E8B93C")}}));
    p.drawEllipse(QPointF(98, 104), 14, 14);
    p.setBrush(col("#FFF6D6"));
    p.drawEllipse(QPointF(98, 104), 5, 5);
    p.setBrush(col("#F7DC8A"));
    p.drawRect(QRectF(50, 112, 48, 6));
    p.setPen(QPen(col("#6B4E1C"), 0.8, Qt::SolidLine, Qt::FlatCap));
    for (int i = 0; i < 16; ++i)
        p.drawLine(QPointF(52 + i * 3, 112), QPointF(52 + i * 3, i % 4 == 0 ? 116 : 114.5));
}

struct NamedIcon {
    const char* file;
    IconDraw draw;
};

const std::vector<NamedIcon>& toolbarIcons()
{
    static const std::vector<NamedIcon> all = {
        {"person", iconPerson},
        {"regimen1", iconRegimenCapsule},
        {"regimen2", iconRegimenDumbbell},
        {"regimen3", iconRegimenBottle},
        {"measure", iconMeasure},
        {"chart", iconChart},
        {"grid", iconGrid},
        {"report-for-doctor", iconReportForDoctor},
        {"export-web-page", iconExportWebPage},
        {"bmi", iconBmi},
        {"biological-clock", iconBiologicalClock},
        {"memo", iconMemo},
        {"tip", iconTip},
        {"help", iconHelp},
        {"print", iconPrint},
        {"exit", iconExit},
    };
    return all;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-pictures <assets folder>\n");
        return 2;
    }
    const QDir assets(QString::fromLocal8Bit(argv[1]));
    for (const char* sub : {"picture", "images", "images/toolbar", "images/calendar"})
        if (!assets.mkpath(QString::fromLatin1(sub))) {
            std::fprintf(stderr, "cannot create %s\n", sub);
            return 1;
        }

    bool ok = true;
    std::uint64_t seed = 1;
    for (const NamedScene& scene : scenes()) {
        const QString path = assets.filePath(QStringLiteral("picture/%1.jpg").arg(QLatin1String(scene.name)));
        ok = saveJpeg(renderScene(scene.draw, seed++ * 7919), path, 90) && ok;
    }
    ok = saveJpeg(renderSplash(), assets.filePath(QStringLiteral("images/splash.jpg")), 88) && ok;

    const IconDraw bulbLarge = [](QPainter& p) { drawBulb(p, true); };
    ok = savePng(renderIcon(bulbLarge, 64), assets.filePath(QStringLiteral("images/tip.png"))) && ok;
    ok = savePng(renderProgramIcon(64), assets.filePath(QStringLiteral("images/icon-64.png"))) && ok;
    ok = savePng(renderProgramIcon(256), assets.filePath(QStringLiteral("images/icon-256.png"))) && ok;

    for (const NamedIcon& icon : toolbarIcons()) {
        const QString base = QStringLiteral("images/toolbar/%1").arg(QLatin1String(icon.file));
        ok = savePng(renderIcon(icon.draw, 24), assets.filePath(base + QStringLiteral(".png"))) && ok;
        ok = savePng(renderIcon(icon.draw, 48), assets.filePath(base + QStringLiteral("@2x.png"))) && ok;
    }
    ok = savePng(renderIcon(iconFeetInches, 24), assets.filePath(QStringLiteral("images/bmi-detail.png"))) && ok;
    ok = savePng(renderIcon(iconFeetInches, 48), assets.filePath(QStringLiteral("images/bmi-detail@2x.png"))) && ok;
    const std::pair<const char*, IconDraw> illustrations[] = {{"bmi-picture1", illustrationHeight},
                                                              {"bmi-picture2", illustrationWeight}};
    for (const auto& [name, draw] : illustrations) {
        const QString base = QStringLiteral("images/%1").arg(QLatin1String(name));
        ok = savePng(renderIllustration(draw, 128), assets.filePath(base + QStringLiteral(".png"))) && ok;
        ok = savePng(renderIllustration(draw, 256), assets.filePath(base + QStringLiteral("@2x.png"))) && ok;
    }
    const char* calendarNames[] = {"normal", "pressed", "open"};
    for (int state = 0; state < 3; ++state) {
        const QString base = QStringLiteral("images/calendar/%1").arg(QLatin1String(calendarNames[state]));
        ok = savePng(renderCalendar(24, state), assets.filePath(base + QStringLiteral(".png"))) && ok;
        ok = savePng(renderCalendar(48, state), assets.filePath(base + QStringLiteral("@2x.png"))) && ok;
    }
    return ok ? 0 : 1;
}
