#include "platform/controls/DataControl.h"

#include "platform/controls/ControlsSupport.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QtDebug>

using controls_detail::Arrow;

namespace {

QToolButton* makeButton(QWidget* parent, const QString& name, Arrow arrow)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setIcon(controls_detail::arrowIcon(arrow, parent->palette().color(QPalette::ButtonText)));
    button->setFocusPolicy(Qt::NoFocus);
    button->setAutoRaise(false);
    return button;
}

// A button's move must not throw into the event loop; a failing move leaves the row as it was.
template <typename Move>
void guarded(Move move)
{
    try {
        move();
    } catch (const dao::Error& e) {
        qWarning() << "data control:" << e.Number() << e.Description();
    } catch (const std::exception& e) {
        qWarning() << "data control:" << e.what();
    }
}

} // namespace

DataControl::DataControl(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(0);
    first_ = makeButton(this, QStringLiteral("cmdFirst"), Arrow::First);
    previous_ = makeButton(this, QStringLiteral("cmdPrevious"), Arrow::Previous);
    next_ = makeButton(this, QStringLiteral("cmdNext"), Arrow::Next);
    last_ = makeButton(this, QStringLiteral("cmdLast"), Arrow::Last);
    caption_ = new QLabel(this);
    caption_->setObjectName(QStringLiteral("lblCaption"));
    caption_->setIndent(4);
    caption_->setFrameShape(QFrame::StyledPanel);
    layout->addWidget(first_);
    layout->addWidget(previous_);
    layout->addWidget(caption_, 1);
    layout->addWidget(next_);
    layout->addWidget(last_);
    connect(first_, &QToolButton::clicked, this, [this] { guarded([this] { moveFirst(); }); });
    connect(previous_, &QToolButton::clicked, this, [this] { guarded([this] { movePrevious(); }); });
    connect(next_, &QToolButton::clicked, this, [this] { guarded([this] { moveNext(); }); });
    connect(last_, &QToolButton::clicked, this, [this] { guarded([this] { moveLast(); }); });
}

DataControl::~DataControl() { detach(); }

void DataControl::setDatabase(dao::DatabasePtr database)
{
    database_ = std::move(database);
    databaseName_ = database_ ? database_->Name() : QString();
}

void DataControl::Refresh(const dao::DatabasePtr& database)
{
    setDatabase(database);
    Refresh();
}

void DataControl::Refresh()
{
    if (!database_ || !database_->isOpen())
        throw dao::Error(dao::errObjectClosed,
                         QStringLiteral("Object invalid or no longer set: the data control has no open database."),
                         QStringLiteral("DataControl"));
    // Opened before the old one is let go: a failing record source keeps the rows shown.
    dao::RecordsetPtr fresh = database_->OpenRecordset(recordSource_, dao::dbOpenDynaset, options_);
    attach(std::move(fresh));
    standOnFirstRow();
}

void DataControl::setRecordset(dao::RecordsetPtr recordset)
{
    attach(std::move(recordset));
    emit Reposition();
}

void DataControl::standOnFirstRow()
{
    if (recordset_ && recordset_->isOpen() && recordset_->RecordCount() > 0)
        recordset_->MoveFirst(); // raises Reposition through the observer
    else
        emit Reposition();
}

void DataControl::attach(dao::RecordsetPtr recordset)
{
    detach();
    recordset_ = std::move(recordset);
    if (recordset_)
        recordset_->addObserver(this);
    emit rowsReset();
}

void DataControl::detach()
{
    if (recordset_)
        recordset_->removeObserver(this);
    recordset_.reset();
}

QString DataControl::Caption() const { return caption_->text(); }

void DataControl::setCaption(const QString& caption) { caption_->setText(caption); }

void DataControl::moveFirst()
{
    if (recordset_ && recordset_->isOpen() && recordset_->RecordCount() > 0)
        recordset_->MoveFirst();
}

void DataControl::moveLast()
{
    if (recordset_ && recordset_->isOpen() && recordset_->RecordCount() > 0)
        recordset_->MoveLast();
}

// Moving past either end stays on the first or last row, as the navigator always did.
void DataControl::movePrevious()
{
    if (!recordset_ || !recordset_->isOpen() || recordset_->RecordCount() == 0)
        return;
    const int position = recordset_->AbsolutePosition();
    if (position > 0)
        recordset_->setAbsolutePosition(position - 1);
    else if (position == 0 || recordset_->Bof())
        recordset_->MoveFirst();
    else if (recordset_->Eof())
        recordset_->MoveLast();
    else {
        // On a deleted row: the row before it, or the first.
        recordset_->MovePrevious();
        if (recordset_->Bof())
            recordset_->MoveFirst();
    }
}

void DataControl::moveNext()
{
    if (!recordset_ || !recordset_->isOpen() || recordset_->RecordCount() == 0)
        return;
    const int position = recordset_->AbsolutePosition();
    const int last = recordset_->RecordCount() - 1;
    if (position >= 0 && position < last)
        recordset_->setAbsolutePosition(position + 1);
    else if (position == last || recordset_->Eof())
        recordset_->MoveLast();
    else if (recordset_->Bof())
        recordset_->MoveFirst();
    else {
        recordset_->MoveNext();
        if (recordset_->Eof())
            recordset_->MoveLast();
    }
}

void DataControl::recordsetChanged(Change change, int row)
{
    switch (change) {
    case Change::Reposition: emit Reposition(); break;
    case Change::RowAppended:
    case Change::RowInserted: emit rowAppended(row); break;
    case Change::RowChanged: emit rowChanged(row); break;
    case Change::RowRemoved: emit rowRemoved(row); break;
    case Change::Requeried:
        emit rowsReset();
        emit Reposition();
        break;
    case Change::Closed: emit rowsReset(); break;
    }
}
