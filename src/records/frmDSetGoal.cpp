#include "records/frmDSetGoal.h"

#include "data/Globals.h"
#include "data/clsAverage.h"
#include "data/clsDataService.h"
#include "data/modFunctions.h"
#include "data/ui/ErrorReport.h"
#include "data/ui/modHTMLhelp.h"
#include "data/ui/modHealthUi.h"
#include "platform/controls/DataControl.h"
#include "platform/controls/VSFlexGrid.h"
#include "platform/runtime/App.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/ui/Colors.h"
#include "platform/runtime/ui/MsgBox.h"
#include "platform/runtime/ui/Twips.h"
#include "platform/services/Services.h"
#include "platform/services/Shell.h"
#include "records/RecordFormSupport.h"
#include "records/frmMeasure.h"
#include "reports/GridExport.h"
#include "reports/clsWebReportGenerator.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QStatusBar>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

constexpr vb::OLE_COLOR kDangerBand = 0x9999FF;
constexpr vb::OLE_COLOR kWarningBand = 0x99FFFF;
constexpr vb::OLE_COLOR kNormalBand = 0x99FF99;

const QString kBrowse = QStringLiteral("browse");
const QString kAddNew = QStringLiteral("addnew");
const QString kEdit = QStringLiteral("edit");
const QString kCrLf = QStringLiteral("\r\n");

// A plain decimal number as the limits are kept: digits with at most one ".".
bool isNumberText(const QString& text)
{
    static const QRegularExpression number(QStringLiteral("^(\\d+\\.?\\d*|\\.\\d+)$"));
    return number.match(text).hasMatch();
}

} // namespace

