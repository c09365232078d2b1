#include "platform/runtime/ui/FileIcon.h"

#include <QApplication>
#include <QIconEngine>
#include <QImageReader>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QStyleOption>

#include <algorithm>
#include <vector>

namespace vb {

namespace {

class FileIconEngine : public QIconEngine {
public:
    struct Entry {
        QString file;
        QSize size;
        QPixmap pixmap; // null until read
    };

    explicit FileIconEngine(std::vector<Entry> entries) : entries_(std::move(entries))
    {
        std::sort(entries_.begin(), entries_.end(), [](const Entry& a, const Entry& b) { return area(a.size) < area(b.size); });
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override
    {
        const Entry* e = best(size);
        return e ? e->size.scaled(size.boundedTo(e->size), Qt::KeepAspectRatio) : QSize();
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override
    {
        Entry* e = best(size);
        if (!e)
            return {};
        if (e->pixmap.isNull())
            e->pixmap = QPixmap(e->file);
        QPixmap pm = e->pixmap;
        // Never larger than asked, as an icon's pixmaps are.
        if (!pm.isNull() && (pm.width() > size.width() || pm.height() > size.height()))
            pm = pm.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        if (mode != QIcon::Normal && !pm.isNull() && qobject_cast<QApplication*>(QCoreApplication::instance())) {
            // Disabled and selected looks as the style makes them for any icon.
            QStyleOption option(0);
            option.palette = QGuiApplication::palette();
            pm = QApplication::style()->generatedIconPixmap(mode, pm, &option);
        }
        return pm;
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        QPixmap pm = pixmap(rect.size() * ratio, mode, state);
        pm.setDevicePixelRatio(ratio);
        const QSize shown = pm.size() / ratio;
        painter->drawPixmap(
            QRect(rect.topLeft() + QPoint((rect.width() - shown.width()) / 2, (rect.height() - shown.height()) / 2), shown), pm);
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        QList<QSize> sizes;
        for (const Entry& e : entries_)
            sizes.append(e.size);
        return sizes;
    }

    QIconEngine* clone() const override { return new FileIconEngine(*this); }
    QString key() const override { return QStringLiteral("vb::FileIconEngine"); }
    bool isNull() override { return entries_.empty(); }

private:
    static qint64 area(const QSize& s) { return qint64(s.width()) * s.height(); }

    // The smallest picture at least as large as asked, else the largest.
    Entry* best(const QSize& size)
    {
        if (entries_.empty())
            return nullptr;
        for (Entry& e : entries_)
            if (e.size.width() >= size.width() && e.size.height() >= size.height())
                return &e;
        return &entries_.back();
    }

    std::vector<Entry> entries_;
};

} // namespace

QIcon FileIcon(const QStringList& files)
{
    std::vector<FileIconEngine::Entry> entries;
    for (const QString& file : files) {
        const QSize size = QImageReader(file).size();
        if (size.isValid() && !size.isEmpty())
            entries.push_back({file, size, QPixmap()});
    }
    if (entries.empty())
        return QIcon();
    return QIcon(new FileIconEngine(std::move(entries)));
}

} // namespace vb
