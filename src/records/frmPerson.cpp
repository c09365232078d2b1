#include "records/frmPerson.h"

#include "data/Globals.h"
#include "data/modHealth.h"
#include "data/ui/ErrorReport.h"
#include "platform/controls/DataControl.h"
#include "platform/controls/VSFlexGrid.h"
#include "platform/dao/dao.h"
#include "platform/runtime/Conversions.h"
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
#include <QRadioButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QVBoxLayout>

#include <cmath>
#include <optional>

using namespace recordform;

namespace {

const QString kAddNew = QStringLiteral("addnew");
const QString kEdit = QStringLiteral("edit");
const QString kBrowse = QStringLiteral("browse");
const QString crlf = QStringLiteral("\r\n");

constexpr int kGridWidthHeader = 300;
constexpr int kGridWidthName = 1400;
constexpr int kGridWidthNumber = 800;
constexpr int kGridWidthComment = 4000;

// The number in a whole-number box: 0 for an empty box, none when the text is no whole number
// or does not fit a 16-bit column.
std::optional<int> wholeNumber(const QString& text)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,5}$"));
    const QString t = text.trimmed();
    if (t.isEmpty())
        return 0;
    if (!digits.match(t).hasMatch() || t.toInt() > 32767)
        return std::nullopt;
    return t.toInt();
}

// A height in centimetres: whole, or with decimals as a stored height may show.
std::optional<double> centimetres(const QString& text)
{
    static const QRegularExpression number(QStringLiteral("^[0-9]{1,5}(\\.[0-9]+)?$"));
    const QString t = text.trimmed();
    if (t.isEmpty())
        return 0.0;
    if (!number.match(t).hasMatch())
        return std::nullopt;
    return vb::Val(t);
}

QVariant nullWhenZero(double value) { return value == 0 ? QVariant() : QVariant(value); }

} // namespace