frmDSetGoal::frmDSetGoal() : vb::Form(QStringLiteral("frmDSetGoal"))
{
    setCaption(QStringLiteral("Set Blood Sugar Goal Ranges"));
    // A window of the main window beside the Measurement form: the main window fits it with its
    // other forms, and its help is the one for the form in front.
    setMDIChild(true);

    Frame1 = new QGroupBox(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    static const char* const captions[6] = {
        "Goal Name:", "Target Goal Range:", "to", "Danger limit less than:", "and greater than", "Detail:"};
    for (int i = 0; i < 6; ++i) {
        lbl[i] = new QLabel(QLatin1String(captions[i]), Frame1);
        lbl[i]->setObjectName(QStringLiteral("lbl_%1").arg(i));
    }
    for (int i = 0; i < 2; ++i) {
        lblTemp2Unit[i] = new QLabel(QStringLiteral("mg/dl"), Frame1);
        lblTemp2Unit[i]->setObjectName(QStringLiteral("lblTemp2Unit_%1").arg(i));
    }
    txtGlNm = recordform::makeTextBox(Frame1, "txtGlNm", 25);
    txtNL = recordform::makeTextBox(Frame1, "txtNL", 10);
    txtNH = recordform::makeTextBox(Frame1, "txtNH", 10);
    txtDL = recordform::makeTextBox(Frame1, "txtDL", 10);
    txtDH = recordform::makeTextBox(Frame1, "txtDH", 10);
    txtGlDtl = recordform::makeMultiLineBox(Frame1, "txtGlDtl", 200, 3);
    for (QLineEdit* box : {txtNL, txtNH, txtDL, txtDH})
        recordform::fitToCharacters(box, 7);
    recordform::onKeyPress(txtNL, [this](int& key) { txtNL_KeyPress(key); });
    recordform::onKeyPress(txtNH, [this](int& key) { txtNH_KeyPress(key); });
    recordform::onKeyPress(txtDL, [this](int& key) { txtDL_KeyPress(key); });

    // Red stars mark the fields that must be filled (the empty-field message names them).
    auto star = [this] {
        auto* mark = new QLabel(QStringLiteral("*"), Frame1);
        vb::SetForeColor(mark, vb::vbRed);
        return mark;
    };
    auto* grid = new QGridLayout(Frame1);
    grid->setColumnStretch(7, 1);
    grid->addWidget(star(), 0, 0);
    grid->addWidget(lbl[0], 0, 1);
    grid->addWidget(txtGlNm, 0, 2, 1, 5);
    grid->addWidget(star(), 1, 0);
    grid->addWidget(lbl[1], 1, 1);
    grid->addWidget(txtNL, 1, 2);
    grid->addWidget(lbl[2], 1, 3, Qt::AlignCenter);
    grid->addWidget(txtNH, 1, 4);
    grid->addWidget(lblTemp2Unit[0], 1, 5);
    grid->addWidget(star(), 2, 0);
    grid->addWidget(lbl[3], 2, 1);
    grid->addWidget(txtDL, 2, 2);
    grid->addWidget(lbl[4], 2, 3, Qt::AlignCenter);
    grid->addWidget(txtDH, 2, 4);
    grid->addWidget(lblTemp2Unit[1], 2, 5);
    grid->addWidget(star(), 3, 0, Qt::AlignTop);
    grid->addWidget(lbl[5], 3, 1, Qt::AlignTop);
    grid->addWidget(txtGlDtl, 3, 2, 1, 6);
    // The frame's caption turns bold in the entry modes; what it holds keeps its own look.
    recordform::keepOwnLook(Frame1);

    auto button = [this](const char* name, const char* caption) {
        return recordform::makeButton(this, name, QLatin1String(caption));
    };
    cmdAddNew = button("cmdAddNew", "&Add New");
    cmdEdit = button("cmdEdit", "&Edit");
    cmdDelete = button("cmdDelete", "&Delete");
    cmdSave = button("cmdSave", "&Save");
    cmdCancel = button("cmdCancel", "&Cancel");
    cmdExport = button("cmdExport", "Export to Web Page");
    cmdHLP = button("cmdHLP", "Topic Help");
    connect(cmdAddNew, &QPushButton::clicked, this, [this] { errorreport::guarded([this] { cmdAddNew_Click(); }); });
    connect(cmdEdit, &QPushButton::clicked, this, [this] { errorreport::guarded([this] { cmdEdit_Click(); }); });
    connect(cmdDelete, &QPushButton::clicked, this, [this] { errorreport::guarded([this] { cmdDelete_Click(); }); });
    connect(cmdSave, &QPushButton::clicked, this, [this] { errorreport::guarded([this] { cmdSave_Click(); }); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { errorreport::guarded([this] { cmdCancel_Click(); }); });
    connect(cmdExport, &QPushButton::clicked, this, [this] { errorreport::guarded([this] { cmdExport_Click(); }); });
    connect(cmdHLP, &QPushButton::clicked, this, [this] { errorreport::guarded([this] { cmdHLP_Click(); }); });

    datDSetGoal = recordform::makeDataControl(this, "datDSetGoal", QStringLiteral("Set Goal:"));
    connect(datDSetGoal, &DataControl::Reposition, this, [this] { errorreport::guarded([this] { datDSetGoal_Reposition(); }); });

    vsFGDSetGoal = recordform::makeBoundGrid(this, "vsFGDSetGoal", datDSetGoal);

    StatusBar1 = recordform::makeStatusBar(this);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {cmdAddNew, cmdEdit, cmdDelete, cmdSave, cmdCancel})
        buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(cmdExport);
    buttons->addWidget(cmdHLP);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Frame1);
    layout->addLayout(buttons);
    layout->addWidget(datDSetGoal);
    layout->addWidget(vsFGDSetGoal, 1);
    layout->addWidget(StatusBar1);
    layout->setContentsMargins(8, 8, 8, 0);

    resize(620, 560);
}

frmDSetGoal::~frmDSetGoal() = default;

QString frmDSetGoal::RecordSourceSql()
{
    return QStringLiteral(" SELECT GL_KY, GL_DTL, GL_NL, GL_NH, GL_DL, GL_DH, GL_NM, ") + QStringLiteral("' < ' & GL_DL, ") +
           QStringLiteral(" GL_DL & ' to ' &  GL_NL, ") + QStringLiteral(" GL_NL & ' to ' & GL_NH, ") +
           QStringLiteral(" GL_NH & ' to ' & GL_DH, ") + QStringLiteral(" '> ' & GL_DH ") + QStringLiteral("   FROM DBTS_GOAL ") +
           QStringLiteral(" ORDER BY GL_NM");
}

