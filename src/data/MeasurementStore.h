#pragma once
// The one place that writes readings: MEASURE rows together with the stored averages they feed.
// Every write is one transaction with its averages; values reach SQL bound, never as SQL text.
#include "platform/dao/dao.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <optional>
#include <set>
#include <tuple>

// One reading of MEASURE. Empty values are Null in the table.
struct Measurement {
    qint32 personKey = 0;
    QDateTime measured; // with the person, the key; to the second
    std::optional<int> moodKey;
    std::optional<qint32> regimenKey;
    std::optional<int> lowPressure;
    std::optional<int> highPressure;
    std::optional<int> pulse;
    std::optional<double> weight;
    std::optional<double> temp;  // custom 1
    std::optional<double> temp1; // custom 2
    std::optional<double> sugar;
    QString comment;
    // Stored only with a sugar reading: a goal without one is dropped.
    std::optional<qint32> goalKey;

    friend bool operator==(const Measurement&, const Measurement&) = default;
};

// Works on the program's open database (gDB), as the averages do.
class MeasurementStore {
public:
    bool exists(qint32 personKey, const QDateTime& measured);
    // The reading with that key, nothing when there is none.
    std::optional<Measurement> find(qint32 personKey, const QDateTime& measured);

    // Each raises the engine's error and then has written nothing. add raises 3022 when the
    // reading exists; update and remove return false (and write nothing) when it does not.
    void add(const Measurement& m);
    bool update(const Measurement& m);
    bool remove(qint32 personKey, const QDateTime& measured);

    // Many writes in one transaction (the import's): the averages of each day, week and month
    // touched are brought up to date once, at commit. Undone unless committed.
    class Batch {
    public:
        Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;
        void add(const Measurement& m);
        bool update(const Measurement& m);
        bool remove(qint32 personKey, const QDateTime& measured);
        void commit();

    private:
        void touched(qint32 personKey, const QDateTime& measured);

        dao::Transaction transaction_;
        std::set<std::tuple<int, qint32, QDate>> periods_; // (level, person, key)
    };
};
