#include "records/frmRegimen.h"

#include "data/Globals.h"
#include "data/ui/ErrorReport.h"
#include "platform/controls/DataControl.h"
#include "platform/controls/VSFlexGrid.h"
#include "platform/dao/dao.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/ui/Interaction.h"
#include "platform/runtime/ui/MsgBox.h"
#include "platform/runtime/ui/Twips.h"
#include "records/RecordFormSupport.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

using namespace recordform;

namespace {

const QString kAddNew = QStringLiteral("addnew");
const QString kEdit = QStringLiteral("edit");
const QString kBrowse = QStringLiteral("browse");
const QString crlf = QStringLiteral("\r\n");

constexpr int kGridWidthHeader = 300;
constexpr int kGridWidthName = 1400;
constexpr int kGridWidthDetail = 6000;

qint64 measurementsWith(qint32 regimenKey)
{
    auto counter = gDB->OpenRecordset(
        QStringLiteral("select count(*) from MEASURE where RGMN_KY = ") + QString::number(regimenKey), dao::dbOpenSnapshot);
    const qint64 count = counter->Fields(0).Value().toLongLong();
    counter->Close();
    return count;
}

} // namespace

frmRegimen::frmRegimen(QWidget* parent) : vb::Form(QStringLiteral("frmRegimen"), parent)
{
    setCaption(QStringLiteral("Regimen Information"));
    setMDIChild(true);

    Frame1 = new QGroupBox(QStringLiteral("Browse Regimen:"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    lblName = makeLabel(Frame1, "lblName", QStringLiteral("Short Name:"));
    txtName = makeTextBox(Frame1, "txtName", kNameLength);
    fitToCharacters(txtName, kNameLength + 4);
    lblDetail = makeLabel(Frame1, "lblDetail", QStringLiteral("Detail:"));
    txtDetail = makeMultiLineBox(Frame1, "txtDetail", kDetailLength, 4);
    txtDetail->setMinimumWidth(txtDetail->fontMetrics().averageCharWidth() * 40);

    auto* nameLayout = new QHBoxLayout;
    nameLayout->setContentsMargins(0, 0, 0, 0);
    nameLayout->addWidget(txtName);
    nameLayout->addStretch();
    auto* frameLayout = new QGridLayout(Frame1);
    frameLayout->addWidget(lblName, 0, 0);
    frameLayout->addLayout(nameLayout, 0, 1);
    frameLayout->addWidget(lblDetail, 1, 0, Qt::AlignTop);
    frameLayout->addWidget(txtDetail, 1, 1);
    frameLayout->setColumnStretch(1, 1);
    keepOwnLook(Frame1);

    cmdAddNew = makeButton(this, "cmdAddNew", QStringLiteral("&Add New"));
    cmdEdit = makeButton(this, "cmdEdit", QStringLiteral("&Edit"));
    cmdDelete = makeButton(this, "cmdDelete", QStringLiteral("&Delete"));
    cmdSave = makeButton(this, "cmdSave", QStringLiteral("&Save"));
    cmdCancel = makeButton(this, "cmdCancel", QStringLiteral("&Cancel"));

    datRegimen = makeDataControl(this, "datRegimen", QStringLiteral("Regimen"));
    vsFGRegimen = makeBoundGrid(this, "vsFGRegimen", datRegimen);
    StatusBar1 = makeStatusBar(this);

    auto* top = new QHBoxLayout;
    top->addWidget(Frame1, 2);
    top->addLayout(buttonColumn({cmdAddNew, cmdEdit, cmdDelete, cmdSave, cmdCancel}));
    top->addStretch(1);

    QVBoxLayout* layout = makeScrollingBody(this, StatusBar1);
    layout->addLayout(top);
    layout->addWidget(datRegimen);
    layout->addWidget(vsFGRegimen, 1);
    // The grid shows a few rows at least before the form scrolls.
    vsFGRegimen->setMinimumHeight(vb::TwipsToPixelsY(1500, this));

    chainTabOrder({txtName, txtDetail, cmdAddNew, cmdEdit, cmdDelete, cmdSave, cmdCancel});

    onKeyPress(txtName, [this](int& key) { txtName_KeyPress(key); });
    connect(datRegimen, &DataControl::Reposition, this, [this] { errorreport::guarded([this] { datRegimen_Reposition(); }); });
    connect(cmdAddNew, &QPushButton::clicked, this, [this] { errorreport::guarded([this] { cmdAddNew_Click(); }); });
    connect(cmdEdit, &QPushButton::clicked, this, [this] { errorreport::guarded([this] { cmdEdit_Click(); }); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { errorreport::guarded([this] { cmdCancel_Click(); }); });
    connect(cmdSave, &QPushButton::clicked, this, [this] { errorreport::guarded([this] { cmdSave_Click(); }); });
    connect(cmdDelete, &QPushButton::clicked, this, [this] { errorreport::guarded([this] { cmdDelete_Click(); }); });

    resize(vb::TwipsToPixelsX(10500, this), vb::TwipsToPixelsY(6500, this));
}

frmRegimen::~frmRegimen() = default;

QString frmRegimen::StatusText() const { return StatusBar1->currentMessage(); }

// ---------------------------------------------------------------------------------------------
// Loading, showing and closing

void frmRegimen::Form_Load()
{
    // Browse first, so that the first Reposition already shows the row. Errors reach the code
    // that loads the form.
    EditMode = kBrowse;
    datRegimen->setDatabase(gDB);
    RequeryRegimens(1, false);
    SetMode(EditMode);
    FormatGrid();
}

void frmRegimen::Form_Activate()
{
    if (vb::MDIForm* main = MdiParent()) {
        const QSize area = main->MdiArea()->viewport()->size();
        if (area.width() > 0 && area.height() > 0)
            Window()->setGeometry(0, 0, area.width(), area.height());
    }
}

void frmRegimen::Form_Resize()
{
    // The layout gives the grid the room below the entry fields.
}

void frmRegimen::Form_Unload(int& /*cancel*/) { saveColumnWidths(*vsFGRegimen); }

void frmRegimen::RequeryRegimens(int column, bool descending)
{
    if (column != 1)
        return;
    QString order = QStringLiteral("RGMN_NM");
    if (descending)
        order += QStringLiteral(" Desc");
    datRegimen->setRecordSource(QStringLiteral("SELECT RGMN_KY, RGMN_NM, RGMN_DTL FROM REGIMEN") + QStringLiteral(" ORDER BY ") +
                                order);
    datRegimen->Refresh();
}

void frmRegimen::FormatGrid()
{
    vsFGRegimen->setFormatString(QStringLiteral("|RGMN_KY|Regimen Name|Regimen Detail"));
    if (vsFGRegimen->Cols() < 4)
        return; // no list to lay out
    vsFGRegimen->setColWidth(0, kGridWidthHeader);
    vsFGRegimen->setColWidth(1, 0);
    vsFGRegimen->setColHidden(1, true);
    vsFGRegimen->setColWidth(2, kGridWidthName);
    vsFGRegimen->setColAlignment(2, flexAlignLeftCenter);
    vsFGRegimen->setColWidth(3, kGridWidthDetail);
    vsFGRegimen->setColAlignment(3, flexAlignLeftCenter);
    fitHeaders(*vsFGRegimen);
    loadColumnWidths(*vsFGRegimen);
}

// ---------------------------------------------------------------------------------------------
// The current row

void frmRegimen::datRegimen_Reposition()
{
    if (EditMode != kBrowse)
        return;
    const dao::RecordsetPtr& rs = datRegimen->Recordset();
    const int position = rs ? rs->AbsolutePosition() : -1;
    datRegimen->setCaption(QStringLiteral("Regimen: ") + QString::number(position + 1));
    if (position >= 0) {
        ShowRecord();
        cmdDelete->setEnabled(true);
        cmdEdit->setEnabled(true);
    }
}

void frmRegimen::ShowRecord()
{
    const dao::RecordsetPtr& rs = datRegimen->Recordset();
    if (!rs || rs->AbsolutePosition() < 0) {
        ClearFields();
        return;
    }
    setBoxText(txtName, vb::CStr(rs->Fields(QStringLiteral("RGMN_NM")).Value()));
    setMultiLineText(txtDetail, vb::CStr(rs->Fields(QStringLiteral("RGMN_DTL")).Value()));
}

void frmRegimen::ClearFields()
{
    setBoxText(txtName, QString());
    setMultiLineText(txtDetail, QString());
}

// ---------------------------------------------------------------------------------------------
// Modes

void frmRegimen::SetMode(const QString& mode)
{
    if (mode == kAddNew || mode == kEdit) {
        if (mode == kAddNew) {
            ClearFields();
            Frame1->setTitle(QStringLiteral("Add New Regimen Here:"));
        } else {
            Frame1->setTitle(QStringLiteral("Edit Regimen Here:"));
        }
        setLocked(false);
        txtName->setFocus();
    } else if (mode == kBrowse) {
        ShowRecord();
        setLocked(true);
        Frame1->setTitle(QStringLiteral("Browse Regimen:"));
    }
}

void frmRegimen::setLocked(bool locked)
{
    for (QPushButton* b : {cmdAddNew, cmdEdit, cmdDelete})
        b->setEnabled(locked);
    cmdSave->setEnabled(!locked);
    cmdCancel->setEnabled(!locked);
    lockBox(txtName, locked);
    lockBox(txtDetail, locked);
    datRegimen->setVisible(locked);
    freezeList(datRegimen, vsFGRegimen, !locked);
    setEntryLook({Frame1, lblName, lblDetail}, !locked);
}

void frmRegimen::cmdAddNew_Click()
{
    EditMode = kAddNew;
    SetMode(EditMode);
}

void frmRegimen::cmdEdit_Click()
{
    const dao::RecordsetPtr& rs = datRegimen->Recordset();
    if (!rs || rs->RecordCount() == 0)
        return;
    editKey_ = currentKey(rs);
    EditMode = kEdit;
    SetMode(EditMode);
}

void frmRegimen::cmdCancel_Click()
{
    EditMode = kBrowse;
    SetMode(EditMode);
}

// ---------------------------------------------------------------------------------------------
// Keys

void frmRegimen::txtName_KeyPress(int& KeyAscii)
{
    if (KeyAscii == ',') {
        vb::Beep();
        KeyAscii = 0;
        StatusBar1->showMessage(QStringLiteral("Comma character is not accepted in regimen short name"));
    } else {
        StatusBar1->clearMessage();
    }
}

// ---------------------------------------------------------------------------------------------
// Saving

void frmRegimen::cmdSave_Click()
{
    const dao::RecordsetPtr& rs = datRegimen->Recordset();
    try {
        const QString name = txtName->text().trimmed();
        if (name.isEmpty()) {
            vb::MsgBox(QStringLiteral("Please enter regimen's short name."), vb::vbOKOnly | vb::vbExclamation);
            return;
        }
        if (EditMode == kAddNew) {
            rs->FindFirst(QStringLiteral("RGMN_NM=") + vb::SqlText(name));
            if (rs->NoMatch()) {
                SaveRegimen(0);
            } else if (vb::MsgBox(QStringLiteral("Regimen with the same name exists in database.") + crlf +
                                      QStringLiteral("Do you want to replace the information?"),
                                  vb::vbYesNo | vb::vbExclamation | vb::vbDefaultButton1) == vb::vbYes) {
                SaveRegimen(1); // into the row found
            }
        } else if (EditMode == kEdit) {
            standOnKey(rs, QStringLiteral("RGMN_KY"), editKey_);
            if (name != vb::CStr(rs->Fields(QStringLiteral("RGMN_NM")).Value()) &&
                measurementsWith(vb::CLng(rs->Fields(0).Value())) != 0 &&
                vb::MsgBox(QStringLiteral("By changing the name of this regimen, the regimen of the associated measurements") +
                               crlf + QStringLiteral("will be changed accordingly. Do you still want to change it?"),
                           vb::vbYesNo | vb::vbExclamation | vb::vbDefaultButton2) == vb::vbNo) {
                EditMode = kBrowse;
                SetMode(EditMode);
                return;
            }
            // The measurements keep the key, so they show the new name.
            SaveRegimen(1);
        }
    } catch (const std::exception& e) {
        if (!reportFailedSave(rs, e, QStringLiteral("Regimen with the same name exists in database.")))
            return;
    }

    EditMode = kBrowse;
    SetMode(EditMode);
    vsFGRegimen->Refresh();
    datRegimen->setCaption(QStringLiteral("Regimen: ") + QString::number(rs->AbsolutePosition() + 1));
}

void frmRegimen::SaveRegimen(int mode)
{
    const dao::RecordsetPtr& rs = datRegimen->Recordset();
    if (mode == 0)
        rs->AddNew();
    else
        rs->Edit();
    rs->Fields(QStringLiteral("RGMN_NM")).setValue(txtName->text().trimmed());
    rs->Fields(QStringLiteral("RGMN_DTL")).setValue(txtDetail->toPlainText().trimmed());
    rs->Update();
    if (mode == 0)
        rs->MoveLast();
}

// ---------------------------------------------------------------------------------------------
// Deleting

void frmRegimen::cmdDelete_Click()
{
    const dao::RecordsetPtr& rs = datRegimen->Recordset();
    if (!rs || rs->RecordCount() == 0 || rs->AbsolutePosition() < 0)
        return;
    const qint32 key = vb::CLng(rs->Fields(0).Value());
    const qint64 measurements = measurementsWith(key);
    if (measurements > 0 && vb::MsgBox(QStringLiteral("By deleting this regimen, the regimen of the associated measurements") +
                                           crlf + QStringLiteral("will become 'unknown'. Do you still want to delete?"),
                                       vb::vbYesNo | vb::vbExclamation | vb::vbDefaultButton2) != vb::vbYes)
        return;

    // The measurements lose the regimen and the regimen goes, together or not at all.
    try {
        dao::Transaction transaction(*gDB);
        if (measurements > 0)
            gDB->Execute(QStringLiteral("UPDATE MEASURE SET RGMN_KY = Null WHERE RGMN_KY = ") + QString::number(key),
                         dao::dbFailOnError);
        rs->Delete();
        transaction.commit();
    } catch (const std::exception& e) {
        errorreport::showError(e);
        reloadOn(key);
        return;
    }

    if (rs->RecordCount() >= 1) {
        rs->MoveNext();
        if (rs->Eof())
            rs->MoveLast();
    } else {
        ClearFields();
        datRegimen->setCaption(QStringLiteral("Regimen: 0"));
    }
    datRegimen->Refresh();
    FormatGrid();
}

void frmRegimen::reloadOn(qint32 regimenKey)
{
    try {
        datRegimen->Refresh();
        datRegimen->Recordset()->FindFirst(QStringLiteral("RGMN_KY = ") + QString::number(regimenKey));
        FormatGrid();
        datRegimen_Reposition();
    } catch (const std::exception&) {
        // The list stays as it was shown.
    }
}