void frmDSetGoal::Form_Load()
{
    if (vb::MDIForm* main = vb::MDIForm::Current())
        setWindowIcon(main->windowIcon());
    {
        clsDataService service;
        lblTemp2Unit[0]->setText(service.GetMeasureCaption(3, 2));
        lblTemp2Unit[1]->setText(lblTemp2Unit[0]->text());
        gWeightUnitText = service.GetMeasureCaption(4, 2);
    }
    datDSetGoal->setDatabase(gDB);
    EditMode = kBrowse;
    datDSetGoal->setRecordSource(RecordSourceSql());
    datDSetGoal->Refresh();
    SetMode(kBrowse);
    FormatGoalGrid();
}

void frmDSetGoal::SetMode(const QString& mode)
{
    const bool entering = mode == kAddNew || mode == kEdit;
    if (mode == kBrowse) {
        ShowRecord();
        Frame1->setTitle(QStringLiteral("Browse Goal:"));
    } else if (mode == kAddNew) {
        ClearFields();
        Frame1->setTitle(QStringLiteral("Add New Goal Here:"));
    } else if (mode == kEdit) {
        Frame1->setTitle(QStringLiteral("Edit Goal Here:"));
    } else {
        return;
    }

    cmdAddNew->setEnabled(!entering);
    cmdEdit->setEnabled(!entering);
    cmdDelete->setEnabled(!entering);
    cmdCancel->setEnabled(entering);
    cmdSave->setEnabled(entering);
    // While a goal is entered the current row must not move under it: the save writes into
    // the row it stands on.
    recordform::freezeList(datDSetGoal, vsFGDSetGoal, entering);

    for (QLineEdit* box : {txtNL, txtNH, txtDL, txtDH})
        recordform::lockBox(box, !entering);
    recordform::lockBox(txtGlDtl, !entering);
    recordform::lockBox(txtGlNm, mode != kAddNew);

    QFont frameFont = Frame1->font();
    frameFont.setBold(entering);
    Frame1->setFont(frameFont);
    recordform::setEntryLook({lbl[0], lbl[1], lbl[2], lbl[3], lbl[4], lbl[5]}, entering);
    if (entering)
        (mode == kAddNew ? static_cast<QWidget*>(txtGlNm) : txtNL)->setFocus();
}

void frmDSetGoal::ShowRecord()
{
    const dao::RecordsetPtr& rs = datDSetGoal->Recordset();
    if (!rs || !rs->isOpen() || rs->AbsolutePosition() < 0)
        return;
    auto text = [&rs](const char* column) { return vb::CStr(rs->Fields(QLatin1String(column)).Value()); };
    recordform::setBoxText(txtGlNm, text("GL_NM"));
    recordform::setMultiLineText(txtGlDtl, text("GL_DTL"));
    recordform::setBoxText(txtNL, text("GL_NL"));
    recordform::setBoxText(txtNH, text("GL_NH"));
    recordform::setBoxText(txtDL, text("GL_DL"));
    recordform::setBoxText(txtDH, text("GL_DH"));
}

void frmDSetGoal::ClearFields()
{
    for (QLineEdit* box : {txtGlNm, txtNL, txtNH, txtDL, txtDH})
        box->clear();
    txtGlDtl->clear();
}