frmPerson::frmPerson(QWidget* parent) : vb::Form(QStringLiteral("frmPerson"), parent)
{
    setCaption(QStringLiteral("Person Information"));
    setMDIChild(true);

    Frame1 = new QGroupBox(QStringLiteral("Browse Person:"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    lblName = makeLabel(Frame1, "lblName", QStringLiteral("Name:"));
    txtName = makeTextBox(Frame1, "txtName", kNameLength);
    lblAge = makeLabel(Frame1, "lblAge", QStringLiteral("Age:"));
    txtAge = makeTextBox(Frame1, "txtAge", kAgeLength);
    lblHgt = makeLabel(Frame1, "lblHgt", QStringLiteral("Height:"));
    txtFt = makeTextBox(Frame1, "txtFt", kFeetLength);
    lblFt = makeLabel(Frame1, "lblFt", QStringLiteral("ft"));
    txtIn = makeTextBox(Frame1, "txtIn", kInchesLength);
    lblIn = makeLabel(Frame1, "lblIn", QStringLiteral("in"));
    txtCM = makeTextBox(Frame1, "txtCM", kCentimetresLength);
    lblCM = makeLabel(Frame1, "lblCM", QStringLiteral("cm"));
    lblSex = makeLabel(Frame1, "lblSex", QStringLiteral("Gender:"));
    auto* sexBox = new QWidget(Frame1); // the two options are exclusive among themselves
    optSex[0] = new QRadioButton(QStringLiteral("M"), sexBox);
    optSex[0]->setObjectName(QStringLiteral("optSex_0"));
    optSex[1] = new QRadioButton(QStringLiteral("F"), sexBox);
    optSex[1]->setObjectName(QStringLiteral("optSex_1"));
    lblComment = makeLabel(Frame1, "lblComment", QStringLiteral("Comment:"));
    txtComment = makeMultiLineBox(Frame1, "txtComment", kCommentLength, 3);

    // Number boxes a few characters wide; the name box takes what the frame gives.
    fitToCharacters(txtAge, 4);
    fitToCharacters(txtFt, 3);
    fitToCharacters(txtIn, 3);
    fitToCharacters(txtCM, 5);
    txtName->setMinimumWidth(txtName->fontMetrics().averageCharWidth() * 26);

    auto* sexLayout = new QHBoxLayout(sexBox);
    sexLayout->setContentsMargins(0, 0, 0, 0);
    sexLayout->addWidget(optSex[0]);
    sexLayout->addWidget(optSex[1]);
    sexLayout->addStretch();

    auto* heightLayout = new QHBoxLayout;
    heightLayout->setContentsMargins(0, 0, 0, 0);
    for (QWidget* w : std::initializer_list<QWidget*>{txtFt, lblFt, txtIn, lblIn, txtCM, lblCM})
        heightLayout->addWidget(w);
    heightLayout->addStretch();

    auto* ageLayout = new QHBoxLayout;
    ageLayout->setContentsMargins(0, 0, 0, 0);
    ageLayout->addWidget(txtAge);
    ageLayout->addStretch();

    auto* frameLayout = new QGridLayout(Frame1);
    frameLayout->addWidget(lblName, 0, 0);
    frameLayout->addWidget(txtName, 0, 1);
    frameLayout->addWidget(lblAge, 1, 0);
    frameLayout->addLayout(ageLayout, 1, 1);
    frameLayout->addWidget(lblHgt, 2, 0);
    frameLayout->addLayout(heightLayout, 2, 1);
    frameLayout->addWidget(lblSex, 3, 0);
    frameLayout->addWidget(sexBox, 3, 1);
    frameLayout->addWidget(lblComment, 4, 0, Qt::AlignTop);
    frameLayout->addWidget(txtComment, 4, 1);
    frameLayout->setColumnStretch(1, 1);
    keepOwnLook(Frame1);

    cmdAddNew = makeButton(this, "cmdAddNew", QStringLiteral("&Add New"));
    cmdEdit = makeButton(this, "cmdEdit", QStringLiteral("&Edit"));
    cmdDelete = makeButton(this, "cmdDelete", QStringLiteral("&Delete"));
    cmdSave = makeButton(this, "cmdSave", QStringLiteral("&Save"));
    cmdCancel = makeButton(this, "cmdCancel", QStringLiteral("&Cancel"));

    datPerson = makeDataControl(this, "datPerson", QStringLiteral("Person"));
    vsFGPerson = makeBoundGrid(this, "vsFGPerson", datPerson);
    StatusBar1 = makeStatusBar(this);

    auto* top = new QHBoxLayout;
    top->addWidget(Frame1, 2);
    top->addLayout(buttonColumn({cmdAddNew, cmdEdit, cmdDelete, cmdSave, cmdCancel}));
    top->addStretch(1);

    QVBoxLayout* layout = makeScrollingBody(this, StatusBar1);
    layout->addLayout(top);
    layout->addWidget(datPerson);
    layout->addWidget(vsFGPerson, 1);
    // The grid shows a few rows at least before the form scrolls.
    vsFGPerson->setMinimumHeight(vb::TwipsToPixelsY(1500, this));

    chainTabOrder({txtName, txtAge, txtFt, txtIn, txtCM, optSex[0], optSex[1], txtComment, cmdAddNew, cmdEdit, cmdDelete, cmdSave,
                   cmdCancel});

    onKeyPress(txtAge, [this](int& key) { txtAge_KeyPress(key); });
    onKeyPress(txtCM, [this](int& key) { txtCM_KeyPress(key); });
    onKeyPress(txtFt, [this](int& key) { txtFt_KeyPress(key); });
    onKeyPress(txtIn, [this](int& key) { txtIn_KeyPress(key); });
    connect(datPerson, &DataControl::Reposition, this, [this] { errorreport::guarded([this] { datPerson_Reposition(); }); });
    connect(cmdAddNew, &QPushButton::clicked, this, [this] { errorreport::guarded([this] { cmdAddNew_Click(); }); });
    connect(cmdEdit, &QPushButton::clicked, this, [this] { errorreport::guarded([this] { cmdEdit_Click(); }); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { errorreport::guarded([this] { cmdCancel_Click(); }); });
    connect(cmdSave, &QPushButton::clicked, this, [this] { errorreport::guarded([this] { cmdSave_Click(); }); });
    connect(cmdDelete, &QPushButton::clicked, this, [this] { errorreport::guarded([this] { cmdDelete_Click(); }); });

    resize(vb::TwipsToPixelsX(10500, this), vb::TwipsToPixelsY(7000, this));
}

frmPerson::~frmPerson() = default;

clsDefaultChartValues& frmPerson::chartDefaults()
{
    if (!chartDefaults_)
        chartDefaults_ = std::make_unique<clsDefaultChartValues>();
    return *chartDefaults_;
}

// ---------------------------------------------------------------------------------------------
// Loading, showing and closing

void frmPerson::Form_Load()
{
    try {
        const qint32 notedKey = gPersonKey;
        datPerson->setDatabase(gDB);
        ShowHeightFields();
        LoadPersonList(1, false); // its Reposition does nothing yet: EditMode is empty
        EditMode = kBrowse;
        const dao::RecordsetPtr& rs = datPerson->Recordset();
        if (notedKey != 0)
            rs->FindFirst(QStringLiteral("prsn_ky = ") + QString::number(notedKey));
        // Not found (or no person noted): the form stands on the first row, and that row is
        // the current person from now on.
        if (notedKey == 0 || rs->NoMatch())
            datPerson_Reposition();
        SetEditMode(EditMode);
        FormatPersonGrid();
    } catch (const std::exception& e) {
        modSplash::ShowErrorMessage(QStringLiteral("frmPerson"), e);
    }
}

void frmPerson::Form_Activate()
{
    // The form fills the main window's client area.
    if (vb::MDIForm* main = MdiParent()) {
        const QSize area = main->MdiArea()->viewport()->size();
        if (area.width() > 0 && area.height() > 0)
            Window()->setGeometry(0, 0, area.width(), area.height());
    }
}

void frmPerson::Form_Resize()
{
    // The layout gives the grid the room below the entry fields, above the status bar.
}

void frmPerson::Form_Unload(int& /*cancel*/) { saveColumnWidths(*vsFGPerson); }

void frmPerson::ShowHeightFields()
{
    if (gHeightUnit == 1) {
        for (QWidget* w : std::initializer_list<QWidget*>{txtFt, txtIn, lblFt, lblIn})
            w->setVisible(true);
        txtCM->setVisible(false);
        lblCM->setVisible(false);
    } else if (gHeightUnit == 2) {
        for (QWidget* w : std::initializer_list<QWidget*>{txtFt, txtIn, lblFt, lblIn})
            w->setVisible(false);
        txtCM->setVisible(true);
        lblCM->setVisible(true);
    }
}

void frmPerson::LoadPersonList(int column, bool descending)
{
    static const char* const columns[] = {"PRSN_NM", "AGE", "HGT", "SEX", "COMMENT"};
    if (column < 1 || column > 5)
        return;
    QString order = QLatin1String(columns[column - 1]);
    if (descending)
        order += QStringLiteral(" Desc");
    datPerson->setRecordSource(QStringLiteral("SELECT PRSN_KY, PRSN_NM, AGE, HGT, SEX, COMMENT FROM PERSON") +
                               QStringLiteral(" ORDER BY ") + order);
    datPerson->Refresh();
}

void frmPerson::FormatPersonGrid()
{
    QString heightHeader;
    if (gHeightUnit == 1)
        heightHeader = QStringLiteral("Height(in)");
    else if (gHeightUnit == 2)
        heightHeader = QStringLiteral("Height(cm)");
    vsFGPerson->setFormatString(QStringLiteral("|PRSN_KY|Person Name|Age|") + heightHeader + QStringLiteral("| Gender|Comment"));
    if (vsFGPerson->Cols() < 7)
        return; // no list to lay out
    vsFGPerson->setColWidth(0, kGridWidthHeader);
    vsFGPerson->setColWidth(1, 0);
    vsFGPerson->setColHidden(1, true);
    vsFGPerson->setColWidth(2, kGridWidthName);
    vsFGPerson->setColAlignment(2, flexAlignRightCenter);
    vsFGPerson->setColWidth(3, kGridWidthNumber);
    vsFGPerson->setColAlignment(3, flexAlignCenterCenter);
    vsFGPerson->setColWidth(4, kGridWidthNumber);
    vsFGPerson->setColWidth(5, kGridWidthNumber);
    vsFGPerson->setColWidth(6, kGridWidthComment);
    fitHeaders(*vsFGPerson);
    loadColumnWidths(*vsFGPerson);
}

// ---------------------------------------------------------------------------------------------
// The current row

void frmPerson::datPerson_Reposition()
{
    if (EditMode != kBrowse)
        return;
    const dao::RecordsetPtr& rs = datPerson->Recordset();
    const int position = rs ? rs->AbsolutePosition() : -1;
    datPerson->setCaption(QStringLiteral("Person: ") + QString::number(position + 1));
    if (position >= 0) {
        gPersonKey = vb::CLng(rs->Fields(0).Value());
        ShowPerson();
    }
}

void frmPerson::ShowPerson()
{
    const dao::RecordsetPtr& rs = datPerson->Recordset();
    if (!rs || rs->AbsolutePosition() < 0) {
        ClearFields();
        return;
    }
    setBoxText(txtName, vb::CStr(rs->Fields(QStringLiteral("PRSN_NM")).Value()));
    setBoxText(txtAge, vb::CStr(rs->Fields(QStringLiteral("AGE")).Value()));
    setMultiLineText(txtComment, vb::CStr(rs->Fields(QStringLiteral("COMMENT")).Value()));

    // All three boxes are filled whatever the unit; only those of the unit are visible. A
    // height too large to split into feet fills the centimetre box only.
    const QVariant height = rs->Fields(QStringLiteral("HGT")).Value();
    if (vb::IsNull(height) || std::abs(height.toDouble()) > 1e9) {
        setBoxText(txtFt, QString());
        setBoxText(txtIn, QString());
        setBoxText(txtCM, vb::CStr(height));
    } else {
        const double h = height.toDouble();
        // Inches to the nearest whole number, halves to the even neighbour.
        const auto inches = static_cast<long long>(std::nearbyint(h)) % 12;
        setBoxText(txtFt, QString::number(static_cast<long long>(std::floor(h / 12))));
        setBoxText(txtIn, QString::number(inches));
        setBoxText(txtCM, vb::CStr(height));
    }

    const QString sex = vb::CStr(rs->Fields(QStringLiteral("SEX")).Value());
    setOptions(optSex, sex == QLatin1String("M") ? 0 : sex == QLatin1String("F") ? 1 : -1);
}

void frmPerson::ClearFields()
{
    setBoxText(txtName, QString());
    setBoxText(txtAge, QString());
    setMultiLineText(txtComment, QString());
    setBoxText(txtFt, QString());
    setBoxText(txtIn, QString());
    setBoxText(txtCM, QString());
    setOptions(optSex, -1);
}

// ---------------------------------------------------------------------------------------------
// Modes

void frmPerson::SetEditMode(const QString& mode)
{
    if (mode == kAddNew || mode == kEdit) {
        if (mode == kAddNew) {
            ClearFields();
            if (gHeightUnit == 1) {
                txtCM->setVisible(false);
                lblCM->setVisible(false);
            } else if (gHeightUnit == 2) {
                txtFt->setVisible(false);
                txtIn->setVisible(false);
            }
            Frame1->setTitle(QStringLiteral("Add New Person Here:"));
        } else {
            Frame1->setTitle(QStringLiteral("Edit Person Here:"));
        }
        setLocked(false);
        txtName->setFocus();
    } else if (mode == kBrowse) {
        ShowPerson();
        setLocked(true);
        Frame1->setTitle(QStringLiteral("Browse Person:"));
    }
}

void frmPerson::setLocked(bool locked)
{
    for (QPushButton* b : {cmdAddNew, cmdEdit, cmdDelete})
        b->setEnabled(locked);
    cmdSave->setEnabled(!locked);
    cmdCancel->setEnabled(!locked);
    for (QRadioButton* o : optSex)
        o->setFocusPolicy(locked ? Qt::ClickFocus : Qt::StrongFocus);
    for (QLineEdit* t : {txtName, txtAge, txtFt, txtIn, txtCM})
        lockBox(t, locked);
    lockBox(txtComment, locked);
    datPerson->setVisible(locked);
    freezeList(datPerson, vsFGPerson, !locked);
    setEntryLook({Frame1, lblName, lblAge, lblHgt, lblSex, lblComment}, !locked);
}

void frmPerson::cmdAddNew_Click()
{
    EditMode = kAddNew;
    SetEditMode(EditMode);
}

void frmPerson::cmdEdit_Click()
{
    const dao::RecordsetPtr& rs = datPerson->Recordset();
    if (!rs || rs->RecordCount() == 0)
        return;
    editKey_ = currentKey(rs);
    EditMode = kEdit;
    SetEditMode(EditMode);
}

void frmPerson::cmdCancel_Click()
{
    EditMode = kBrowse;
    SetEditMode(EditMode);
}

// ---------------------------------------------------------------------------------------------
// Saving

bool frmPerson::entriesAreNumbers()
{
    if (!wholeNumber(txtAge->text())) {
        vb::MsgBox(QStringLiteral("Please enter the age in whole years."), vb::vbOKOnly | vb::vbExclamation);
        txtAge->setFocus();
        return false;
    }
    if (gHeightUnit == 1 && (!wholeNumber(txtFt->text()) || !wholeNumber(txtIn->text()))) {
        vb::MsgBox(QStringLiteral("Please enter the height in whole feet and inches."), vb::vbOKOnly | vb::vbExclamation);
        (wholeNumber(txtFt->text()) ? txtIn : txtFt)->setFocus();
        return false;
    }
    if (gHeightUnit == 2 && !centimetres(txtCM->text())) {
        vb::MsgBox(QStringLiteral("Please enter the height in centimetres."), vb::vbOKOnly | vb::vbExclamation);
        txtCM->setFocus();
        return false;
    }
    return true;
}

void frmPerson::cmdSave_Click()
{
    const dao::RecordsetPtr& rs = datPerson->Recordset();
    try {
        const QString name = txtName->text().trimmed();
        if (name.isEmpty()) {
            vb::MsgBox(QStringLiteral("Please enter person's name."), vb::vbOKOnly | vb::vbExclamation);
            return;
        }
        // A number box holding anything else never reaches the database.
        if (!entriesAreNumbers())
            return;

        if (EditMode == kAddNew) {
            rs->FindFirst(QStringLiteral("PRSN_NM=") + vb::SqlText(name));
            if (rs->NoMatch()) {
                SavePerson(0);
            } else if (vb::MsgBox(QStringLiteral(
                                      "Person with the same name exists in database. Do you want to replace the information?"),
                                  vb::vbYesNo | vb::vbExclamation | vb::vbDefaultButton1) == vb::vbYes) {
                SavePerson(1); // into the row found
            }
        } else if (EditMode == kEdit) {
            standOnKey(rs, QStringLiteral("PRSN_KY"), editKey_);
            if (name != vb::CStr(rs->Fields(QStringLiteral("PRSN_NM")).Value())) {
                const qint32 key = vb::CLng(rs->Fields(0).Value());
                auto counter = gDB->OpenRecordset(
                    QStringLiteral("select count(*) from MEASURE where PRSN_KY = ") + QString::number(key), dao::dbOpenSnapshot);
                const qint64 measurements = counter->Fields(0).Value().toLongLong();
                counter->Close();
                if (measurements != 0 && vb::MsgBox(QStringLiteral("This person already has health measurement data.") + crlf +
                                                        QStringLiteral("All the measurements will be assigned to this person!") +
                                                        crlf + QStringLiteral("Do you still want to change the name?"),
                                                    vb::vbYesNo | vb::vbExclamation | vb::vbDefaultButton1) == vb::vbNo) {
                    EditMode = kBrowse;
                    SetEditMode(EditMode);
                    return;
                }
            }
            SavePerson(1);
        }
    } catch (const std::exception& e) {
        if (!reportFailedSave(rs, e, QStringLiteral("Person with the same name exists in database.")))
            return;
    }

    EditMode = kBrowse;
    SetEditMode(EditMode);
    vsFGPerson->Refresh();
    // The counter, and the row shown is the current person (also the existing person shown
    // after the replace question in add mode).
    datPerson_Reposition();
}

void frmPerson::SavePerson(int mode)
{
    const dao::RecordsetPtr& rs = datPerson->Recordset();
    if (mode == 0)
        rs->AddNew();
    else
        rs->Edit();
    rs->Fields(QStringLiteral("PRSN_NM")).setValue(txtName->text().trimmed());
    rs->Fields(QStringLiteral("AGE")).setValue(nullWhenZero(wholeNumber(txtAge->text()).value_or(0)));
    rs->Fields(QStringLiteral("COMMENT")).setValue(txtComment->toPlainText());
    if (gHeightUnit == 1) {
        const int inches = wholeNumber(txtFt->text()).value_or(0) * 12 + wholeNumber(txtIn->text()).value_or(0);
        rs->Fields(QStringLiteral("HGT")).setValue(nullWhenZero(inches));
    } else if (gHeightUnit == 2) {
        rs->Fields(QStringLiteral("HGT")).setValue(nullWhenZero(centimetres(txtCM->text()).value_or(0)));
    }
    QVariant sex;
    if (optSex[0]->isChecked())
        sex = QStringLiteral("M");
    else if (optSex[1]->isChecked())
        sex = QStringLiteral("F");
    rs->Fields(QStringLiteral("SEX")).setValue(sex);
    rs->Update();

    if (mode == 0) {
        // The new row waits at the end of the list; the data control does not act on this
        // move outside browse mode, so the key is taken here.
        rs->MoveLast();
        gPersonKey = vb::CLng(rs->Fields(0).Value());
        chartDefaults().CreateDefaultPlots(gPersonKey);
    }
}

// ---------------------------------------------------------------------------------------------
// Deleting

void frmPerson::cmdDelete_Click()
{
    const dao::RecordsetPtr& rs = datPerson->Recordset();
    if (!rs || rs->RecordCount() == 0 || rs->AbsolutePosition() < 0)
        return;
    gPersonKey = vb::CLng(rs->Fields(0).Value());
    const qint32 key = gPersonKey;

    auto counter = gDB->OpenRecordset(QStringLiteral("select count(*) from MEASURE where PRSN_KY = ") + QString::number(key),
                                      dao::dbOpenSnapshot);
    const qint64 measurements = counter->Fields(0).Value().toLongLong();
    counter->Close();
    if (measurements > 0 &&
        vb::MsgBox(QStringLiteral("By deleting this person, you will delete all of his/her health measurement data.") + crlf +
                       QStringLiteral("Do you still want to delete?"),
                   vb::vbYesNo | vb::vbExclamation | vb::vbDefaultButton2) != vb::vbYes)
        return;

    // Measurements, averages, chart rows and the person go together or not at all. The
    // averages go even without measurements: none may outlive the person, or block its row.
    try {
        dao::Transaction transaction(*gDB);
        DeletePersonMeasures();
        chartDefaults().DeletePersonPlots(key);
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
        datPerson->setCaption(QStringLiteral("Person: 0"));
    }
    datPerson->Refresh();
    FormatPersonGrid();
}

void frmPerson::DeletePersonMeasures()
{
    const QString key = QString::number(gPersonKey);
    dao::Transaction transaction(*gDB);
    gDB->Execute(QStringLiteral("delete from average_month where prsn_ky = ") + key, dao::dbFailOnError);
    gDB->Execute(QStringLiteral("delete from average_week where prsn_ky = ") + key, dao::dbFailOnError);
    gDB->Execute(QStringLiteral("delete from average_day where prsn_ky = ") + key, dao::dbFailOnError);
    gDB->Execute(QStringLiteral("delete from measure where prsn_ky = ") + key, dao::dbFailOnError);
    transaction.commit();
}

void frmPerson::reloadOn(qint32 personKey)
{
    try {
        datPerson->Refresh();
        datPerson->Recordset()->FindFirst(QStringLiteral("prsn_ky = ") + QString::number(personKey));
        FormatPersonGrid();
        datPerson_Reposition();
    } catch (const std::exception&) {
        // The list stays as it was shown.
    }
}

// ---------------------------------------------------------------------------------------------
// Keys

void frmPerson::txtAge_KeyPress(int& KeyAscii) { KeyAscii = modHealth::FilterDigitKey(KeyAscii); }

void frmPerson::txtCM_KeyPress(int& KeyAscii) { KeyAscii = modHealth::FilterDigitKey(KeyAscii); }

void frmPerson::txtFt_KeyPress(int& KeyAscii) { KeyAscii = modHealth::FilterDigitKey(KeyAscii); }

void frmPerson::txtIn_KeyPress(int& KeyAscii) { KeyAscii = modHealth::FilterDigitKey(KeyAscii); }
