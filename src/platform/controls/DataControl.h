#pragma once
// The data control: a record list over a dao::Recordset with a current row, shown as a
// navigator bar (first, previous, next, last and a caption). Reposition is raised by every move
// of the recordset (the buttons, finds, moves from code) and by Refresh, also when the list is
// empty. Bound grids follow its rows through the row signals.
#include "platform/dao/dao.h"

#include <QString>
#include <QWidget>

class QLabel;
class QToolButton;

class DataControl : public QWidget, private dao::RecordsetObserver {
    Q_OBJECT
public:
    explicit DataControl(QWidget* parent = nullptr);
    ~DataControl() override;

    // The database the record source is opened on. Setting it also sets DatabaseName.
    const dao::DatabasePtr& Database() const { return database_; }
    void setDatabase(dao::DatabasePtr database);
    // The database file's name, as the forms set and read it; the database itself is the one
    // given to setDatabase.
    QString DatabaseName() const { return databaseName_; }
    void setDatabaseName(const QString& name) { databaseName_ = name; }

    // SQL text of the rows.
    QString RecordSource() const { return recordSource_; }
    void setRecordSource(const QString& sql) { recordSource_ = sql; }

    // The options the record source is opened with. By default a read-only source reads its
    // rows as the grid shows them (dao::dbFetchAsNeeded); a form that reads every row anyway
    // leaves that out and saves the count.
    int Options() const { return options_; }
    void setOptions(int options) { options_ = options; }

    // Opens the record source as a dynaset on the database, stands on its first row and raises
    // Reposition (also when there is no row). On failure the engine's error is raised and the
    // previous recordset stays.
    void Refresh();
    void Refresh(const dao::DatabasePtr& database);

    // The live recordset (none before the first Refresh). Setting one binds the control to an
    // existing recordset where it stands, and raises Reposition.
    const dao::RecordsetPtr& Recordset() const { return recordset_; }
    void setRecordset(dao::RecordsetPtr recordset);

    QString Caption() const;
    void setCaption(const QString& caption);

    // The control's own visibility flag (a hidden parent does not clear it).
    bool Visible() const { return !isHidden(); }

    // The navigator buttons, for tests and for forms that look them up by name.
    QToolButton* firstButton() const { return first_; }
    QToolButton* previousButton() const { return previous_; }
    QToolButton* nextButton() const { return next_; }
    QToolButton* lastButton() const { return last_; }

public slots:
    void moveFirst();
    void movePrevious();
    void moveNext();
    void moveLast();

signals:
    void Reposition();
    // For bound controls: the rows were replaced (refresh, requery, another or a closed
    // recordset); a row was added at `row` (at the end, or where a refreshed row belongs),
    // rewritten, or removed.
    void rowsReset();
    void rowAppended(int row);
    void rowChanged(int row);
    void rowRemoved(int row);

private:
    void recordsetChanged(Change change, int row) override;
    void attach(dao::RecordsetPtr recordset);
    void detach();
    void standOnFirstRow();

    dao::DatabasePtr database_;
    QString databaseName_;
    QString recordSource_;
    int options_ = dao::dbFetchAsNeeded;
    dao::RecordsetPtr recordset_;
    QLabel* caption_;
    QToolButton* first_;
    QToolButton* previous_;
    QToolButton* next_;
    QToolButton* last_;
};