void frmDSetGoal::FormatGoalGrid()
{
    VSFlexGrid& grid = *vsFGDSetGoal;
    grid.setFormatString(
        QStringLiteral("|GL_KY||||||Goal Name|Danger Limit|Warning Limit|Normal Limit|Warning Limit|Danger Limit"));
    if (grid.Cols() < 13)
        return;
    grid.setColWidth(0, 300);
    grid.setColWidth(1, 0);
    for (int col = 1; col <= 6; ++col)
        grid.setColHidden(col, true);
    grid.setColWidth(7, 1800);
    grid.setColAlignment(7, flexAlignLeftCenter);
    for (int col = 8; col <= 11; ++col)
        grid.setColWidth(col, 1200);
    for (int col = 8; col <= 12; ++col) {
        grid.setColAlignment(col, flexAlignCenterCenter);
        grid.setFixedAlignment(col, flexAlignCenterCenter);
    }

    // Room for the two-word headers, and for the longest goal name.
    grid.setRowHeight(0, 500);
    const QFontMetrics metrics(grid.font());
    int widest = 0;
    for (int row = 1; row < grid.Rows(); ++row)
        widest = std::max(widest, metrics.horizontalAdvance(grid.TextMatrix(row, 7)));
    grid.setColWidth(7, std::max(1800, int(vb::PixelsToTwipsX(widest + 12, &grid))));

    const std::pair<int, vb::OLE_COLOR> bands[] = {
        {8, kDangerBand}, {9, kWarningBand}, {10, kNormalBand}, {11, kWarningBand}, {12, kDangerBand}};
    const int lastRow = grid.Rows() - 1;
    if (lastRow < 1)
        return;
    for (const auto& [col, color] : bands)
        grid.setCell(flexcpBackColor, 1, col, lastRow, col, QVariant::fromValue(color));
}

void frmDSetGoal::setCounterCaption()
{
    const dao::RecordsetPtr& rs = datDSetGoal->Recordset();
    const int position = rs && rs->isOpen() ? rs->AbsolutePosition() : -1;
    const int count = rs && rs->isOpen() ? rs->RecordCount() : 0;
    datDSetGoal->setCaption(QStringLiteral("Goal: %1 of %2").arg(position + 1).arg(count));
}

void frmDSetGoal::datDSetGoal_Reposition()
{
    if (EditMode != kBrowse)
        return;
    setCounterCaption();
    const dao::RecordsetPtr& rs = datDSetGoal->Recordset();
    if (rs && rs->isOpen() && rs->AbsolutePosition() >= 0) {
        ShowRecord();
        cmdDelete->setEnabled(true);
        cmdEdit->setEnabled(true);
    }
}

void frmDSetGoal::cmdAddNew_Click()
{
    EditMode = kAddNew;
    SetMode(EditMode);
    StatusBar1->showMessage(QStringLiteral("All fields are required fields before it can be saved."));
}

void frmDSetGoal::cmdEdit_Click()
{
    const dao::RecordsetPtr& rs = datDSetGoal->Recordset();
    if (!rs || !rs->isOpen() || rs->RecordCount() == 0 || rs->AbsolutePosition() < 0)
        return;
    editKey_ = recordform::currentKey(rs);
    EditMode = kEdit;
    SetMode(EditMode);
}

void frmDSetGoal::cmdCancel_Click()
{
    EditMode = kBrowse;
    SetMode(EditMode);
}

void frmDSetGoal::txtNL_KeyPress(int& KeyAscii) { KeyAscii = modHealth::FilterDecimalKey(KeyAscii, txtNL); }
void frmDSetGoal::txtNH_KeyPress(int& KeyAscii) { KeyAscii = modHealth::FilterDecimalKey(KeyAscii, txtNH); }
void frmDSetGoal::txtDL_KeyPress(int& KeyAscii) { KeyAscii = modHealth::FilterDecimalKey(KeyAscii, txtDL); }

bool frmDSetGoal::limitsAreNumbers()
{
    for (QLineEdit* box : {txtNL, txtNH, txtDL, txtDH}) {
        const QString text = box->text().trimmed();
        if (!isNumberText(text) || vb::Val(text) <= 0) {
            vb::MsgBox(QStringLiteral("The goal limits must be numbers greater than 0, such as 80 or 4.5.") + kCrLf +
                           QStringLiteral("Please correct the limit \"") + text + QStringLiteral("\"."),
                       vb::vbOKOnly | vb::vbExclamation, QString());
            box->setFocus();
            return false;
        }
    }
    return true;
}

