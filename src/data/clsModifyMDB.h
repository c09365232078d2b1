#pragma once
// Layer 2 of the schema upgrade: the columns and tables of version 2.0 with their first rows,
// default chart settings for every person, the sample data and the stored day averages.
#include "platform/dao/dao.h"

#include <QString>
#include <exception>

// One upgrade layer as one transaction on gDB. Rolls back on destruction unless committed,
// including any level a step left open, so that a failed layer leaves the file as it was.
class UpgradeTransaction {
public:
    explicit UpgradeTransaction(dao::Database& db);
    ~UpgradeTransaction();
    UpgradeTransaction(const UpgradeTransaction&) = delete;
    UpgradeTransaction& operator=(const UpgradeTransaction&) = delete;

    // Raises when the engine has dropped the transaction (a disk or memory failure makes
    // SQLite roll back on its own). Until the layer ends, every other commit on the database is
    // refused, so that the steps after such a failure change nothing either.
    void check() const;
    void commit();
    bool committing() const { return committing_; }

private:
    bool lost() const;

    dao::Database& db_;
    int depth_;
    bool done_ = false;
    bool committing_ = false;
};

// Rolls back the transaction levels of db above depth (what a failed step left open).
void unwindTransactions(dao::Database& db, int depth);

// Raises when a transaction was open at depth and the engine has since dropped it.
void checkTransactionKept(dao::Database& db, int depth);

// Runs f and passes over its error, undoing any transaction level it left open on db. An error
// that cost the open transaction is not passed over: what follows would run outside of it.
template <typename F>
void passOverErrors(dao::Database& db, F&& f)
{
    const int depth = db.transactionDepth();
    try {
        f();
    } catch (const std::exception&) {
        unwindTransactions(db, depth);
    }
    checkTransactionKept(db, depth);
}

class clsModifyMDB {
public:
    clsModifyMDB() = default;
    virtual ~clsModifyMDB() = default;
    clsModifyMDB(const clsModifyMDB&) = delete;
    clsModifyMDB& operator=(const clsModifyMDB&) = delete;

    // Runs layer 2 when its marker column is missing: all seven steps in one transaction, the
    // marker included. A failing step undoes the whole layer (the file stays as it was and the
    // layer runs again at the next start) and its error reaches the caller. True when it ran.
    bool runUpgrade();

    // Step 1, on its own: traps its error and shows it.
    void UpdateFields15To20();
    // Step 4, on its own: traps its error and shows it.
    void AddChartRows();
    // True when APPLICATION has a column named exactly "Temp1LBL"; any error gives False.
    bool IsVersion20();
    // Steps 2, 3, 7, 6 and 5; errors reach the caller.
    virtual void CreateAverageDayTable();
    virtual void CreateGridColumnPersistanceTable();
    virtual void FillAverageDay();
    virtual void LoadSampleData();
    // The twelve sample files and the averages; passes over every error.
    void ImportSampleFiles();
    virtual void ResetChartDefaults();

protected:
    // Steps 1 and 4 with their errors raised.
    virtual void updateFields();
    virtual void addChartRows();

private:
    static void showFailure(const dao::Error& e);
};