void frmDSetGoal::cmdSave_Click()
{
    const QString name = txtGlNm->text().trimmed();
    const QString entries[] = {name,
                               txtNL->text().trimmed(),
                               txtNH->text().trimmed(),
                               txtDL->text().trimmed(),
                               txtDH->text().trimmed(),
                               txtGlDtl->toPlainText().trimmed()};
    for (const QString& entry : entries) {
        if (entry.isEmpty()) {
            vb::MsgBox(QStringLiteral("One or more of the mandatory fields (fields with red star before the fields) is empty") +
                           kCrLf + QStringLiteral("Please enter all the fields"),
                       vb::vbOKOnly | vb::vbInformation, QString());
            return;
        }
    }
    if (!limitsAreNumbers())
        return;

    const dao::RecordsetPtr rs = datDSetGoal->Recordset();
    try {
        if (EditMode == kAddNew) {
            rs->FindFirst(QStringLiteral("GL_NM='") + vb::SqlQuote(name) + QLatin1Char('\''));
            if (rs->NoMatch()) {
                WriteRecord(0);
            } else if (vb::MsgBox(QStringLiteral("Goal with the same name exists in database.") + kCrLf +
                                      QStringLiteral("Do you want to replace its information?"),
                                  vb::vbYesNo | vb::vbExclamation | vb::vbDefaultButton1, QString()) == vb::vbYes) {
                WriteRecord(1);
            }
        } else if (EditMode == kEdit) {
            recordform::standOnKey(rs, QStringLiteral("GL_KY"), editKey_);
            if (name != vb::CStr(rs->Fields(QStringLiteral("GL_NM")).Value())) {
                auto counted = gDB->OpenRecordset(QStringLiteral("select count(*) from MEASURE where GL_KY = ") +
                                                      QString::number(vb::CLng(rs->Fields(0).Value())),
                                                  dao::dbOpenSnapshot, dao::dbReadOnly);
                const int readings = counted->Fields(0).Value().toInt();
                counted->Close();
                if (readings != 0 &&
                    vb::MsgBox(QStringLiteral("By changing the name of this goal, the goal of the associated measurements") +
                                   kCrLf + QStringLiteral("will be changed accordingly. Do you still want to change it?"),
                               vb::vbYesNo | vb::vbExclamation | vb::vbDefaultButton2, QString()) == vb::vbNo) {
                    EditMode = kBrowse;
                    SetMode(EditMode);
                    return;
                }
            }
            WriteRecord(1);
        }
    } catch (const dao::Error& e) {
        errorreport::showError(e);
        return;
    }

    EditMode = kBrowse;
    SetMode(EditMode);
    setCounterCaption();
    FormatGoalGrid();
    StatusBar1->clearMessage();
    refreshMeasureForms(false);
}

void frmDSetGoal::WriteRecord(int kind)
{
    const dao::RecordsetPtr rs = datDSetGoal->Recordset();
    if (kind == 0)
        rs->AddNew();
    else
        rs->Edit();
    // Limits are kept as the number typed, in its plain form ("80", "4.5"); the save refuses
    // anything else before it comes here.
    auto limit = [](const QLineEdit* box) -> QVariant {
        const QString text = box->text().trimmed();
        return isNumberText(text) ? QVariant(vb::NumberText(vb::Val(text))) : QVariant();
    };
    try {
        rs->Fields(QStringLiteral("GL_NM")).setValue(txtGlNm->text());
        rs->Fields(QStringLiteral("GL_DTL")).setValue(txtGlDtl->toPlainText());
        rs->Fields(QStringLiteral("GL_NL")).setValue(limit(txtNL));
        rs->Fields(QStringLiteral("GL_NH")).setValue(limit(txtNH));
        rs->Fields(QStringLiteral("GL_DL")).setValue(limit(txtDL));
        rs->Fields(QStringLiteral("GL_DH")).setValue(limit(txtDH));
        rs->Update();
    } catch (...) {
        // Nothing half-written stays pending on the list; the entries stay in the boxes.
        rs->CancelUpdate();
        throw;
    }
    if (kind == 0)
        rs->MoveLast();
}

void frmDSetGoal::cmdDelete_Click()
{
    if (EditMode != kBrowse)
        return;
    const dao::RecordsetPtr rs = datDSetGoal->Recordset();
    if (!rs || !rs->isOpen() || rs->RecordCount() == 0 || rs->AbsolutePosition() < 0)
        return;
    const qint32 key = vb::CLng(rs->Fields(0).Value());

    auto counted = gDB->OpenRecordset(QStringLiteral("select count(*) from MEASURE where GL_KY = ") + QString::number(key),
                                      dao::dbOpenSnapshot, dao::dbReadOnly);
    const int readings = counted->Fields(0).Value().toInt();
    counted->Close();
    if (readings > 0 && vb::MsgBox(QStringLiteral("By deleting this row, the goal range of the associated measurements") + kCrLf +
                                       QStringLiteral("will become empty. Do you still want to delete?"),
                                   vb::vbYesNo | vb::vbExclamation | vb::vbDefaultButton2, QString()) == vb::vbNo)
        return;
    // The question above speaks of the goal range only; readings are lost too, so the user is
    // told how many before anything goes.
    if (readings > 0 && !confirmReadingsLost(key))
        return;

    if (!deleteGoalWithReadings(key, readings > 0)) {
        // Nothing was changed: show the goals as they are.
        datDSetGoal->Refresh();
        FormatGoalGrid();
        return;
    }
    refreshMeasureForms(readings > 0);

    if (rs->RecordCount() > 0) {
        rs->MoveNext();
        if (rs->Eof())
            rs->MoveLast();
    }
    datDSetGoal->Refresh();
    FormatGoalGrid();
    if (datDSetGoal->Recordset()->RecordCount() == 0) {
        ClearFields();
        datDSetGoal->setCaption(QStringLiteral("Goal: 0"));
    }
}

QString frmDSetGoal::ReadingsLostText(int deleted, int cleared, int persons)
{
    auto counted = [](int n, const char* one, const char* many) {
        return QString::number(n) + QLatin1Char(' ') + QLatin1String(n == 1 ? one : many);
    };
    QString what;
    if (deleted > 0)
        what = QStringLiteral("deletes ") + counted(deleted, "reading that holds", "readings that hold") +
               QStringLiteral(" only a blood sugar value");
    if (cleared > 0) {
        if (!what.isEmpty())
            what += QStringLiteral(" and ");
        what += QStringLiteral("clears the blood sugar value of ") +
                counted(cleared, deleted > 0 ? "other reading" : "reading", deleted > 0 ? "other readings" : "readings");
    }
    return QStringLiteral("Deleting this goal also ") + what + QStringLiteral(", of ") + counted(persons, "person", "persons") +
           QStringLiteral(".") + kCrLf + QStringLiteral("They cannot be brought back. Do you still want to delete the goal?");
}

bool frmDSetGoal::confirmReadingsLost(qint32 goalKey)
{
    int deleted = 0;
    int cleared = 0;
    QSet<qint32> persons;
    auto rs =
        gDB->OpenRecordset(QStringLiteral("select PRSN_KY, LBP, HBP, PLSE, WT, TEMP, TEMP1, TEMP2 from MEASURE where GL_KY = ") +
                               QString::number(goalKey),
                           dao::dbOpenSnapshot, dao::dbReadOnly);
    for (; !rs->Eof(); rs->MoveNext()) {
        bool sugarOnly = true;
        for (int i = 1; i <= 6; ++i)
            sugarOnly = sugarOnly && rs->Fields(i).Value().isNull();
        if (sugarOnly)
            ++deleted;
        else if (!rs->Fields(7).Value().isNull())
            ++cleared;
        else
            continue;
        persons.insert(vb::CLng(rs->Fields(0).Value()));
    }
    rs->Close();
    if (deleted == 0 && cleared == 0)
        return true; // the readings only lose the goal's key
    return vb::MsgBox(ReadingsLostText(deleted, cleared, int(persons.size())),
                      vb::vbYesNo | vb::vbExclamation | vb::vbDefaultButton2, QString()) == vb::vbYes;
}

bool frmDSetGoal::deleteGoalWithReadings(qint32 goalKey, bool hasReadings)
{
    const QString goal = QString::number(goalKey);
    try {
        dao::Transaction transaction(*gDB);
        if (hasReadings) {
            clsAverage averages;
            // Readings that hold nothing but their sugar value go; each one's own person's
            // averages follow.
            std::vector<std::pair<qint32, QDateTime>> sugarOnly;
            {
                auto only = gDB->OpenRecordset(QStringLiteral("select * from MEASURE where GL_KY = ") + goal +
                                                   QStringLiteral(" and LBP IS NULL AND HBP IS NULL AND ") +
                                                   QStringLiteral(" PLSE IS NULL AND WT IS NULL AND TEMP IS NULL ") +
                                                   QStringLiteral(" AND TEMP1 IS NULL"),
                                               dao::dbOpenSnapshot, dao::dbReadOnly);
                for (; !only->Eof(); only->MoveNext())
                    sugarOnly.emplace_back(vb::CLng(only->Fields(QStringLiteral("PRSN_KY")).Value()),
                                           only->Fields(QStringLiteral("MSRD_DT")).Value().toDateTime());
                only->Close();
            }
            for (const auto& [person, measured] : sugarOnly) {
                // The literal carries the stored seconds too, so it names exactly this row.
                const QTime t = measured.time();
                const QString time = QStringLiteral("%1:%2:%3 %4")
                                         .arg(t.hour() % 12 == 0 ? 12 : t.hour() % 12)
                                         .arg(t.minute())
                                         .arg(t.second())
                                         .arg(t.hour() < 12 ? QStringLiteral("AM") : QStringLiteral("PM"));
                gDB->Execute(QStringLiteral("delete from measure where prsn_ky = ") + QString::number(person) +
                                 QStringLiteral(" and msrd_dt = ") + modFunctions::SqlDateTime(measured, time),
                             dao::dbFailOnError);
                averages.UpdateAverages(person, measured, clsAverage::actDeleted);
            }
            // The other readings keep their row and lose their sugar value and goal.
            auto rest = gDB->OpenRecordset(QStringLiteral("select * from MEASURE where GL_KY = ") + goal, dao::dbOpenDynaset);
            for (; !rest->Eof(); rest->MoveNext()) {
                rest->Edit();
                rest->Fields(QStringLiteral("GL_KY")).setValue(QVariant());
                rest->Fields(QStringLiteral("TEMP2")).setValue(QVariant());
                rest->Update();
                averages.UpdateAverages(vb::CLng(rest->Fields(QStringLiteral("PRSN_KY")).Value()),
                                        rest->Fields(QStringLiteral("MSRD_DT")).Value().toDateTime(), clsAverage::actChanged);
            }
            rest->Close();
        }
        datDSetGoal->Recordset()->Delete();
        transaction.commit();
    } catch (const dao::Error& e) {
        errorreport::showError(e, QStringLiteral("The goal could not be deleted; nothing was changed."));
        return false;
    }
    return true;
}

void frmDSetGoal::refreshMeasureForms(bool requery)
{
    for (vb::FormBase* form : vb::Forms().Snapshot()) {
        if (form->Name() != QLatin1String("frmMeasure"))
            continue;
        if (auto* measure = dynamic_cast<frmMeasure*>(form)) {
            if (requery)
                measure->RequeryMeasurements(0, true);
            // A goal that is gone must not stay selectable there, and a new one must be there.
            measure->RefillGoalList();
        }
    }
}

void frmDSetGoal::cmdExport_Click()
{
    clsWebReportGenerator page;
    gridexport::ExportGoalGridToWebReport(page);
    const QString file = App::Path() + QStringLiteral("/DiabetesGoals.html");
    try {
        page.SaveToFile(file);
    } catch (const WebReportError& e) {
        vb::MsgBox(QStringLiteral("The page \"") + file + QStringLiteral("\" could not be written.") + kCrLf + e.Description(),
                   vb::vbOKOnly | vb::vbExclamation, QString());
        return;
    }
    services::OpenOrTell(services::OpenTarget::Page, page.FileName());
}

void frmDSetGoal::cmdHLP_Click() { modHTMLhelp::ShowHelp(Name()); }
